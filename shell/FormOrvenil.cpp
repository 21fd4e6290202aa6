#include "shell/FormOrvenil.h"

#include <QCloseEvent>
#include <algorithm>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "foundation/DialogService.h"
#include "geodesy/AngleFormats.h"
#include "geodesy/SimilarityTransformations.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/OptionArray.h"
#include "platform/ui/ScreenFit.h"
#include "platform/ui/VbCheckBox.h"
#include "platform/ui/VbComboBox.h"
#include "platform/ui/VbFrame.h"
#include "platform/ui/VbTabStrip.h"
#include "platform/ui/VbToolBar.h"
#include "shell/WindowLayout.h"

namespace orv {

QString CleanCommandLine(const QString& commandLine) {
  QString text = commandLine;
  text.remove(QLatin1Char('"'));
  return text.trimmed();
}

FormOrvenil::FormOrvenil(const FormOrvenilFolders& folders, const QString& commandLine, QWidget* parent)
    : QMainWindow(parent), folders_(folders), commandLine_(CleanCommandLine(commandLine)) {
  Form_Initialize();
  setupControls(this);
  connectHandlers();
  // Design size of the window at this screen's resolution, as far as the
  // screen has room for it.
  FitOptionsBandToScreen();
  SetMinimumWindowSize();
  resize(QSize(TwipsToPixels(kDesignWindowWidth, logicalDpiX()), TwipsToPixels(kDesignWindowHeight, logicalDpiY()))
             .boundedTo(LargestWindowSize(this))
             .expandedTo(minimumSize()));
}

FormOrvenil::~FormOrvenil() = default;

void FormOrvenil::Form_Initialize() {
  // Qt's widgets need no separate initialisation of common controls.
}

void FormOrvenil::connectHandlers() {
  // While a command works, the toolbar, the command buttons and the command
  // line's timer start nothing.
  Coolbar2->onButtonClick([this](const QString& key) { RunCommand([&] { Coolbar2_ButtonClick(key); }); });
  Coolbar2->onButtonMenuClick([this](const QString& key) { RunCommand([&] { Coolbar2_ButtonMenuClick(key); }); });
  connect(cmdAuswahlImport, &QPushButton::clicked, this, [this] { RunCommand([this] { cmdAuswahlImport_Click(); }); });
  connect(cmdAuswahlExport, &QPushButton::clicked, this, [this] { RunCommand([this] { cmdAuswahlExport_Click(); }); });
  connect(cmdTrafoStart, &QPushButton::clicked, this, [this] { cmdTrafoStart_Click(); });
  connect(cmdZoneÄndern, &QPushButton::clicked, this, [this] { cmdZoneÄndern_Click(); });
  connect(TimerAllg, &QTimer::timeout, this, [this] { RunCommand([this] { TimerAllg_Timer(); }); });
  zielZone->onClick([this] { zielZone_Click(); });
  Startsys->onClick([this](int i) { Startsys_Click(i); });
  StartAbbildung->onClick([this](int i) { StartAbbildung_Click(i); });
  AuswahlTrafoTyp->onClick([this](int i) { AuswahlTrafoTyp_Click(i); });
  AuswahlTrafoRichtung->onClick([this](int i) { AuswahlTrafoRichtung_Click(i); });
  ComboTrafoPara->onClick([this] { ComboTrafoPara_Click(); });
  cmbGeoidmodell->onClick([this] { cmbGeoidmodell_Click(); });
  BtZone->onClick([this](int i) {
    if (i == 0)
      BtZoneStart_Click();
    else
      BtZoneZiel_Click();
  });
  sevTabStrip1->onClick([this] { sevTabStrip1_Click(); });
  for (int i = 0; i < 6; ++i)
    connect(mnuPopUp[i], &QAction::triggered, this, [this, i] { mnuPopUp_Click(i); });
  GridTrafoSys->onMouseUp([this](const GridMouseEvent& e) { GridTrafoSys_MouseUp(e.button, e.column); });
  GridNTv2Sys->onMouseUp([this](const GridMouseEvent& e) { GridNTv2Sys_MouseUp(e.button, e.column); });
  GridGeoidmodell->onMouseUp(
      [this](const GridMouseEvent& e) { GridGeoidmodell_MouseUp(e.button, e.column); });
  GridTrafoSys->onBeforeDelete([this](int row, bool& cancel) { GridTrafoSys_BeforeDelete(row, cancel); });
  GridNTv2Sys->onBeforeDelete([this](int row, bool& cancel) { GridNTv2Sys_BeforeDelete(row, cancel); });
  GridGeoidmodell->onBeforeDelete(
      [this](int row, bool& cancel) { GridGeoidmodell_BeforeDelete(row, cancel); });
  GridKooDb->onRowChange([this] { GridKooDb_RowChange(); });
  GridKooDb->onExportRow([this](int row, int total, bool& skip) { GridKooDb_ExportRow(row, total, skip); });
  GridKooDb->onFormatRow([this](int row, GridRow& rowObject) { GridKooDb_FormatRow(row, rowObject); });
  // An edit after "Zeile bearbeiten" is kept until the table is saved.
  for (SystemTable table : {SystemTable::TrafoSys, SystemTable::NTv2Sys, SystemTable::Geoidmodell}) {
    SystemTableGrid(table)->onCellEdited([this, table](int, const QString&) {
      editedTables_.insert(static_cast<int>(table));
      FitColumnWidths(SystemTableGrid(table));
      // An edit moves no row: the chosen set keeps its row and, renamed,
      // is shown under its new name.
      SetListFollowsTable(SystemTableGrid(table), ChosenSetRowInList());
    });
  }
}

void FormOrvenil::RunCommand(const std::function<void()>& command) {
  // A click or a close request queued before the command started, or let
  // through by its event pumps, finds the command at work and is refused.
  if (RunBusy()) return;
  struct AtWork {
    explicit AtWork(int& depth) : depth_(depth) {
      ++depth_;
      Dialogs().beginWork();
    }
    ~AtWork() {
      Dialogs().endWork();
      --depth_;
    }
    int& depth_;
  } atWork(runBusy_);
  command();
}

// Public operations 0 to 8: the geodetic routines, reachable through the window.
double FormOrvenil::GradInRad(const QString& degreeText) const { return orv::GradInRad(degreeText); }
QString FormOrvenil::FormatSeconds(double seconds, const QString& formatName) const {
  return orv::FormatSeconds(seconds, formatName);
}
QString FormOrvenil::DezMinInGrad(const QString& decimalMinutes) const {
  return orv::DezMinInGrad(decimalMinutes);
}
QString FormOrvenil::DezGradInGrad(double decimalDegrees) const { return orv::DezGradInGrad(decimalDegrees); }
QString FormOrvenil::RadInGrad(double radians) const { return orv::RadInGrad(radians); }
double FormOrvenil::asin(double x) const { return orv::asin(x); }
GeocentricPoint FormOrvenil::EllToGeoZent(double B, double L, double h, double a, double e) const {
  return orv::EllToGeoZent(B, L, h, a, e);
}
GeographicPoint FormOrvenil::GeoZentToEll(double X, double Y, double Z, double a, double e) const {
  return orv::GeoZentToEll(X, Y, Z, a, e);
}
GeocentricPoint FormOrvenil::SevenParTrans(double X, double Y, double Z, double dX, double dY, double dZ,
                                           double m, double r1, double r2, double r3) const {
  return orv::SevenParTrans(X, Y, Z, dX, dY, dZ, m, r1, r2, r3);
}

void FormOrvenil::NotAvailable(const QString& what) {
  Dialogs().messageBox(what + QStringLiteral(" ist in dieser Version noch nicht verfügbar."), MsgButtons::Ok,
                       MsgIcon::Information, QStringLiteral("Orvenil"));
}

}  // namespace orv
