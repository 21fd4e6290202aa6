#include "gridtool/ExchangeLines.h"
#include "gridtool/Undulation.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

using namespace orv;

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> lines;
    std::string line;
    while (ReadExchangeLine(in, line))
        lines.push_back(line);
    return lines;
}

using V = std::vector<std::string>;

} // namespace

TEST(ExchangeLines, LineEnds)
{
    EXPECT_EQ(Lines("a b\r\nc d\r\n"), (V{"a b", "c d"}));
    EXPECT_EQ(Lines("a b\nc d\n"), (V{"a b", "c d"}));
    EXPECT_EQ(Lines("a b\rc d"), (V{"a b", "c d"}));
    EXPECT_EQ(Lines("a\r\n\r\nb\n\nc"), (V{"a", "", "b", "", "c"}));
    EXPECT_EQ(Lines(""), V{});
    EXPECT_EQ(Lines("\r\n"), V{""});
}

TEST(ExchangeLines, PointLines)
{
    double lat = 0, lon = 0;
    EXPECT_TRUE(ParsePointLine("0.9075712110370514 0.2268928027592629", lat, lon));
    EXPECT_DOUBLE_EQ(lat, 0.9075712110370514);
    EXPECT_DOUBLE_EQ(lon, 0.2268928027592629);
    EXPECT_TRUE(ParsePointLine("  +.5\t-2E-1  ", lat, lon));
    EXPECT_DOUBLE_EQ(lat, 0.5);
    EXPECT_DOUBLE_EQ(lon, -0.2);
    EXPECT_TRUE(ParsePointLine("1 2 3 rest", lat, lon)); // further fields are ignored
    EXPECT_DOUBLE_EQ(lon, 2.0);

    for (const char* bad : {"", "   ", "0.9", "0,9 0,2", "0.9;0.2", "abc 0.2", "0.9 x", "nan 0.2",
                            "0.9 inf", "1e999 0.2", "+-1 0.2", "0x1p3 1", "0.9abc 0.2"})
        EXPECT_FALSE(ParsePointLine(bad, lat, lon)) << '"' << bad << '"';
}

TEST(ExchangeLines, FixedFields)
{
    EXPECT_EQ(FixedField(47.12345, 10, 3), "    47.123");
    EXPECT_EQ(FixedField(-1.5, 10, 3), "    -1.500");
    EXPECT_EQ(FixedField(0.0004, 10, 3), "     0.000");
    EXPECT_EQ(FixedField(-0.0004, 10, 3), "     0.000"); // no "-0.000"
    EXPECT_EQ(FixedField(51.99999999, 10, 6), " 52.000000");
    EXPECT_EQ(FixedField(-10.5, 10, 6), "-10.500000");
    EXPECT_EQ(FixedField(100.5, 10, 6), "100.500000");
    EXPECT_EQ(FixedField(-100.5, 10, 6), "**********");
    EXPECT_EQ(FixedField(1e300, 10, 6), "**********");
}

TEST(ExchangeLines, ResultLines)
{
    EXPECT_EQ(FormatResultLine(47.1234, 52.0, 13.5), "    47.123 52.000000 13.500000");
    EXPECT_EQ(FormatResultLine(kNoUndulation, 52.0, -13.5), "999999.000 52.000000-13.500000");
    // An undulation too wide for its field must still read as "no value".
    EXPECT_EQ(FormatResultLine(-123456.0, 52.0, 13.5), "999999.000 52.000000 13.500000");
    // Nor may a latitude run on into the undulation ("999999.000123.000000").
    EXPECT_EQ(FormatResultLine(kNoUndulation, 123.0, 123.0), "999999.000**********123.000000");
    EXPECT_EQ(FormatResultLine(kNoUndulation, -12.0, 0.0), "999999.000-12.000000  0.000000");
}
