#include "foundation/ReplacingFile.h"

#include <cerrno>
#include <cstdio>

#include <QFileInfo>

#include "foundation/FileErrorReason.h"

namespace orv {

namespace {

// The file a path leads to through its symbolic links, followed one by one
// so that a link to a file not yet there names that file; the path itself
// when the links run in a circle.
QString FollowSymbolicLinks(const QString& path) {
  QFileInfo info(path);
  for (int depth = 0; depth < 64; ++depth) {
    if (!info.isSymLink()) return info.filePath();
    info.setFile(info.symLinkTarget());
  }
  return path;
}

}  // namespace

bool ReplacingFile::openFor(const QString& target) {
  target_ = target;
  written_ = FollowSymbolicLinks(target);
  error_.clear();
  setAutoRemove(true);
  setFileTemplate(written_ + QStringLiteral(".XXXXXX"));
  errno = 0;
  if (open()) return true;
  error_ = FileErrorReason(errno, *this);
  return false;
}

qint64 ReplacingFile::writeData(const char* data, qint64 length) {
  errno = 0;
  const qint64 written = QTemporaryFile::writeData(data, length);
  // A write the system took only in part (the disk filled up) fails as well.
  if (written < length && error_.isEmpty()) error_ = FileErrorReason(errno, *this);
  return written;
}

bool ReplacingFile::finishWriting() {
  errno = 0;
  if (!flush()) {
    if (error_.isEmpty()) error_ = FileErrorReason(errno, *this);
    return false;
  }
  close();
  setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser |
                 QFile::ReadGroup | QFile::ReadOther);
  return true;
}

bool ReplacingFile::moveIntoPlace() {
  const QString temporary = fileName();
  if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(written_).constData()) != 0) {
    error_ = SystemErrorReason(errno);
    QFile::remove(temporary);
    return false;
  }
  setAutoRemove(false);
  return true;
}

void ReplacingFile::cancelWriting() {
  const QString temporary = fileName();
  close();
  QFile::remove(temporary);
}

QString ReplacingFile::lastError() const { return error_.isEmpty() ? FileErrorReason(0, *this) : error_; }

}  // namespace orv
