#pragma once
// Files that belong together (the .csv, .pkt and .lne of a vessel set, say),
// each written under a temporary name beside its place as a ReplacingFile
// and put in place together only when all are complete: the folder holds
// the whole old set or the whole new set, never half of each, and a failed
// set leaves nothing beside it.
//
// commit() first gives every file it replaces a second name beside it, a
// hard link "<name>.bisher"; then it renames the new files into place one
// right after the other and, when all have succeeded, removes the second
// names. A rename that fails puts the files already replaced back from
// their second names. Where the file system has no hard links (FAT), the
// old file itself is renamed to its second name just before its new file
// takes its place.
//
// A program killed between these renames leaves some files new and some
// old, the old version of each file already replaced under "<name>.bisher"
// and the temporary files "<name>.XXXXXX" not yet renamed. So before the
// first rename a journal beside the set says what the set is about to
// become (see FileSetJournal.h); the next commit of the set, or the next
// start, finishes the set or puts the old one back and says which. Nothing
// else runs between the renames, which keeps that moment as short as the
// system allows.
//
// Instances of the program put the same set in place one after the other:
// the renames run under the set's lock file "<first file>.lock".
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "foundation/FileSetJournal.h"
#include "foundation/ReplacingFile.h"

namespace orv {

class ReplacingFileSet {
 public:
  // Opens a temporary file beside each target; throws OrvenilError naming
  // the first one that cannot be made (nothing is replaced).
  explicit ReplacingFileSet(const QStringList& targets);
  // A set not committed leaves the old files as they were and removes its
  // temporary files.
  ~ReplacingFileSet();
  ReplacingFileSet(const ReplacingFileSet&) = delete;
  ReplacingFileSet& operator=(const ReplacingFileSet&) = delete;

  // The temporary file of a target given to the constructor.
  ReplacingFile& file(const QString& target);
  // Puts all files in place; throws OrvenilError when that fails (the old
  // set then stays). What an earlier commit of the set cut off by a kill
  // left is mended first, and a message says how.
  void commit();
  // Drops what was written and throws OrvenilError: target could not be
  // written for reason, and the old set stays.
  [[noreturn]] void fail(const QString& target, const QString& reason);

 private:
  // Where the old file of a target stands while the set is put in place.
  enum class Old { None, Linked, ToMove, Moved };
  struct Member {
    QString target;
    std::unique_ptr<ReplacingFile> file;
    QString backup;       // the old file's second name
    Old old = Old::None;  // None: no old file, or it stays at its place alone
    bool placed = false;  // the new file stands at the target
  };
  // commit() under the set's lock; mended tells what an earlier commit of
  // the set left and was mended.
  void putInPlace(FileSetMend& mended);
  // Gives the old file at m's place its second name (or picks the name it
  // is to be renamed to); "" when done or when there is no old file, else
  // why not.
  QString keepBeside(Member& m);
  // Gives m its old state back; an old file that cannot be renamed back
  // keeps its second name (the message names it).
  void undo(Member& m);
  // What the folder holds after a failure, with the files named.
  QString keptText() const;

  std::vector<Member> members_;
  QString journal_;       // written down before the first rename
  bool settled_ = false;  // committed, or given back its old state
};

// Said with its path each time a file of a set has been put in place; a
// test stops the program there to see what a program ended between the
// renames leaves behind.
void SetFileSetProbe(std::function<void(const QString& path)> probe);

}  // namespace orv
