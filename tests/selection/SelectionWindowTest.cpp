// Start and target system selection, the transformation type and the
// transformation panel in the running main window.
#include <QFile>
#include <QPushButton>
#include <QRadioButton>

#include "platform/ui/DataGrid.h"
#include "platform/ui/OptionArray.h"
#include "platform/ui/VbCheckBox.h"
#include "platform/ui/VbComboBox.h"
#include "platform/ui/VbFrame.h"
#include "platform/ui/VbStatusBar.h"
#include "platform/ui/VbTabStrip.h"
#include "platform/ui/VbTextBox.h"
#include "window/MainWindowFixture.h"

using namespace orv;

namespace {

QStringList Items(const VbComboBox* combo) {
  QStringList items;
  for (int i = 0; i < combo->ListCount(); ++i) items << combo->List(i);
  return items;
}

const QStringList kUtm{"automatisch", "03/31", "09/32", "15/33", "21/34"};
const QStringList kGk{"automatisch", "03/15", "06/25", "09/35", "12/45", "15/55", "18/65", "21/75"};

}  // namespace

class SelectionTest : public MainWindowTest {
 protected:
  FormOrvenil& startWithTables() {
    putAllTables();
    FormOrvenil& f = start();
    EXPECT_TRUE(dialogs->messages().isEmpty()) << dialogs->messageTexts().join("\n").toStdString();
    dialogs->clearRecords();
    return f;
  }
  void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
};

TEST_F(SelectionTest, StartSystemLookupFillsVariablesAndZones) {
  FormOrvenil& f = startWithTables();
  f.Startsys_Click(2);
  ProgramState& s = State();
  EXPECT_EQ(s.EllipsoidStart, "Bessel");
  EXPECT_EQ(s.ZonenEllipsoidStart, "Bessel");
  EXPECT_EQ(s.SystemnameStart, "RD40/83");
  EXPECT_DOUBLE_EQ(s.StartA, 6377397.15507605);
  EXPECT_NEAR(s.StartF, 1 / 299.152812853405, 1e-15);
  EXPECT_DOUBLE_EQ(s.StartK0, 1);
  EXPECT_EQ(Items(f.zielZone), kGk);
  EXPECT_EQ(f.zielZone->Text(), "automatisch");
  EXPECT_EQ(f.cmbStartsys->Text(), "Bessel");
  EXPECT_TRUE(f.BtZone->isSelected(0));
  // The user is asked for the zone next.
  ASSERT_EQ(dialogs->openedDropDowns().size(), 1);
  EXPECT_EQ(dialogs->openedDropDowns().first(), f.zielZone);

  // From the import chain: no drop-down; WGS1984 start data have no zone.
  f.StartellipsoidWaehlen(3);
  EXPECT_EQ(s.EllipsoidStart, "WGS1984");
  EXPECT_EQ(s.SystemnameStart, "WGS1984");
  EXPECT_DOUBLE_EQ(s.StartK0, 0.9996);
  EXPECT_EQ(Items(f.zielZone), QStringList{"automatisch"});
  EXPECT_EQ(f.cmbStartsys->Text(), "WGS1984");
  EXPECT_EQ(dialogs->openedDropDowns().size(), 1);

  f.StartellipsoidWaehlen(0);
  EXPECT_EQ(s.SystemnameStart, "ETRS89");
  EXPECT_EQ(Items(f.zielZone), kUtm);
  EXPECT_TRUE(dialogs->messages().isEmpty());
}

TEST_F(SelectionTest, TargetSystemLookupAndUnknownNames) {
  FormOrvenil& f = startWithTables();
  ProgramState& s = State();
  s.EllipsoidZiel = "WGS1984";
  f.EllipsoidBDatenZuordnen("WGS1984");
  EXPECT_TRUE(f.BtZone->isSelected(1));
  EXPECT_EQ(s.SystemnameZiel, "WGS1984");
  EXPECT_EQ(s.ZonenEllipsoidZiel, "WGS1984");
  EXPECT_DOUBLE_EQ(s.ZielA, 6378137);
  EXPECT_EQ(Items(f.zielZone), kUtm);

  // A name of no row: message, the values and the list stay.
  dialogs->expectMessage("Koordinatensystem B mit den angegebenen Kriterien nicht gefunden!");
  f.EllipsoidBDatenZuordnen("Hayford");
  EXPECT_EQ(s.SystemnameZiel, "WGS1984");
  EXPECT_EQ(s.ZonenEllipsoidZiel, "WGS1984");
  EXPECT_EQ(Items(f.zielZone), kUtm);
  EXPECT_EQ(f.zielZone->Text(), "automatisch");

  s.EllipsoidStart = "Krassowski";
  f.EllipsoidADatenZuordnen("Krassowski");
  const double a = s.StartA;
  dialogs->expectMessage("Koordinatensystem A mit den angegebenen Kriterien nicht gefunden!");
  f.EllipsoidADatenZuordnen("krassowski");
  EXPECT_EQ(s.SystemnameStart, "GK42/83");
  EXPECT_DOUBLE_EQ(s.StartA, a);
  EXPECT_EQ(Items(f.zielZone), kGk);
  EXPECT_TRUE(dialogs->allDone());
}

