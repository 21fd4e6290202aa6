// The NTv2 building tools: point grid counts and refusals, a grid built from
// a seven-parameter set read back through the cache, the writer's refusals,
// the extent rings and the target file rules.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cmath>

#include "foundation/FileText.h"
#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "geodesy/GeocentricConversion.h"
#include "geodesy/GeodesyConstants.h"
#include "geodesy/Ntv2Interpolation.h"
#include "geodesy/SimilarityTransformations.h"
#include "platform/db/DatabaseHelpers.h"
#include "runs/Ntv2CacheDatabase.h"
#include "runs/Ntv2Extents.h"
#include "runs/Ntv2GsaWriter.h"
#include "runs/Ntv2PointGrid.h"
#include "runs/Ntv2TargetImport.h"
#include "tests/ntv2/Ntv2GridFiles.h"

namespace orv {
namespace {

// South-east 50°00' N 10°30' E, north-west 50°10' N 10°00' E.
const QString kCorners =
    QStringLiteral("SE 0 50°00'00\" 10°30'00\"\r\nNW  0  50°10'00.000\"   10°00'00\"\r\n");

class Ntv2Tools : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  void TearDown() override { CloseAllDatabases(true); }
  QString path(const QString& name) const { return dir.filePath(name); }
  QTemporaryDir dir;
};

TEST_F(Ntv2Tools, PointGridCountsNodesAndRefusesBadInput) {
  EXPECT_EQ(Ntv2StepCount(29.99999999999951 * 60, 60), 30);
  EXPECT_EQ(Ntv2StepCount(29.5 * 60, 60), 29);
  const Ntv2PointGrid g = MakeNtv2PointGrid(kCorners, 60, 90);
  EXPECT_EQ(g.nLat, 10);
  EXPECT_EQ(g.nLon, 20);
  WriteNtv2PointGridFile(path("grid.bl"), g);
  const QStringList lines = ReadFileText(path("grid.bl")).split("\r\n", Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 233);
  EXPECT_EQ(lines[0], "SE\t0\t50°00'00\"\t10°30'00\"");
  EXPECT_EQ(lines[1], "NW\t0\t50°10'00.00000\"\t10°00'00.00000\"");
  EXPECT_EQ(lines[2], "1\t0\t50°00'00.00000\"\t10°30'00.00000\"");
  EXPECT_EQ(lines[3], "2\t0\t50°00'00.00000\"\t10°28'30.00000\"");
  EXPECT_EQ(Ntv2PointGridFileName(7.5, 90, "20250101"), "NTv2_7.5x90_20250101.bl");

  for (const auto& [text, dLat] :
       {std::pair{kCorners, 0.0}, std::pair{QString("SE 0 50°00'00\"\r\n"), 60.0},
        std::pair{QString("NW 0 50°10'00\" 10°00'00\"\r\nSE 0 50°00'00\" 10°30'00\"\r\n"), 60.0}})
    EXPECT_THROW(MakeNtv2PointGrid(text, dLat, 90), OrvenilError);
}

TEST_F(Ntv2Tools, PointGridReadsCornerFieldsAtTabsAndAnglesAsTheProgramDoes) {
  const auto same = [](const Ntv2PointGrid& a, const Ntv2PointGrid& b, const char* what) {
    SCOPED_TRACE(what);
    EXPECT_EQ(a.latSec, b.latSec);
    EXPECT_EQ(a.lonSec, b.lonSec);
    EXPECT_EQ(a.nLat, b.nLat);
    EXPECT_EQ(a.nLon, b.nLon);
  };
  const Ntv2PointGrid plain = MakeNtv2PointGrid(kCorners, 60, 90);
  same(MakeNtv2PointGrid("SE\t\t50°00'00\"\t10°30'00\"\r\nNW\t\t50°10'00\"\t10°00'00\"\r\n", 60, 90), plain,
       "empty code");
  const Ntv2PointGrid named =
      MakeNtv2PointGrid("Ecke SO\t0\t50°00'00\"\t10°30'00\"\r\nEcke NW\t0\t50°10'00\"\t10°00'00\"\r\n", 60, 90);
  same(named, plain, "point number with a blank");
  EXPECT_EQ(named.seNumber, "Ecke SO");
  EXPECT_EQ(named.nwNumber, "Ecke NW");

  same(MakeNtv2PointGrid("SE\t0\t52°10'\t10°30'\r\nNW\t0\t52°20'\t10°00'\r\n", 60, 90),
       MakeNtv2PointGrid("SE 0 52°10'00\" 10°30'00\"\r\nNW 0 52°20'00\" 10°00'00\"\r\n", 60, 90), "no seconds");
  // West of Greenwich: negative longitudes.
  const Ntv2PointGrid west =
      MakeNtv2PointGrid("SE\t0\t50°00'00\"\t-1°00'00\"\r\nNW\t0\t50°10'00\"\t-2°00'00\"\r\n", 60, 90);
  EXPECT_NEAR(west.lonSec, -3600, 1e-9);
  EXPECT_EQ(west.nLon, 40);
  EXPECT_EQ(west.nLat, 10);
  // What no degree text is stays refused.
  EXPECT_THROW(MakeNtv2PointGrid("SE\t0\t50°00'00\"\tzehn\r\nNW\t0\t50°10'00\"\t10°00'00\"\r\n", 60, 90),
               OrvenilError);
}

TEST_F(Ntv2Tools, GridFromSevenParametersReadsBackAtTheNodes) {
  const Ntv2PointGrid g = MakeNtv2PointGrid(kCorners, 60, 90);
  // Bessel → GRS 1980 with a seven-parameter set.
  const double aB = 6377397.155, eB = std::sqrt(0.00667437223180), aG = 6378137,
               eG = std::sqrt(0.00669438002290);
  const auto target = [&](double latSec, double lonSec) {
    const GeocentricPoint p = EllToGeoZent(latSec / 3600 * kPi / 180, lonSec / 3600 * kPi / 180, 0, aB, eB);
    const GeocentricPoint q = SevenParTrans(p.X, p.Y, p.Z, 598.1, 73.7, 418.2, 6.7, -2.455 / 206264.8,
                                            0.045 / 206264.8, 0.202 / 206264.8);
    const GeographicPoint t = GeoZentToEll(q.X, q.Y, q.Z, aG, eG);
    return std::pair{t.B * 180 / kPi * 3600, t.L * 180 / kPi * 3600};
  };
  std::vector<Ntv2GsaRow> rows;
  const auto add = [&](const QString& name, double latSec, double lonSec) {
    const auto [tLat, tLon] = target(latSec, lonSec);
    rows.push_back({name, NumberText(latSec), NumberText(lonSec), NumberText(tLat), NumberText(tLon)});
  };
  add("SE", g.latSec, g.lonSec);
  add("NW", g.latSec + g.nLat * g.dLat, g.lonSec - g.nLon * g.dLon);
  for (int i = 0; i <= g.nLat; ++i)
    for (int j = 0; j <= g.nLon; ++j)
      add(QString::number(rows.size() - 1), g.latSec + i * g.dLat, g.lonSec - j * g.dLon);
  const QString gsa = path("NTv2.gsa");
  WriteNtv2GsaFile(gsa, rows, 60, 90, {"RD-83", aB, 6356078.963, aG, 6356752.314, "01-01-25"});

  Ntv2OpenCache open = OpenNtv2GridCache(gsa, dir.path() + "/", Database());
  EXPECT_EQ(open.overview.header.SYSTEM_F, "RD-83");
  const Ntv2GridCache& cache = open.grid;
  for (size_t r = 2; r < rows.size(); r += 7) {
    const double lat = Val(rows[r].lat) / 3600, lon = Val(rows[r].lon) / 3600;
    const Ntv2Result p = NTv2Transformieren(lat, lon, cache);
    ASSERT_TRUE(p.ok);
    EXPECT_NEAR(p.latitude * 3600, Val(rows[r].targetLat), 2e-6) << r;
    EXPECT_NEAR(p.longitude * 3600, Val(rows[r].targetLon), 2e-6) << r;
  }
}

TEST_F(Ntv2Tools, GsaWriterRefusesGridsThatDoNotFit) {
  const Ntv2GsaRow se{"SE", "180000", "36000", "180001", "35999"}, nw{"NW", "180060", "35910", "", ""};
  const Ntv2GsaRow node{"1", "180000", "36000", "180001", "35999"}, empty{"2", "180000", "35910", "", " "};
  const Ntv2GsaHeader h{"RD-83", 1, 1, 1, 1, "01-01-25"};
  const QString out = path("NTv2.gsa");
  EXPECT_THROW(WriteNtv2GsaFile(out, {se, nw}, 60, 90, h), OrvenilError);
  EXPECT_THROW(WriteNtv2GsaFile(out, {se, nw, node, node, node, node}, 0, 90, h), OrvenilError);
  EXPECT_THROW(WriteNtv2GsaFile(out, {se, nw, node, node, node}, 60, 90, h),
               OrvenilError);  // 4 nodes expected
  EXPECT_THROW(WriteNtv2GsaFile(out, {se, nw, node, empty, node, node}, 60, 90, h), OrvenilError);
  EXPECT_FALSE(QFile::exists(out));
  WriteNtv2GsaFile(out, {se, nw, node, node, node, node}, 60, 90, h);
  const QStringList lines = ReadFileText(out).split("\r\n");
  EXPECT_EQ(lines[19], "LAT_INC              60");
  EXPECT_EQ(lines[21], "GS_COUNT     4");
  EXPECT_EQ(lines[22], " 1.000000  1.000000  0.000000  0.000000");
}

TEST_F(Ntv2Tools, ExtentRingsOfKnownGridsAndZeroSpacingSkipped) {
  // RD-83: 10 latitude steps of 60", 20 longitude steps of 90" (header values
  // a hair off whole quotients); a second sub-grid with LAT_INC 0.
  QString text = test::GsaText({180000, 180600, -36000, -34200, 60, 90, [](double, double) { return 0.0; },
                                [](double, double) { return 0.0; }});
  text.replace("SUB_NAMETEST    ", "SUB_NAMERD-83   ");
  text.replace("N_LAT     180600.000000", "N_LAT     180599.9999999");
  text.replace("END     ",
               "SUB_NAMEZERO    \r\nPARENT  NONE\r\nCREATED x\r\nUPDATED x\r\nS_LAT 1\r\nN_LAT 2\r\n"
               "E_LONG 1\r\nW_LONG 2\r\nLAT_INC 0\r\nLONG_INC 1\r\nGS_COUNT 1\r\nEND     ");
  const QString grid = path("RD.gsa");
  test::WriteBytes(grid, text.toLatin1());
  EXPECT_EQ(WriteNtv2Extents(grid), QStringList{"ZERO"});
  const QStringList points = ReadFileText(Ntv2ExtentPointPath(grid)).split("\r\n", Qt::SkipEmptyParts);
  const QStringList lines = ReadFileText(Ntv2ExtentLinePath(grid)).split("\r\n", Qt::SkipEmptyParts);
  ASSERT_EQ(points.size(), 63);
  ASSERT_EQ(lines.size(), 60);
  EXPECT_EQ(points.first(), "RD-831 1 180599.9999999 34200");  // north-west corner
  EXPECT_EQ(points[11], "RD-8311 1 180000 34200");  // south-west corner, again as the south side starts
  EXPECT_EQ(points.last(), "RD-8360 1 180599.9999999 34290");
  EXPECT_EQ(lines.first(), "1 ( RD-831 RD-832 )");
  EXPECT_EQ(lines.last(), "1 ( RD-8360 RD-831 )");
  EXPECT_THROW(WriteNtv2Extents(path("missing.gsa")), OrvenilError);
  EXPECT_FALSE(QFile::exists(Ntv2ExtentPointPath(path("missing.gsa"))));
}

TEST_F(Ntv2Tools, TargetFilesAndPointNumbers) {
  test::WriteBytes(path("lf.bl"), "1 0 50.1 10.2\n2 0 50.2 10.3");  // LF, no end after the last line
  EXPECT_EQ(Ntv2TargetFileLines(path("lf.bl")), (QStringList{"1 0 50.1 10.2", "2 0 50.2 10.3"}));
  EXPECT_TRUE(SameNtv2PointNumber("0012", "  12"));
  EXPECT_TRUE(SameNtv2PointNumber("A1", "A1 "));
  EXPECT_FALSE(SameNtv2PointNumber("A1", "B7"));
  EXPECT_FALSE(SameNtv2PointNumber("12", "12a"));
  EXPECT_EQ(Ntv2PunktKey("P5"), QString(18, ' ') + "P5");
  const auto columns = Ntv2TargetGeographicColumns("50.1", "10.2");
  EXPECT_EQ(columns[2].second, "180360");
  EXPECT_THROW(Ntv2TargetGeographicColumns("", "10.2"), OrvenilError);
  EXPECT_THROW(Ntv2TargetGeographicColumns("90.5", "10.2"), OrvenilError);
  EXPECT_THROW(Ntv2TargetGeographicColumns("50.1", "-180.5"), OrvenilError);
  // A spreadsheet with German settings writes decimal commas: read whole,
  // never cut at the comma (a latitude 0,5 is no missing one).
  const auto german = Ntv2TargetGeographicColumns("50,1", "10,2");
  EXPECT_EQ(german[0].second, "50.1");
  EXPECT_EQ(german[2].second, "180360");
  EXPECT_FALSE(Ntv2TargetLatitudeMissing("0,5"));
}

}  // namespace
}  // namespace orv
