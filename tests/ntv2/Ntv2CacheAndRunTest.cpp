// The NTv2 grid cache and the run's per-point work: BETA2007 against PROJ,
// both directions, a grid across Greenwich, the cache path and rebuild rules,
// and grid files that are corrupt or cut short.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>
#include <cmath>

#include "foundation/OrvenilError.h"
#include "geodesy/Ntv2GridCache.h"
#include "platform/db/DBEngine.h"
#include "platform/db/DatabaseHelpers.h"
#include "runs/Ntv2CacheDatabase.h"
#include "runs/Ntv2Run.h"
#include "tests/ntv2/Ntv2GridFiles.h"

namespace orv {
namespace {

using test::GsaSubGrid;
using test::GsaText;
using test::WriteBytes;

double Constant(double v) { return v; }

class Ntv2Cache : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  void TearDown() override { CloseAllDatabases(true); }
  QString path(const QString& name) const { return dir.filePath(name); }
  Ntv2GridCache open(const QString& grid) {
    Ntv2OpenCache c = OpenNtv2GridCache(grid, dir.path() + "/", Database());
    last = c;
    return c.grid;
  }
  QTemporaryDir dir;
  Ntv2OpenCache last;
};

TEST_F(Ntv2Cache, Beta2007AgreesWithProjBothWays) {
  const QString grid = path("BETA2007.gsa");
  ASSERT_TRUE(QFile::copy(QStringLiteral(ORV_SOURCE_DIR "/data/Orvenil-Datenbanken/BETA2007.gsa"), grid));
  const Ntv2GridCache cache = open(grid);
  EXPECT_EQ(last.overview.header.SYSTEM_T, QStringLiteral("ETRS89"));

  QFile ref(QStringLiteral(ORV_TEST_DATA_DIR "/ntv2/beta2007_cct.txt"));
  ASSERT_TRUE(ref.open(QIODevice::ReadOnly | QIODevice::Text));
  QTextStream in(&ref);
  int points = 0;
  // Differences in metres on the ground.
  const auto metres = [](double lat, double dLat, double dLon) {
    return std::hypot(dLat * 111320.0, dLon * 111320.0 * std::cos(lat * M_PI / 180));
  };
  while (!in.atEnd()) {
    const QString line = in.readLine();
    if (line.startsWith('#')) continue;
    const QStringList v = line.split(' ', Qt::SkipEmptyParts);
    ASSERT_EQ(v.size(), 6);
    const double lon = v[0].toDouble(), lat = v[1].toDouble();
    const Ntv2TargetPoint f = Ntv2ShiftPoint(cache, lat, lon, true, lat * 3600, lon * 3600);
    ASSERT_TRUE(f.inside) << line.toStdString();
    EXPECT_LT(metres(lat, f.latitude - v[3].toDouble(), f.longitude - v[2].toDouble()), 1e-4)
        << line.toStdString();
    const Ntv2TargetPoint back = Ntv2ShiftPoint(cache, f.latitude, f.longitude, false, 0, 0);
    ASSERT_TRUE(back.inside);
    EXPECT_LT(metres(lat, back.latitude - lat, back.longitude - lon), 1e-4) << line.toStdString();
    const Ntv2TargetPoint inv = Ntv2ShiftPoint(cache, lat, lon, false, 0, 0);
    EXPECT_LT(metres(lat, inv.latitude - v[5].toDouble(), inv.longitude - v[4].toDouble()), 1e-4)
        << line.toStdString();
    ++points;
  }
  EXPECT_EQ(points, 300);
  // Outside Germany nothing is written.
  EXPECT_FALSE(Ntv2ShiftPoint(cache, 45.0, 10.0, true, 45.0 * 3600, 10.0 * 3600).inside);
}

TEST_F(Ntv2Cache, GridAcrossGreenwichShiftsPointsOnBothSides) {
  // 51° … 52° N, 1° E … 1° W; latitude shift 2", longitude shift −3" west (3" east).
  const QString grid = path("greenwich.gsa");
  WriteBytes(grid, GsaText({183600, 187200, -3600, 3600, 900, 900, [](double, double) { return Constant(2); },
                            [](double, double) { return Constant(-3); }})
                       .toLatin1());
  const Ntv2GridCache cache = open(grid);
  for (double lon : {0.5, -0.5, 0.0}) {
    const Ntv2TargetPoint p = Ntv2ShiftPoint(cache, 51.5, lon, true, 51.5 * 3600, lon * 3600);
    ASSERT_TRUE(p.inside) << lon;
    EXPECT_NEAR(p.latitude, 51.5 + 2.0 / 3600, 1e-9);
    EXPECT_NEAR(p.longitude, lon + 3.0 / 3600, 1e-9);
  }
  EXPECT_FALSE(Ntv2ShiftPoint(cache, 51.5, 1.0, true, 51.5 * 3600, 3600).inside);  // on the border
}

TEST_F(Ntv2Cache, CachePathIsNeverTheGridFile) {
  EXPECT_EQ(Ntv2CachePath("/d/BETA.gsa"), "/d/BETA.mdb");
  EXPECT_EQ(Ntv2CachePath("/d/BETA.GSA"), "/d/BETA.mdb");
  EXPECT_EQ(Ntv2CachePath("/d/a.gsa.b.Gsa"), "/d/a.gsa.b.mdb");
  EXPECT_EQ(Ntv2CachePath("/d/grid.dat"), "/d/grid.dat.mdb");
}

TEST_F(Ntv2Cache, RebuiltWhenGridIsNewerOrCacheInvalidAndReusedOtherwise) {
  const QString grid = path("g.GSA");
  const auto write = [&](double shift) {
    WriteBytes(grid, GsaText({183600, 187200, -3600, 3600, 900, 900, [=](double, double) { return shift; },
                              [](double, double) { return 0.0; }})
                         .toLatin1());
  };
  write(1);
  const QString cachePath = path("g.mdb");
  WriteBytes(cachePath, "not a database");  // another layout: replaced
  EXPECT_NEAR(Ntv2ShiftPoint(open(grid), 51.5, 0.5, true, 51.5 * 3600, 1800).latitude, 51.5 + 1 / 3600.0,
              1e-9);
  EXPECT_FALSE(last.buildPath.isEmpty());
  open(grid);
  EXPECT_TRUE(last.buildPath.isEmpty());  // reused
  CloseAllDatabases(true);

  write(2);
  QFile cache(cachePath);
  ASSERT_TRUE(cache.open(QIODevice::ReadWrite));
  cache.setFileTime(QFileInfo(grid).lastModified().addSecs(-60), QFileDevice::FileModificationTime);
  cache.close();
  EXPECT_NEAR(Ntv2ShiftPoint(open(grid), 51.5, 0.5, true, 51.5 * 3600, 1800).latitude, 51.5 + 2 / 3600.0,
              1e-9);
  EXPECT_TRUE(QFileInfo(grid).isFile());
}

TEST_F(Ntv2Cache, GridReplacedByAnOlderFileRebuildsTheCache) {
  const QString grid = path("old.gsa");
  const auto write = [&](double shift) {
    WriteBytes(grid, GsaText({183600, 187200, -3600, 3600, 900, 900, [=](double, double) { return shift; },
                              [](double, double) { return 0.0; }})
                         .toLatin1());
  };
  write(1);
  open(grid);
  CloseAllDatabases(true);
  // The same size, a date a day before the cache's (unzipped with its date kept).
  write(2);
  QFile file(grid);
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  file.setFileTime(QFileInfo(path("old.mdb")).lastModified().addDays(-1), QFileDevice::FileModificationTime);
  file.close();
  EXPECT_NEAR(Ntv2ShiftPoint(open(grid), 51.5, 0.5, true, 51.5 * 3600, 1800).latitude, 51.5 + 2 / 3600.0,
              1e-9);
}

// A cache whose layout and grid identity read well but whose shift pages are
// damaged is built again from the grid file, as one that is no database.
TEST_F(Ntv2Cache, CacheWithDamagedPagesIsBuiltAgain) {
  const QString grid = path("damaged.gsa");
  WriteBytes(grid, GsaText({183600, 187200, -3600, 3600, 60, 60, [](double, double) { return 1.0; },
                            [](double, double) { return 0.0; }})
                       .toLatin1());
  open(grid);
  qint64 root = 0, pageSize = 0;
  {
    Recordset rs = last.database.openSql("SELECT rootpage, (SELECT page_size FROM pragma_page_size) "
                                         "FROM sqlite_master WHERE name = '1'");
    root = rs.value(0).toLong();
    pageSize = rs.value(1).toLong();
  }
  // Every connection to the cache ends, as at the end of the program.
  last = Ntv2OpenCache();
  CloseAllDatabases(true);
  ASSERT_GT(root, 1);
  QFile cache(path("damaged.mdb"));
  ASSERT_TRUE(cache.open(QIODevice::ReadWrite) && cache.seek((root - 1) * pageSize));
  cache.write(QByteArray(pageSize, '\xA5'));
  cache.close();
  EXPECT_NEAR(Ntv2ShiftPoint(open(grid), 51.5, 0.5, true, 51.5 * 3600, 1800).latitude, 51.5 + 1 / 3600.0, 1e-9);
  EXPECT_FALSE(last.buildPath.isEmpty());
}

TEST_F(Ntv2Cache, CorruptOrShortGridNamesTheLineAndLeavesNoCache) {
  const QString good = GsaText({183600, 187200, -3600, 3600, 1800, 3600, [](double, double) { return 1.0; },
                                [](double, double) { return 1.0; }});
  // Header lines are 22, the nine shift records 23 … 31, END 32.
  struct Case {
    QString text;
    QString line;
  };
  QString badShift = good;
  badShift.replace(good.indexOf(" 1.000000  1.000000", good.indexOf("GS_COUNT")) + 1, 8, "x.000000");
  QString badHeader = good;
  badHeader.replace("LAT_INC            1800", "LAT_INC            abcd");
  const int end = good.indexOf("END");
  const QString missing = good.left(good.lastIndexOf("\r\n", end - 3) + 2) + good.mid(end);
  const QString noEnd = good.left(end);
  for (const Case& c : {Case{badShift, "Zeile 23"}, Case{badHeader, "Zeile 20"}, Case{missing, "Zeile 31"},
                        Case{noEnd, "Zeile 32"}, Case{good + "\r\n  \r\nmore\r\n", "Zeile 35"}}) {
    const QString grid = path("bad.gsa");
    WriteBytes(grid, c.text.toLatin1());
    try {
      open(grid);
      ADD_FAILURE() << "no error for " << c.line.toStdString();
    } catch (const OrvenilError& e) {
      EXPECT_TRUE(e.description().contains(c.line)) << e.description().toStdString();
    }
    EXPECT_FALSE(QFile::exists(path("bad.mdb")));
    EXPECT_TRUE(QDir(dir.path()).entryList({"tmp_dao_orvenil_ntv2_*"}).isEmpty());
  }
  // A blank line after END is no fault.
  WriteBytes(path("bad.gsa"), (good + "\r\n").toLatin1());
  EXPECT_TRUE(Ntv2ShiftPoint(open(path("bad.gsa")), 51.5, 0.5, true, 51.5 * 3600, 1800).inside);
}

// A shift beyond a degree, or none the cache's 32-bit numbers can hold, is no
// datum shift: the grid is refused naming its file and line, and a cache
// that holds one already is built again from its grid.
TEST_F(Ntv2Cache, ImpossibleShiftIsRefusedNamingTheFileAndLine) {
  const auto lastNode = [](double v) {
    return [v](double lat, double lonW) { return lat == 187200 && lonW == 3600 ? v : 1.0; };
  };
  for (const auto& [dLat, dLonW] : {std::pair{1e308, 1.0}, {1.0, -1e39}, {3600.5, 1.0}, {1.0, -3601.0}}) {
    WriteBytes(
        path("bad.gsa"),
        GsaText({183600, 187200, -3600, 3600, 1800, 3600, lastNode(dLat), lastNode(dLonW)}).toLatin1());
    try {
      open(path("bad.gsa"));
      ADD_FAILURE() << "shifts " << dLat << " " << dLonW << " were taken";
    } catch (const OrvenilError& e) {
      EXPECT_TRUE(e.description().contains("bad.gsa, Zeile 31")) << e.description().toStdString();
    }
    EXPECT_FALSE(QFile::exists(path("bad.mdb")));
  }
  const QString grid = path("good.gsa");
  WriteBytes(grid, GsaText({183600, 187200, -3600, 3600, 1800, 3600, lastNode(1), lastNode(1)}).toLatin1());
  open(grid);
  CloseAllDatabases(true);
  DBEngine::openDatabase(path("good.mdb")).execute("UPDATE [1] SET Zeile1 = 1e308 WHERE id = 5");
  CloseAllDatabases(true);
  EXPECT_NEAR(Ntv2ShiftPoint(open(grid), 51.5, 0, true, 51.5 * 3600, 0).latitude, 51.5 + 1 / 3600.0, 1e-9);
}

TEST_F(Ntv2Cache, GridInMinutesIsRefusedNamingTheFile) {
  QString text = GsaText({183600, 187200, -3600, 3600, 900, 900, [](double, double) { return 1.0; },
                          [](double, double) { return 0.0; }});
  text.replace("GS_TYPE SECONDS", "GS_TYPE MINUTES");
  WriteBytes(path("minutes.gsa"), text.toLatin1());
  try {
    open(path("minutes.gsa"));
    ADD_FAILURE() << "a grid in minutes was read";
  } catch (const OrvenilError& e) {
    EXPECT_TRUE(e.description().contains("minutes.gsa") && e.description().contains("MINUTES"))
        << e.description().toStdString();
  }
  EXPECT_FALSE(QFile::exists(path("minutes.mdb")));
}

TEST_F(Ntv2Cache, NumFileIsCheckedBeforeAnyTableIsMade) {
  QString text = GsaText({183600, 187200, -3600, 3600, 900, 900, [](double, double) { return 1.0; },
                          [](double, double) { return 0.0; }});
  text.replace("NUM_FILE  1", "NUM_FILE  20000");
  WriteBytes(path("typo.gsa"), text.toLatin1());
  QElapsedTimer clock;
  clock.start();
  try {
    open(path("typo.gsa"));
    ADD_FAILURE() << "NUM_FILE 20000 with one sub-grid was read";
  } catch (const OrvenilError& e) {
    EXPECT_TRUE(e.description().contains("NUM_FILE")) << e.description().toStdString();
  }
  EXPECT_LT(clock.elapsed(), 2000);
  EXPECT_FALSE(QFile::exists(path("typo.mdb")));
}

TEST_F(Ntv2Cache, GsCountThatDoesNotFitTheExtentIsRefused) {
  // 5 rows of 9 nodes, GS_COUNT 45 and 45 shift records, but N_LAT one row further north.
  QString text = GsaText({183600, 187200, -3600, 3600, 900, 900, [](double, double) { return 1.0; },
                          [](double, double) { return 0.0; }});
  text.replace("187200.000000", "188100.000000");
  WriteBytes(path("count.gsa"), text.toLatin1());
  try {
    open(path("count.gsa"));
    ADD_FAILURE() << "a GS_COUNT that does not fit the extent was accepted";
  } catch (const OrvenilError& e) {
    EXPECT_TRUE(e.description().contains("count.gsa") && e.description().contains("TEST") &&
                e.description().contains("GS_COUNT"))
        << e.description().toStdString();
  }
  EXPECT_FALSE(QFile::exists(path("count.mdb")));
}

TEST_F(Ntv2Cache, MoveAcrossFileSystemsCopiesAndDeletes) {
  QTemporaryDir shm(QStringLiteral("/dev/shm/orvenil-test-XXXXXX"));
  if (!shm.isValid()) GTEST_SKIP() << "no /dev/shm";
  const QString source = shm.filePath("build.mdb"), target = path("cache.mdb");
  WriteBytes(source, "cache");
  WriteBytes(target, "old");
  ASSERT_TRUE(MoveFileAcrossFileSystems(source, target));
  EXPECT_FALSE(QFile::exists(source));
  QFile f(target);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), QByteArray("cache"));
}

}  // namespace
}  // namespace orv