TEST_F(SelectionTest, ZoneOptionsSelectTheirSystemAndNestedRunsEnd) {
  FormOrvenil& f = startWithTables();
  ProgramState& s = State();
  f.StartellipsoidWaehlen(1);  // Krassowski start
  s.EllipsoidZiel = "GRS1980";
  f.FormVisible(true);  // the zone group is usable after an import
  ASSERT_TRUE(f.BtZoneZiel->isEnabled());

  // The user chooses "Zone-Ziel": the target system's zones. The lookup
  // selects the option already chosen, which runs nothing more.
  f.BtZoneZiel->click();
  EXPECT_TRUE(f.BtZone->isSelected(1));
  EXPECT_EQ(s.SystemnameZiel, "ETRS89");
  EXPECT_EQ(Items(f.zielZone), kUtm);

  // A run looks up the start system while "Zone-Ziel" is chosen: the
  // option's handler runs once, inside, and the lookup ends with system A.
  f.EllipsoidADatenZuordnen("Krassowski");
  EXPECT_TRUE(f.BtZone->isSelected(0));
  EXPECT_EQ(Items(f.zielZone), kGk);

  // And a target lookup from code while "Zone-Start" is chosen.
  f.EllipsoidBDatenZuordnen("GRS1980");
  EXPECT_TRUE(f.BtZone->isSelected(1));
  EXPECT_EQ(Items(f.zielZone), kUtm);

  f.BtZoneStart->click();
  EXPECT_TRUE(f.BtZone->isSelected(0));
  EXPECT_EQ(Items(f.zielZone), kGk);
  EXPECT_TRUE(dialogs->messages().isEmpty());

  // No target system yet: message, back to "Zone-Start".
  s.EllipsoidZiel.clear();
  dialogs->expectMessage("Ziel-Koordinaten nicht vorhanden! Abbruch!");
  f.BtZoneZiel->click();
  EXPECT_TRUE(f.BtZone->isSelected(0));
  EXPECT_FALSE(f.BtZoneZiel->isChecked());
  EXPECT_EQ(Items(f.zielZone), kGk);
  ASSERT_EQ(dialogs->messages().size(), 1);
  EXPECT_EQ(dialogs->messages().first().icon, MsgIcon::Critical);
  EXPECT_TRUE(dialogs->allDone());
}

TEST_F(SelectionTest, TypeOhneResetsThePanel) {
  FormOrvenil& f = startWithTables();
  f.AuswahlTrafoTyp->select(1);
  f.ComboTrafoPara->SetListIndex(0);
  f.AuswahlTrafoRichtung->select(1);
  f.sevTabStrip1->SelectTab(3);

  f.AuswahlTrafoTyp->select(0);
  EXPECT_EQ(f.ComboTrafoPara->Text(), "ohne");
  EXPECT_EQ(f.ComboTrafoPara->ListCount(), 0);
  EXPECT_FALSE(f.ComboTrafoPara->isEnabled());
  EXPECT_EQ(f.txtTrafoParaStart->Text(), "ohne");
  EXPECT_EQ(f.txtTrafoParaZiel->Text(), "ohne");
  EXPECT_EQ(f.txtTrafoParaStart->BackColor(), ButtonFaceColor());
  EXPECT_FALSE(f.cmdTrafoStart->isEnabled());
  EXPECT_TRUE(f.AuswahlTrafoRichtung->isSelected(0));
  EXPECT_EQ(f.sevTabStrip1->SelectedTab(), 1);
  EXPECT_EQ(f.GridKooDb->Caption(), "Koordinaten");
  EXPECT_EQ(f.xpStatusBar1->PanelText(9), "Trafo:   ");
  EXPECT_EQ(f.cmbGeoidmodell->ListIndex(), 0);
  EXPECT_EQ(f.chkUndulationMinus->Value(), 0);
  EXPECT_FALSE(f.chkUndulationMinus->isEnabled());
  EXPECT_FALSE(f.cmbGeoidmodell->isEnabled());
  // The type options themselves stay usable.
  EXPECT_TRUE(f.frameAuswParaTrafo->isEnabled());
}

