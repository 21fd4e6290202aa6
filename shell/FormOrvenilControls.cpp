#include "shell/FormOrvenilControls.h"

#include <QAction>
#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/ui/DataGrid.h"
#include "platform/ui/OptionArray.h"
#include "platform/ui/VbCheckBox.h"
#include "platform/ui/VbComboBox.h"
#include "platform/ui/VbFrame.h"
#include "platform/ui/VbStatusBar.h"
#include "platform/ui/VbTabStrip.h"
#include "platform/ui/VbTextBox.h"
#include "platform/ui/VbToolBar.h"
#include "platform/ui/WrappingRowLayout.h"

namespace orv {

namespace {

// Tight spacing: all option frames share the band between toolbar and tabs.
void Compact(QLayout* layout) {
  layout->setContentsMargins(2, 0, 2, 0);
  layout->setSpacing(2);
}

QGridLayout* GridIn(QWidget* w) {
  auto* g = new QGridLayout(w);
  Compact(g);
  return g;
}

// A little smaller than the desktop's font, for the options band and the tabs.
QFont BandFont(QFont font) {
  font.setPointSizeF(std::max(7.0, font.pointSizeF() - 1.5));
  return font;
}

DataGrid* MakeGrid(VbTabStrip* tabs, const QString& tabCaption, const QString& gridCaption) {
  // The page holds the grid without a layout: the window sizes the grid.
  auto* page = new QWidget(tabs);
  auto* grid = new DataGrid(page);
  grid->move(2, 2);
  grid->SetCaption(gridCaption);
  grid->SetSearchLabel(QStringLiteral("Suche:"));
  tabs->AddTab(page, tabCaption);
  return grid;
}

}  // namespace

void FormOrvenilControls::setupControls(QMainWindow* form) {
  form->setWindowTitle(QStringLiteral("Orvenil"));
  formClient = new QWidget(form);
  formClient->setObjectName(QStringLiteral("formClient"));
  form->setCentralWidget(formClient);

  setupToolbar(form);
  setupOptionsBand();
  setupTabs(form);
  setupStatusBar(form);

  TimerAllg = new QTimer(form);
  TimerAllg->setInterval(500);
  CommonDialog1.DialogTitle = QStringLiteral("Datei importieren");
  CommonDialog2.DialogTitle = QStringLiteral("Datei exportieren");

  // Labels without a design caption.
  Label2 = new QLabel(formClient);
  Label5 = new QLabel(formClient);
  Label7 = new QLabel(formClient);
  for (QLabel* l : {Label2, Label5, Label7}) l->hide();
}

void FormOrvenilControls::setupToolbar(QMainWindow* form) {
  // Keys in toolbar order; those after the placeholder sit at the right end.
  Coolbar2 = new VbToolBar(formClient);
  Coolbar2->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  Coolbar2->AddButton(kKeyDbOeffnen, QStringLiteral("Datei importieren"));
  Coolbar2->AddButton(kKeyDbSpeichernUnter, QStringLiteral("Datei exportieren"));
  Coolbar2->SetEnabled(kKeyDbSpeichernUnter, false);
  Coolbar2->AddCheckButton(kKeyGoogleMap, QStringLiteral("OpenStreet"));
  Coolbar2->SetEnabled(kKeyGoogleMap, false);
  Coolbar2->AddSpacer(10);
  const QString columnsMenu = QStringLiteral("Spaltenansicht");
  Coolbar2->AddMenuButton(QString(), columnsMenu,
                          QStringLiteral("Spalten entsprechend Transformation anzeigen"));
  Coolbar2->AddMenuItem(columnsMenu, QStringLiteral("btnSpalten1"), QStringLiteral("alle Spalten"));
  Coolbar2->AddMenuItem(columnsMenu, QStringLiteral("btnSpalten2"), QStringLiteral("nur Startsystem"));
  Coolbar2->AddMenuItem(columnsMenu, QStringLiteral("btnSpalten3"), QStringLiteral("nur Zielsystem"));
  Coolbar2->AddMenuItem(columnsMenu, QStringLiteral("btnSpalten4"),
                        QStringLiteral("nur Start- und Zielsystem"));
  Coolbar2->AddSpacer(10);
  Coolbar2->AddMenuButton(kKeyNTv2, QStringLiteral("NTv2"));
  Coolbar2->AddMenuItem(kKeyNTv2, QStringLiteral("btnNTv2erzeugen"), QStringLiteral("NTv2 Trafo erstellen"));
  Coolbar2->AddMenuItem(
      kKeyNTv2, QStringLiteral("btnNTv2Ziel"),
      QStringLiteral("NTv2 Trafo Zielsystem mit identischer Punktnummerreihenfolge einlesen"));
  Coolbar2->AddMenuItem(kKeyNTv2, QStringLiteral("btnNTv2ZielManuell"),
                        QStringLiteral("NTv2 Trafo Zielsystem beliebig überschreiben"));
  Coolbar2->AddMenuItem(kKeyNTv2, QStringLiteral("btnNTv2ZielManuellPkt"),
                        QStringLiteral("NTv2 Trafo Zielsystem beliebig löschen"));
  Coolbar2->AddMenuItem(kKeyNTv2, QStringLiteral("btnNTv2Export"), QStringLiteral("NTv2 Trafo GSA-Export"));
  Coolbar2->AddMenuItem(kKeyNTv2, QStringLiteral("btnNTv2Grenzen"),
                        QStringLiteral("NTv2 Geltungsbereiche Gitterdatei exportieren"));
  Coolbar2->SetEnabled(kKeyNTv2, false);
  Coolbar2->AddPlaceholder(kKeyPlaceholder);
  Coolbar2->AddButton(kKeyHilfe, QString(), QStringLiteral("Hilfe"));
  // The desktop theme's help icon, else the style's question mark.
  Coolbar2->SetIcon(kKeyHilfe, QIcon::fromTheme(QStringLiteral("help-contents"),
                                                form->style()->standardIcon(QStyle::SP_MessageBoxQuestion)));
  Coolbar2->AddButton(kKeyDBEnde, QStringLiteral("Ende"));
}

void FormOrvenilControls::setupOptionsBand() {
  sevFrameOptionen = new VbFrame(QString(), formClient);
  sevFrameOptionen->setFlat(true);
  // All option frames share one band at the design width.
  sevFrameOptionen->setFont(BandFont(sevFrameOptionen->font()));
  // The frames stand side by side and wrap into a second row in a narrow window.
  auto* band = new WrappingRowLayout(sevFrameOptionen);
  band->setContentsMargins(0, 0, 0, 0);
  band->setSpacing(2);
  setupStartSystemFrames();
  setupZoneFrame();
  setupTransformationFrame();
}

void FormOrvenilControls::setupStartSystemFrames() {
  QLayout* band = sevFrameOptionen->layout();
  frameSystem = new VbFrame(QStringLiteral("Koordinatensystem Eigenschaften Eingabedaten"), sevFrameOptionen);
  auto* g = GridIn(frameSystem);
  Startsys = new OptionArray(frameSystem);
  const char* systems[] = {"ETRS89 ", "GK42/83 ", "RD40/83 ", "WGS1984 "};
  for (int i = 0; i < 4; ++i)
    g->addWidget(Startsys->add(i, QString::fromUtf8(systems[i]), frameSystem), i, 0);
  Label1 = new QLabel(QStringLiteral("Ellipsoid:"), frameSystem);
  cmbStartsys = new VbComboBox(frameSystem);
  cmbStartsys->SetText(QStringLiteral("automatisch"));
  Label3 = new QLabel(QStringLiteral("Zone:"), frameSystem);
  cmbStartZone = new VbComboBox(frameSystem);
  cmbStartZone->SetText(QStringLiteral("automatisch"));
  Label4 = new QLabel(QStringLiteral("Näherungshöhe:"), frameSystem);
  orthoNäherungshöhe = new VbTextBox(frameSystem);
  g->addWidget(Label1, 0, 1);
  g->addWidget(cmbStartsys, 0, 2);
  g->addWidget(Label3, 1, 1);
  g->addWidget(cmbStartZone, 1, 2);
  g->addWidget(Label4, 2, 1);
  g->addWidget(orthoNäherungshöhe, 2, 2);
  for (QWidget* w : {static_cast<QWidget*>(cmbStartsys), static_cast<QWidget*>(cmbStartZone),
                     static_cast<QWidget*>(orthoNäherungshöhe)})
    w->setMaximumWidth(92);
  g->setRowStretch(4, 1);
  band->addWidget(frameSystem);

  // The mapping frame with the two file buttons below it.
  auto* mappingColumn = new QWidget(sevFrameOptionen);
  auto* column = new QVBoxLayout(mappingColumn);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(2);
  frameAbbildung = new VbFrame(QString(), mappingColumn);
  auto* m = GridIn(frameAbbildung);
  Label6 = new QLabel(QStringLiteral("Abbildung:"), frameAbbildung);
  m->addWidget(Label6, 0, 0);
  StartAbbildung = new OptionArray(frameAbbildung);
  const char* kinds[] = {"verebnete Koordinaten", "geozentrische Koordinaten", "geographische Koordinaten"};
  for (int i = 0; i < 3; ++i)
    m->addWidget(StartAbbildung->add(i, QString::fromUtf8(kinds[i]), frameAbbildung), i + 1, 0);
  m->setRowStretch(4, 1);
  column->addWidget(frameAbbildung, 1);
  cmdAuswahlImport = new QPushButton(QStringLiteral("Datei importieren"), mappingColumn);
  cmdAuswahlExport = new QPushButton(QStringLiteral("Datei exportieren"), mappingColumn);
  // Like the toolbar key of the same name, disabled until there is a job.
  cmdAuswahlExport->setEnabled(false);
  column->addWidget(cmdAuswahlImport);
  column->addWidget(cmdAuswahlExport);
  band->addWidget(mappingColumn);
}

void FormOrvenilControls::setupZoneFrame() {
  frameZone = new VbFrame(QStringLiteral("Umrechnung Zentralmeridian"), sevFrameOptionen);
  auto* g = GridIn(frameZone);
  zielZone = new VbComboBox(frameZone);
  cmdZoneÄndern = new QPushButton(QStringLiteral("Zone ändern"), frameZone);
  chkZoneIndividuell = new VbCheckBox(QStringLiteral("variable Zone"), frameZone);
  BtZone = new OptionArray(frameZone);
  BtZoneStart = BtZone->add(0, QStringLiteral("Zone-Start"), frameZone);
  BtZoneZiel = BtZone->add(1, QStringLiteral("Zone-Ziel"), frameZone);
  BtZone->preset(0);
  zielZone->setMaximumWidth(120);
  g->addWidget(BtZoneStart, 0, 0);
  g->addWidget(BtZoneZiel, 1, 0);
  g->addWidget(zielZone, 2, 0);
  g->addWidget(chkZoneIndividuell, 3, 0);
  g->addWidget(cmdZoneÄndern, 4, 0);
  g->setRowStretch(5, 1);
  sevFrameOptionen->layout()->addWidget(frameZone);
}

void FormOrvenilControls::setupTransformationFrame() {
  frameParaTrafo = new VbFrame(QStringLiteral("Transformation"), sevFrameOptionen);
  auto* g = GridIn(frameParaTrafo);
  frameAuswParaTrafo = new VbFrame(QString(), frameParaTrafo);
  {
    auto* a = GridIn(frameAuswParaTrafo);
    AuswahlTrafoTyp = new OptionArray(frameAuswParaTrafo);
    const char* types[] = {"ohne", "7-Parameter ", "NTv2", "nur Höhe", "Höhe DGM200", "DHHN92>2016"};
    for (int i = 0; i < 6; ++i)
      a->addWidget(AuswahlTrafoTyp->add(i, QString::fromUtf8(types[i]), frameAuswParaTrafo), i % 3, i / 3);
    AuswahlTrafoTyp->preset(0);
  }
  frameParaTrafoHinRück = new VbFrame(QString(), frameParaTrafo);
  {
    auto* r = GridIn(frameParaTrafoHinRück);
    AuswahlTrafoRichtung = new OptionArray(frameParaTrafoHinRück);
    r->addWidget(AuswahlTrafoRichtung->add(0, QStringLiteral("Hin-Transformation"), frameParaTrafoHinRück), 0,
                 0);
    r->addWidget(AuswahlTrafoRichtung->add(1, QStringLiteral("Rück-Transformation"), frameParaTrafoHinRück),
                 1, 0);
    AuswahlTrafoRichtung->preset(0);
  }
  frameGeoidModell = new VbFrame(QString(), frameParaTrafo);
  {
    auto* m = GridIn(frameGeoidModell);
    Label11 = new QLabel(QStringLiteral("Auswahl Geoidmodell"), frameGeoidModell);
    cmbGeoidmodell = new VbComboBox(frameGeoidModell);
    cmbGeoidmodell->SetText(QStringLiteral("ohne"));
    cmbGeoidmodell->setMaximumWidth(150);
    chkUndulationMinus = new VbCheckBox(QStringLiteral("Höhe = Höhe - Geoid"), frameGeoidModell);
    m->addWidget(Label11, 0, 0);
    m->addWidget(cmbGeoidmodell, 1, 0);
    m->addWidget(chkUndulationMinus, 2, 0);
  }
  ComboTrafoPara = new VbComboBox(frameParaTrafo);
  ComboTrafoPara->SetText(QStringLiteral("ohne"));
  ComboTrafoPara->setMaximumWidth(220);
  Label9 = new QLabel(QStringLiteral("Startsystem"), frameParaTrafo);
  Label10 = new QLabel(QStringLiteral("Zielsystem"), frameParaTrafo);
  txtTrafoParaStart = new VbTextBox(frameParaTrafo);
  txtTrafoParaStart->SetText(QStringLiteral("ohne"));
  txtTrafoParaZiel = new VbTextBox(frameParaTrafo);
  txtTrafoParaZiel->SetText(QStringLiteral("ohne"));
  for (VbTextBox* t : {txtTrafoParaStart, txtTrafoParaZiel}) {
    t->SetLocked(true);
    t->setMaximumWidth(58);
  }
  cmdTrafoStart = new QPushButton(QStringLiteral("Trafo starten"), frameParaTrafo);

  // Two columns: type, direction and set on the left; geoid model, the
  // systems of the set and the start button on the right.
  g->addWidget(frameAuswParaTrafo, 0, 0);
  g->addWidget(frameParaTrafoHinRück, 1, 0);
  g->addWidget(ComboTrafoPara, 2, 0);
  g->addWidget(frameGeoidModell, 0, 1);
  auto* systems = new QGridLayout();
  systems->setSpacing(2);
  systems->addWidget(Label9, 0, 0);
  systems->addWidget(txtTrafoParaStart, 0, 1);
  systems->addWidget(Label10, 1, 0);
  systems->addWidget(txtTrafoParaZiel, 1, 1);
  g->addLayout(systems, 1, 1);
  g->addWidget(cmdTrafoStart, 2, 1);
  g->setRowStretch(3, 1);
  sevFrameOptionen->layout()->addWidget(frameParaTrafo);
}

void FormOrvenilControls::setupTabs(QMainWindow* form) {
  sevTabStrip1 = new VbTabStrip(formClient);
  // All five tabs side by side at the design width.
  sevTabStrip1->tabBar()->setFont(BandFont(sevTabStrip1->tabBar()->font()));
  GridKooDb = MakeGrid(sevTabStrip1, QStringLiteral("   Koordinaten   "), QStringLiteral("Koordinaten"));
  GridKoordSys =
      MakeGrid(sevTabStrip1, QStringLiteral("   Koordinatensysteme ..."), QStringLiteral("Daten-Viewer"));
  GridTrafoSys = MakeGrid(sevTabStrip1, QStringLiteral("   3-D Transformation WGS84/ETRS89 nach ...   "),
                          QStringLiteral("Daten-Viewer"));
  GridNTv2Sys =
      MakeGrid(sevTabStrip1, QStringLiteral("   NTv2 Gitterdatei ...   "), QStringLiteral("Daten-Viewer"));
  GridGeoidmodell = MakeGrid(sevTabStrip1, QStringLiteral("   binäres Quasigeoidmodell BKG...   "),
                             QStringLiteral("Daten-Viewer"));

  // Popup menu of the editable system grids.
  MenuPopUp = new QMenu(QStringLiteral("PopUp"), form);
  const char* items[] = {"Zeile bearbeiten", "Zeile löschen",   "Zeile hinzufügen",
                         "Datei hinzufügen", "Daten speichern", "Link aufrufen"};
  for (int i = 0; i < 6; ++i) mnuPopUp[i] = MenuPopUp->addAction(QString::fromUtf8(items[i]));
}

void FormOrvenilControls::setupStatusBar(QMainWindow* form) {
  // The panels themselves are made at start-up.
  xpStatusBar1 = new VbStatusBar(form);
  form->setStatusBar(xpStatusBar1);
}

}  // namespace orv
