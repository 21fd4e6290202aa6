// The import's open dialog, and the line-end conversion of a chosen file.
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "foundation/DialogService.h"
#include "foundation/FileErrorReason.h"
#include "foundation/FileIdentity.h"
#include "foundation/FileSystemHelpers.h"
#include "foundation/LocaleSwitch.h"
#include "shell/ProgramState.h"
#include "foundation/Windows1252Copy.h"
#include "io/ImportLineFormats.h"
#include "io/ImportWorkCopy.h"
#include "platform/db/TemporaryFolder.h"
#include "platform/ui/VbComboBox.h"
#include "platform/ui/VbStatusBar.h"
#include "shell/FormOrvenil.h"
#include "shell/SkipFailingStep.h"

namespace orv {

namespace {

// Where the converted copy of an import file goes: the temporary folder,
// under a name of this instance that the next start clears away.
QString WorkCopyPath(const QString& tempFolder, const QString& path) {
  return tempFolder + QStringLiteral("tmp_dao_orvenil_import_") + TimeStampString() + QLatin1Char('_') +
         InstanceMark() + QLatin1Char('_') + QFileInfo(path).fileName();
}

}  // namespace

void FormOrvenil::ChooseImportFile() {
  ProgramState& state = State();
  SkipFailingStep("ChooseImportFile: ComboTrafoPara", [&] { ComboTrafoPara->SetText(QStringLiteral("ohne")); });
  // The dialog opens again while the chosen file does not exist; a cancel
  // keeps the file chosen before.
  for (;;) {
    CommonDialog1.CancelError = true;
    CommonDialog1.Filter = kImportFilter;
    bool chosen = false;
    try {
      chosen = CommonDialog1.ShowOpen();
    } catch (const std::exception&) {
      chosen = false;
    }
    if (!chosen) {
      CommonDialog1.FileName.clear();
      return;
    }
    // ImportDatei stays the user's file; the import reads its converted copy.
    RemoveImportWorkCopy();
    const QString file = CommonDialog1.FileName;
    QString path = file;
    bool converted = false;
    bool readable = true;
    FileIdentity readIdentity;
    SkipFailingStep("ChooseImportFile: ConvertUnixFile",
                    [&] { readable = ConvertUnixFile(path, true, converted, &readIdentity); });
    if (!readable) {
      CommonDialog1.FileName.clear();
      return;
    }
    if (!FileExists(path)) continue;
    state.ImportDatei = file;
    SetImportWorkCopy(file, converted ? path : QString(), readIdentity);
    SkipFailingStep("ChooseImportFile: Statusleiste", [&] {
      xpStatusBar1->SetPanelText(2, QStringLiteral(".../") + QFileInfo(file).fileName().trimmed() + QStringLiteral("  "));
    });
    state.ImportDateiGewaehlt = true;
    return;
  }
}

bool FormOrvenil::ConvertUnixFile(QString& path, bool /*replaceFile*/, bool& converted, FileIdentity* readIdentity) {
  // The user's file is only read; the converted text goes to a work copy.
  Dialogs().processEvents();
  if (!QFileInfo(path).isFile()) return true;
  const QString work = WorkCopyPath(State().TempVerzeichnis.isEmpty() ? QDir::tempPath() + QLatin1Char('/')
                                                                       : State().TempVerzeichnis,
                                    path);
  if (QFileInfo(work).absoluteFilePath() == QFileInfo(path).absoluteFilePath()) return true;
  const Windows1252Copy copy = CopyAsWindows1252CrLf(path, work);
  if (readIdentity) *readIdentity = copy.readIdentity;
  const QString encoding = copy.utf16 ? QStringLiteral("UTF-16") : QStringLiteral("UTF-8");
  switch (copy.outcome) {
    case Windows1252Copy::Outcome::Written:
      path = work;
      converted = true;
      return true;
    case Windows1252Copy::Outcome::NotNeeded:
      converted = false;
      return true;
    case Windows1252Copy::Outcome::Failed:
      // A UTF-8 file read without its copy would be stored with wrong letters.
      if (!copy.utf8 || copy.writeError.isEmpty()) return true;
      Dialogs().messageBox(FileNotWrittenMessage(work, copy.writeError) +
                               QStringLiteral(".\nOhne diese Kopie in Windows-1252 (ANSI) kann die ") + encoding +
                               QStringLiteral("-kodierte Datei '") +
                               path + QStringLiteral("' nicht richtig gelesen werden! Abbruch!"),
                           MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Orvenil"));
      return false;
    case Windows1252Copy::Outcome::Changed:
      Dialogs().messageBox(FileChangedWhileReadText(path) + QStringLiteral(" Abbruch!"), MsgButtons::Ok,
                           MsgIcon::Critical, QStringLiteral("Orvenil"));
      return false;
    case Windows1252Copy::Outcome::Unencodable:
      break;
  }
  Dialogs().messageBox(QStringLiteral("Die Datei '") + path + QStringLiteral("' ist ") + encoding + QStringLiteral("-kodiert und enthält in Zeile ") +
                           QString::number(copy.line) + QStringLiteral(" das Zeichen '") + copy.character +
                           QStringLiteral("', das es in Windows-1252 (ANSI) nicht gibt! Abbruch!"),
                       MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Orvenil"));
  return false;
}

}  // namespace orv
