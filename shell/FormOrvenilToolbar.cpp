// The toolbar's key and drop-down dispatch.
#include <QPushButton>

#include "foundation/DialogService.h"
#include "foundation/FileSystemHelpers.h"
#include "foundation/ProcessHelpers.h"
#include "foundation/OrvenilError.h"
#include "platform/db/DatabaseHelpers.h"
#include "platform/ui/VbCheckBox.h"
#include "platform/ui/VbComboBox.h"
#include "platform/ui/VbToolBar.h"
#include "shell/CoordinateDatabase.h"
#include "shell/FormOrvenil.h"
#include "shell/ProgramState.h"
#include "shell/ProgramVersion.h"
#include "shell/SkipFailingStep.h"

namespace orv {

void FormOrvenil::Coolbar2_ButtonClick(const QString& key) {
  try {
    if (key == kKeyDbOeffnen) {
      ImportChain();
    } else if (key == kKeyDbSpeichernUnter) {
      cmdAuswahlExport_Click();
    } else if (key == kKeyGoogleMap) {
      ShowPointOnWebMap();
    } else if (key == kKeyHilfe) {
      const QString help = folders_.programFolder + QStringLiteral("OrvenilHilfe.htm");
      if (FileExists(help)) OpenHelp(help);
    } else if (key == kKeyDBEnde) {
      EndProgram();
    }
  } catch (const OrvenilError& e) {
    Dialogs().messageBox(QStringLiteral("Fehler: ") + e.description(), MsgButtons::Ok, MsgIcon::Critical,
                         QStringLiteral("Fehlermeldung Orvenil"));
    SkipFailingStep("Eingaben freigeben", [&] { HideBusyWindow(); });
    if (State().StartAbbildungName == QStringLiteral("geographisch")) {
      SkipFailingStep("Geoidmodell wählen", [&] { cmbGeoidmodell->SetListIndex(1); });
      SkipFailingStep("Undulation umkehren", [&] { chkUndulationMinus->SetValue(1); });
    }
    cmdTrafoStart->setEnabled(false);
  }
}

void FormOrvenil::Coolbar2_ButtonMenuClick(const QString& itemKey) {
  if (itemKey.startsWith(QStringLiteral("btnSpalten")))
    ShowColumnView(itemKey.mid(10).toInt());
  else if (itemKey == QLatin1String("btnNTv2erzeugen"))
    GenerateNtv2PointGrid();
  else if (itemKey == QLatin1String("btnNTv2Ziel"))
    ImportNtv2TargetsByLine();
  else if (itemKey == QLatin1String("btnNTv2ZielManuell") || itemKey == QLatin1String("btnNTv2ZielManuellPkt")) {
    State().NTv2ZielManuellPkt = itemKey.endsWith(QLatin1String("Pkt"));
    ImportNtv2TargetsByPointNumber();
  } else if (itemKey == QLatin1String("btnNTv2Export"))
    WriteNtv2Gsa();
  else if (itemKey == QLatin1String("btnNTv2Grenzen"))
    ExportNtv2Extents();
}

void FormOrvenil::cmdAuswahlImport_Click() { Coolbar2_ButtonClick(kKeyDbOeffnen); }

void FormOrvenil::EnableExport() {
  Coolbar2->SetEnabled(kKeyDbSpeichernUnter, true);
  cmdAuswahlExport->setEnabled(true);
}

void FormOrvenil::OpenHelp(const QString& text) {
  // The browser gets the text as its one argument, never through a shell.
  QString browser =
      FindAssociatedExecutable(MapSharedFolderPath(folders_.programFolder + QStringLiteral("OrvenilHilfe.htm")));
  // Only the double quotes around it: a program path may hold one itself.
  if (browser.size() >= 2 && browser.startsWith(QLatin1Char('"')) && browser.endsWith(QLatin1Char('"')))
    browser = browser.mid(1, browser.size() - 2);
  const bool started = browser.isEmpty() ? Dialogs().openUrl(text) : Dialogs().startProgram(browser, {text});
  // Where no browser comes up the user learns what to open by hand.
  if (!started)
    Dialogs().messageBox(QStringLiteral("Es konnte kein Browser gestartet werden, um\n") + text +
                             QStringLiteral("\nzu öffnen. Bitte öffnen Sie es selbst in einem Browser."),
                         MsgButtons::Ok, MsgIcon::Exclamation, kProgramTitle);
}

void FormOrvenil::EndProgram() {
  ProgramState& state = State();
  // Edits not saved yet are saved, and the NTv2 table once more (only once
  // when it holds edits); a failure is reported and the end goes on.
  const bool ntv2Edited = HasUnsavedEdits(SystemTable::NTv2Sys);
  SaveEditedSystemTables();
  if (!ntv2Edited) SaveSystemTableFiles(SystemTable::NTv2Sys);
  CloseAllDatabases(true);
  DeleteRunTemporaryDatabases(state);
  ShutdownApplication();
}

}  // namespace orv
