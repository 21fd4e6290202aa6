#pragma once
// What a set of files put in place one rename after another (a
// ReplacingFileSet) is about to become, written down beside the set before
// its first rename: a program killed between the renames leaves a folder in
// which the journal tells which files are new, where the old ones stand and
// whether every new file is complete. The next commit of the same set, or
// the next start of the program, then finishes the set when all its new
// files are complete and otherwise puts the old set back.
//
// The next start finds the journals through a note in the program's
// temporary folder (shared by all instances of the user), one note a journal
// while it exists; the sets lie in folders the user chose, which no start
// could search.
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "foundation/DialogService.h"

class QLockFile;

namespace orv {

struct FileSetMember {
  QString path;       // the file the set replaces (symbolic links followed)
  QString temporary;  // the complete new file until it is renamed to path
  QString backup;     // the old file's second name; "" when there was none
};

// The journal of the set whose first member is firstPath.
QString FileSetJournalPath(const QString& firstPath);
// Takes the lock of the set journal belongs to, waiting up to waitMs for
// another instance writing it. Null when another instance holds it; a lock
// that cannot be made at all (no room, no rights) is held by nobody else and
// is not waited for.
struct FileSetLockResult {
  std::unique_ptr<QLockFile> lock;  // null: not held
  bool heldByOther = false;
};
FileSetLockResult LockFileSet(const QString& journal, int waitMs);
// Writes the journal of members (complete new files, in the order of their
// renames): under a temporary name, to disk, then renamed; notes it in the
// temporary folder. "" when done, else why not.
QString WriteFileSetJournal(const QString& journal, const std::vector<FileSetMember>& members);
// Removes the journal and its note.
void DropFileSetJournal(const QString& journal);

// The message of a set mended: text "" when there was nothing to mend.
struct FileSetMend {
  QString text;
  MsgIcon icon = MsgIcon::Information;
};
// Finishes the set journal describes or puts its old files back, when the
// journal is there; the caller holds the set's lock. The journal stays when
// a file cannot be renamed, for the next attempt.
FileSetMend MendFileSet(const QString& journal);

// "a", "a und b", "a, b und c".
QString Enumeration(const QStringList& names);

// The folder where journals are noted; "" notes none.
void SetFileSetNoteFolder(const QString& folder);
// Mends every set noted whose lock no running instance holds.
std::vector<FileSetMend> MendFileSetsLeftOpen();

}  // namespace orv
