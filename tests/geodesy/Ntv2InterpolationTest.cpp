// NTv2 interpolation on synthetic grid caches built in the test: exact
// interpolation of a linear shift field, edges, the choice among parents and
// children, points outside, missing nodes and unreadable caches.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cmath>
#include <functional>

#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "geodesy/Ntv2Interpolation.h"
#include "platform/db/DBEngine.h"
#include "platform/db/FieldType.h"

namespace orv {
namespace {

// Shift of a node at (latitude, longitude west) in arc-seconds.
using ShiftField = std::function<double(double latSec, double lonSecW)>;

struct SubGridSpec {
  QString name;
  QString parent;
  double sLat, nLat, eLong, wLong, latInc, longInc;  // arc-seconds, longitudes west positive
  ShiftField dLat;
  ShiftField dLonW;
};

QString HeaderRecord(const char* key, const QString& value) {
  return QString::fromLatin1(key).leftJustified(8) + QLatin1Char(' ') + value + QLatin1Char(';');
}

// Writes one sub-grid table in the cache layout of the NTv2 run.
void AddSubGrid(Database& db, int tableNumber, const SubGridSpec& g, bool lastTable) {
  const QString name = QString::number(tableNumber);
  TableDef def = db.createTableDef(name);
  def.appendField(TableDef::createField(QStringLiteral("Kopfdaten"), dbText));
  def.appendField(TableDef::createField(QStringLiteral("Zeile1"), dbSingle));
  def.appendField(TableDef::createField(QStringLiteral("Zeile2"), dbSingle));
  def.appendField(TableDef::createField(QStringLiteral("id"), dbLong));
  def.appendIndex(TableDef::createIndex(QStringLiteral("id"), QStringLiteral("id"), false, false));
  db.appendTableDef(def);

  const int ncols = int(std::lround((g.wLong - g.eLong) / g.longInc)) + 1;
  const int nrows = int(std::lround((g.nLat - g.sLat) / g.latInc)) + 1;
  const QString header = HeaderRecord("SUB_NAME", g.name) + HeaderRecord("PARENT", g.parent) +
                         HeaderRecord("CREATED", QStringLiteral("01-06-21")) +
                         HeaderRecord("UPDATED", QStringLiteral("02-06-21")) +
                         HeaderRecord("S_LAT", FormatNumber(g.sLat, QStringLiteral("0.000000"))) +
                         HeaderRecord("N_LAT", FormatNumber(g.nLat, QStringLiteral("0.000000"))) +
                         HeaderRecord("E_LONG", FormatNumber(g.eLong, QStringLiteral("0.000000"))) +
                         HeaderRecord("W_LONG", FormatNumber(g.wLong, QStringLiteral("0.000000"))) +
                         HeaderRecord("LAT_INC", FormatNumber(g.latInc, QStringLiteral("0.000000"))) +
                         HeaderRecord("LONG_INC", FormatNumber(g.longInc, QStringLiteral("0.000000"))) +
                         HeaderRecord("GS_COUNT", QString::number(ncols * nrows));

  Recordset rs = db.openTable(name);
  int id = 0;
  for (int r = 0; r < nrows; ++r) {
    for (int c = 0; c < ncols; ++c) {
      const double lat = g.sLat + r * g.latInc;
      const double lonW = g.eLong + c * g.longInc;
      rs.addNew();
      rs.setValue(QStringLiteral("Kopfdaten"), id == 0 ? header : QString());
      rs.setValue(QStringLiteral("Zeile1"), g.dLat(lat, lonW));
      rs.setValue(QStringLiteral("Zeile2"), g.dLonW(lat, lonW));
      rs.setValue(QStringLiteral("id"), ++id);
      rs.update();
    }
  }
  if (lastTable) {
    rs.addNew();
    rs.setValue(QStringLiteral("Kopfdaten"), QStringLiteral("END     "));
    rs.setValue(QStringLiteral("Zeile1"), 0.0);
    rs.setValue(QStringLiteral("Zeile2"), 0.0);
    rs.setValue(QStringLiteral("id"), ++id);
    rs.update();
  }
  rs.close();
}

// Linear fields whose node values are exact in single precision, so that the
// bilinear interpolation must reproduce them exactly between the nodes.
double LinearLat(double lat, double lonW) { return 0.5 + (lat - 169200) / 4096 + (lonW + 36000) / 8192; }
double LinearLonW(double lat, double lonW) { return -1.25 - (lat - 169200) / 8192 + (lonW + 36000) / 2048; }
double ConstantLat(double, double) { return 3.0; }
double ConstantLonW(double, double) { return -4.0; }

// 47° … 47.5° N, 9° … 10° E, nodes every 10' × 15'.
SubGridSpec Parent(const QString& name = QStringLiteral("PARENT1")) {
  return {name, QStringLiteral("NONE"), 169200, 171000, -36000, -32400, 600, 900, LinearLat, LinearLonW};
}

class Ntv2Interpolation : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  void TearDown() override {
    if (db.isSet()) db.close();
  }
  // Writes the cache database and reads it into the cache object.
  void Build(const std::vector<SubGridSpec>& grids, const QString& file = QStringLiteral("grid.mdb")) {
    if (db.isSet()) db.close();
    db = DBEngine::createDatabase(dir.filePath(file));
    for (size_t i = 0; i < grids.size(); ++i) AddSubGrid(db, int(i) + 1, grids[i], i + 1 == grids.size());
    cache = Ntv2GridCache(db, int(grids.size()));
  }
  Ntv2Result Shift(double latDeg, double lonDeg) { return NTv2ShiftInterpolieren(latDeg, lonDeg, cache); }
  Ntv2Result Shifted(double latDeg, double lonDeg) { return NTv2Transformieren(latDeg, lonDeg, cache); }
  const Ntv2SubGridHeader& Used(const Ntv2Result& r) { return cache.header(r.subGrid); }

