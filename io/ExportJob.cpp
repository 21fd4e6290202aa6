#include "io/ExportJob.h"

#include "foundation/NumberText.h"
#include "platform/db/ForwardQuery.h"
#include "shell/CoordinateDatabase.h"

namespace orv {

QStringList ExportColumnNames(const QString& columnList) {
  const QStringList& fields = DatenColumnNames();
  QStringList names;
  if (columnList.isEmpty()) return names;
  for (const QString& entry : columnList.split(QLatin1Char(','))) {
    const double n = Val(entry);
    names << (n >= 1 && n <= fields.size() ? fields.at(static_cast<int>(n) - 1) : QString());
  }
  return names;
}

QString ExportSelectList(const QStringList& names) {
  QStringList parts;
  for (const QString& name : names)
    parts << (name.isEmpty() ? QStringLiteral("NULL") : QLatin1Char('"') + name + QLatin1Char('"'));
  return parts.isEmpty() ? QStringLiteral("NULL") : parts.join(QLatin1Char(','));
}

int DatenRecordCount(const Database& db) {
  ForwardQuery q(db, QStringLiteral("SELECT COUNT(*) FROM Daten"));
  return q.next() ? q.text(0).toInt() : 0;
}

}  // namespace orv
