#include "support/TestGrids.h"

#include "gridtool/GeoidGridFile.h"
#include "gridtool/Undulation.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cmath>
#include <random>
#include <stdexcept>

using namespace orv;
using namespace orv::test;

namespace {

// 13 x 13 nodes over 50..52 N (10') and 8..11 E (15'), undulations of a few
// decimetres of noise on a smooth surface (0.1 mm units).
std::int32_t SyntheticNode(int row, int col)
{
    const std::uint32_t h = std::uint32_t(row * 7919 + col * 104729) * 2654435761u;
    return 450000 + std::int32_t(30000 * std::sin(row * 0.7) * std::cos(col * 0.4)) +
           std::int32_t(h % 40001) - 20000;
}

class UndulationTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    GridSpec spec{Degrees(50), Degrees(52), Degrees(8), Degrees(11), Minutes(10), Minutes(15)};

    std::string Path(const char* name) const { return dir.filePath(name).toStdString(); }

    GeoidGridFile Grid(const std::function<std::int32_t(int, int)>& node = SyntheticNode)
    {
        WriteGrid(Path("grid"), spec, node);
        return GeoidGridFile(Path("grid"));
    }

    static double Metres(int row, int col) { return SyntheticNode(row, col) * 0.0001; }

    double RowPos(double lat) const { return 1 + (spec.LatOfRow(1) - lat) / (spec.latStep / 3600e6); }
    double ColPos(double lon) const { return 1 + (lon - spec.LonOfCol(1)) / (spec.lonStep / 3600e6); }
    double LatAt(double rowPos) const { return spec.LatOfRow(1) - (rowPos - 1) * spec.latStep / 3600e6; }
    double LonAt(double colPos) const { return spec.LonOfCol(1) + (colPos - 1) * spec.lonStep / 3600e6; }

    double At(GeoidGridFile& grid, double rowPos, double colPos)
    {
        return InterpolateUndulation(grid, Rad(LatAt(rowPos)), Rad(LonAt(colPos)));
    }

    // Bilinear value in the cell whose north-west node is (w, c).
    static double BilinearIn(int w, int c, double rowPos, double colPos)
    {
        const double t = w + 1 - rowPos; // from the south
        const double u = colPos - c;
        return (1 - t) * (1 - u) * Metres(w + 1, c) + (1 - t) * u * Metres(w + 1, c + 1) +
               t * (1 - u) * Metres(w, c) + t * u * Metres(w, c + 1);
    }
};

} // namespace

TEST_F(UndulationTest, InnerCellsEqualCatmullRomAtRandomPoints)
{
    GeoidGridFile grid = Grid();
    std::mt19937 rng(42);
    // Inner cells have their northern row in 2..rows-2 (same for columns).
    std::uniform_real_distribution<double> rowPos(2.0, spec.rows() - 1.0);
    std::uniform_real_distribution<double> colPos(2.0, spec.cols() - 1.0);
    int compared = 0;
    while (compared < 400) {
        const double r = rowPos(rng);
        const double c = colPos(rng);
        const auto nearNode = [](double p) { return std::fabs(p - std::round(p)) < 0.003; };
        if (nearNode(r) && nearNode(c))
            continue;
        EXPECT_NEAR(At(grid, r, c), CatmullRom(r, c, Metres), 1e-6) << "at row " << r << " column " << c;
        ++compared;
    }
}

