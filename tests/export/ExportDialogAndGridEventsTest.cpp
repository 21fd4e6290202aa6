// The export column dialog from the toolbar, its presets and height choice;
// the coordinate grid's web-map marker, export callback and rounding check.
#include <QBrush>

#include "ExportFixture.h"
#include "io/FormOrvenilExport.h"
#include "platform/ui/DataGridModel.h"
#include "platform/ui/VbCheckBox.h"
#include "platform/ui/VbComboBox.h"
#include "platform/ui/VbStatusBar.h"
#include "platform/ui/VbTextBox.h"
#include "platform/ui/VbToolBar.h"
#include "shell/GridEventRules.h"

using namespace orv;

TEST_F(ExportTest, ToolbarExportShowsDialogAndUsesThePresetAfterTheTimer) {
  // An empty grid shows no dialog.
  form->Coolbar2_ButtonClick("btnDbSpeichernUnter");
  EXPECT_TRUE(dialogs->allDone());

  fill({{{"Punkt", "P1"}, {"sYeZiel", "1"}}});
  form->GridKooDb->SetColumnCaption("C", "Code");
  form->GridKooDb->SetColumnCaption("sYeZiel", "Ziel-Rechts");
  form->GridKooDb->SetColumnCaption("sXeZiel", "Ziel-Hoch");
  dialogs->expectModal([](QDialog* d) {
    auto* dialog = static_cast<FormOrvenilExport*>(d);
    EXPECT_EQ(dialog->OutputOrder().size(), 40);  // every column ticked at first
    dialog->TimerAllg_Timer();
    EXPECT_EQ(dialog->OutputOrder(), QStringList({"Punkt", "Code", "Ziel-Rechts", "Ziel-Hoch"}));
    dialog->Command1_Click();
    return d->result();
  });
  dialogs->expectSaveFileCancel();
  form->Coolbar2_ButtonClick("btnDbSpeichernUnter");
  EXPECT_EQ(State().SpeichernSpaltenNr, "1,2,18,19");
  EXPECT_EQ(State().SpeichernSpalten, "Punkt,Code,Ziel-Rechts,Ziel-Hoch");
  EXPECT_TRUE(State().ExportVorlageAktiv);
  EXPECT_EQ(form->xpStatusBar1->PanelText(10), "Speichern Spalten: Punkt,Code,Ziel-Rechts,Ziel-Hoch  ");
  // "Ziel verebnet" preselects the Geograf filter.
  ASSERT_EQ(dialogs->fileRequests().size(), 1);
  EXPECT_EQ(dialogs->fileRequests()[0].filterIndex, 8);
  EXPECT_TRUE(dialogs->allDone());
}

TEST_F(ExportTest, DialogHeightChoiceAndTickOrder) {
  QStringList captions;
  for (const QString& name : DatenColumnNames()) captions << name;
  captions[1] = "Punkt";  // two columns of one caption give the first one's number
  FormOrvenilExport dialog(captions);
  dialog.ComboExportLage->SetListIndex(2);  // "Eingabe verebnet": rows 1;2;3;4
  EXPECT_FALSE(State().ExportVorlageAktiv);
  dialog.ComboExportHöhe->SetListIndex(2);  // "Höhe aus Ziel" keeps the others, adds sZeZiel last
  EXPECT_EQ(dialog.OutputOrder(), QStringList({"Punkt", "Punkt", "sYe", "sXe", "sZeZiel"}));
  dialog.GridExport->SetRowChecked(3, false);  // unticking and ticking again moves sYe to the end
  dialog.GridExport->SetRowChecked(3, true);
  dialog.chkExportHöheMitGeoidundulation->SetValue(1);
  dialog.Command1_Click();
  EXPECT_EQ(State().SpeichernSpaltenNr, "1,1,4,20,3,33");
  EXPECT_EQ(State().SpeichernSpalten, "Punkt,Punkt,sXe,sZeZiel,sYe,Geoidundulation");
}