TEST_F(SelectionTest, SevenParameterTypeListsSetsAndDescribesThem) {
  FormOrvenil& f = startWithTables();
  ProgramState& s = State();
  s.StartKoordinatensystem = "ETRS89";
  f.StartellipsoidWaehlen(0);
  f.AuswahlTrafoTyp->select(1);
  EXPECT_EQ(Items(f.ComboTrafoPara), (QStringList{"Satz Eins", "Satz Zwei", "Satz Drei mit Umlaut Höhe"}));
  EXPECT_EQ(f.ComboTrafoPara->Text(), "ohne");
  EXPECT_EQ(s.TrafoTyp, "7-Parameter");
  EXPECT_EQ(f.GridKooDb->Caption(), "Trafo: 7-Parameter: ohne, von: ETRS89 (GRS1980), Geoid: ohne");
  EXPECT_EQ(f.xpStatusBar1->PanelText(9), "Trafo: von: ETRS89 (GRS1980)  ");
  EXPECT_FALSE(f.cmdTrafoStart->isEnabled());
  EXPECT_TRUE(dialogs->openedDropDowns().contains(f.ComboTrafoPara));

  // A set that starts in the data's system (WGS1984 sets start in ETRS89).
  f.ComboTrafoPara->SetListIndex(0);
  EXPECT_EQ(f.txtTrafoParaStart->Text(), "ETRS89");
  EXPECT_EQ(f.txtTrafoParaZiel->Text(), "GK42/83");
  EXPECT_EQ(s.EllipsoidStart, "WGS1984");
  EXPECT_EQ(s.EllipsoidZiel, "Krassowski");
  EXPECT_EQ(f.GridKooDb->Caption(),
            "Trafo: 7-Parameter: Satz Eins, von: ETRS89 (GRS80), nach: Satz Eins (Krassowski), Geoid: ohne");
  EXPECT_EQ(f.xpStatusBar1->PanelText(9), "Trafo: von: ETRS89 (GRS80)  ");
  EXPECT_EQ(f.txtTrafoParaStart->BackColor(), ButtonFaceColor());
  EXPECT_EQ(f.txtTrafoParaZiel->BackColor(), ButtonFaceColor());
  EXPECT_TRUE(f.cmdTrafoStart->isEnabled());

  // Reverse: the set now starts in RD83, which the data are not in.
  f.ComboTrafoPara->SetListIndex(1);
  f.AuswahlTrafoRichtung->select(1);
  EXPECT_EQ(f.txtTrafoParaStart->Text(), "RD83");
  EXPECT_EQ(f.txtTrafoParaZiel->Text(), "ETRS89");
  EXPECT_EQ(f.GridKooDb->Caption(),
            "Trafo: 7-Parameter: Satz Zwei, von: Satz Zwei (Bessel), nach: ETRS89 (GRS80) , Geoid: ohne");
  EXPECT_EQ(f.txtTrafoParaStart->BackColor(), WarningBackColor());
  EXPECT_EQ(f.txtTrafoParaZiel->BackColor(), WarningBackColor());
  EXPECT_FALSE(f.cmdTrafoStart->isEnabled());
  EXPECT_TRUE(dialogs->messages().isEmpty());
}

