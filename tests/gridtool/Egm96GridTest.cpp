// The EGM96 window shipped in the default database folder.
#include "support/TestGrids.h"

#include "gridtool/GeoidGridFile.h"
#include "gridtool/Undulation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <random>
#include <sstream>

using namespace orv;
using namespace orv::test;

namespace {

class Egm96Grid : public ::testing::Test {
protected:
    void SetUp() override
    {
        records = ReadRecords(DefaultGridPath());
        ASSERT_GT(records.size(), 18u);
    }
    // Node in metres, rows from north (55.5 N), columns from west (5.5 E), 15' apart.
    double Node(int row, int col) const { return records.at(17 + (row - 1) * 41 + col) * 0.0001; }
    std::vector<std::int32_t> records;
};

} // namespace

TEST_F(Egm96Grid, LayoutCoversGermany)
{
    GeoidGridFile grid(DefaultGridPath());
    const GeoidGridHeader& h = grid.Header();
    EXPECT_DOUBLE_EQ(h.latMin, 47.0);
    EXPECT_DOUBLE_EQ(h.latMax, 55.5);
    EXPECT_DOUBLE_EQ(h.lonMin, 5.5);
    EXPECT_DOUBLE_EQ(h.lonMax, 15.5);
    EXPECT_DOUBLE_EQ(h.latSpacing, 0.25);
    EXPECT_DOUBLE_EQ(h.lonSpacing, 0.25);
    EXPECT_EQ(h.rows, 35);
    EXPECT_EQ(h.cols, 41);
    EXPECT_EQ(records.size(), 18u + 35 * 41);
    for (std::size_t i = 18; i < records.size(); ++i) {
        EXPECT_GT(records[i], 300000) << i; // EGM96 lies 30 to 55 m above the ellipsoid here
        EXPECT_LT(records[i], 550000) << i;
    }
}

// Every third node against PROJ's own reading of egm96_15.gtx: shows that rows
// run from the north and longitudes were taken from the right place.
TEST_F(Egm96Grid, NodesMatchProj)
{
    std::ifstream ref(std::string(ORV_TEST_DATA_DIR) + "/gridtool/egm96_nodes_proj.txt");
    ASSERT_TRUE(ref.good());
    std::string line;
    int compared = 0;
    while (std::getline(ref, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream in(line);
        double lon = 0, lat = 0, n = 0;
        ASSERT_TRUE(in >> lon >> lat >> n) << line;
        const int row = int(std::lround((55.5 - lat) / 0.25)) + 1;
        const int col = int(std::lround((lon - 5.5) / 0.25)) + 1;
        EXPECT_NEAR(Node(row, col), n, 0.00005 + 1e-6) << line;
        ++compared;
    }
    EXPECT_EQ(compared, 12 * 14);
}

TEST_F(Egm96Grid, InterpolationEqualsCatmullRom)
{
    GeoidGridFile grid(DefaultGridPath());
    std::mt19937 rng(96);
    std::uniform_real_distribution<double> lat(47.26, 55.24); // inner cells only
    std::uniform_real_distribution<double> lon(5.76, 15.24);
    auto node = [this](int r, int c) { return Node(r, c); };
    for (int i = 0; i < 300; ++i) {
        const double la = lat(rng);
        const double lo = lon(rng);
        const double rowPos = 1 + (55.5 - la) / 0.25;
        const double colPos = 1 + (lo - 5.5) / 0.25;
        EXPECT_NEAR(InterpolateUndulation(grid, Rad(la), Rad(lo)), CatmullRom(rowPos, colPos, node), 1e-6)
            << la << " " << lo;
    }
}
