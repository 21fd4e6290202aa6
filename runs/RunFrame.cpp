#include "runs/RunFrame.h"

#include "platform/db/ForwardQuery.h"

namespace orv {

qint64 CountDatenRows(const Database& db) {
  ForwardQuery count(db, QStringLiteral("SELECT count(*) FROM Daten"));
  return count.next() ? count.value(0).longValue() : 0;
}

}  // namespace orv
