#include "foundation/ReplacingFile.h"

#include <cerrno>
#include <cstdio>

#include "foundation/FileErrorReason.h"

namespace orv {

bool ReplacingFile::openFor(const QString& target) {
  target_ = target;
  error_.clear();
  setAutoRemove(true);
  setFileTemplate(target + QStringLiteral(".XXXXXX"));
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

bool ReplacingFile::commit() {
  errno = 0;
  if (!flush()) {
    if (error_.isEmpty()) error_ = FileErrorReason(errno, *this);
    return false;
  }
  const QString temporary = fileName();
  close();
  setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser |
                 QFile::ReadGroup | QFile::ReadOther);
  if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(target_).constData()) != 0) {
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
