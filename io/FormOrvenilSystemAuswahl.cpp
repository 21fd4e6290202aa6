#include "io/FormOrvenilSystemAuswahl.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/ui/ContainerControls.h"
#include "foundation/DialogService.h"
#include "shell/ProgramState.h"
#include "io/GeoidModelStaging.h"
#include "io/HeightEntry.h"
#include "platform/ui/OptionArray.h"
#include "platform/ui/ScreenFit.h"
#include "platform/ui/VbCheckBox.h"
#include "platform/ui/VbComboBox.h"
#include "platform/ui/VbFrame.h"
#include "platform/ui/VbTextBox.h"
#include "shell/FormOrvenil.h"
#include "shell/ProgramVersion.h"

namespace orv {

namespace {

const QString kOhne = QStringLiteral("ohne");

// Shows item `index` of a main-window list without running its handler.
void ShowItemQuietly(VbComboBox* combo, const QString& text) {
  const int index = combo->findText(text);
  if (index >= 0)
    combo->QComboBox::setCurrentIndex(index);
  else
    combo->SetText(text);
}

}  // namespace

FormOrvenilSystemAuswahl::FormOrvenilSystemAuswahl(FormOrvenil& main, QWidget* parent)
    : QDialog(parent ? parent : &main), main_(main) {
  setUpControls();
  Form_Load();
}

void FormOrvenilSystemAuswahl::setUpControls() {
  setWindowTitle(QStringLiteral("Eigenschaften der Startdaten für Lage und Höhe"));
  // The controls scroll where the screen is too small for them; "weiter"
  // stays below them, on screen.
  auto* body = new QWidget(this);
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(0, 0, 0, 0);

  auto* systemFrame = new VbFrame(QStringLiteral(" 3D-Koordinatensystemparameter Startdaten "), body);
  auto* g = new QGridLayout(systemFrame);
  g->addWidget(new QLabel(QStringLiteral("1. Auswahl Koordinatensystem mit Geoidmodell:"), systemFrame), 0, 0);
  Startsys = new OptionArray(this);
  const char* systems[] = {"ETRS89 mit UTM (GRS1980)", "GK42/83, GK43, S4283 (Krassowski)",
                           "RD40/83, RD83, PD83, DHDN (Bessel)", "WGS1984 (WGS1984)"};
  for (int i = 0; i < 4; ++i) g->addWidget(Startsys->add(i, QString::fromUtf8(systems[i]), systemFrame), i + 1, 0);
  Startsys->button(0)->setToolTip(QStringLiteral("WGS1984 ist näherungsweise Deutschlandweit ETRS89 gleichgesetzt"));
  Startsys->button(3)->setToolTip(QStringLiteral("WGS1984 (WGS1984): Verwendung ohne NTV2-Trafo"));
  Startsys->preset(0);

  g->addWidget(new QLabel(QStringLiteral("2. Auswahl Koordinatenabbildung:"), systemFrame), 0, 1);
  StartAbbildung = new OptionArray(this);
  const char* kinds[] = {"verebnet oder Gitter mit Rechtswert, Hochwert, Höhe", "Geozentrisch oder Kartesisch mit X, Y, Z",
                         "Geographisch oder Geodätisch mit Breite, Länge, Höhe"};
  const char* kindTips[] = {"verebnete oder Gitter Koordinaten", "geozentrische oder kartesische Koordinaten",
                            "geographische oder geodätische Koordinaten"};
  for (int i = 0; i < 3; ++i) {
    g->addWidget(StartAbbildung->add(i, QString::fromUtf8(kinds[i]), systemFrame), i + 1, 1);
    StartAbbildung->button(i)->setToolTip(QString::fromUtf8(kindTips[i]));
  }
  StartAbbildung->preset(0);

  sevFrameFormatGeogr = new VbFrame(QString(), systemFrame);
  auto* fg = new QVBoxLayout(sevFrameFormatGeogr);
  FormatEingabeGeographisch = new OptionArray(this);
  const QString formats[] = {QStringLiteral("mit Grad Minute Sekunde 0°00'00.0\""), QStringLiteral("mit Dezimalgrad 0.0°"),
                             QStringLiteral("mit Dezimalminute 0°00.0'"), QStringLiteral("mit Dezimalsekunde 0.0''")};
  const QString formatTips[] = {QStringLiteral("Format: [1001   51°51'07.2\"  13°56'13.8\"]"),
                                QStringLiteral("Format: [1001   51.86451°  13.93571°]"),
                                QStringLiteral("Format: [1001   51°51.13'  13°56.23']"),
                                QStringLiteral("Format: [1001   186712.12''  50168.63'']")};
  for (int i = 0; i < 4; ++i) {
    fg->addWidget(FormatEingabeGeographisch->add(i, formats[i], sevFrameFormatGeogr));
    FormatEingabeGeographisch->button(i)->setToolTip(formatTips[i]);
  }
  FormatEingabeGeographisch->preset(0);
  g->addWidget(sevFrameFormatGeogr, 4, 1, 2, 1);
  layout->addWidget(systemFrame);

  auto* geoidFrame = new VbFrame(QStringLiteral("3. Geoidmodell: DHHN-Höhe <> ellipsoidische Höhe "), body);
  auto* gg = new QGridLayout(geoidFrame);
  cmbGeoidmodell = new VbComboBox(geoidFrame);
  cmbGeoidmodell->setToolTip(QStringLiteral("Ziel-Höhe = Start-Höhe + Geoidundulation"));
  UndulationMinus = new VbCheckBox(QStringLiteral("Zielhöhe = Starthöhe - Geoidundulation"), geoidFrame);
  UndulationMinus->setToolTip(QStringLiteral("Standard (ohne Auswahl): Ziel-Höhe = Start-Höhe + Geoidundulation"));
  gg->addWidget(cmbGeoidmodell, 0, 0);
  gg->addWidget(UndulationMinus, 1, 0);
  layout->addWidget(geoidFrame);

  auto* specialFrame = new VbFrame(QString(), body);
  auto* sg = new QGridLayout(specialFrame);
  sg->addWidget(new QLabel(QStringLiteral("Sonderfunktionen für Startdaten:"), specialFrame), 0, 0);
  Sonderfunktion = new OptionArray(this);
  const char* specials[] = {"ohne", "PCYXZ GG verebnet - nur Höhen überschreiben",
                            "PCYXZ GG verebnet - nur fehlende Punkte ergänzen"};
  for (int i = 0; i < 3; ++i) sg->addWidget(Sonderfunktion->add(i, QString::fromUtf8(specials[i]), specialFrame), i + 1, 0);
  Sonderfunktion->button(1)->setToolTip(
      QStringLiteral("Geograf-Format: es werden nur Höhen, mittels identischer Punktnummer, zugeordnet"));
  Sonderfunktion->button(2)->setToolTip(
      QStringLiteral("Geograf-Format: es werden nur fehlende Daten, mittels identischer Punktnummer, neu eingelesen"));
  Sonderfunktion->preset(0);
  sg->addWidget(new QLabel(QStringLiteral("Näherungshöhe:"), specialFrame), 0, 1);
  orthoNäherungshöhe = new VbTextBox(specialFrame);
  orthoNäherungshöhe->SetText(QStringLiteral("75"));
  orthoNäherungshöhe->setToolTip(QStringLiteral("Näherungshöhe bei Höhe 0.000m"));
  chkStartOhneNäherungshöhe = new VbCheckBox(QStringLiteral("Null"), specialFrame);
  chkStartOhneNäherungshöhe->setToolTip(QStringLiteral("verwende auch Null-Höhen"));
  sg->addWidget(orthoNäherungshöhe, 1, 1);
  sg->addWidget(chkStartOhneNäherungshöhe, 2, 1);
  layout->addWidget(specialFrame);

  cmdLaden = new QPushButton(QStringLiteral("weiter"), this);
  cmdLaden->setDefault(true);
  auto* outer = new QVBoxLayout(this);
  QScrollArea* scroll = ScrollableBody(body, this);
  outer->addWidget(scroll, 1);
  outer->addWidget(cmdLaden);
  SizeDialogWithBody(this, scroll);
  Timer1 = new QTimer(this);
  Timer1->setInterval(100);

  Startsys->onClick([this](int i) { Startsys_Click(i); });
  StartAbbildung->onClick([this](int i) { StartAbbildung_Click(i); });
  FormatEingabeGeographisch->onClick([this](int i) { FormatEingabeGeographisch_Click(i); });
  Sonderfunktion->onClick([this](int i) { Sonderfunktion_Click(i); });
  cmbGeoidmodell->onClick([this] { cmbGeoidmodell_Click(); });
  UndulationMinus->onClick([this] { UndulationMinus_Click(); });
  chkStartOhneNäherungshöhe->onClick([this] { chkStartOhneNäherungshöhe_Click(); });
  connect(cmdLaden, &QPushButton::clicked, this, [this] { cmdLaden_Click(); });
  connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
}

void FormOrvenilSystemAuswahl::Form_Load() {
  ProgramState& state = State();
  Dialogs().setBusy(false);
  cmbGeoidmodell->setEnabled(true);
  state.StartAbbildungIndex = 0;
  state.EllipsoidStart = QStringLiteral("0");
  state.GeoidApp.clear();
  state.GeoidfeldDateiname.clear();
  state.GeoidBereit = false;
  cmbGeoidmodell->Clear();
  for (int i = 0; i < main_.cmbGeoidmodell->ListCount(); ++i) cmbGeoidmodell->AddItem(main_.cmbGeoidmodell->List(i));
  if (cmbGeoidmodell->ListCount() > 0) cmbGeoidmodell->QComboBox::setCurrentIndex(0);
  EnableContainerControls(sevFrameFormatGeogr, false);
  state.StartKoordinatensystem = QStringLiteral("ETRS89");
  state.StartAbbildungName = QStringLiteral("verebnet");
  if (main_.cmbGeoidmodell->ListCount() > 0) main_.cmbGeoidmodell->SetListIndex(0);
  main_.chkUndulationMinus->SetValue(0);
  state.SonderfunktionIndex = 0;
  Timer1->start();
}

void FormOrvenilSystemAuswahl::Timer1_Timer() {
  Dialogs().processEvents();
  Timer1->stop();
  const int filter = main_.CommonDialog1.FilterIndex;
  if (filter == 7) {
    StartAbbildung->select(2);
    FormatEingabeGeographisch->select(2);
  } else if (filter == 8) {
    StartAbbildung->select(2);
    FormatEingabeGeographisch->select(1);
  }
}

void FormOrvenilSystemAuswahl::resetGeoidChoice() {
  if (cmbGeoidmodell->ListCount() > 0) cmbGeoidmodell->SetListIndex(0);
}

void FormOrvenilSystemAuswahl::Startsys_Click(int index) {
  ProgramState& state = State();
  state.EllipsoidStart = QString::number(index);
  resetGeoidChoice();
  cmbGeoidmodell->setEnabled(true);
  if (index == 0) state.StartKoordinatensystem = QStringLiteral("ETRS89");
  if (index == 1) state.StartKoordinatensystem = QStringLiteral("GK42/83");
  if (index == 2) state.StartKoordinatensystem = QStringLiteral("RD83");
  if (state.StartAbbildungIndex == 1) {
    cmbGeoidmodell->setEnabled(false);
    state.GeoidBereit = false;
  } else if (state.StartAbbildungIndex == 2) {
    state.GeoidBereit = false;
  }
}

void FormOrvenilSystemAuswahl::StartAbbildung_Click(int index) {
  ProgramState& state = State();
  state.StartAbbildungIndex = index;
  resetGeoidChoice();
  EnableContainerControls(sevFrameFormatGeogr, false);
  state.FormatEingabeGeographischIndex = 0;
  FormatEingabeGeographisch->select(0);
  resetGeoidChoice();
  if (index == 0) {
    cmbGeoidmodell->setEnabled(true);
    state.StartAbbildungName = QStringLiteral("verebnet");
  } else if (index == 1) {
    cmbGeoidmodell->setEnabled(false);
    state.GeoidBereit = false;
    state.StartAbbildungName = QStringLiteral("geozentrisch");
  } else if (index == 2) {
    cmbGeoidmodell->setEnabled(true);
    state.GeoidBereit = false;
    EnableContainerControls(sevFrameFormatGeogr, true);
    state.StartAbbildungName = QStringLiteral("geographisch");
  }
  main_.chkUndulationMinus->SetValue(0);
  UndulationMinus->SetValue(0);
  UndulationMinus->setEnabled(false);
}

void FormOrvenilSystemAuswahl::FormatEingabeGeographisch_Click(int index) {
  State().FormatEingabeGeographischIndex = index;
}

void FormOrvenilSystemAuswahl::Sonderfunktion_Click(int index) { State().SonderfunktionIndex = index; }

void FormOrvenilSystemAuswahl::cmbGeoidmodell_Click() {
  ProgramState& state = State();
  state.GeoidBereit = false;
  const int model = cmbGeoidmodell->ListIndex();
  if (model > 0) {
    const QString error = ActivateGeoidModel(state, main_.GridGeoidmodell, model);
    if (!error.isEmpty()) {
      const MsgResult answer = Dialogs().messageBox(error, MsgButtons::Ok, MsgIcon::Critical, kProgramTitle);
      state.Antwort = QString::number(static_cast<int>(answer) + 1);
      return;
    }
  } else {
    state.GeoidApp.clear();
    state.GeoidfeldDateiname.clear();
    main_.chkUndulationMinus->SetValue(0);
    main_.chkUndulationMinus->setEnabled(false);
  }
  main_.cmdTrafoStart->setEnabled(model > 0 || main_.ComboTrafoPara->Text() != kOhne);
  if (model > 0) {
    main_.chkUndulationMinus->SetValue(0);
    UndulationMinus->SetValue(0);
    UndulationMinus->setEnabled(true);
  } else {
    if (main_.cmbGeoidmodell->ListCount() > 0) main_.cmbGeoidmodell->SetListIndex(0);
    main_.chkUndulationMinus->SetValue(0);
    UndulationMinus->SetValue(0);
    UndulationMinus->setEnabled(false);
  }
  ShowItemQuietly(main_.cmbGeoidmodell, cmbGeoidmodell->Text());
  cmdLaden->setFocus();
}

void FormOrvenilSystemAuswahl::UndulationMinus_Click() {
  main_.chkUndulationMinus->SetValue(UndulationMinus->Value() == 1 ? 1 : 0);
}

void FormOrvenilSystemAuswahl::chkStartOhneNäherungshöhe_Click() {
  orthoNäherungshöhe->SetText(chkStartOhneNäherungshöhe->Value() == 1 ? QStringLiteral("0") : QStringLiteral("75"));
}

void FormOrvenilSystemAuswahl::cmdLaden_Click() {
  // Every point of height 0 gets the approximate height: a text that is no
  // number as a whole ("12,5", "abc") would give them another one, so the
  // dialog stays open for the user to mend it.
  QString height;
  if (!ReadTypedHeight(orthoNäherungshöhe->Text(), QStringLiteral("Näherungshöhe"), QStringLiteral("75"),
                       kProgramTitle, height))
    return;
  main_.orthoNäherungshöhe->SetText(height);
  Timer1->stop();
  accept();
}

void FormOrvenilSystemAuswahl::reject() {
  Timer1->stop();
  QDialog::reject();
}

}  // namespace orv
