// The window's import of a point file: the preconditions of a run (a file
// chosen that can be read as text, the start system known), the run as its
// step groups (io/ImportRun.cpp), and the coordinate grid bound to Daten.
#include <QFile>
#include <functional>
#include <QFileInfo>
#include <exception>

#include "foundation/DialogService.h"
#include "io/ImportRun.h"
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

// True when the bytes hold characters beyond ASCII that are valid UTF-8
// sequences (a block cut in the middle of a sequence still counts).
bool IsUtf8WithLetters(const QByteArray& bytes) {
  bool multibyte = false;
  for (qsizetype i = 0; i < bytes.size();) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    const int follow = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
    if (follow < 0 || (follow == 1 && c < 0xC2)) return false;
    for (int k = 1; k <= follow; ++k) {
      if (i + k >= bytes.size()) return multibyte || follow > 0;
      if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
    }
    multibyte = multibyte || follow > 0;
    i += 1 + follow;
  }
  return multibyte;
}

// Why the file cannot be imported at all; "" when it can be read as text.
QString UnreadableFileReason(const QString& path) {
  QFile f(path);
  if (!QFileInfo(path).isFile() || !f.open(QIODevice::ReadOnly))
    return QStringLiteral("Die Datei '") + path + QStringLiteral("' kann nicht gelesen werden! Abbruch!");
  const QByteArray head = f.read(1 << 16);
  if (head.contains('\0'))
    return QStringLiteral("Die Datei '") + path +
           QStringLiteral("' ist keine Textdatei (sie enthält Binärdaten)! Abbruch!");
  // UTF-8 letters would be read as two Windows-1252 characters each.
  if (IsUtf8WithLetters(head))
    return QStringLiteral("Die Datei '") + path +
           QStringLiteral("' ist UTF-8-kodiert; eingelesen werden Textdateien in Windows-1252 (ANSI)! Abbruch!");
  return QString();
}

// A file is chosen and can be read as text; otherwise says why not.
bool ImportFileCanBeRead(const ProgramState& state) {
  if (!state.ImportDateiGewaehlt) return false;
  if (state.ImportDatei.isEmpty()) {
    Critical(QStringLiteral("Datei fehlt! Abbruch!"));
    return false;
  }
  if (const QString reason = UnreadableFileReason(state.ImportDatei); !reason.isEmpty()) {
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

void FormOrvenil::ImportCoordinateFile(const std::function<void()>& replacingRows) {
  // A refused file leaves everything as it is.
  if (!ImportFileCanBeRead(State())) return;
  // From here the file replaces the rows: the caller's start system (when it
  // hands one in) now describes them, and the run reads it.
  if (replacingRows) replacingRows();
  if (!StartSystemKnown(State())) return;
  ImportRun run(*this, State());
  try {
    run.prepare();
    while (run.readComputeStoreBlock()) {
    }
    run.finish();
  } catch (const std::exception& e) {
    run.fail(e);
  }
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
