// Number <-> text: pattern rounding, plain number text, Val and the strict conversion.
#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace orv {
namespace {

TEST(FormatNumber, PadsAndRoundsHalvesAwayFromZeroOnTheDecimalForm) {
  EXPECT_EQ(FormatNumber(2.675, "0.00"), "2.68");  // binary value lies just below the half
  EXPECT_EQ(FormatNumber(-2.675, "0.00"), "-2.68");
  EXPECT_EQ(FormatNumber(0.5, "0"), "1");
  EXPECT_EQ(FormatNumber(-0.5, "0"), "-1");
  EXPECT_EQ(FormatNumber(1.5, "0"), "2");
  EXPECT_EQ(FormatNumber(2.5, "0"), "3");
  EXPECT_EQ(FormatNumber(1.00005, "0.0000"), "1.0001");
  EXPECT_EQ(FormatNumber(5654321.12344999, "0.0000"), "5654321.1234");
  EXPECT_EQ(FormatNumber(9.99995, "0.0000"), "10.0000");
  EXPECT_EQ(FormatNumber(3.0, "00"), "03");
  EXPECT_EQ(FormatNumber(7.123456, "00.00000"), "07.12346");
  EXPECT_EQ(FormatNumber(123.0, "00"), "123");
  EXPECT_EQ(FormatNumber(0.000123, "0.000000"), "0.000123");
  EXPECT_EQ(FormatNumber(1e20, "0.0"), "100000000000000000000.0");
}

TEST(FormatNumber, NeverWritesMinusZero) {
  EXPECT_EQ(FormatNumber(-0.00004, "0.0000"), "0.0000");
  EXPECT_EQ(FormatNumber(-0.0, "0"), "0");
  EXPECT_EQ(FormatNumber(-0.4, "0"), "0");
  EXPECT_EQ(FormatNumber(-0.00005, "0.0000"), "-0.0001");
}

TEST(FormatNumber, OptionalDigitsAndGrouping) {
  EXPECT_EQ(FormatNumber(0.0, "#"), "");
  EXPECT_EQ(FormatNumber(12.6, "#"), "13");
  EXPECT_EQ(FormatNumber(1234567.0, "#,#"), "1,234,567");
  EXPECT_EQ(FormatNumber(123.0, "#,#"), "123");
  EXPECT_EQ(FormatNumber(5.0, "0."), "5.");
  EXPECT_EQ(FormatNumber(1.5, "0.##"), "1.5");
  EXPECT_EQ(FormatNumber(1.0, "0.##"), "1.");
  EXPECT_EQ(FormatNumber(12.5, ""), "12.5");
}

TEST(FormatNumber, RefusesNonFiniteValuesAndUnknownPatterns) {
  EXPECT_THROW(FormatNumber(std::nan(""), "0.0000"), OrvenilError);
  EXPECT_THROW(FormatNumber(std::numeric_limits<double>::infinity(), "0"), OrvenilError);
  EXPECT_THROW(FormatNumber(1.0, "0.0x"), OrvenilError);
}

TEST(NumberText, FifteenSignificantDigitsWithoutPadding) {
  EXPECT_EQ(NumberText(0.0), "0");
  EXPECT_EQ(NumberText(-0.0), "0");
  EXPECT_EQ(NumberText(0.1), "0.1");
  EXPECT_EQ(NumberText(1.0 / 3.0), "0.333333333333333");
  EXPECT_EQ(NumberText(-12.5), "-12.5");
  EXPECT_EQ(NumberText(32.0), "32");
  EXPECT_EQ(NumberText(0.91827324523617), "0.91827324523617");
  EXPECT_EQ(NumberText(123456789012345.0), "123456789012345");
  EXPECT_EQ(NumberText(0.0001), "0.0001");
  EXPECT_EQ(NumberText(0.00001), "1E-05");
  EXPECT_EQ(NumberText(1e15), "1E+15");
  EXPECT_EQ(NumberText(-1.5e20), "-1.5E+20");
  EXPECT_THROW(NumberText(std::nan("")), OrvenilError);
}

TEST(NumberText, ReadsBackThroughValWithinFifteenDigits) {
  for (double x : {0.1, 1.0 / 3.0, -7.25e-7, 6378137.0, 1.5e300, 0.91827324523617})
    EXPECT_NEAR(Val(NumberText(x)), x, std::fabs(x) * 1e-14) << x;
}

TEST(Val, TakesTheLeadingNumberAndSkipsBlanks) {
  EXPECT_EQ(Val("12abc"), 12.0);
  EXPECT_EQ(Val(" 1 2"), 12.0);
  EXPECT_EQ(Val(""), 0.0);
  EXPECT_EQ(Val("abc"), 0.0);
  EXPECT_EQ(Val("-"), 0.0);
  EXPECT_EQ(Val("  -3.5xyz"), -3.5);
  EXPECT_EQ(Val("+.5"), 0.5);
  EXPECT_EQ(Val("1,5"), 1.0);  // the comma is no decimal point
  EXPECT_EQ(Val("1.2.3"), 1.2);
  EXPECT_EQ(Val("1e3"), 1000.0);
  EXPECT_EQ(Val("2E-2m"), 0.02);
  EXPECT_EQ(Val("1e"), 1.0);
  EXPECT_EQ(Val("1e+"), 1.0);
  EXPECT_EQ(Val("1.5D2"), 150.0);
  EXPECT_EQ(Val("\t7\n"), 7.0);
  EXPECT_EQ(Val("1e-400"), 0.0);
  EXPECT_EQ(Val("0." + QString(400, u'0') + "1"), 0.0);
  EXPECT_EQ(Val(QString(400, u'0') + "1.5"), 1.5);
  EXPECT_THROW(Val("1" + QString(400, u'0')), OrvenilError);
  EXPECT_THROW(Val("0.001e400"), OrvenilError);
  EXPECT_THROW(Val("1e400"), OrvenilError);
}

TEST(ToDoubleStrict, AcceptsOnlyAWholeNumber) {
  EXPECT_EQ(ToDoubleStrict(" 12.5 "), 12.5);
  EXPECT_EQ(ToDoubleStrict("-1e3"), -1000.0);
  EXPECT_EQ(ToDoubleStrict(".5"), 0.5);
  for (const char* bad : {"", " ", "12abc", "1 2", "1,5", ".", "-", "abc", "1e"}) {
    try {
      ToDoubleStrict(bad);
      ADD_FAILURE() << "accepted " << bad;
    } catch (const OrvenilError& e) {
      EXPECT_EQ(e.number(), kErrTypeMismatch) << bad;
    }
  }
}

TEST(RoundHalfEven, RoundsHalvesToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(2.5, 0), 2.0);
  EXPECT_EQ(RoundHalfEven(3.5, 0), 4.0);
  EXPECT_EQ(RoundHalfEven(-2.5, 0), -2.0);
  EXPECT_EQ(RoundHalfEven(0.125, 2), 0.12);
  EXPECT_EQ(RoundHalfEven(0.135, 2), 0.14);
  EXPECT_EQ(RoundHalfEven(1.23456, 3), 1.235);
  EXPECT_EQ(RoundHalfEven(-0.4, 0), 0.0);
  EXPECT_FALSE(std::signbit(RoundHalfEven(-0.4, 0)));
  EXPECT_THROW(RoundHalfEven(1.0, -1), OrvenilError);
}

}  // namespace
}  // namespace orv