TEST_F(SelectionTest, Ntv2PresetsByStartSystem) {
  FormOrvenil& f = startWithTables();
  ProgramState& s = State();

  // ETRS89 data: back to the older system with the first set.
  s.StartKoordinatensystem = "ETRS89";
  f.AuswahlTrafoTyp->select(2);
  EXPECT_EQ(s.TrafoTyp, "NTv2");
  EXPECT_TRUE(f.AuswahlTrafoTyp->isSelected(2));
  EXPECT_TRUE(f.AuswahlTrafoRichtung->isSelected(1));
  EXPECT_EQ(f.ComboTrafoPara->ListIndex(), 0);
  EXPECT_EQ(f.ComboTrafoPara->Text(), "BeTA2007");
  EXPECT_EQ(f.txtTrafoParaStart->Text(), "ETRS89");
  EXPECT_EQ(f.txtTrafoParaZiel->Text(), "RD83");
  EXPECT_EQ(s.EllipsoidStart, "GRS1980");
  EXPECT_EQ(s.EllipsoidZiel, "Bessel");
  EXPECT_EQ(f.GridKooDb->Caption(), "Trafo: NTv2: BeTA2007, von: ETRS89 (GRS1980), nach: RD83 (Bessel), Geoid: ohne");
  EXPECT_EQ(f.xpStatusBar1->PanelText(9), "Trafo: von: ETRS89 (GRS1980)  ");
  EXPECT_TRUE(f.cmdTrafoStart->isEnabled());
  EXPECT_EQ(f.txtTrafoParaStart->BackColor(), ButtonFaceColor());

  // GK42/83 data: forward with the first set, which starts in RD83: refused.
  f.AuswahlTrafoTyp->select(0);
  s.StartKoordinatensystem = "GK42/83";
  f.AuswahlTrafoTyp->select(2);
  EXPECT_TRUE(f.AuswahlTrafoRichtung->isSelected(0));
  EXPECT_EQ(f.ComboTrafoPara->ListIndex(), 0);
  EXPECT_EQ(f.txtTrafoParaStart->Text(), "RD83");
  EXPECT_EQ(f.txtTrafoParaStart->BackColor(), WarningBackColor());
  EXPECT_FALSE(f.cmdTrafoStart->isEnabled());

  // RD83 data: no preset.
  f.AuswahlTrafoTyp->select(0);
  s.StartKoordinatensystem = "RD83";
  f.AuswahlTrafoTyp->select(2);
  EXPECT_TRUE(f.AuswahlTrafoRichtung->isSelected(0));
  EXPECT_EQ(f.ComboTrafoPara->ListIndex(), -1);
  EXPECT_EQ(f.ComboTrafoPara->Text(), "ohne");
  EXPECT_EQ(f.txtTrafoParaStart->Text(), "ohne");
  EXPECT_FALSE(f.cmdTrafoStart->isEnabled());
  EXPECT_TRUE(dialogs->messages().isEmpty());
}

TEST_F(SelectionTest, Ntv2PresetWithEmptyTableChoosesNothing) {
  putTable("sys_7Parameter.dat");
  putTable("Quasigeoidmodell.dat");
  QFile(dbFile("sys_NTv2.dat")).open(QIODevice::WriteOnly);
  FormOrvenil& f = start();
  dialogs->clearRecords();
  State().StartKoordinatensystem = "ETRS89";
  f.AuswahlTrafoTyp->select(2);
  EXPECT_EQ(f.ComboTrafoPara->ListCount(), 0);
  EXPECT_EQ(f.ComboTrafoPara->Text(), "ohne");
  EXPECT_TRUE(f.AuswahlTrafoRichtung->isSelected(1));
  EXPECT_FALSE(f.cmdTrafoStart->isEnabled());
}

TEST_F(SelectionTest, HeightTypes) {
  FormOrvenil& f = startWithTables();
  writeBytes(dbFile("egm96.bin"), QByteArray("grid"));
  f.AuswahlTrafoTyp->select(1);
  f.cmbGeoidmodell->SetListIndex(1);
  EXPECT_TRUE(f.chkUndulationMinus->isEnabled());

  // "nur Höhe" forces the model text to "ohne": no start until a model is picked.
  f.AuswahlTrafoTyp->select(3);
  EXPECT_EQ(f.cmbGeoidmodell->Text(), "ohne");
  EXPECT_FALSE(f.cmdTrafoStart->isEnabled());
  EXPECT_EQ(f.chkUndulationMinus->Value(), 0);
  EXPECT_FALSE(f.chkUndulationMinus->isEnabled());
  EXPECT_FALSE(f.ComboTrafoPara->isEnabled());
  EXPECT_EQ(f.GridKooDb->Caption(), "Trafo: nur Höhe, Geoid: ohne");
  EXPECT_EQ(State().TrafoTyp, "nur Höhe");
  EXPECT_TRUE(dialogs->openedDropDowns().contains(f.cmbGeoidmodell));
  f.cmbGeoidmodell->SetListIndex(1);
  EXPECT_TRUE(f.cmdTrafoStart->isEnabled());

  // The height databases need no model: start at once, model locked.
  for (int option : {4, 5}) {
    f.AuswahlTrafoTyp->select(option);
    EXPECT_EQ(f.cmbGeoidmodell->ListIndex(), 0);
    EXPECT_EQ(f.cmbGeoidmodell->Text(), "ohne");
    EXPECT_FALSE(f.cmbGeoidmodell->isEnabled());
    EXPECT_TRUE(f.cmdTrafoStart->isEnabled());
    EXPECT_EQ(State().TrafoTyp, "nur Höhe");  // left as it was
    EXPECT_FALSE(State().GeoidBereit);
  }
}