TEST_F(ExportTest, WebMapMarkerFollowsTheUsersRow) {
  fill(
      {{{"Punkt", "P1"}, {"BgDez", "50.1"}, {"LgDez", "12.1"}, {"BgDezZiel", "51.5"}, {"LgDezZiel", "13.25"}},
       {{"Punkt", "P2"}, {"BgDezZiel", ""}, {"LgDezZiel", ""}},
       {{"Punkt", "P3"}, {"BgDezZiel", "52"}, {"LgDezZiel", "14"}}});
  form->txtTrafoParaStart->SetText("GK42/83");
  form->txtTrafoParaZiel->SetText("ETRS89");
  form->GridKooDb->SetCurrentRow(1);  // key not pressed: nothing
  form->Coolbar2->SetPressed("btnGoogleMap", true);
  form->GridKooDb->SetCurrentRow(2);  // empty cells: nothing
  form->GridKooDb->SetCurrentRow(1);
  ASSERT_EQ(dialogs->openedUrls().size(), 1);
  EXPECT_EQ(dialogs->openedUrls()[0],
            "https://www.openstreetmap.org/?mlat=51.5&mlon=13.25#map=15/51.5/13.25");
  // Rows set by code while the grid does not draw (binding) open nothing.
  form->GridKooDb->SetRedraw(false);
  form->GridKooDb->SetCurrentRow(3);
  form->GridKooDb->SetRedraw(true);
  EXPECT_EQ(dialogs->openedUrls().size(), 1);
  // The target columns count as ETRS89 by the system their run recorded,
  // whatever target the panel shows since.
  form->txtTrafoParaZiel->SetText("RD83");
  State().ZielsystemDaten = "ETRS89";
  form->Coolbar2_ButtonClick("btnGoogleMap");
  ASSERT_EQ(dialogs->openedUrls().size(), 2);
  EXPECT_EQ(dialogs->openedUrls()[1], "https://www.openstreetmap.org/?mlat=52&mlon=14#map=15/52/14");
  // Without ETRS89 positions the user is told so.
  State().EllipsoidStart = "Bessel";
  for (const char* shown : {"RD83", "ETRS89"}) {
    form->txtTrafoParaZiel->SetText(shown);
    State().ZielsystemDaten = "RD83";
    dialogs->expectMessage("muss im System ETRS89 vorliegen!");
    form->Coolbar2_ButtonClick("btnGoogleMap");
    EXPECT_EQ(dialogs->messages().last().title, "Marker in OpenStreet");
  }
  EXPECT_EQ(dialogs->openedUrls().size(), 2);
  EXPECT_TRUE(dialogs->allDone());
}

TEST_F(ExportTest, GridExportSkipsRowsWithoutCoordinates) {
  QList<Row> rows;
  for (int i = 1; i <= 9; ++i)
    rows << Row{{"Punkt", QString("P%1").arg(i)}, {"sYe", i % 3 ? "1" : ""}, {"sBgZiel", i % 2 ? "51" : ""}};
  fill(rows);
  form->GridKooDb->ExportText(out + "alle.txt", ";");
  EXPECT_EQ(bytesOf(out + "alle.txt").count("\r\n"), 6);
  State().ExportVorlageAktiv = true;  // a preset: rows without target latitude are left out
  form->GridKooDb->ExportText(out + "ziel.txt", ";");
  EXPECT_EQ(bytesOf(out + "ziel.txt").count("\r\n"), 5);
}

TEST(RoundingCheck, ComparesTheCutTextsInWholeMicrometres) {
  EXPECT_FALSE(RoundingDifferenceTooLarge("32512345.6789", "512345.6789"));  // zone prefix cut away
  EXPECT_TRUE(RoundingDifferenceTooLarge("512345.6789", "512345.679"));      // first digit cut away
  EXPECT_FALSE(RoundingDifferenceTooLarge("100.0004", "100.0000"));
  EXPECT_TRUE(RoundingDifferenceTooLarge("100.0020", "100.0000"));
  EXPECT_FALSE(RoundingDifferenceTooLarge("100.0019", "100.0000"));  // exactly the tolerance
  EXPECT_FALSE(RoundingDifferenceTooLarge("4512345.6789", ""));
}

TEST_F(ExportTest, RoundingCheckColoursTheShownCell) {
  fill({{{"Punkt", "P1"},
         {"sYe", "100.0020"},
         {"sYori", "100.0000"},
         {"sXe", "5.0019"},
         {"sXori", "5.0000"}}});
  DataGridModel* model = form->GridKooDb->model();
  auto cell = [&](const char* key, int role) {
    return model->data(model->index(0, form->GridKooDb->ColumnNumber(key) - 1), role);
  };
  EXPECT_EQ(cell("sYe", Qt::BackgroundRole).value<QBrush>().color(), QColor(255, 0, 0));
  EXPECT_EQ(cell("sYe", Qt::ToolTipRole).toString(), "Rundungsdifferenz > 0.0019m");
  EXPECT_EQ(cell("sXe", Qt::BackgroundRole).value<QBrush>().color(), QColor(Qt::white));
}