TEST_F(UndulationTest, NodesAndPointsWithinTheSnapToleranceGiveTheNodeValue)
{
    GeoidGridFile grid = Grid();
    for (int r = 1; r <= spec.rows(); ++r)
        for (int c = 1; c <= spec.cols(); ++c)
            EXPECT_NEAR(At(grid, r, c), Metres(r, c), 1e-9) << r << "/" << c;

    // Inner nodes snap exactly from any side within 0.002 spacings.
    for (int r = 3; r <= spec.rows() - 2; r += 3)
        for (int c = 3; c <= spec.cols() - 2; c += 4)
            for (double dr : {-0.0019, 0.0019})
                for (double dc : {-0.0019, 0.0019})
                    EXPECT_EQ(At(grid, r + dr, c + dc), Metres(r, c)) << r << "/" << c << " " << dr << " " << dc;

    // Just beyond the tolerance in one direction it is interpolated.
    const double r = 5 + 0.0021;
    const double c = 6 + 0.001;
    EXPECT_NE(At(grid, r, c), Metres(5, 6));
    EXPECT_NEAR(At(grid, r, c), CatmullRom(r, c, Metres), 1e-6);
}

TEST_F(UndulationTest, ValuesAreContinuousAcrossCellBorders)
{
    GeoidGridFile grid = Grid();
    const double e = 1e-9;
    for (double c : {3.3, 6.5, 9.8}) {
        EXPECT_NEAR(At(grid, 6 - e, c), At(grid, 6 + e, c), 1e-6);
        EXPECT_NEAR(At(grid, 6, c), CatmullRom(6, c, Metres), 1e-6);
    }
    for (double r : {3.3, 6.5, 9.8}) {
        EXPECT_NEAR(At(grid, r, 7 - e), At(grid, r, 7 + e), 1e-6);
        EXPECT_NEAR(At(grid, r, 7), CatmullRom(r, 7, Metres), 1e-6);
    }
}

TEST_F(UndulationTest, BorderCellsAreBilinear)
{
    GeoidGridFile grid = Grid();
    const int rows = spec.rows();
    const int cols = spec.cols();
    EXPECT_NEAR(At(grid, 1.3, 5.6), BilinearIn(1, 5, 1.3, 5.6), 1e-9);                            // first row
    EXPECT_NEAR(At(grid, rows - 0.7, 5.6), BilinearIn(rows - 1, 5, rows - 0.7, 5.6), 1e-9);        // last row
    EXPECT_NEAR(At(grid, 4.4, 1.8), BilinearIn(4, 1, 4.4, 1.8), 1e-9);                             // first column
    EXPECT_NEAR(At(grid, 4.4, cols - 0.2), BilinearIn(4, cols - 1, 4.4, cols - 0.2), 1e-9);        // last column
    // Northern and western edges belong to the grid.
    EXPECT_NEAR(At(grid, 1, 5.25), BilinearIn(1, 5, 1, 5.25), 1e-9);
    EXPECT_NEAR(At(grid, 7.5, 1), BilinearIn(7, 1, 7.5, 1), 1e-9);
}

TEST_F(UndulationTest, SouthernAndEasternEdgesUseTheLastCell)
{
    GeoidGridFile grid = Grid();
    const int rows = spec.rows();
    const int cols = spec.cols();
    EXPECT_NEAR(At(grid, rows, 5.25), BilinearIn(rows - 1, 5, rows, 5.25), 1e-9);
    EXPECT_NEAR(At(grid, 7.5, cols), BilinearIn(7, cols - 1, 7.5, cols), 1e-9);
    EXPECT_NEAR(At(grid, rows, cols), Metres(rows, cols), 1e-9);
    EXPECT_NEAR(InterpolateUndulation(grid, Rad(50.0), Rad(11.0)), Metres(rows, cols), 1e-6);
}

TEST_F(UndulationTest, ExtentBeyondTheLastNodeStaysInsideTheGrid)
{
    // 50..51.1 N at 15': nodes down to 50.1 N, the box reaches 50.0 N.
    spec = {Degrees(50), Degrees(51.1), Degrees(8), Degrees(9), Minutes(15), Minutes(15)};
    WriteGrid(Path("grid"), spec, [](int r, int c) { return 100000 * r + 1000 * c; });
    GeoidGridFile grid(Path("grid"));
    ASSERT_EQ(grid.Header().rows, 5);
    // Extends the last cell's bilinear surface: 10 m per row southwards.
    const double n = InterpolateUndulation(grid, Rad(50.0), Rad(8.5));
    EXPECT_NEAR(n, 10.0 * (1 + 4.4) + 0.1 * 3, 1e-6);
}

