#pragma once
// Every control of the main window under its name, with its captions, items
// and design state. FormOrvenil derives from this struct, so the window's
// operations and the other windows reach the controls by name.
#include <QString>

#include "platform/ui/CommonDialog.h"

class QLabel;
class QMainWindow;
class QMenu;
class QAction;
class QPushButton;
class QRadioButton;
class QTimer;
class QWidget;

namespace orv {

class DataGrid;
class OptionArray;
class VbCheckBox;
class VbComboBox;
class VbFrame;
class VbStatusBar;
class VbTabStrip;
class VbTextBox;
class VbToolBar;

struct FormOrvenilControls {
  // The window's client area; the toolbar, the options frame and the tab
  // strip are placed in it by the layout code.
  QWidget* formClient = nullptr;

  // Toolbar and status bar.
  VbToolBar* Coolbar2 = nullptr;
  VbStatusBar* xpStatusBar1 = nullptr;

  // Command buttons, timer, dialogs.
  QPushButton* cmdAuswahlImport = nullptr;
  QPushButton* cmdAuswahlExport = nullptr;
  QPushButton* cmdTrafoStart = nullptr;
  QTimer* TimerAllg = nullptr;
  CommonDialog CommonDialog1;
  CommonDialog CommonDialog2;

  // The frame holding all option frames.
  VbFrame* sevFrameOptionen = nullptr;

  // Start system (always locked; shows what the start-data dialog chose).
  VbFrame* frameSystem = nullptr;
  OptionArray* Startsys = nullptr;
  VbComboBox* cmbStartsys = nullptr;
  VbComboBox* cmbStartZone = nullptr;
  VbTextBox* orthoNäherungshöhe = nullptr;
  VbFrame* frameAbbildung = nullptr;
  OptionArray* StartAbbildung = nullptr;

  // Zone group.
  VbFrame* frameZone = nullptr;
  VbComboBox* zielZone = nullptr;
  QPushButton* cmdZoneÄndern = nullptr;
  VbCheckBox* chkZoneIndividuell = nullptr;
  OptionArray* BtZone = nullptr;  // the two options below as one group
  QRadioButton* BtZoneStart = nullptr;
  QRadioButton* BtZoneZiel = nullptr;

  // Transformation group.
  VbFrame* frameParaTrafo = nullptr;
  VbFrame* frameAuswParaTrafo = nullptr;
  OptionArray* AuswahlTrafoTyp = nullptr;
  VbFrame* frameParaTrafoHinRück = nullptr;
  OptionArray* AuswahlTrafoRichtung = nullptr;
  VbFrame* frameGeoidModell = nullptr;
  VbComboBox* cmbGeoidmodell = nullptr;
  VbCheckBox* chkUndulationMinus = nullptr;
  VbComboBox* ComboTrafoPara = nullptr;
  VbTextBox* txtTrafoParaStart = nullptr;
  VbTextBox* txtTrafoParaZiel = nullptr;

  // Labels.
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* Label5 = nullptr;
  QLabel* Label6 = nullptr;
  QLabel* Label7 = nullptr;
  QLabel* Label9 = nullptr;
  QLabel* Label10 = nullptr;
  QLabel* Label11 = nullptr;

  // Tab strip and grids.
  VbTabStrip* sevTabStrip1 = nullptr;
  DataGrid* GridKooDb = nullptr;
  DataGrid* GridKoordSys = nullptr;
  DataGrid* GridTrafoSys = nullptr;
  DataGrid* GridNTv2Sys = nullptr;
  DataGrid* GridGeoidmodell = nullptr;

  // Popup menu of the editable system grids; items 0 to 5.
  QMenu* MenuPopUp = nullptr;
  QAction* mnuPopUp[6] = {};

  // Creates every control inside the window with its design state.
  void setupControls(QMainWindow* form);

 private:
  // One region of the window each, from top to bottom.
  void setupToolbar(QMainWindow* form);
  void setupOptionsBand();
  void setupStartSystemFrames();
  void setupZoneFrame();
  void setupTransformationFrame();
  void setupTabs(QMainWindow* form);
  void setupStatusBar(QMainWindow* form);
};

// Toolbar key names.
inline const QString kKeyDbOeffnen = QStringLiteral("btnDbÖffnen");
inline const QString kKeyDbSpeichernUnter = QStringLiteral("btnDbSpeichernUnter");
inline const QString kKeyGoogleMap = QStringLiteral("btnGoogleMap");
inline const QString kKeyNTv2 = QStringLiteral("btnNTv2");
inline const QString kKeyPlaceholder = QStringLiteral("btnPlaceholder");
inline const QString kKeyHilfe = QStringLiteral("btnHilfe");
inline const QString kKeyDBEnde = QStringLiteral("btnDBEnde");

}  // namespace orv
