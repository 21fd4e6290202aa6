// The window's import of a point file: the preconditions of a run (a file
// chosen that can be read as text, the start system known), the run as its
// step groups (io/ImportRun.cpp), and the coordinate grid bound to Daten.
#include <QFile>
#include <functional>
#include <QFileInfo>
#include <exception>

#include "foundation/DialogService.h"
#include "foundation/FileIdentity.h"
#include "foundation/RegularFile.h"
#include "io/ImportRun.h"
#include "io/ImportWorkCopy.h"
#include "platform/db/DBEngine.h"
#include "platform/ui/DataGrid.h"
#include "shell/FormOrvenil.h"
#include "shell/ProgramState.h"
#include "shell/ProgramVersion.h"

namespace orv {

namespace {

void Critical(const QString& text) {
  Dialogs().messageBox(text, MsgButtons::Ok, MsgIcon::Critical, kProgramTitle);
}

// Why the file cannot be imported at all; "" when it can be read as text.
// readPath: the file itself or its converted copy.
QString UnreadableFileReason(const QString& readPath, const QString& path) {
  QFile f;
  if (!OpenRegularFile(f, readPath).isEmpty())
    return QStringLiteral("Die Datei '") + path + QStringLiteral("' kann nicht gelesen werden! Abbruch!");
  const QByteArray head = f.read(1 << 16);
  if (head.contains('\0'))
    return QStringLiteral("Die Datei '") + path +
           QStringLiteral("' ist keine Textdatei (sie enthält Binärdaten)! Abbruch!");
  // A file of blanks and line ends alone holds no point: the job stays.
  if (f.size() == head.size() && head.trimmed().isEmpty())
    return QStringLiteral("Die Datei '") + path + QStringLiteral("' enthält keine Punkte!   ");
  return QString();
}

// A file is chosen and can be read as text; otherwise says why not.
bool ImportFileCanBeRead(const ProgramState& state) {
  if (!state.ImportDateiGewaehlt) return false;
  if (state.ImportDatei.isEmpty()) {
    Critical(QStringLiteral("Datei fehlt! Abbruch!"));
    return false;
  }
  // A file cut or written anew since it was chosen is not the file chosen.
  if (QFileInfo(ImportReadPath()).isFile() && ImportReadIdentity().differs()) {
    Critical(FileChangedWhileReadText(state.ImportDatei) + QStringLiteral(" Abbruch!"));
    return false;
  }
  if (const QString reason = UnreadableFileReason(ImportReadPath(), state.ImportDatei); !reason.isEmpty()) {
    Critical(reason);
    return false;
  }
  return true;
}

bool StartSystemKnown(const ProgramState& state) {
  if (state.StartA != 0) return true;
  Critical(QStringLiteral("Systemparameter fehlen! Abbruch1!"));
  return false;
}

}  // namespace

ImportEnd FormOrvenil::ImportCoordinateFile(const std::function<void()>& replacingRows) {
  // The converted copy of the file goes when the import ends, however it ends.
  const ImportWorkCopyRemoval removeWorkCopy;
  // A refused file leaves everything as it is.
  if (!ImportFileCanBeRead(State())) return ImportEnd::Refused;
  // From here the file replaces the rows: the caller's start system (when it
  // hands one in) now describes them, and the run reads it.
  if (replacingRows) replacingRows();
  if (!StartSystemKnown(State())) return ImportEnd::JobKept;
  ImportRun run(*this, State());
  try {
    run.prepare();
    while (run.readComputeStoreBlock()) {
    }
    run.finish();
  } catch (const std::exception& e) {
    run.fail(e);
  }
  if (!run.replacedJob()) return run.cancelled() ? ImportEnd::CancelledJobKept : ImportEnd::JobKept;
  return run.cancelled() ? ImportEnd::Cancelled : ImportEnd::Read;
}

void FormOrvenil::BindImportedRows(bool sorted) {
  ProgramState& state = State();
  if (!state.KooDb.isSet() || !state.KooDb.isOpen()) state.KooDb = DBEngine::openDatabase(state.KooDbPfad);
  GridKooDb->ClearRows();
  GridKooDb->BindQuery(state.KooDb, sorted ? QStringLiteral("SELECT * FROM Daten ORDER BY Punkt")
                                           : QStringLiteral("SELECT * FROM Daten"));
  if (sorted) {
    ShowImportedColumns();
    if (GridKooDb->RowCount() > 0) GridKooDb->SetCurrentRow(1);
  } else {
    HideColumnsTheImportHides();
  }
  GridKooDb->SetRedraw(true);
  GridKooDb->Refresh();
}

}  // namespace orv