TEST_F(UndulationTest, MissingNodes)
{
    auto withGap = [](int r, int c) { return r == 5 && c == 5 ? kNoValueNode : SyntheticNode(r, c); };
    GeoidGridFile grid = Grid(withGap);
    // The gap is in the 4 x 4 window but not a corner of cell (6, 6): bilinear.
    EXPECT_NEAR(At(grid, 6.3, 6.6), BilinearIn(6, 6, 6.3, 6.6), 1e-9);
    // The gap is a corner: no value, in inner and in border cells alike.
    EXPECT_EQ(At(grid, 5.5, 5.5), kNoUndulation);
    EXPECT_EQ(At(grid, 4.5, 4.5), kNoUndulation);
    EXPECT_EQ(At(grid, 5.0, 5.0), kNoUndulation);
    // Cells far from the gap are untouched.
    EXPECT_NEAR(At(grid, 9.4, 9.7), CatmullRom(9.4, 9.7, Metres), 1e-6);

    // Only the marker itself is missing; the integer below it is a value.
    GeoidGridFile big = Grid([](int r, int c) { return r == 6 && c == 6 ? kNoValueNode - 1 : 0; });
    EXPECT_NEAR(At(big, 6, 6), 9999.9998, 1e-9);
    EXPECT_EQ(NodeMetres(kNoValueNode), kNoValueMetres);
    EXPECT_EQ(NodeMetres(kNoValueNode + 5), kNoValueMetres);
}

TEST_F(UndulationTest, PointsOutsideTheBoxHaveNoValue)
{
    GeoidGridFile grid = Grid();
    const double d = 0.0001;
    EXPECT_EQ(InterpolateUndulation(grid, Rad(52 + d), Rad(9)), kNoUndulation);
    EXPECT_EQ(InterpolateUndulation(grid, Rad(50 - d), Rad(9)), kNoUndulation);
    EXPECT_EQ(InterpolateUndulation(grid, Rad(51), Rad(8 - d)), kNoUndulation);
    EXPECT_EQ(InterpolateUndulation(grid, Rad(51), Rad(11 + d)), kNoUndulation);
    EXPECT_EQ(InterpolateUndulation(grid, std::nan(""), Rad(9)), kNoUndulation);
    EXPECT_NEAR(InterpolateUndulation(grid, Rad(52), Rad(8)), Metres(1, 1), 1e-6);
}

TEST_F(UndulationTest, SmallGridsAreBilinearThroughout)
{
    spec = {Degrees(50), Degrees(50.5), Degrees(8), Degrees(9), Minutes(30), Minutes(15)}; // 2 x 5
    GeoidGridFile two = Grid();
    EXPECT_NEAR(At(two, 1.25, 3.5), BilinearIn(1, 3, 1.25, 3.5), 1e-9);

    spec = {Degrees(50), Degrees(51.5), Degrees(8), Degrees(8.75), Minutes(30), Minutes(15)}; // 4 x 4
    GeoidGridFile four = Grid();
    EXPECT_NEAR(At(four, 1.5, 2.5), BilinearIn(1, 2, 1.5, 2.5), 1e-9);
    EXPECT_NEAR(At(four, 2.5, 1.5), BilinearIn(2, 1, 2.5, 1.5), 1e-9);
    EXPECT_NEAR(At(four, 2.4, 2.5), CatmullRom(2.4, 2.5, Metres), 1e-6); // the one inner cell
}

