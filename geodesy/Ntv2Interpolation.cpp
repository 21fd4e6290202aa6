#include "geodesy/Ntv2Interpolation.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include <QStringList>

#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "foundation/ProgramState.h"
#include "foundation/TextTokens.h"
#include "geodesy/CheckedArithmetic.h"
#include "platform/db/FieldType.h"
#include "platform/db/Recordset.h"

namespace orv {

namespace {

// One sub-grid table of the open cache.
struct SubGrid {
  NTv2SubKopfDaten header;
  bool topLevel = false;
  std::vector<int> children;  // indexes into the grid list, in table order
  int tableNumber = 0;
  qint64 ncols = 0;
  qint64 nrows = 0;
  // The node shifts by position (id − 1), read on the grid's first use.
  bool loaded = false;
  std::vector<float> lat;
  std::vector<float> lonW;
  std::vector<char> present;

  bool contains(double latSec, double lonSecW) const {
    return header.E_LONG <= lonSecW && lonSecW <= header.W_LONG && header.S_LAT <= latSec &&
           latSec <= header.N_LAT;
  }
};

// What is kept of the open cache between calls.
struct CacheLookups {
  std::weak_ptr<DatabaseState> database;
  int tableCount = -1;
  std::vector<SubGrid> grids;
};

// Never destroyed: nothing in it may outlive the database layer's own
// statics at program exit.
CacheLookups& Lookups() {
  static CacheLookups* lookups = new CacheLookups;
  return *lookups;
}

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

SubGrid ReadSubGrid(Database& db, int tableNumber) {
  SubGrid g;
  g.tableNumber = tableNumber;
  Recordset table = db.openTable(QString::number(tableNumber));
  table.setIndex(QStringLiteral("id"));
  table.seek(QStringLiteral("="), FieldValue(qint64(1)));
  if (table.noMatch())
    throw OrvenilError(kErrNoCurrentRecord,
                       QStringLiteral("NTv2-Gitter %1 hat keine Kopfdaten").arg(tableNumber));
  const QString k = table.value(QStringLiteral("Kopfdaten")).textOrEmpty();
  table.close();

  NTv2SubKopfDaten& h = g.header;
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
  const double cols = Int((h.W_LONG - h.E_LONG) / h.LONG_INC + 0.5) + 1;
  const double rows = Int((h.N_LAT - h.S_LAT) / h.LAT_INC + 0.5) + 1;
  if (!(h.LAT_INC > 0) || !(h.LONG_INC > 0) || !(cols >= 1 && cols <= kMaxNodes) ||
      !(rows >= 1 && rows <= kMaxNodes) || !(count >= 0 && count <= 2147483647.0))
    throw OrvenilError(kErrOverflow,
                       QStringLiteral("NTv2-Gitter %1: ungültige Kopfdaten").arg(tableNumber));
  h.GS_COUNT = static_cast<qint32>(count);
  g.ncols = static_cast<qint64>(cols);
  g.nrows = static_cast<qint64>(rows);
  return g;
}

// Reads all node shifts of a sub-grid at once: a run asks for millions of
// points, and one query per node would cost far more than the whole table.
// The cache is never changed while it is open. Where a node number occurs
// twice, the first row counts, as a seek on the index would find it.
void LoadNodes(Database& db, SubGrid& g) {
  const qint64 count = std::min<qint64>(g.header.GS_COUNT, g.ncols * g.nrows);
  if (count > kMaxNodes)
    throw OrvenilError(kErrOverflow, QStringLiteral("NTv2-Gitter %1 ist zu groß").arg(g.tableNumber));
  const size_t n = count > 0 ? size_t(count) : 0;
  g.lat.assign(n, 0);
  g.lonW.assign(n, 0);
  g.present.assign(n, 0);
  constexpr qint64 kChunk = 100000;  // bounds the memory of one query's rows
  for (qint64 from = 1; from <= count; from += kChunk) {
    Recordset rs = db.openSql(
        QStringLiteral("SELECT id, Zeile1, Zeile2 FROM \"%1\" WHERE id >= %2 AND id <= %3 ORDER BY rowid")
            .arg(g.tableNumber)
            .arg(from)
            .arg(std::min(count, from + kChunk - 1)));
    for (; !rs.eof(); rs.moveNext()) {
      const FieldValue id = rs.value(0), dLat = rs.value(1), dLonW = rs.value(2);
      if (id.isNull() || dLat.isNull() || dLonW.isNull()) continue;
      const size_t i = size_t(id.toLong() - 1);
      if (g.present[i]) continue;
      g.lat[i] = float(dLat.toDouble());
      g.lonW[i] = float(dLonW.toDouble());
      g.present[i] = 1;
    }
    rs.close();
  }
  g.loaded = true;
}

// The lookups of the cache now open, read again when another cache was opened.
CacheLookups& CurrentLookups() {
  ProgramState& s = State();
  CacheLookups& c = Lookups();
  const std::shared_ptr<DatabaseState> open = s.NTv2Gitterdatenbank.state();
  const bool same = open && c.database.lock() == open && c.tableCount == s.NTv2AnzahlGitter &&
                    s.NTv2Gitterdatenbank.isOpen();
  if (same) return c;

  c = CacheLookups();
  if (!open)
    throw OrvenilError(kDbErrObjectInvalid, QStringLiteral("Keine NTv2-Gitterdatenbank geöffnet"));
  std::vector<SubGrid> grids;
  for (int t = 1; t <= s.NTv2AnzahlGitter; ++t) grids.push_back(ReadSubGrid(s.NTv2Gitterdatenbank, t));
  for (size_t i = 0; i < grids.size(); ++i) {
    if (grids[i].topLevel) continue;
    for (size_t p = 0; p < grids.size(); ++p) {
      if (p != i && grids[p].header.SUB_NAME == grids[i].header.PARENT) {
        grids[p].children.push_back(static_cast<int>(i));
        break;
      }
    }
  }
  c.grids = std::move(grids);
  c.database = open;
  c.tableCount = s.NTv2AnzahlGitter;
  return c;
}

// The finest grid that holds the point, or null. lastTested receives the
// last top-level grid that was tested, for the header left behind on failure.
SubGrid* ChooseSubGrid(CacheLookups& c, double latSec, double lonSecW,
                       const SubGrid** lastTested) {
  for (SubGrid& top : c.grids) {
    if (!top.topLevel) continue;
    *lastTested = &top;
    if (!top.contains(latSec, lonSecW)) continue;
    SubGrid* used = &top;
    // Children lie inside their parent; a cycle in a broken file must not hang.
    for (size_t depth = 0; depth < c.grids.size(); ++depth) {
      SubGrid* finer = nullptr;
      for (int child : used->children) {
        if (c.grids[child].contains(latSec, lonSecW)) {
          finer = &c.grids[child];
          break;
        }
      }
      if (!finer) break;
      used = finer;
    }
    return used;
  }
  return nullptr;
}

// Copies the header values the run reads into the program-wide NTv2SubKopf.
void LeaveHeader(const NTv2SubKopfDaten& h) {
  NTv2SubKopfDaten& k = State().NTv2SubKopf;
  k.CREATED = h.CREATED;
  k.UPDATED = h.UPDATED;
  k.S_LAT = h.S_LAT;
  k.N_LAT = h.N_LAT;
  k.E_LONG = h.E_LONG;
  k.W_LONG = h.W_LONG;
  k.LAT_INC = h.LAT_INC;
  k.LONG_INC = h.LONG_INC;
  k.GS_COUNT = h.GS_COUNT;
}

// Interpolated shifts in arc-seconds as the grid holds them (longitude west
// positive), and the point in grid units.
struct GridShift {
  bool ok = false;
  double latSec = 0;
  double lonSecW = 0;
  double dLat = 0;
  double dLonW = 0;
};

GridShift InterpolateShift(double latitude, double longitude) {
  GridShift r;
  r.latSec = RoundHalfEven(CheckedFinite(latitude) * 3600, 8);
  r.lonSecW = RoundHalfEven(CheckedFinite(longitude) * 3600 * -1, 8);

  CacheLookups& c = CurrentLookups();
  const SubGrid* lastTested = nullptr;
  SubGrid* g = ChooseSubGrid(c, r.latSec, r.lonSecW, &lastTested);
  if (!g) {
    if (lastTested) LeaveHeader(lastTested->header);
    return r;
  }
  LeaveHeader(g->header);
  if (!g->loaded) LoadNodes(State().NTv2Gitterdatenbank, *g);
  const NTv2SubKopfDaten& h = g->header;

  const double X = (r.lonSecW - h.E_LONG) / h.LONG_INC;
  const double Y = (r.latSec - h.S_LAT) / h.LAT_INC;
  const qint64 col = static_cast<qint64>(Int(X));
  const qint64 row = static_cast<qint64>(Int(Y));
  const double dx = X - Int(X);
  const double dy = Y - Int(Y);

  qint64 p1 = row * g->ncols + col;
  qint64 p2 = p1 + 1;
  qint64 p3 = p1 + g->ncols;
  qint64 p4 = p1 + g->ncols + 1;
  if (col >= g->ncols - 1) {
    p2 = p1;
    p4 = p3;
  }
  if (row >= g->nrows - 1) {
    p3 = p1;
    p4 = p2;
  }

  const qint64 positions[4] = {p1, p2, p3, p4};
  double lat[4];
  double lonW[4];
  for (int i = 0; i < 4; ++i) {
    const qint64 p = positions[i];
    if (p < 0 || p >= qint64(g->present.size()) || !g->present[size_t(p)]) return r;
    lat[i] = g->lat[size_t(p)];
    lonW[i] = g->lonW[size_t(p)];
  }
  auto blend = [&](const double s[4]) {
    return (1 - dx) * (1 - dy) * s[0] + dx * (1 - dy) * s[1] + (1 - dx) * dy * s[2] +
           dx * dy * s[3];
  };
  r.dLat = blend(lat);
  r.dLonW = blend(lonW);
  r.ok = true;
  return r;
}

}  // namespace

Ntv2Result NTv2Transformieren(double latitude, double longitude, const Database& /*database*/,
                              const QString& /*pointName*/) {
  const GridShift s = InterpolateShift(latitude, longitude);
  if (!s.ok) return {};
  return {true, (s.lonSecW + s.dLonW) / 3600 * -1, (s.latSec + s.dLat) / 3600};
}

Ntv2Result NTv2ShiftInterpolieren(double latitude, double longitude, const Database& /*database*/,
                                  const QString& /*pointName*/) {
  const GridShift s = InterpolateShift(latitude, longitude);
  if (!s.ok) return {};
  return {true, -s.dLonW, s.dLat};
}

}  // namespace orv