TEST_F(SelectionTest, ChoosingAGeoidModelTakesItsFiles) {
  FormOrvenil& f = startWithTables();
  writeBytes(dbFile("egm96.bin"), QByteArray("grid"));
  f.AuswahlTrafoTyp->select(1);

  f.cmbGeoidmodell->SetListIndex(1);
  EXPECT_TRUE(State().GeoidBereit);
  EXPECT_EQ(State().GeoidApp, "saphtel.exe");
  EXPECT_EQ(State().GeoidfeldDateiname, "egm96.bin");
  EXPECT_EQ(State().GeoidName, "saphtel");
  EXPECT_TRUE(f.chkUndulationMinus->isEnabled());
  EXPECT_TRUE(f.cmdTrafoStart->isEnabled());  // a model chosen
  EXPECT_TRUE(dialogs->messages().isEmpty());

  // "ohne": the model is let go; without a set there is nothing to start.
  f.chkUndulationMinus->SetValue(1);
  f.cmbGeoidmodell->SetListIndex(0);
  EXPECT_FALSE(State().GeoidBereit);
  EXPECT_EQ(State().GeoidApp, "");
  EXPECT_EQ(State().GeoidfeldDateiname, "");
  EXPECT_EQ(f.chkUndulationMinus->Value(), 0);
  EXPECT_FALSE(f.chkUndulationMinus->isEnabled());
  EXPECT_FALSE(f.cmdTrafoStart->isEnabled());
}

TEST_F(SelectionTest, GeoidModelFileFoundIgnoringCase) {
  FormOrvenil& f = startWithTables();
  writeBytes(dbFile("EGM96.BIN"), QByteArray("\x00\x01\x02", 3));
  f.cmbGeoidmodell->SetListIndex(1);
  EXPECT_TRUE(State().GeoidBereit);
  EXPECT_EQ(State().GeoidfeldDateiname, "egm96.bin");
}

TEST_F(SelectionTest, MissingGeoidModelFile) {
  FormOrvenil& f = startWithTables();
  writeBytes(dbFile("saphtel"), QByteArray("staged before"));
  f.AuswahlTrafoTyp->select(1);
  f.chkUndulationMinus->setEnabled(false);
  dialogs->expectMessage("Die Geoidfelddatei '" + folders.databaseFolder + "egm96.bin' fehlt! Abbruch!");
  f.cmbGeoidmodell->SetListIndex(1);
  EXPECT_TRUE(dialogs->allDone());
  ASSERT_EQ(dialogs->messages().size(), 1);
  EXPECT_EQ(dialogs->messages().first().icon, MsgIcon::Critical);
  EXPECT_EQ(dialogs->messages().first().title, "Orvenil");
  EXPECT_FALSE(State().GeoidBereit);
  EXPECT_EQ(State().GeoidApp, "");
  EXPECT_EQ(State().GeoidfeldDateiname, "");
  EXPECT_EQ(bytesOf(dbFile("saphtel")), QByteArray("staged before"));
  EXPECT_EQ(f.cmbGeoidmodell->ListIndex(), 1);
  EXPECT_TRUE(f.chkUndulationMinus->isEnabled());
}

TEST_F(SelectionTest, ColumnViewsOfTheCoordinateGrid) {
  FormOrvenil& f = startWithTables();
  for (const char* key : {"Punkt", "sYe", "BgDez", "radBg", "BgDezSek", "sYeZiel", "sHgZiel", "Zone", "EllipsKO",
                          "sYori", "Geoidundulation", "id"})
    f.GridKooDb->AddColumn(key, key);
  f.ShowColumnsForTrafo(false);
  QStringList shown;
  for (int c = 1; c <= f.GridKooDb->ColumnCount(); ++c)
    if (f.GridKooDb->ColumnVisible(f.GridKooDb->ColumnKey(c))) shown << f.GridKooDb->ColumnKey(c);
  // The import's hidden row number stays hidden.
  EXPECT_EQ(shown, (QStringList{"Punkt", "sYe", "sYori", "Geoidundulation"}));
  EXPECT_FALSE(f.cmdTrafoStart->isEnabled());
  EXPECT_EQ(f.ComboTrafoPara->Text(), "ohne");

  f.ShowColumnsForTrafo(true);
  shown.clear();
  for (int c = 1; c <= f.GridKooDb->ColumnCount(); ++c)
    if (f.GridKooDb->ColumnVisible(f.GridKooDb->ColumnKey(c))) shown << f.GridKooDb->ColumnKey(c);
  EXPECT_EQ(shown, (QStringList{"Punkt", "sYe", "sYeZiel", "Zone", "Geoidundulation"}));
  EXPECT_TRUE(f.cmdTrafoStart->isEnabled());
  EXPECT_TRUE(f.GridKooDb->Redraw());
}
