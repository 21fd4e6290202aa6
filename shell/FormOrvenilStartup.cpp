// Start-up and shutdown of the main window.
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QTimer>

#include "foundation/DialogService.h"
#include "foundation/FileSetJournal.h"
#include "foundation/LocaleSwitch.h"
#include "platform/db/DatabaseHelpers.h"
#include "platform/db/LostCommitReport.h"
#include "platform/ui/ContainerControls.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/VbComboBox.h"
#include "platform/ui/VbFrame.h"
#include "platform/ui/VbStatusBar.h"
#include "platform/ui/VbTabStrip.h"
#include "platform/ui/VbToolBar.h"
#include "shell/CoordinateDatabase.h"
#include "shell/FormOrvenil.h"
#include "shell/ProgramState.h"
#include "shell/ProgramVersion.h"
#include "shell/SkipFailingStep.h"

namespace orv {

void FormOrvenil::Form_Load() {
  ProgramState& state = State();
  // Only the steps that touch files, databases or dialogs can fail; each of
  // them is skipped on an error so that the window still opens.
  SkipFailingStep("Dezimaltrennzeichen prüfen", [] { CheckDecimalSeparator(); });
  Dialogs().setBusy(false);
  setWindowTitle(MainWindowCaption());
  Coolbar2->SetEnabled(kKeyGoogleMap, true);
  Coolbar2->SetEnabled(kKeyNTv2, true);
  // Temporary folder: created when missing, databases of earlier runs
  // deleted, unless another running instance still uses them.
  state.TempVerzeichnis = folders_.tempFolder;
  SkipFailingStep("Temporären Ordner einrichten", [&] {
    if (tempLock_.acquire(folders_.tempFolder))
      DeleteOldTemporaryDatabases(folders_.tempFolder, tempLock_);
    else
      Dialogs().messageBox(TemporaryFolderUnusableMessage(folders_.tempFolder), MsgButtons::Ok, MsgIcon::Critical,
                           kProgramTitle);
  });
  // Sets of files a killed program left half renamed are finished or put
  // back; the temporary folder notes where they are.
  SkipFailingStep("Unterbrochene Dateisätze ausbessern", [&] {
    SetFileSetNoteFolder(folders_.tempFolder);
    for (const FileSetMend& m : MendFileSetsLeftOpen())
      Dialogs().messageBox(m.text, MsgButtons::Ok, m.icon, kProgramTitle);
  });
  state.DatenbankVerzeichnis = folders_.databaseFolder;
  FormVisible(false);
  EnableContainerControls(frameParaTrafoHinRück, false);
  EnableContainerControls(frameAuswParaTrafo, false);
  for (const char* e : {"GRS1980", "Krassowski", "Bessel", "WGS1984"}) cmbStartsys->AddItem(QString::fromLatin1(e));
  cmbStartsys->SetText(QStringLiteral("automatisch"));
  BuildCoordinateSystemTable();
  SkipFailingStep("Transformationsparameter laden", [&] { LoadSystemTable(SystemTable::TrafoSys, false); });
  SkipFailingStep("NTv2-Tabelle laden", [&] { LoadSystemTable(SystemTable::NTv2Sys, true); });
  SkipFailingStep("Geoidmodelle laden", [&] { LoadSystemTable(SystemTable::Geoidmodell, true); });
  FillGeoidModelList();
  state.GeoidApp.clear();
  state.GeoidfeldDateiname.clear();
  state.GeoidBereit = false;
  FillParameterSetList();
  state.ImportDateiGewaehlt = false;
  // Without a usable temporary folder no database is created.
  SkipFailingStep("Temporäre Datenbanken anlegen", [&] {
    if (tempLock_.held()) CreateStartupDatabases(state);
  });
  GridKooDb->ClearRows();
  SetUpStatusBar();
  CommonDialog1.FilterIndex = 2;
  sevTabStrip1->SelectTab(1);
  if (!commandLine_.isEmpty()) TimerAllg->start();
}

void FormOrvenil::SetUpStatusBar() {
  xpStatusBar1->ClearPanels();
  // Panel 9 (the transformation) and panel 10 (the export columns) share
  // the room the others leave.
  for (int i = 1; i <= 10; ++i)
    xpStatusBar1->AddPanel(QString::number(i), i == 1 ? QStringLiteral("Status  ") : QString(), i >= 9);
}

void FormOrvenil::TimerAllg_Timer() {
  TimerAllg->stop();
  CommonDialog1.FileName = State().StandardVerzeichnis + commandLine_;
  SkipFailingStep("Datei der Befehlszeile öffnen", [&] { Coolbar2_ButtonClick(kKeyDbOeffnen); });
}

void FormOrvenil::closeEvent(QCloseEvent* event) {
  bool cancel = false;
  Form_QueryUnload(cancel, 0);
  if (cancel)
    event->ignore();
  else
    event->accept();
}

void FormOrvenil::Form_QueryUnload(bool& cancel, int /*unloadMode*/) {
  // While a command works the window stays: the end would delete the job's
  // database and the work copy under it. The end of the program itself
  // ("Ende") closes the window while it unloads.
  if (RunBusy() && !Entladen) {
    cancel = true;
    return;
  }
  // Closing the window keeps the edits of the system tables as "Ende" does;
  // the end under way closes the window after it has saved them, and a
  // second save would only repeat its messages.
  if (!Entladen) SkipFailingStep("Bearbeitete Systemtabellen speichern", [&] { SaveEditedSystemTables(); });
  ShutdownApplication();
  cancel = false;
}

void FormOrvenil::DeleteWorkFiles() {
  // Work files of earlier tools, in the current working folder.
  for (const char* name : {"#ManDaten.pkt", "#MDatBLH.blh", "#MDatBLH.gk", "#MDatBLH.utm", "For000"}) {
    const QString path = QDir::current().filePath(QString::fromLatin1(name));
    if (QFile::exists(path)) QFile::remove(path);
  }
}

void FormOrvenil::ShutdownApplication() {
  DeleteWorkFiles();
  SkipFailingStep("Dezimaltrennzeichen zurückstellen", [&] {
    if (!SeparatorsUnchanged()) {
      SetSeparatorsUnchanged(true);
      SetNumberSeparators(QStringLiteral(","), QStringLiteral("."), true);
      Dialogs().messageBox(QStringLiteral("Das Dezimalkennzeichen wurde von 'Punkt' nach 'Komma' geändert!"),
                           MsgButtons::Ok, MsgIcon::Information, kProgramTitle);
    }
  });
  if (Entladen) return;
  Entladen = true;
  // The databases are closed before the windows go, so every pending write
  // reaches its file; a write that fails is reported before the end.
  try {
    CloseAllDatabases(true);
  } catch (const std::exception& e) {
    NoteLostCommit(QString(), e);
  }
  SkipFailingStep("Fenster schließen", [&] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w != this && w->isVisible()) w->close();
    close();
  });
  Entladen = false;
  SkipFailingStep("Temporären Ordner freigeben", [&] { tempLock_.release(); });
  ReportLostCommits();
  // A normal end reports success.
  Dialogs().exitProgram(0);
}

}  // namespace orv
