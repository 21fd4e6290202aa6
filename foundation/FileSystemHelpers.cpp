#include "foundation/FileSystemHelpers.h"
#include "foundation/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orv {

namespace {

bool StatPath(const QString& path, struct stat& st) {
  if (path.isEmpty()) return false;
  const QByteArray native = QFile::encodeName(path);
  return ::stat(native.constData(), &st) == 0;
}

}  // namespace

bool FileExists(const QString& path) {
  struct stat st {};
  return StatPath(path, st) && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const QString& path) {
  struct stat st {};
  return StatPath(path, st);
}

QString MapSharedFolderPath(const QString& path) { return path; }

QString GetFileStatus(const QString& path) {
  if (path.isEmpty()) return QStringLiteral("ER:Pfad-/Dateinamensyntax nicht korrekt");
  const QByteArray native = QFile::encodeName(path);
  const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    switch (errno) {
      case ENOENT: {
        // A missing folder on the way is a path that was not found.
        const QFileInfo info(path);
        return QFileInfo(info.absolutePath()).isDir() ? QStringLiteral("ER:Nicht vorhanden")
                                                      : QStringLiteral("ER:Pfad nicht gefunden");
      }
      case ENOTDIR:
        return QStringLiteral("ER:Pfad nicht gefunden");
      case EACCES:
      case EPERM:
      case EISDIR:
        return QStringLiteral("ER:Zugriff verweigert");
      case ETXTBSY:
        return QStringLiteral("ER:In Bearbeitung");
      case ENAMETOOLONG:
      case EINVAL:
      case ELOOP:
        return QStringLiteral("ER:Pfad-/Dateinamensyntax nicht korrekt");
      default:
        return QStringLiteral("ER:Unbekannter Ein-/Ausgaberfehler");
    }
  }
  struct stat st {};
  QString result;
  if (::fstat(fd, &st) != 0) {
    result = QStringLiteral("ER:Unbekannter Ein-/Ausgaberfehler");
  } else if (S_ISDIR(st.st_mode)) {
    result = QStringLiteral("ER:Zugriff verweigert");  // a folder cannot be opened as a file
  } else {
    // A lock held by another process (a database engine writing the file)
    // means the file is in use. Locks of this process do not count.
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0;
    if (::fcntl(fd, F_GETLK, &lock) == 0 && lock.l_type != F_UNLCK) {
      result = QStringLiteral("ER:In Bearbeitung");
    } else {
      // No archive, compression or system flags here: a plain file reads as
      // a plain archived file does elsewhere.
      const bool readOnly = (st.st_mode & S_IWUSR) == 0;  // the owner may not write: read-only
      const bool hidden = QFileInfo(path).fileName().startsWith(u'.');
      result = QStringLiteral("OK:ncA") + (readOnly ? u'R' : u'r') + u's' + (hidden ? u'H' : u'h');
    }
  }
  ::close(fd);
  return result;
}

bool CopyFileTo(const QString& source, const QString& target, bool overwrite) {
  const QFileInfo src(source);
  if (!src.isFile()) return false;
  const QFileInfo dst(target);
  if (dst.exists()) {
    if (!overwrite || dst.isDir()) return false;
    if (dst.canonicalFilePath() == src.canonicalFilePath()) return false;  // a file onto itself
  }
  // Copy beside the target first, then rename: a failed copy never leaves a
  // truncated target, and an existing target is replaced in one step.
  QTemporaryFile temp(dst.absolutePath() + QStringLiteral("/.orvenil-copy-XXXXXX"));
  if (!temp.open()) return false;
  QFile in;
  if (!OpenRegularFile(in, source).isEmpty()) return false;
  QByteArray block;
  for (;;) {
    block = in.read(1 << 20);
    if (block.isEmpty()) {
      if (!in.atEnd()) return false;
      break;
    }
    if (temp.write(block) != block.size()) return false;
  }
  if (!temp.flush()) return false;
  temp.setPermissions(in.permissions());
  const QByteArray tempNative = QFile::encodeName(temp.fileName());
  const QByteArray targetNative = QFile::encodeName(target);
  if (!overwrite) {
    // link() fails when the target appeared meanwhile: never replace it then.
    if (::link(tempNative.constData(), targetNative.constData()) == 0) return true;  // `temp` goes away
    // A file system without hard links: rename, once more checking the target.
    if (errno == EEXIST || QFileInfo::exists(target)) return false;
  }
  if (::rename(tempNative.constData(), targetNative.constData()) != 0) return false;
  temp.setAutoRemove(false);
  return true;
}

}  // namespace orv
