// Start-up and shutdown of the main window.
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QTimer>

#include "foundation/ContainerControls.h"
#include "foundation/DialogService.h"
#include "foundation/LocaleSwitch.h"
#include "foundation/ProgramState.h"
#include "platform/db/DatabaseHelpers.h"
#include "platform/db/LostCommitReport.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/VbComboBox.h"
#include "platform/ui/VbFrame.h"
#include "platform/ui/VbStatusBar.h"
#include "platform/ui/VbTabStrip.h"
#include "platform/ui/VbToolBar.h"
#include "shell/CoordinateDatabase.h"
#include "shell/FormOrvenil.h"
#include "shell/ProgramVersion.h"
#include "shell/SkipFailingStep.h"

namespace orv {

void FormOrvenil::Form_Load() {
  ProgramState& state = State();
  SkipFailingStep([] { CheckDecimalSeparator(); });
  SkipFailingStep([] { Dialogs().setBusy(false); });
  SkipFailingStep([&] { setWindowTitle(MainWindowCaption()); });
  SkipFailingStep([&] {
    Coolbar2->SetEnabled(kKeyGoogleMap, true);
    Coolbar2->SetEnabled(kKeyNTv2, true);
  });
  // Temporary folder: created when missing, databases of earlier runs
  // deleted, unless another running instance still uses them.
  SkipFailingStep([&] {
    state.TempVerzeichnis = folders_.tempFolder;
    if (tempLock_.acquire(folders_.tempFolder))
      DeleteOldTemporaryDatabases(folders_.tempFolder, tempLock_);
    else
      Dialogs().messageBox(TemporaryFolderUnusableMessage(folders_.tempFolder), MsgButtons::Ok, MsgIcon::Critical,
                           kProgramTitle);
  });
  SkipFailingStep([&] { state.DatenbankVerzeichnis = folders_.databaseFolder; });
  SkipFailingStep([&] { FormVisible(false); });
  SkipFailingStep([&] { EnableContainerControls(frameParaTrafoHinRück, false); });
  SkipFailingStep([&] { EnableContainerControls(frameAuswParaTrafo, false); });
  SkipFailingStep([&] {
    for (const char* e : {"GRS1980", "Krassowski", "Bessel", "WGS1984"}) cmbStartsys->AddItem(QString::fromLatin1(e));
    cmbStartsys->SetText(QStringLiteral("automatisch"));
  });
  SkipFailingStep([&] { BuildCoordinateSystemTable(); });
  SkipFailingStep([&] { LoadSystemTable(SystemTable::TrafoSys, false); });
  SkipFailingStep([&] { LoadSystemTable(SystemTable::NTv2Sys, true); });
  SkipFailingStep([&] { LoadSystemTable(SystemTable::Geoidmodell, true); });
  SkipFailingStep([&] { FillGeoidModelList(); });
  SkipFailingStep([&] {
    state.GeoidApp.clear();
    state.GeoidfeldDateiname.clear();
    state.GeoidBereit = false;
  });
  SkipFailingStep([&] { FillParameterSetList(); });
  SkipFailingStep([&] { state.ImportDateiGewaehlt = false; });
  // Without a usable temporary folder no database is created.
  SkipFailingStep([&] {
    if (tempLock_.held()) CreateStartupDatabases(state);
  });
  SkipFailingStep([&] { GridKooDb->ClearRows(); });
  SkipFailingStep([&] { SetUpStatusBar(); });
  SkipFailingStep([&] { CommonDialog1.FilterIndex = 2; });
  SkipFailingStep([&] { sevTabStrip1->SelectTab(1); });
  SkipFailingStep([&] {
    if (!commandLine_.isEmpty()) TimerAllg->start();
  });
}

void FormOrvenil::SetUpStatusBar() {
  xpStatusBar1->ClearPanels();
  for (int i = 1; i <= 10; ++i)
    xpStatusBar1->AddPanel(QString::number(i), i == 1 ? QStringLiteral("Status  ") : QString());
}

void FormOrvenil::TimerAllg_Timer() {
  SkipFailingStep([&] { TimerAllg->stop(); });
  SkipFailingStep([&] { CommonDialog1.FileName = State().StandardVerzeichnis + commandLine_; });
  SkipFailingStep([&] { Coolbar2_ButtonClick(kKeyDbOeffnen); });
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
  SkipFailingStep([&] { DeleteWorkFiles(); });
  SkipFailingStep([&] {
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
  SkipFailingStep([&] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w != this && w->isVisible()) w->close();
    close();
  });
  Entladen = false;
  SkipFailingStep([&] { tempLock_.release(); });
  ReportLostCommits();
  // A normal end reports success.
  Dialogs().exitProgram(0);
}

}  // namespace orv