TEST(GeoidGridHeader, AnglesAndNodeCounts)
{
    EXPECT_DOUBLE_EQ(GridHeaderAngle(52, 30, 0), 52.5);
    EXPECT_DOUBLE_EQ(GridHeaderAngle(-52, 30, 0), 52.5); // the sign of the degrees is dropped
    EXPECT_NEAR(GridHeaderAngle(0, 0, 1800000000), 0.5, 1e-15);
    EXPECT_NEAR(GridHeaderAngle(7, 1, 30000000), 7 + 1 / 60.0 + 30 / 3600.0, 1e-14);

    // 0.001 degree of slack: an extent a hair short of 8 spacings still has 9 nodes.
    const std::int32_t records[18] = {50, 0, 0, 51, 59, 59500000, 8, 0, 0, 9, 0, 0, 0, 15, 0, 0, 20, 0};
    const GeoidGridHeader h = DecodeGridHeader(records);
    EXPECT_EQ(h.rows, 9);
    EXPECT_EQ(h.cols, 4);
    EXPECT_NEAR(h.latMax, 51.9998611, 1e-6);
}

TEST(GeoidGridHeader, UnusableGridsAreRefused)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("grid").toStdString();
    const GridSpec good{Degrees(50), Degrees(51), Degrees(8), Degrees(9), Minutes(15), Minutes(15)};
    auto refused = [&](const GridSpec& s, int nodes, const std::string& trailing = {}) {
        std::vector<std::int32_t> rec = HeaderRecords(s);
        rec.insert(rec.end(), nodes, 1000);
        WriteRecords(path, rec, trailing);
        try {
            GeoidGridFile grid(path);
            return false;
        } catch (const std::runtime_error&) {
            return true;
        }
    };
    const int nodes = good.rows() * good.cols();
    EXPECT_FALSE(refused(good, nodes));
    EXPECT_FALSE(refused(good, nodes, "\r\n")); // bytes after the last node
    EXPECT_TRUE(refused(good, nodes - 1));      // one node short
    GridSpec oneRow = good;
    oneRow.latMax = oneRow.latMin;
    EXPECT_TRUE(refused(oneRow, 5));
    GridSpec oneCol = good;
    oneCol.lonMax = oneCol.lonMin;
    EXPECT_TRUE(refused(oneCol, 5));
    GridSpec flat = good;
    flat.latStep = 0;
    flat.latMax = flat.latMin;
    EXPECT_TRUE(refused(flat, 5));
    WriteFileBytes(path, std::string(40, '\0')); // shorter than a header
    EXPECT_THROW(GeoidGridFile{path}, std::runtime_error);
    EXPECT_THROW(GeoidGridFile{dir.filePath("none").toStdString()}, std::runtime_error);
}

// A grid much larger than the pages kept in memory, read in scattered order:
// every node comes back as written, also where four nodes straddle two pages.
TEST(GeoidGridFile, LargeGridReadInScatteredOrder)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("grid").toStdString();
    const GridSpec spec{Degrees(40), Degrees(40) + 399 * Minutes(1), Degrees(0), Degrees(0) + 299 * Minutes(1),
                        Minutes(1), Minutes(1)}; // 400 x 300 nodes, 480 kB
    auto node = [](int r, int c) { return r * 1000 + c; };
    WriteGrid(path, spec, node);
    GeoidGridFile grid(path);
    ASSERT_EQ(grid.Header().rows, 400);
    ASSERT_EQ(grid.Header().cols, 300);
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> row(1, 400), col(1, 297);
    for (int i = 0; i < 20000; ++i) {
        const int r = row(rng);
        const int c = col(rng);
        double v[4];
        grid.ReadNodes(r, c, 4, v);
        for (int k = 0; k < 4; ++k)
            ASSERT_EQ(v[k], NodeMetres(node(r, c + k))) << r << "/" << c + k;
    }
    double v[4];
    EXPECT_THROW(grid.ReadNodes(400, 298, 4, v), std::runtime_error); // past the last column
    EXPECT_THROW(grid.ReadNodes(401, 1, 1, v), std::runtime_error);
}
