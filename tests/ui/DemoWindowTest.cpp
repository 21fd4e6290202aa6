// A small window made of the platform's pieces: toolbar with a drop-down,
// option array in a frame, combo box, tab strip with a grid, status bar. It
// must come up and lay out; with ORV_SCREENSHOT=<file.png> it is saved as a
// picture (run under xvfb-run to see the real drawing).
#include <QApplication>
#include <QGridLayout>
#include <QMainWindow>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include "platform/ui/DataGrid.h"
#include "platform/ui/OptionArray.h"
#include "platform/ui/VbCheckBox.h"
#include "platform/ui/VbComboBox.h"
#include "platform/ui/VbFrame.h"
#include "platform/ui/VbStatusBar.h"
#include "platform/ui/VbTabStrip.h"
#include "platform/ui/VbTextBox.h"
#include "platform/ui/VbToolBar.h"

using namespace orv;

TEST(DemoWindow, PiecesWorkTogether) {
  QMainWindow window;
  window.setWindowTitle(QStringLiteral("Orvenil 2.0.0.9"));
  auto* bar = new VbToolBar(&window);
  bar->AddButton(QStringLiteral("btnDbÖffnen"), QStringLiteral("Datei importieren"));
  bar->AddButton(QStringLiteral("btnDbSpeichernUnter"), QStringLiteral("Datei exportieren"));
  bar->SetEnabled(QStringLiteral("btnDbSpeichernUnter"), false);
  bar->AddCheckButton(QStringLiteral("btnGoogleMap"), QStringLiteral("OpenStreet"));
  bar->AddSpacer(10);
  bar->AddMenuButton(QString(), QStringLiteral("Spaltenansicht"));
  bar->AddMenuItem(QStringLiteral("Spaltenansicht"), QStringLiteral("btnSpalten1"), QStringLiteral("alle Spalten"));
  bar->AddPlaceholder(QStringLiteral("btnPlaceholder"));
  bar->AddButton(QStringLiteral("btnDBEnde"), QStringLiteral("Ende"));
  window.addToolBar(bar);

  auto* central = new QWidget(&window);
  auto* layout = new QVBoxLayout(central);
  auto* frame = new VbFrame(QStringLiteral("Transformation"), central);
  auto* frameLayout = new QGridLayout(frame);
  OptionArray types(&window);
  const QStringList captions = {QStringLiteral("ohne"), QStringLiteral("7-Parameter "), QStringLiteral("NTv2")};
  for (int i = 0; i < captions.size(); ++i) frameLayout->addWidget(types.add(i, captions.at(i), frame), 0, i);
  types.preset(0);
  auto* combo = new VbComboBox(frame);
  combo->SetText(QStringLiteral("ohne"));
  frameLayout->addWidget(combo, 1, 0, 1, 2);
  auto* start = new VbTextBox(frame);
  start->SetText(QStringLiteral("GK42/83"));
  start->SetBackColor(WarningBackColor());
  frameLayout->addWidget(start, 1, 2);
  frameLayout->addWidget(new VbCheckBox(QStringLiteral("Höhe = Höhe - Geoid"), frame), 2, 0, 1, 3);
  layout->addWidget(frame);

  auto* tabs = new VbTabStrip(central);
  auto* grid = new DataGrid(tabs);
  grid->SetCaption(QStringLiteral("Koordinaten"));
  grid->AddColumn(QStringLiteral("Punkt"), QStringLiteral("Punkt"), 1800);
  grid->AddColumn(QStringLiteral("sYe"), QStringLiteral("Rechts"), 1500);
  grid->AddColumn(QStringLiteral("sXe"), QStringLiteral("Hoch"), 1500);
  grid->AddColumn(QStringLiteral("sZe"), QStringLiteral("Höhe"), 1300);
  for (int i = 1; i <= 30; ++i)
    grid->AddRow(QStringLiteral("%1\t%2\t%3\t%4")
                     .arg(i, 20)
                     .arg(32400000.0 + i * 12.5, 0, 'f', 4)
                     .arg(5800000.0 + i * 7.25, 0, 'f', 4)
                     .arg(40.0 + i * 0.1, 0, 'f', 4));
  grid->onFormatRow([](int row, GridRow& r) {
    if (row == 3) {
      r.SetCellBackColor(QStringLiteral("sYe"), QColor(255, 0, 0));
      r.SetCellForeColor(QStringLiteral("sYe"), Qt::white);
      r.SetCellNote(QStringLiteral("sYe"), QStringLiteral("Rundungsdifferenz > 0.0019m"));
    }
  });
  tabs->AddTab(grid, QStringLiteral("   Koordinaten   "));
  tabs->AddTab(new DataGrid(tabs), QStringLiteral("   Koordinatensysteme ..."));
  layout->addWidget(tabs, 1);
  window.setCentralWidget(central);

  auto* status = new VbStatusBar(&window);
  for (int i = 1; i <= 10; ++i) status->AddPanel(QString::number(i));
  status->SetPanelText(1, QStringLiteral("Status  "));
  status->SetPanelText(9, QStringLiteral("Trafo: ohne  "));
  window.setStatusBar(status);

  window.resize(1000, 640);
  window.show();
  grid->SetCurrentRow(2);
  QApplication::processEvents();
  EXPECT_TRUE(grid->isVisible());
  EXPECT_GT(grid->view()->height(), 100);
  EXPECT_EQ(tabs->SelectedTab(), 1);
  EXPECT_EQ(status->PanelText(1), QStringLiteral("Status  "));

  const QString shot = qEnvironmentVariable("ORV_SCREENSHOT");
  if (!shot.isEmpty()) {
    EXPECT_TRUE(window.grab().save(shot));
  }
}
