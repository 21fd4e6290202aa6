#include "foundation/ReplacingFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace orv {

bool ReplacingFile::openFor(const QString& target) {
  target_ = target;
  error_.clear();
  setAutoRemove(true);
  setFileTemplate(target + QStringLiteral(".XXXXXX"));
  return open();
}

bool ReplacingFile::commit() {
  if (!flush()) return false;
  const QString temporary = fileName();
  close();
  setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser |
                 QFile::ReadGroup | QFile::ReadOther);
  if (std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(target_).constData()) != 0) {
    error_ = QString::fromLocal8Bit(std::strerror(errno));
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

QString ReplacingFile::lastError() const { return error_.isEmpty() ? errorString() : error_; }

}  // namespace orv
