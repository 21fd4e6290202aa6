#include "foundation/FileSetJournal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <cerrno>
#include <cstdio>

#include "foundation/FileErrorReason.h"

namespace orv {

namespace {

constexpr char kJournalHead[] = "Orvenil-Dateisatz";

QByteArray Native(const QString& path) { return QFile::encodeName(path); }

QString& NoteFolder() {
  static QString folder;
  return folder;
}

QString NotePath(const QString& journal) {
  if (NoteFolder().isEmpty()) return QString();
  const QByteArray hash =
      QCryptographicHash::hash(Native(journal), QCryptographicHash::Sha1).toHex().left(24);
  return NoteFolder() + QStringLiteral("Dateisatz_") + QString::fromLatin1(hash) + QStringLiteral(".txt");
}

// A new file is known by its size and time of change, which its renames keep.
struct Stamp {
  bool exists = false;
  qint64 size = -1, seconds = 0, nanoseconds = 0;
  bool operator==(const Stamp& o) const {
    return exists && o.exists && size == o.size && seconds == o.seconds && nanoseconds == o.nanoseconds;
  }
};

Stamp StampOf(const QString& path) {
  struct stat info;
  if (::lstat(Native(path).constData(), &info) != 0) return {};
  return {true, info.st_size, info.st_mtim.tv_sec, info.st_mtim.tv_nsec};
}

bool IsThere(const QString& path) { return StampOf(path).exists; }

// Writes bytes to path and to disk; errno is kept on failure.
bool WriteToDisk(const QString& path, const QByteArray& bytes) {
  const int fd = ::open(Native(path).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  qint64 done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  const bool ok = done == bytes.size() && ::fsync(fd) == 0;
  const int error = errno;
  ::close(fd);
  errno = error;
  return ok;
}

struct JournalMember {
  FileSetMember files;
  Stamp fresh;  // the new file
};

QByteArray Field(const QString& text) { return Native(text).toPercentEncoding(); }
QString FieldText(const QByteArray& field) {
  return QFile::decodeName(QByteArray::fromPercentEncoding(field));
}

// The members the journal names; empty when it cannot be read as one.
std::vector<JournalMember> ReadJournal(const QString& journal) {
  QFile file(journal);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QList<QByteArray> lines = file.readAll().split('\n');
  std::vector<JournalMember> members;
  if (lines.value(0).trimmed() != kJournalHead) return {};
  for (qsizetype i = 1; i < lines.size(); ++i) {
    const QList<QByteArray> f = lines[i].trimmed().split('\t');
    if (f.size() == 1 && f[0].isEmpty()) continue;
    if (f.size() != 6) return {};
    members.push_back({{FieldText(f[0]), FieldText(f[1]), FieldText(f[2])},
                       {true, f[3].toLongLong(), f[4].toLongLong(), f[5].toLongLong()}});
  }
  return members;
}

// Renames from to to; on failure the reason naming the file, else "".
QString Rename(const QString& from, const QString& to) {
  if (std::rename(Native(from).constData(), Native(to).constData()) == 0) return QString();
  return to + QStringLiteral(": ") + SystemErrorReason(errno);
}

bool SameFile(const QString& a, const QString& b) {
  struct stat x, y;
  return ::lstat(Native(a).constData(), &x) == 0 && ::lstat(Native(b).constData(), &y) == 0 &&
         x.st_dev == y.st_dev && x.st_ino == y.st_ino;
}

}  // namespace

QString Enumeration(const QStringList& names) {
  if (names.size() < 2) return names.value(0);
  return names.mid(0, names.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" und ") + names.last();
}

QString FileSetJournalPath(const QString& firstPath) { return firstPath + QStringLiteral(".satz"); }

FileSetLockResult LockFileSet(const QString& journal, int waitMs) {
  FileSetLockResult result;
  auto lock = std::make_unique<QLockFile>(journal.chopped(5) + QStringLiteral(".lock"));
  if (lock->tryLock(waitMs))
    result.lock = std::move(lock);
  else
    result.heldByOther = lock->error() == QLockFile::LockFailedError;
  return result;
}

QString WriteFileSetJournal(const QString& journal, const std::vector<FileSetMember>& members) {
  QByteArray bytes = QByteArray(kJournalHead) + "\r\n";
  for (const FileSetMember& m : members) {
    const Stamp s = StampOf(m.temporary);
    bytes += Field(m.path) + '\t' + Field(m.temporary) + '\t' + Field(m.backup) + '\t' +
             QByteArray::number(s.size) + '\t' + QByteArray::number(s.seconds) + '\t' +
             QByteArray::number(s.nanoseconds) + "\r\n";
  }
  // Complete on disk before its name appears, and its name on disk before
  // the first rename of the set.
  const QString temporary = journal + QStringLiteral(".neu");
  if (!WriteToDisk(temporary, bytes) ||
      std::rename(Native(temporary).constData(), Native(journal).constData()) != 0) {
    const int error = errno;
    ::unlink(Native(temporary).constData());
    return SystemErrorReason(error);
  }
  if (const int dir = ::open(Native(QFileInfo(journal).absolutePath()).constData(), O_RDONLY | O_CLOEXEC);
      dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  // The note only helps the next start find the journal; the next commit of
  // the set finds it without.
  if (const QString note = NotePath(journal); !note.isEmpty()) {
    QFile file(note);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(Native(journal));
  }
  return QString();
}

void DropFileSetJournal(const QString& journal) {
  ::unlink(Native(journal).constData());
  if (const QString note = NotePath(journal); !note.isEmpty()) ::unlink(Native(note).constData());
}

FileSetMend MendFileSet(const QString& journal) {
  if (!IsThere(journal)) return {};
  const std::vector<JournalMember> members = ReadJournal(journal);
  QStringList names;
  for (const JournalMember& m : members) names << QFileInfo(m.files.path).fileName();
  const QString head = QStringLiteral("Das Schreiben der Dateien ") + Enumeration(names) +
                       QStringLiteral(" im Ordner ") + QFileInfo(journal).absolutePath() +
                       QStringLiteral(" wurde unterbrochen");
  if (members.empty())
    return {QStringLiteral("Die Datei ") + journal +
                QStringLiteral(
                    " beschreibt einen unterbrochen geschriebenen Dateisatz, kann aber nicht gelesen werden. "
                    "Bitte prüfen Sie die Dateien in ihrem Ordner und löschen Sie danach diese Datei."),
            MsgIcon::Exclamation};

  bool complete = true;
  for (const JournalMember& m : members)
    complete = complete && (StampOf(m.files.path) == m.fresh || StampOf(m.files.temporary) == m.fresh);
  QString failure;
  const auto note = [&failure](const QString& why) {
    if (failure.isEmpty()) failure = why;
  };
  for (const JournalMember& m : members) {
    const FileSetMember& f = m.files;
    const bool newInPlace = StampOf(f.path) == m.fresh;
    if (complete) {
      // Every new file is whole: the ones not yet renamed take their places.
      if (!newInPlace) note(Rename(f.temporary, f.path));
      if (!f.backup.isEmpty() && IsThere(f.backup) && ::unlink(Native(f.backup).constData()) != 0)
        note(f.backup + QStringLiteral(": ") + SystemErrorReason(errno));
      continue;
    }
    // A new file is missing or cut short: every old file goes back.
    if (StampOf(f.temporary) == m.fresh) ::unlink(Native(f.temporary).constData());
    if (!f.backup.isEmpty() && IsThere(f.backup)) {
      if (newInPlace || !IsThere(f.path))
        note(Rename(f.backup, f.path));
      else if (SameFile(f.backup, f.path))
        ::unlink(Native(f.backup).constData());  // the old file is still in place
    } else if (f.backup.isEmpty() && newInPlace) {
      ::unlink(Native(f.path).constData());  // there was no file of the name before
    }
  }
  if (!failure.isEmpty())
    return {head + QStringLiteral(" und konnte nicht ausgebessert werden: ") + failure +
                QStringLiteral(". Die Datei ") + journal +
                QStringLiteral(
                    " hält fest, was noch zu tun ist; beim nächsten Start oder Schreiben dieser Dateien wird "
                    "es erneut versucht."),
            MsgIcon::Exclamation};
  DropFileSetJournal(journal);
  if (complete)
    return {head + QStringLiteral(
                       ". Die neuen Dateien waren vollständig geschrieben und stehen jetzt alle an ihrem "
                       "Platz."),
            MsgIcon::Information};
  return {head + QStringLiteral(
                     ". Die neuen Dateien waren nicht vollständig; der bisherige Stand der Dateien ist "
                     "wiederhergestellt."),
          MsgIcon::Exclamation};
}

void SetFileSetNoteFolder(const QString& folder) {
  NoteFolder() = folder.isEmpty() || folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

std::vector<FileSetMend> MendFileSetsLeftOpen() {
  std::vector<FileSetMend> mended;
  if (NoteFolder().isEmpty()) return mended;
  const QStringList notes =
      QDir(NoteFolder()).entryList({QStringLiteral("Dateisatz_*.txt")}, QDir::Files | QDir::Hidden);
  for (const QString& name : notes) {
    QFile note(NoteFolder() + name);
    if (!note.open(QIODevice::ReadOnly)) continue;
    const QString journal = QFile::decodeName(note.readAll());
    note.close();
    if (!IsThere(journal)) {
      note.remove();  // mended by a later commit of its set
      continue;
    }
    // A set another running instance is putting in place is its own.
    const FileSetLockResult lock = LockFileSet(journal, 0);
    if (lock.heldByOther) continue;
    if (FileSetMend m = MendFileSet(journal); !m.text.isEmpty()) mended.push_back(std::move(m));
  }
  return mended;
}

}  // namespace orv
