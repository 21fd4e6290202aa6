// The window as a surveyor sees it on an X display, where the fonts are
// wider than headless: at the default size, after an import, a
// seven-parameter run and an export, every status panel but the two that
// share the rest shows its whole text, those two and the grid captions
// show it whole or shortened with "…" and whole as tooltip, the export
// dialog's grid captions are whole and its height choice shows an item, and
// the meridian prompt is wide enough for its title.
// On a laptop screen of 1366 x 768 with the desktop's scale at 125 or 150 %
// the window, its dialogs and the progress window fit the screen, and a
// cancelled import leaves the transformation panel as it was.
// ORV_SCREENSHOT_DIR names a folder for pictures of the screen at those steps.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QPixmap>
#include <QKeyEvent>
#include <cmath>
#include <QLayout>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>

#include "support/RealDisplay.h"
#include "import/ImportFixture.h"
#include "io/FormOrvenilExport.h"
#include "platform/ui/ElidingLabel.h"
#include "platform/ui/InfoBox.h"
#include "platform/ui/ProgressWindow.h"
#include "platform/ui/VbFrame.h"
#include "shell/FormAbout.h"
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

  // The whole screen, for windows over one another.
  static void screenshotOfScreen(const QString& name) {
    const QString folder = qEnvironmentVariable("ORV_SCREENSHOT_DIR");
    if (folder.isEmpty()) return;
    settle();
    QDir().mkpath(folder);
    QGuiApplication::primaryScreen()->grabWindow(0).save(folder + "/" + name + ".png");
  }

  // The laptop screen of 1366 x 768 pixels, at whatever scale.
  static bool onLaptopScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return std::abs(screen->size().width() * screen->devicePixelRatio() - 1366) < 2;
  }

  static QRect availableArea() { return QGuiApplication::primaryScreen()->availableGeometry(); }

  static QRect globalRect(const QWidget* w) { return {w->mapToGlobal(QPoint(0, 0)), w->size()}; }

  // Shown and wholly within the screen's available area.
  static void expectOnScreen(const QWidget* w, const char* what) {
    EXPECT_TRUE(w->isVisible()) << what;
    EXPECT_TRUE(availableArea().contains(globalRect(w)))
        << what << " at " << globalRect(w).x() << "," << globalRect(w).y() << " " << globalRect(w).width() << "x"
        << globalRect(w).height();
  }

  static void expectWindowOnScreen(const QWidget* window, const char* what) {
    const QRect frame = window->frameGeometry();
    EXPECT_TRUE(availableArea().contains(frame))
        << what << " " << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
  }

  // The window's status bar and the grid's horizontal scroll bar on screen.
  void expectWindowReachable(const char* state) {
    SCOPED_TRACE(state);
    settle();
    expectWindowOnScreen(form.get(), "Hauptfenster");
    expectOnScreen(form->xpStatusBar1, "Statusleiste");
    expectOnScreen(form->GridKooDb->view()->horizontalScrollBar(), "Bildlaufleiste");
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
  if (onLaptopScreen()) GTEST_SKIP() << "Bildschirm mit voller HD-Breite";
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


TEST_F(RealDisplayTest, WindowDialogsAndProgressFitALaptopScreen) {
  ORV_REQUIRE_REAL_DISPLAY();
  if (!onLaptopScreen()) GTEST_SKIP() << "Laptop-Bildschirm 1366 x 768";
  const QString at = QStringLiteral("laptop%1-").arg(qRound(QGuiApplication::primaryScreen()->devicePixelRatio() * 100));
  putRunTables();
  start();
  form->show();
  settle();
  expectWindowOnScreen(form.get(), "Hauptfenster beim Öffnen");
  // The option frames side by side in one row.
  const QLayout* band = form->sevFrameOptionen->layout();
  for (int i = 1; i < band->count(); ++i)
    EXPECT_EQ(band->itemAt(i)->geometry().top(), band->itemAt(0)->geometry().top()) << "Rahmen " << i;
  dialogs->clearRecords();

  // The start-data dialog with "weiter" on screen.
  runImport(writeFile("Messpunkte_Nord_Baufeld_2026.txt", {"1 K 4590123.456 5821234.567 312.5", "2 K 4520000 5700000 95.25",
                                                            "3 K 4590000.5 5580000.25 840"}),
            1, [&](orv::FormOrvenilSystemAuswahl& d) {
              d.show();
              settle();
              expectWindowOnScreen(&d, "Startdaten-Dialog");
              expectOnScreen(d.cmdLaden, "weiter");
              screenshot(at + "1-start-data-dialog", &d);
              d.Startsys->select(1);
            });
  ASSERT_EQ(form->GridKooDb->RowCount(), 3);
  expectWindowReachable("nach dem Import");
  screenshot(at + "2-window", form.get());

  runFirstSetInReverse();
  const QString set = form->ComboTrafoPara->Text();
  const QString caption = form->GridKooDb->Caption();
  ASSERT_TRUE(form->cmdTrafoStart->isEnabled());

  // Escape in the start-data dialog of a second import keeps the job and the panel.
  dialogs->expectOpenFile(writeFile("zweite.txt", {"7 K 4512345.0 5712345.0 1"}), 1);
  dialogs->expectModal([](QDialog* d) {
    d->show();
    settle();
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(d, &escape);
    return d->result();
  });
  form->Coolbar2_ButtonClick(orv::kKeyDbOeffnen);
  EXPECT_EQ(form->ComboTrafoPara->Text(), set);
  EXPECT_TRUE(form->cmdTrafoStart->isEnabled());
  EXPECT_EQ(form->GridKooDb->Caption(), caption);
  screenshot(at + "3-after-cancel", form.get());

  // The export dialog with "speichern" on screen.
  dialogs->expectModal([&](QDialog* d) {
    auto* dialog = static_cast<orv::FormOrvenilExport*>(d);
    dialog->show();
    settle();
    expectWindowOnScreen(dialog, "Export-Dialog");
    expectOnScreen(dialog->Command1, "speichern");
    screenshot(at + "4-export-dialog", dialog);
    dialog->TimerAllg_Timer();
    dialog->Command1_Click();
    return 1;
  });
  dialogs->expectSaveFile(root.path() + "/Ausgabe", 1);
  form->cmdAuswahlExport_Click();

  // The other dialogs of the program.
  orv::FormAbout about(form.get());
  orv::FormInfo info(form.get());
  for (QDialog* d : {static_cast<QDialog*>(&about), static_cast<QDialog*>(&info)}) {
    d->show();
    settle();
    expectWindowOnScreen(d, d->windowTitle().toUtf8().constData());
    d->hide();
  }

  // The window at its smallest size, away from the screen's corner.
  form->resize(form->minimumSize());
  settle();
  const QRect area = availableArea();
  form->move(area.right() - form->frameGeometry().width() + 1, area.bottom() - form->frameGeometry().height() + 1);
  expectWindowReachable("kleinste Größe");
  screenshot(at + "5-window-smallest", form.get());

  // The progress window over the main window; after a phase that reached
  // 100 % its bar shows the figure of its text.
  orv::ShowProgress(300000, 0, 300000, true, QStringLiteral(" Zeilen, Daten bereitstellen..."));
  orv::ShowProgress(189000, 0, 300000, true, QStringLiteral(" Zeilen, Geoidundulation zuordnen..."));
  settle();
  const orv::FormStatus* status = orv::ExistingStatusForm();
  ASSERT_NE(status, nullptr);
  EXPECT_EQ(status->Label2->text(), QStringLiteral("63% von 300000 Zeilen, Geoidundulation zuordnen..."));
  EXPECT_EQ(status->picProgress->percent(), 63);
  EXPECT_TRUE(form->frameGeometry().contains(status->frameGeometry()))
      << status->frameGeometry().x() << "," << status->frameGeometry().y();
  expectWindowOnScreen(status, "Status");
  screenshotOfScreen(at + "6-progress");
  orv::ReleaseStatusForm();
  EXPECT_TRUE(dialogs->failures().isEmpty()) << dialogs->failures().join("|").toStdString();
}
