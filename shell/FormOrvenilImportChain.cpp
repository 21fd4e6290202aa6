// The import chain of the toolbar key btnDbÖffnen: open dialog, start-data
// dialog, import, the merge functions, the geoid heights, the vessel chain's
// NTv2 run and export, and the step after the import.
#include <QPushButton>

#include "platform/ui/ContainerControls.h"
#include "foundation/DialogService.h"
#include "foundation/NumberText.h"
#include "shell/ProgramState.h"
#include "foundation/TextTokens.h"
#include "io/FormOrvenilSystemAuswahl.h"
#include "io/ImportLineFormats.h"
#include "io/ImportWorkCopy.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/OptionArray.h"
#include "platform/ui/VbCheckBox.h"
#include "platform/ui/VbComboBox.h"
#include "platform/ui/VbFrame.h"
#include "platform/ui/VbStatusBar.h"
#include "platform/ui/VbToolBar.h"
#include "shell/FormOrvenil.h"
#include "shell/ProgramVersion.h"
#include "shell/StartDataChoice.h"

namespace orv {

namespace {

const QString kVesselSet = QStringLiteral("TARQ-SN");

// Index of the first item that contains text; -1 when none does.
int FirstItemContaining(const VbComboBox* combo, const QString& text) {
  for (int i = 0; i < combo->ListCount(); ++i)
    if (combo->List(i).contains(text)) return i;
  return -1;
}

// The main window's part of the start data: the geoid model and the sign of
// the undulation (the dialog sets both on the window), the file shown in the
// status bar, and the parameter set (the file choice empties it).
struct WindowStartData {
  int geoidIndex = -1;
  QString geoidText;
  int setIndex = -1;
  QString setText;
  int undulationMinus = 0;
  bool undulationMinusEnabled = false;
  QString filePanel;
};

WindowStartData TakeWindowStartData(const FormOrvenil& f) {
  return {f.cmbGeoidmodell->ListIndex(), f.cmbGeoidmodell->Text(), f.ComboTrafoPara->ListIndex(),
          f.ComboTrafoPara->Text(), f.chkUndulationMinus->Value(),
          f.chkUndulationMinus->isEnabled(), f.xpStatusBar1->PanelText(2)};
}

// Shows a list's item, or its free text, without running its handler.
void ShowQuietly(VbComboBox* combo, int index, const QString& text) {
  if (index >= 0)
    combo->QComboBox::setCurrentIndex(index);
  else
    combo->SetText(text);
}

// Gives the window its part back without running the handlers, which would
// stage the geoid model's file again.
void PutWindowStartData(FormOrvenil& f, const WindowStartData& d) {
  ShowQuietly(f.cmbGeoidmodell, d.geoidIndex, d.geoidText);
  ShowQuietly(f.ComboTrafoPara, d.setIndex, d.setText);
  f.chkUndulationMinus->SetValue(d.undulationMinus);
  f.chkUndulationMinus->setEnabled(d.undulationMinusEnabled);
  f.xpStatusBar1->SetPanelText(2, d.filePanel);
}

// The job's start system as the window shows it and the program-wide state
// holds it (ellipsoid, zone rules, zone list), for an import whose run the
// user cancelled before it replaced the job's rows.
struct JobStartSystem {
  int startsys = -1;
  int abbildung = -1;
  int zoneSide = -1;
  QString ellipsoidText;
  QStringList zones;
  int zoneIndex = -1;
  QString zoneText;
  QString systemname, zoneEllipsoid, ellipsoidImport;
  double a = 0, b = 0, e = 0, f = 0, k0 = 0;
};

JobStartSystem TakeJobStartSystem(const FormOrvenil& w) {
  const ProgramState& s = State();
  JobStartSystem j;
  j.startsys = w.Startsys->value();
  j.abbildung = w.StartAbbildung->value();
  j.zoneSide = w.BtZone->value();
  j.ellipsoidText = w.cmbStartsys->Text();
  for (int i = 0; i < w.zielZone->ListCount(); ++i) j.zones << w.zielZone->List(i);
  j.zoneIndex = w.zielZone->ListIndex();
  j.zoneText = w.zielZone->Text();
  j.systemname = s.SystemnameStart;
  j.zoneEllipsoid = s.ZonenEllipsoidStart;
  j.ellipsoidImport = s.EllipsoidImport;
  j.a = s.StartA, j.b = s.StartB, j.e = s.StartE, j.f = s.StartF, j.k0 = s.StartK0;
  return j;
}

// Sets it back without running the options' handlers.
void PutJobStartSystem(FormOrvenil& w, const JobStartSystem& j) {
  ProgramState& s = State();
  for (auto [options, index] : {std::pair{w.Startsys, j.startsys}, {w.StartAbbildung, j.abbildung},
                                {w.BtZone, j.zoneSide}})
    index >= 0 ? options->preset(index) : options->clear();
  w.cmbStartsys->SetText(j.ellipsoidText);
  w.zielZone->Clear();
  for (const QString& zone : j.zones) w.zielZone->AddItem(zone);
  ShowQuietly(w.zielZone, j.zoneIndex, j.zoneText);
  s.SystemnameStart = j.systemname;
  s.ZonenEllipsoidStart = j.zoneEllipsoid;
  s.EllipsoidImport = j.ellipsoidImport;
  s.StartA = j.a, s.StartB = j.b, s.StartE = j.e, s.StartF = j.f, s.StartK0 = j.k0;
}

// The file's start system becomes the window's: the options, the ellipsoid
// with its zone rules, and the ellipsoid the rows are imported in.
void ApplyStartSystem(FormOrvenil& f, const StartSystemChoice& system) {
  ProgramState& state = State();
  PutStartSystem(state, system);
  f.Startsys->select(static_cast<int>(Val(state.EllipsoidStart)));
  f.StartAbbildung->select(state.StartAbbildungIndex);
  for (int i = 0; i < 4; ++i)
    if (state.EllipsoidStart == QString::number(i)) f.StartellipsoidWaehlen(i);
  state.EllipsoidImport = state.EllipsoidStart;
}

void ImportCancelledNotice() {
  Dialogs().messageBox(QStringLiteral("Import abgebrochen"), MsgButtons::Ok, MsgIcon::Information, kProgramTitle);
}

}  // namespace

void FormOrvenil::ImportChain() {
  ProgramState& state = State();
  if (TrimBlanks(GetLastToken(CommonDialog1.FileName, QStringLiteral("."))).compare(QLatin1String("vorsel"), Qt::CaseInsensitive) == 0)
    CommonDialog1.FilterIndex = kFilterVesselB;
  const StartDataChoice jobData = TakeStartData(state);
  const WindowStartData jobWindow = TakeWindowStartData(*this);
  ChooseImportFile();
  // A cancelled file choice leaves the panel as it was.
  if (CommonDialog1.FileName.isEmpty()) {
    PutWindowStartData(*this, jobWindow);
    return ApplyTrafoStartRule();
  }
  // The converted copy of the chosen file goes when the chain ends, also
  // when the start-data dialog is closed and nothing reads it.
  const ImportWorkCopyRemoval removeWorkCopy;

  int answer = QDialog::Rejected;
  {
    FormOrvenilSystemAuswahl startData(*this);
    answer = Dialogs().showModal(&startData);
  }
  // The job keeps its file and its start data, and the start button follows
  // the panel (the file choice emptied the set).
  const auto keepJob = [&] {
    PutStartData(state, jobData);
    PutWindowStartData(*this, jobWindow);
    ApplyTrafoStartRule();
  };
  // A closed dialog cancels the import.
  if (answer != QDialog::Accepted) return keepJob();
  // The start system the dialog chose describes the file's rows; the window
  // keeps the job's system until an import replaces the job's rows.
  const StartSystemChoice fileSystem = TakeStartSystem(state);
  PutStartSystem(state, jobData.system);

  // The merge functions match the file with the job already loaded; the
  // file is not imported first, since that would replace the job by it.
  const bool merge = state.SonderfunktionIndex == 1 || state.SonderfunktionIndex == 2;
  if (merge && GridKooDb->RowCount() == 0) {
    Dialogs().messageBox(QStringLiteral("Es sind keine Daten geladen, mit denen die Datei abgeglichen werden kann!\n"
                                        "Bitte zuerst eine Punktdatei importieren. Abbruch!"),
                         MsgButtons::Ok, MsgIcon::Critical, kProgramTitle);
    return;
  }
  ShowBusyWindow();
  if (state.SonderfunktionIndex == 1) {
    OverwriteHeightsByPointNumber();
  } else if (state.SonderfunktionIndex == 2) {
    AppendMissingPoints();
  } else {
    const JobStartSystem jobSystem = TakeJobStartSystem(*this);
    const ImportEnd end = ImportCoordinateFile([&] { ApplyStartSystem(*this, fileSystem); });
    // A refused file changes nothing; a run that stored no row of the file
    // (cancelled, stopped at a line, or a file without points) leaves the
    // job with its system, its panels and its buttons.
    if (end == ImportEnd::Refused || end == ImportEnd::CancelledJobKept || end == ImportEnd::JobKept) {
      if (end != ImportEnd::Refused) PutJobStartSystem(*this, jobSystem);
      HideBusyWindow();
      keepJob();
      if (end == ImportEnd::CancelledJobKept) ImportCancelledNotice();
      return;
    }
    if (end == ImportEnd::Cancelled) ImportCancelledNotice();
  }

  chkZoneIndividuell->SetValue(0);
  chkZoneIndividuell->setEnabled(false);
  if (AuswahlTrafoTyp->isSelected(0)) {
    EnableContainerControls(frameParaTrafo, false);
    EnableContainerControls(frameAuswParaTrafo, true);
    EnableContainerControls(frameParaTrafoHinRück, false);
    EnableContainerControls(frameGeoidModell, false);
  } else {
    AuswahlTrafoTyp->select(0);
  }
  if (cmbGeoidmodell->Text() != QLatin1String("ohne")) ConvertHeightsWithGeoid();

  bool vesselSetFound = true;
  if (CommonDialog1.FilterIndex == kFilterVesselB) {
    AuswahlTrafoTyp->select(2);
    AuswahlTrafoRichtung->select(1);
    chkUndulationMinus->SetValue(0);
    const int set = FirstItemContaining(ComboTrafoPara, kVesselSet);
    vesselSetFound = set >= 0;
    if (vesselSetFound) {
      ComboTrafoPara->SetListIndex(set);
      // The type choice opened the list for the user; the chain has picked
      // the set itself, and an open list would swallow the next click.
      Dialogs().closeDropDown(ComboTrafoPara);
    }
    if (cmbGeoidmodell->ListCount() > 0) cmbGeoidmodell->SetListIndex(0);
  }
  EnableExport();

  // Step after the import.
  // Without rows the busy window of the chain is closed all the same.
  HideBusyWindow();
  if (GridKooDb->RowCount() == 0) return;
  if (ComboTrafoPara->Text().isEmpty() || AuswahlTrafoTyp->isSelected(0)) cmdTrafoStart->setEnabled(false);
  if (CommonDialog1.FilterIndex == kFilterVesselB) {
    GridKooDb->FitColumnWidth(QStringLiteral("Punkt"));
    if (!vesselSetFound) {
      Dialogs().messageBox(QStringLiteral("Kein NTv2-Parametersatz mit \"") + kVesselSet +
                               QStringLiteral("\" im Namen gefunden!\nDie automatische Transformation und der "
                                              "Export unterbleiben. Abbruch!"),
                           MsgButtons::Ok, MsgIcon::Critical, kProgramTitle);
      return;
    }
    // The track goes back through the NTv2 set and is written at once.
    cmdTrafoStart->setEnabled(true);
    StartTransformation();
    state.SpeichernSpaltenNr = QStringLiteral("1,2,18,19,20");
    ExportCoordinateTable();
  } else if (state.StartAbbildungName == QLatin1String("geographisch")) {
    if (cmbGeoidmodell->ListCount() > 1) cmbGeoidmodell->SetListIndex(1);
    chkUndulationMinus->SetValue(1);
  }
}

}  // namespace orv
