// The window as a surveyor sees it on an X display, where the fonts are
// wider than headless: at the default size, after an import, a
// seven-parameter run and an export, every status panel but the two that
// share the rest shows its whole text, those two and the grid captions
// show it whole or shortened with "…" and whole as tooltip, the export
// dialog's grid captions are whole and its height choice shows an item, and
// the meridian prompt is wide enough for its title.
// ORV_SCREENSHOT_DIR names a folder for pictures of the screen at those steps.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>

#include "support/RealDisplay.h"
#include "import/ImportFixture.h"
#include "io/FormOrvenilExport.h"
#include "platform/ui/ElidingLabel.h"
#include "platform/ui/QtDialogService.h"
#include "platform/ui/VbComboBox.h"
#include "platform/ui/VbStatusBar.h"
#include "shell/WindowLayout.h"

namespace {

class RealDisplayTest : public ImportTest {
 protected:
  static void settle() {
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
  }

  static void screenshot(const QString& name, QWidget* window) {
    const QString folder = qEnvironmentVariable("ORV_SCREENSHOT_DIR");
    if (folder.isEmpty()) return;
    settle();
    QDir().mkpath(folder);
    window->grab().save(folder + "/" + name + ".png");
  }

  // Whole, or shortened at the end with the whole text as tooltip.
  static void expectWholeOrElided(const orv::ElidingLabel* label, const char* what) {
    if (!label->isElided()) return;
    EXPECT_TRUE(label->shownText().endsWith(QChar(0x2026))) << what;
    EXPECT_EQ(label->toolTip(), label->text()) << what;
  }

  void expectPanelsReadable(const char* after) {
    SCOPED_TRACE(after);
    settle();
    const orv::VbStatusBar* bar = form->xpStatusBar1;
    ASSERT_EQ(bar->PanelCount(), 10);
    for (int i = 1; i <= 8; ++i)
      EXPECT_FALSE(bar->Panel(i)->isElided()) << "panel " << i << " shows \""
                                              << bar->Panel(i)->shownText().toStdString() << "\"";
    expectWholeOrElided(bar->Panel(9), "panel 9");
    expectWholeOrElided(bar->Panel(10), "panel 10");
    expectWholeOrElided(form->GridKooDb->CaptionLabel(), "grid caption");
  }
};

}  // namespace

TEST_F(RealDisplayTest, PanelsAndCaptionsReadWholeAfterImportRunAndExport) {
  ORV_REQUIRE_REAL_DISPLAY();
  putRunTables();
  start();
  form->show();
  settle();
  ASSERT_EQ(form->width(), orv::TwipsToPixels(orv::kDesignWindowWidth, form->logicalDpiX()));
  dialogs->clearRecords();

  runImport(writeFile("Messpunkte_Nord_Baufeld_2026.txt", {"1 K 4590123.456 5821234.567 312.5", "2 K 4520000 5700000 95.25",
                                              "3 K 4590000.5 5580000.25 840"}),
            1, [](orv::FormOrvenilSystemAuswahl& d) { d.Startsys->select(1); });
  ASSERT_EQ(form->GridKooDb->RowCount(), 3);
  screenshot("1-import", form.get());
  expectPanelsReadable("import");

  runFirstSetInReverse();
  EXPECT_TRUE(form->GridKooDb->Caption().startsWith("Trafo: 7-Parameter: ETRS89 - GK42/83 (EPSG 1775), von: "));
  screenshot("2-run", form.get());
  expectPanelsReadable("seven-parameter run");

  dialogs->expectModal([&](QDialog* d) {
    auto* dialog = static_cast<orv::FormOrvenilExport*>(d);
    dialog->show();
    settle();
    dialog->TimerAllg_Timer();  // "Ziel verebnet"
    settle();
    for (const orv::DataGrid* grid : {dialog->GridExport, dialog->GridExportTo})
      EXPECT_FALSE(grid->CaptionLabel()->isElided()) << grid->CaptionLabel()->shownText().toStdString();
    // A preset chosen after a height shows that none is chosen any more.
    dialog->ComboExportHöhe->SetListIndex(2);  // "Höhe aus Ziel"
    dialog->ComboExportLage->SetListIndex(10);
    EXPECT_EQ(dialog->ComboExportHöhe->Text(), "ohne");
    screenshot("3-export-dialog", dialog);
    dialog->ComboExportLage->SetListIndex(0);  // "alles auswählen": a long list in panel 10
    dialog->Command1_Click();
    return 1;
  });
  dialogs->expectSaveFile(root.path() + "/Ausgabe", 1);
  form->cmdAuswahlExport_Click();
  EXPECT_TRUE(form->xpStatusBar1->PanelText(10).startsWith("Speichern Spalten: "));
  screenshot("4-export", form.get());
  screenshot("5-status-bar", form->xpStatusBar1);
  expectPanelsReadable("export");

  // The zone-code prompt of an import of eastings without zone digit.
  QInputDialog prompt(form.get());
  orv::PrepareInputDialog(prompt, "Vorgabe der Meridiankennziffer\nim Startsystem ETRS89 (GRS1980)\n\n"
                                  "MKZ/Zone°: 31/3° - 32/9° - 33/15° - 34/21°",
                          "Meridiankennziffer MKZ des Startsystems unbestimmt!", "33");
  prompt.show();
  screenshot("6-meridian-prompt", &prompt);
  QFont titleFont = prompt.font();
  titleFont.setBold(true);
  EXPECT_GE(prompt.width(), QFontMetrics(titleFont).horizontalAdvance(prompt.windowTitle()) + 100);
  prompt.hide();
  EXPECT_TRUE(dialogs->failures().isEmpty()) << dialogs->failures().join("|").toStdString();
}
