#include "foundation/DatabaseFolderFile.h"

#include <QDir>
#include <QFileInfo>

namespace orv {

QString DatabaseFolderFile(const QString& folder, const QString& name) {
  const QString exact = folder + name;
  if (name.isEmpty() || QFileInfo(exact).isFile()) return exact;
  const QStringList entries = QDir(folder).entryList(QDir::Files | QDir::Hidden);
  for (const QString& entry : entries)
    if (entry.compare(name, Qt::CaseInsensitive) == 0) return folder + entry;
  return exact;
}

}  // namespace orv
