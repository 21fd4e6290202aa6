#include "geodesy/Ntv2GridCache.h"

#include <algorithm>
#include <cmath>

#include <QStringList>

#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "foundation/TextTokens.h"
#include "platform/db/Database.h"
#include "platform/db/FieldType.h"
#include "platform/db/Recordset.h"

namespace orv {

namespace {

// The value of a header key: the rest of the record (the header records are
// joined by ";") that starts with the key, trimmed. Matching whole records
// keeps a sub-grid named, say, "PARENT1" from being read as the PARENT key.
QString HeaderValue(const QString& kopfdaten, const QString& key) {
  const QStringList records = kopfdaten.split(QLatin1Char(';'));
  for (const QString& r : records) {
    const QString record = GetToken(r, 1, QStringLiteral(";"));  // blanks trimmed
    if (record.startsWith(key)) return GetToken(record.mid(key.size()), 1, QStringLiteral(";"));
  }
  return QString();
}

// Largest sub-grid held in memory (nodes); far above any published grid.
constexpr qint64 kMaxNodes = 50000000;

}  // namespace

double Ntv2NodeColumns(double eLong, double wLong, double longInc) {
  return Int((wLong - eLong) / longInc + 0.5) + 1;
}

double Ntv2NodeRows(double sLat, double nLat, double latInc) { return Int((nLat - sLat) / latInc + 0.5) + 1; }

Ntv2GridCache::Ntv2GridCache(Database& db, int tableCount) {
  if (!db.isOpen())
    throw OrvenilError(kDbErrObjectInvalid, QStringLiteral("Keine NTv2-Gitterdatenbank geöffnet"));
  std::vector<SubGrid> grids;
  for (int t = 1; t <= tableCount; ++t) {
    grids.push_back(ReadSubGrid(db, t));
    LoadNodes(db, t, grids.back());
  }
  for (size_t i = 0; i < grids.size(); ++i) {
    if (grids[i].topLevel) continue;
    for (size_t p = 0; p < grids.size(); ++p) {
      if (p != i && grids[p].header.SUB_NAME == grids[i].header.PARENT) {
        grids[p].children.push_back(static_cast<int>(i));
        break;
      }
    }
  }
  grids_ = std::move(grids);
}

Ntv2GridCache::SubGrid Ntv2GridCache::ReadSubGrid(Database& db, int tableNumber) {
  SubGrid g;
  Recordset table = db.openTable(QString::number(tableNumber));
  table.setIndex(QStringLiteral("id"));
  table.seek(QStringLiteral("="), FieldValue(qint64(1)));
  if (table.noMatch())
    throw OrvenilError(kErrNoCurrentRecord,
                       QStringLiteral("NTv2-Gitter %1 hat keine Kopfdaten").arg(tableNumber));
  const QString k = table.value(QStringLiteral("Kopfdaten")).textOrEmpty();
  table.close();

  Ntv2SubGridHeader& h = g.header;
  h.SUB_NAME = HeaderValue(k, QStringLiteral("SUB_NAME"));
  h.PARENT = HeaderValue(k, QStringLiteral("PARENT"));
  h.CREATED = HeaderValue(k, QStringLiteral("CREATED"));
  h.UPDATED = HeaderValue(k, QStringLiteral("UPDATED"));
  h.S_LAT = Val(HeaderValue(k, QStringLiteral("S_LAT")));
  h.N_LAT = Val(HeaderValue(k, QStringLiteral("N_LAT")));
  h.E_LONG = Val(HeaderValue(k, QStringLiteral("E_LONG")));
  h.W_LONG = Val(HeaderValue(k, QStringLiteral("W_LONG")));
  h.LAT_INC = Val(HeaderValue(k, QStringLiteral("LAT_INC")));
  h.LONG_INC = Val(HeaderValue(k, QStringLiteral("LONG_INC")));
  const double count = RoundHalfEven(Val(HeaderValue(k, QStringLiteral("GS_COUNT"))), 0);
  g.topLevel = h.PARENT == QLatin1String("NONE");

  // Extents and spacings that give no grid of sensible size are a broken cache.
  const double cols = Ntv2NodeColumns(h.E_LONG, h.W_LONG, h.LONG_INC);
  const double rows = Ntv2NodeRows(h.S_LAT, h.N_LAT, h.LAT_INC);
  if (!(h.LAT_INC > 0) || !(h.LONG_INC > 0) || !(cols >= 1 && cols <= kMaxNodes) ||
      !(rows >= 1 && rows <= kMaxNodes) || !(count >= 0 && count <= 2147483647.0))
    throw OrvenilError(kErrOverflow, QStringLiteral("NTv2-Gitter %1: ungültige Kopfdaten").arg(tableNumber));
  h.GS_COUNT = static_cast<qint32>(count);
  g.ncols = static_cast<qint64>(cols);
  g.nrows = static_cast<qint64>(rows);
  return g;
}

// Reads all node shifts of a sub-grid at once: a run asks for millions of
// points, and one query per node would cost far more than the whole table.
// Where a node number occurs twice, the first row counts, as a seek on the
// index would find it. Every node of the extent must be there with two
// numbers: a node missing, Null or text would leave the points around it
// without a target, so such a table throws instead.
void Ntv2GridCache::LoadNodes(Database& db, int tableNumber, SubGrid& g) {
  const qint64 count = g.ncols * g.nrows;
  if (g.header.GS_COUNT != count)
    throw OrvenilError(kErrOverflow, QStringLiteral("NTv2-Gitter %1: GS_COUNT %2 passt nicht zu den %3 Knoten "
                                                    "seiner Ausdehnung")
                                         .arg(tableNumber)
                                         .arg(g.header.GS_COUNT)
                                         .arg(count));
  if (count > kMaxNodes)
    throw OrvenilError(kErrOverflow, QStringLiteral("NTv2-Gitter %1 ist zu groß").arg(tableNumber));
  const size_t n = size_t(count);
  g.lat.assign(n, 0);
  g.lonW.assign(n, 0);
  g.present.assign(n, 0);
  qint64 found = 0;
  constexpr qint64 kChunk = 100000;  // bounds the memory of one query's rows
  for (qint64 from = 1; from <= count; from += kChunk) {
    Recordset rs = db.openSql(
        QStringLiteral("SELECT id, Zeile1, Zeile2 FROM \"%1\" WHERE id >= %2 AND id <= %3 ORDER BY rowid")
            .arg(tableNumber)
            .arg(from)
            .arg(std::min(count, from + kChunk - 1)));
    for (; !rs.eof(); rs.moveNext()) {
      const FieldValue id = rs.value(0), dLat = rs.value(1), dLonW = rs.value(2);
      if (!id.isNumber() || !dLat.isNumber() || !dLonW.isNumber()) continue;
      // A shift no datum has (one the cache could hold only as infinite)
      // counts as missing: the cache is then built again from its grid.
      if (!(std::abs(dLat.toDouble()) <= kNtv2MaxShiftSeconds &&
            std::abs(dLonW.toDouble()) <= kNtv2MaxShiftSeconds))
        continue;
      const size_t i = size_t(id.toLong() - 1);
      if (g.present[i]) continue;
      g.lat[i] = float(dLat.toDouble());
      g.lonW[i] = float(dLonW.toDouble());
      g.present[i] = 1;
      ++found;
    }
    rs.close();
  }
  if (found != count)
    throw OrvenilError(kErrNoCurrentRecord,
                       QStringLiteral("NTv2-Gitter %1: %2 von %3 Knoten fehlen oder haben keine Zahl")
                           .arg(tableNumber)
                           .arg(count - found)
                           .arg(count));
}

int Ntv2GridCache::find(double latSec, double lonSecW, int* lastTested) const {
  if (lastTested) *lastTested = -1;
  for (size_t t = 0; t < grids_.size(); ++t) {
    const SubGrid& top = grids_[t];
    if (!top.topLevel) continue;
    if (lastTested) *lastTested = int(t);
    if (!top.contains(latSec, lonSecW)) continue;
    int used = int(t);
    // Children lie inside their parent; a cycle in a broken file must not hang.
    for (size_t depth = 0; depth < grids_.size(); ++depth) {
      int finer = -1;
      for (int child : grids_[size_t(used)].children) {
        if (grids_[size_t(child)].contains(latSec, lonSecW)) {
          finer = child;
          break;
        }
      }
      if (finer < 0) break;
      used = finer;
    }
    return used;
  }
  return -1;
}

bool Ntv2GridCache::node(int subGrid, qint64 p, double* dLat, double* dLonW) const {
  const SubGrid& g = grids_[size_t(subGrid)];
  if (p < 0 || p >= qint64(g.present.size()) || !g.present[size_t(p)]) return false;
  *dLat = g.lat[size_t(p)];
  *dLonW = g.lonW[size_t(p)];
  return true;
}

}  // namespace orv
