#include "foundation/FileIdentity.h"

#include <QFileInfo>

#include "foundation/OrvenilError.h"

namespace orv {

FileIdentity::FileIdentity(const QString& path) : path_(path) {
  const QFileInfo found(path);
  size_ = found.size();
  modified_ = found.lastModified();
}

bool FileIdentity::changed(qint64 endPosition) const {
  const QFileInfo now(path_);
  return now.size() != size_ || now.lastModified() != modified_ || endPosition != size_;
}

void ThrowFileChangedWhileRead(const QString& file) {
  throw OrvenilError(kErrDeviceIoError, QStringLiteral("Die Datei '") + file +
                                            QStringLiteral("' wurde während des Einlesens verändert (gekürzt oder "
                                                           "überschrieben) und ist nicht vollständig eingelesen."));
}

}  // namespace orv
