#include "foundation/FileIdentity.h"

#include <QFileInfo>

#include "foundation/OrvenilError.h"

namespace orv {

FileIdentity::FileIdentity(const QString& path) : path_(path) {
  const QFileInfo found(path);
  size_ = found.size();
  modified_ = found.lastModified();
}

bool FileIdentity::changed(qint64 endPosition) const { return differs() || endPosition != size_; }

bool FileIdentity::differs() const {
  const QFileInfo now(path_);
  return now.size() != size_ || now.lastModified() != modified_;
}

QString FileChangedWhileReadText(const QString& file) {
  return QStringLiteral("Die Datei '") + file +
         QStringLiteral("' wurde während des Einlesens verändert (gekürzt oder überschrieben) und ist nicht "
                        "vollständig eingelesen.");
}

void ThrowFileChangedWhileRead(const QString& file) {
  throw OrvenilError(kErrDeviceIoError, FileChangedWhileReadText(file));
}

}  // namespace orv
