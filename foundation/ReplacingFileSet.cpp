#include "foundation/ReplacingFileSet.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QFileInfo>
#include <QLockFile>
#include <cerrno>
#include <cstdio>
#include <stdexcept>

#include "foundation/DialogService.h"
#include "foundation/FileErrorReason.h"
#include "foundation/FileSetJournal.h"
#include "foundation/OrvenilError.h"

namespace orv {

namespace {

QByteArray Native(const QString& path) { return QFile::encodeName(path); }

bool IsThere(const QString& path) {
  struct stat info;
  return ::lstat(Native(path).constData(), &info) == 0 || errno != ENOENT;
}

std::function<void(const QString&)>& Probe() {
  static std::function<void(const QString&)> probe;
  return probe;
}

// How long a commit waits for another instance putting the same set in
// place; that takes a few renames.
constexpr int kLockWaitMs = 10000;

}  // namespace

void SetFileSetProbe(std::function<void(const QString& path)> probe) { Probe() = std::move(probe); }

ReplacingFileSet::ReplacingFileSet(const QStringList& targets) {
  members_.reserve(static_cast<size_t>(targets.size()));
  for (const QString& target : targets) {
    members_.emplace_back();
    members_.back().target = target;
    members_.back().file = std::make_unique<ReplacingFile>();
  }
  for (Member& m : members_)
    if (!m.file->openFor(m.target)) fail(m.target, m.file->lastError());
}

ReplacingFileSet::~ReplacingFileSet() {
  if (settled_) return;
  for (Member& m : members_) undo(m);
}

ReplacingFile& ReplacingFileSet::file(const QString& target) {
  for (Member& m : members_)
    if (m.target == target) return *m.file;
  throw std::logic_error("ReplacingFileSet::file: not a target of the set");
}

QString ReplacingFileSet::keepBeside(Member& m) {
  const QString& path = m.file->writtenPath();
  struct stat info;
  if (::lstat(Native(path).constData(), &info) != 0) return QString();  // no old file
  if (S_ISDIR(info.st_mode)) return SystemErrorReason(EISDIR);
  bool hardLinks = true;
  for (int n = 1; n <= 99; ++n) {
    const QString backup = path + QStringLiteral(".bisher") + (n > 1 ? QString::number(n) : QString());
    if (hardLinks) {
      errno = 0;
      if (::link(Native(path).constData(), Native(backup).constData()) == 0) {
        m.backup = backup;
        m.old = Old::Linked;
        return QString();
      }
      if (errno == EEXIST) continue;
      hardLinks = false;  // the old file moves to the name just before the new one takes its place
    }
    if (!IsThere(backup)) {
      m.backup = backup;
      m.old = Old::ToMove;
      return QString();
    }
  }
  return SystemErrorReason(EEXIST);
}

void ReplacingFileSet::commit() {
  // What an earlier, cut off commit of the set left is mended first; the
  // message says so once the set's lock is free again, also when this
  // commit fails.
  FileSetMend mended;
  const auto tell = [&mended] {
    if (!mended.text.isEmpty())
      Dialogs().messageBox(mended.text, MsgButtons::Ok, mended.icon, QStringLiteral("Orvenil"));
  };
  try {
    putInPlace(mended);
  } catch (...) {
    tell();
    throw;
  }
  tell();
}

void ReplacingFileSet::putInPlace(FileSetMend& mended) {
  for (Member& m : members_)
    if (!m.file->finishWriting()) fail(m.target, m.file->lastError());
  const QString journal = FileSetJournalPath(members_.front().file->writtenPath());
  const FileSetLockResult lock = LockFileSet(journal, kLockWaitMs);
  if (lock.heldByOther)
    fail(members_.front().target,
         QStringLiteral("Ein anderes laufendes Orvenil schreibt gerade dieselben Dateien; bitte versuchen "
                        "Sie es erneut, wenn es damit fertig ist"));
  mended = MendFileSet(journal);
  // A new set laid over one that could not be mended would lose what its
  // journal still holds.
  if (QFileInfo::exists(journal))
    fail(members_.front().target,
         QStringLiteral("Ein früheres, unterbrochenes Schreiben dieser Dateien ist noch nicht ausgebessert"));
  for (Member& m : members_)
    if (const QString why = keepBeside(m); !why.isEmpty()) fail(m.target, why);
  std::vector<FileSetMember> written;
  for (const Member& m : members_) written.push_back({m.file->writtenPath(), m.file->fileName(), m.backup});
  if (const QString why = WriteFileSetJournal(journal, written); !why.isEmpty()) fail(journal, why);
  journal_ = journal;
  for (Member& m : members_) {
    if (m.old == Old::ToMove) {
      if (std::rename(Native(m.file->writtenPath()).constData(), Native(m.backup).constData()) != 0)
        fail(m.target, SystemErrorReason(errno));
      m.old = Old::Moved;
    }
    if (!m.file->moveIntoPlace()) fail(m.target, m.file->lastError());
    m.placed = true;
    if (Probe()) Probe()(m.target);
  }
  settled_ = true;
  for (Member& m : members_)
    if (m.old == Old::Linked || m.old == Old::Moved) ::unlink(Native(m.backup).constData());
  DropFileSetJournal(journal_);
}

void ReplacingFileSet::undo(Member& m) {
  const QByteArray path = Native(m.file->writtenPath());
  const QByteArray backup = Native(m.backup);
  bool restored = true;
  if (m.placed && m.old == Old::None)
    ::unlink(path.constData());  // there was no file before
  else if (m.placed || m.old == Old::Moved)
    restored = std::rename(backup.constData(), path.constData()) == 0;
  else if (m.old == Old::Linked)
    ::unlink(backup.constData());
  if (!m.placed) m.file->cancelWriting();
  m.placed = false;
  if (restored) {
    m.old = Old::None;
    m.backup.clear();
  }
}

void ReplacingFileSet::fail(const QString& target, const QString& reason) {
  for (Member& m : members_) undo(m);
  settled_ = true;  // an old file that stays under its second name is left there
  if (!journal_.isEmpty()) DropFileSetJournal(journal_);
  throw OrvenilError(kErrDeviceIoError, FileNotWrittenMessage(target, reason) + QLatin1Char('\n') + keptText());
}

QString ReplacingFileSet::keptText() const {
  QStringList kept, absent, lost;
  for (const Member& m : members_) {
    const QString name = QFileInfo(m.target).fileName();
    if (!m.backup.isEmpty())
      lost << QStringLiteral("Die bisherige Fassung von ") + name + QStringLiteral(" steht jetzt in ") + m.backup;
    else
      (QFileInfo::exists(m.target) ? kept : absent) << name;
  }
  QStringList parts;
  if (kept.size() == 1) parts << QStringLiteral("Die bisherige Datei ") + kept[0] + QStringLiteral(" bleibt unverändert");
  if (kept.size() > 1)
    parts << QStringLiteral("Die bisherigen Dateien ") + Enumeration(kept) + QStringLiteral(" bleiben unverändert");
  if (!kept.isEmpty() && !absent.isEmpty())
    parts << Enumeration(absent) +
                 (absent.size() == 1 ? QStringLiteral(" wurde nicht angelegt") : QStringLiteral(" wurden nicht angelegt"));
  else if (!absent.isEmpty())
    parts << (absent.size() == 1 ? QStringLiteral("Die Datei ") + absent[0] + QStringLiteral(" wurde nicht angelegt")
                                 : QStringLiteral("Keine der Dateien ") + Enumeration(absent) +
                                       QStringLiteral(" wurde angelegt"));
  QStringList sentences{parts.join(QStringLiteral("; "))};
  sentences += lost;
  return sentences.join(QStringLiteral(".\n")) + QLatin1Char('.');
}

}  // namespace orv