  QTemporaryDir dir;
  Database db;
  Ntv2GridCache cache;
};

TEST_F(Ntv2Interpolation, LinearFieldIsInterpolatedExactlyAndBothRoutinesAgree) {
  Build({Parent()});
  for (double lat : {47.0, 47.01, 47.123456, 47.25, 47.4999}) {
    for (double lon : {9.0001, 9.2, 9.3333, 9.75, 9.999}) {
      SCOPED_TRACE(std::to_string(lat) + " " + std::to_string(lon));
      const double latSec = RoundHalfEven(lat * 3600, 8);
      const double lonSecW = RoundHalfEven(-lon * 3600, 8);
      const Ntv2Result s = Shift(lat, lon);
      ASSERT_TRUE(s.ok);
      EXPECT_NEAR(s.latitude, LinearLat(latSec, lonSecW), 1e-12);
      EXPECT_NEAR(s.longitude, -LinearLonW(latSec, lonSecW), 1e-12);
      const Ntv2Result p = Shifted(lat, lon);
      ASSERT_TRUE(p.ok);
      EXPECT_NEAR(p.latitude, lat + s.latitude / 3600, 1e-12);
      EXPECT_NEAR(p.longitude, lon + s.longitude / 3600, 1e-12);
    }
  }
  const Ntv2SubGridHeader& h = Used(Shift(47.2, 9.5));
  EXPECT_EQ(h.S_LAT, 169200);
  EXPECT_EQ(h.N_LAT, 171000);
  EXPECT_EQ(h.E_LONG, -36000);
  EXPECT_EQ(h.W_LONG, -32400);
  EXPECT_EQ(h.LAT_INC, 600);
  EXPECT_EQ(h.LONG_INC, 900);
  EXPECT_EQ(h.GS_COUNT, 4 * 5);
  EXPECT_EQ(h.CREATED, QStringLiteral("01-06-21"));
  EXPECT_EQ(h.UPDATED, QStringLiteral("02-06-21"));
}

TEST_F(Ntv2Interpolation, NodesAndBordersUseNoNodeBeyondTheGrid) {
  Build({Parent()});
  // A node: exactly its values.
  Ntv2Result s = Shift(47 + 600.0 / 3600, 9.75);
  ASSERT_TRUE(s.ok);
  EXPECT_EQ(s.latitude, LinearLat(169800, -35100));
  // Western border (9° E), northern border (47.5° N) and their corner.
  for (auto [lat, lon] : {std::pair{47.2, 9.0}, std::pair{47.5, 9.6}, std::pair{47.5, 9.0}}) {
    s = Shift(lat, lon);
    ASSERT_TRUE(s.ok) << lat << " " << lon;
    const double latSec = RoundHalfEven(lat * 3600, 8), lonSecW = RoundHalfEven(-lon * 3600, 8);
    EXPECT_NEAR(s.latitude, LinearLat(latSec, lonSecW), 1e-12);
    EXPECT_NEAR(s.longitude, -LinearLonW(latSec, lonSecW), 1e-12);
  }
  // Southern and eastern borders are inside too.
  EXPECT_TRUE(Shift(47.0, 9.5).ok);
  EXPECT_TRUE(Shift(47.3, 10.0).ok);
}

TEST_F(Ntv2Interpolation, PointOutsideEveryGridIsAFailureNotAZeroShift) {
  Build({Parent()});
  for (auto [lat, lon] : {std::pair{46.9, 9.5}, std::pair{47.6, 9.5}, std::pair{47.2, 8.9},
                          std::pair{47.2, 10.1}, std::pair{-47.2, -9.5}}) {
    const Ntv2Result s = Shift(lat, lon);
    EXPECT_FALSE(s.ok) << lat << " " << lon;
    EXPECT_EQ(s.latitude, 0.0);
    EXPECT_EQ(s.longitude, 0.0);
    EXPECT_FALSE(Shifted(lat, lon).ok);
    // The run's own extent test still finds the point outside the grid named.
    EXPECT_EQ(Used(s).S_LAT, 169200);
  }
}

TEST_F(Ntv2Interpolation, ParentWithOneChildUsesTheChildInsideIt) {
  // Child: 47.1° … 47.3° N, 9.25° … 9.5° E, constant shifts.
  SubGridSpec child{QStringLiteral("CHILD1"),
                    QStringLiteral("PARENT1"),
                    169560,
                    170280,
                    -34200,
                    -33300,
                    120,
                    180,
                    ConstantLat,
                    ConstantLonW};
  Build({Parent(), child});
  Ntv2Result s = Shift(47.2, 9.4);
  ASSERT_TRUE(s.ok);
  EXPECT_EQ(s.latitude, 3.0);
  EXPECT_EQ(s.longitude, 4.0);
  EXPECT_EQ(Used(s).S_LAT, 169560);
  EXPECT_EQ(Used(s).LAT_INC, 120);

  s = Shift(47.4, 9.8);
  ASSERT_TRUE(s.ok);
  EXPECT_NEAR(s.latitude, LinearLat(47.4 * 3600, -9.8 * 3600), 1e-9);
  EXPECT_EQ(Used(s).S_LAT, 169200);
}

TEST_F(Ntv2Interpolation, FinestGridWinsWhateverTheTableOrder) {
  // Table order: child of A, top-level A, top-level B last, grandchild of A,
  // second child of A overlapping the first.
  SubGridSpec childA{QStringLiteral("A1"), QStringLiteral("A"), 169560, 170280, -34200, -33300, 120, 180,
                     ConstantLat,          ConstantLonW};
  SubGridSpec topB{QStringLiteral("B"),
                   QStringLiteral("NONE"),
                   171000,
                   172800,
                   -36000,
                   -32400,
                   600,
                   900,
                   [](double, double) { return 7.0; },
                   [](double, double) { return 8.0; }};
  SubGridSpec grandchild{QStringLiteral("A1X"),
                         QStringLiteral("A1"),
                         169740,
                         169920,
                         -34020,
                         -33840,
                         60,
                         60,
                         [](double, double) { return 5.0; },
                         [](double, double) { return 6.0; }};
  SubGridSpec childA2{QStringLiteral("A2"),
                      QStringLiteral("A"),
                      169560,
                      170280,
                      -34200,
                      -33300,
                      120,
                      180,
                      [](double, double) { return 9.0; },
                      [](double, double) { return 9.0; }};
  Build({childA, Parent(QStringLiteral("A")), topB, grandchild, childA2});

  Ntv2Result s = Shift(172000.0 / 3600, 9.5);  // only in B
  ASSERT_TRUE(s.ok);
  EXPECT_EQ(s.latitude, 7.0);
  s = Shift(169800.0 / 3600, 33900.0 / 3600);  // in A, A1, A2 and A1X
  ASSERT_TRUE(s.ok);
  EXPECT_EQ(s.latitude, 5.0);
  s = Shift(170200.0 / 3600, 33900.0 / 3600);  // in A, A1 and A2: the first child
  ASSERT_TRUE(s.ok);
  EXPECT_EQ(s.latitude, 3.0);
  s = Shift(47.05, 9.05);  // in A only
  ASSERT_TRUE(s.ok);
  EXPECT_NEAR(s.latitude, LinearLat(47.05 * 3600, -9.05 * 3600), 1e-9);
}

// A missing node would leave the points around it without a shift: the
// table is refused as it is read.
TEST_F(Ntv2Interpolation, MissingNodeIsAFailure) {
  Build({Parent()});
  db.execute(QStringLiteral("DELETE FROM \"1\" WHERE id = 8"));  // row 1, column 2
  EXPECT_THROW(Ntv2GridCache(db, 1), OrvenilError);
}

TEST_F(Ntv2Interpolation, CacheOutlivesItsDatabaseAndAnEmptyCacheHoldsNoPoint) {
  Build({Parent()});
  db.close();
  EXPECT_TRUE(Shift(47.2, 9.5).ok);
  const Ntv2Result none = NTv2ShiftInterpolieren(47.2, 9.5, Ntv2GridCache());
  EXPECT_FALSE(none.ok);
  EXPECT_EQ(none.subGrid, -1);
}

TEST_F(Ntv2Interpolation, UnreadableCacheThrows) {
  Build({Parent()});
  EXPECT_THROW(Ntv2GridCache(db, 2), OrvenilError);  // table "2" does not exist
  db.execute(QStringLiteral("UPDATE \"1\" SET Kopfdaten = 'SUB_NAME X;LAT_INC 0;' WHERE id = 1"));
  EXPECT_THROW(Ntv2GridCache(db, 1), OrvenilError);
  Database closed;
  EXPECT_THROW(Ntv2GridCache(closed, 1), OrvenilError);
}

}  // namespace
}  // namespace orv
