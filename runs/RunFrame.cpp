#include "runs/RunFrame.h"

#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "platform/db/ForwardQuery.h"

namespace orv {

ColumnPositions::ColumnPositions(const Recordset& rs, const QStringList& names) {
  positions_.reserve(static_cast<size_t>(names.size()));
  for (const QString& name : names) {
    const int p = rs.fieldIndex(name);
    if (p < 0)
      throw OrvenilError(3265, QStringLiteral("Feld '") + name + QStringLiteral("' nicht gefunden."));
    positions_.push_back(p);
  }
}

double ColumnNumber(const Recordset& rs, int position) { return Val(rs.value(position).toText()); }

QString ColumnText(const Recordset& rs, int position) { return rs.value(position).textOrEmpty(); }

qint64 CountDatenRows(const Database& db) {
  ForwardQuery count(db, QStringLiteral("SELECT count(*) FROM Daten"));
  return count.next() ? count.value(0).longValue() : 0;
}

}  // namespace orv
