// Angle conversions between radians, decimal degrees, arc-seconds and degree
// texts, including the carry of seconds that round to a full minute.
#include <gtest/gtest.h>

#include <cmath>

#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "geodesy/AngleFormats.h"
#include "geodesy/GeodesyConstants.h"

namespace orv {
namespace {

const QString kDeg = QString(QChar(0x00B0));

QString Text(const char* withDegreeSign) { return QString::fromUtf8(withDegreeSign); }

TEST(GradInRad, AddsDegreesMinutesSecondsWithTheProgramsPi) {
  const double expected = ((52.0 + 30.0 / 60) + 15.0 / 3600) * kPi / 180;
  EXPECT_EQ(GradInRad(Text("52°30'15")), expected);
  EXPECT_EQ(GradInRad(Text("52°30'15\"")), expected);
  EXPECT_EQ(GradInRad(Text("52")), 52 * kPi / 180);
  EXPECT_EQ(GradInRad(Text("52°30'")), 52.5 * kPi / 180);
  // A sign in front belongs to the whole angle, also before zero degrees.
  EXPECT_EQ(GradInRad(Text("-10°30'00")), -10.5 * kPi / 180);
  EXPECT_EQ(GradInRad(Text("-0°30'00\"")), -0.5 * kPi / 180);
}

TEST(GradInRad, BlanksNextToSignsShiftTheFields) {
  EXPECT_EQ(GradInRad(Text("52° 30' 15")), ((52.0 + 0.0 / 60) + 30.0 / 3600) * kPi / 180);
  EXPECT_EQ(GradInRad(Text(" 52°30'15")), ((0.0 + 52.0 / 60) + 30.0 / 3600) * kPi / 180);
  EXPECT_EQ(GradInRad(QString()), 0.0);
}

TEST(DezGradInGrad, WritesWholeDegreesAndFiveDecimalSeconds) {
  EXPECT_EQ(DezGradInGrad(52.5), Text("52°30'00.00000\""));
  EXPECT_EQ(DezGradInGrad(13.4), Text("13°24'00.00000\""));
  EXPECT_EQ(DezGradInGrad(-9.5), Text("-9°30'00.00000\""));
  EXPECT_EQ(DezGradInGrad(-0.5), Text("-0°30'00.00000\""));
  EXPECT_EQ(DezGradInGrad(-1e-12), Text("0°00'00.00000\""));
  EXPECT_EQ(DezGradInGrad(0), Text("0°00'00.00000\""));
  EXPECT_EQ(DezGradInGrad(52.123456789), Text("52°07'24.44444\""));
}

TEST(DezGradInGrad, SecondsThatRoundToAMinuteAreCarried) {
  // 8.1 is stored as 8.0999999999999996: its seconds round to 60.
  EXPECT_EQ(DezGradInGrad(8.1), Text("8°06'00.00000\""));
  EXPECT_EQ(DezGradInGrad(9.9999999999), Text("10°00'00.00000\""));
  // Negative angles are written as their size with a sign in front.
  EXPECT_EQ(DezGradInGrad(-9.0000000001), Text("-9°00'00.00000\""));
}

TEST(DezGradInGrad, EveryTwoDecimalDegreeValueReadsBackAndNeverShowsSixtySeconds) {
  for (int i = -2000; i <= 2000; ++i) {
    const double v = i / 100.0;
    const QString t = DezGradInGrad(v);
    SCOPED_TRACE(t.toStdString());
    EXPECT_FALSE(t.contains(QStringLiteral("'60"))) << v;
    EXPECT_NEAR(GradInRad(t) * 180 / kPi, v, 1e-9);
  }
}

TEST(RadInGrad, IsDezGradInGradOfTheDegreesWithTheProgramsPi) {
  EXPECT_EQ(RadInGrad(52.5 * kPi / 180), Text("52°30'00.00000\""));
  EXPECT_EQ(RadInGrad(8.1 * kPi / 180), Text("8°06'00.00000\""));
  const double r = 0.916297857297023;
  EXPECT_EQ(RadInGrad(r), DezGradInGrad(r * 180 / kPi));
  EXPECT_NEAR(GradInRad(RadInGrad(r)), r, 1e-10);
}

TEST(FormatSeconds, ThreeFormatsWithoutClosingQuote) {
  const double s = 52.5 * 3600 + 15.123456;
  EXPECT_EQ(FormatSeconds(s, QString()), Text("52°30'15.12346"));
  EXPECT_EQ(FormatSeconds(s, QStringLiteral("h:nn:ss.s")), Text("52°30'15.1"));
  EXPECT_EQ(FormatSeconds(s, QStringLiteral("hh:nn:ss")), Text("52°30'15"));
  EXPECT_EQ(FormatSeconds(5 * 3600 + 59.9, QStringLiteral("hh:nn:ss")), Text("05°00'59"));
  // Negative seconds give negative parts, which GradInRad reads back.
  EXPECT_EQ(FormatSeconds(-34200, QString()), Text("-9°-30'00.00000"));
  EXPECT_EQ(GradInRad(FormatSeconds(-34200, QString())), -9.5 * kPi / 180);
}

TEST(FormatSeconds, RoundingToSixtyCarriesIntoMinutesAndDegrees) {
  EXPECT_EQ(FormatSeconds(59.96, QStringLiteral("h:nn:ss.s")), Text("0°01'00.0"));
  EXPECT_EQ(FormatSeconds(3599.999999, QString()), Text("1°00'00.00000"));
  EXPECT_EQ(FormatSeconds(-3599.999999, QString()), Text("-1°00'00.00000"));
  EXPECT_EQ(FormatSeconds(8.1 * 3600, QString()), Text("8°06'00.00000"));
}

TEST(DezMinInGrad, ReadsTheFixedLayout) {
  EXPECT_EQ(DezMinInGrad(QStringLiteral("5230.5")), Text("52°30'30.00000\""));
  EXPECT_EQ(DezMinInGrad(QStringLiteral("5230")), Text("52°30'00.00000\""));
  EXPECT_EQ(DezMinInGrad(QStringLiteral("0830.5")), Text("8°30'30.00000\""));
  EXPECT_EQ(DezMinInGrad(QStringLiteral("5207.123456")), Text("52°07'07.40736\""));
  // 0.99999999 minutes is 59.9999994 seconds: a full minute, and 60 minutes a degree.
  EXPECT_EQ(DezMinInGrad(QStringLiteral("5259.99999999")), Text("53°00'00.00000\""));
}

TEST(Asin, PolesExactlyAndOtherwiseThroughTheArctangent) {
  EXPECT_EQ(asin(1.0), 1.570796326794895);
  EXPECT_EQ(asin(-1.0), -kPi / 2);
  EXPECT_EQ(asin(0.5), std::atan(0.5 / std::sqrt(0.75)));
  EXPECT_EQ(asin(0.0), 0.0);
}

TEST(Asin, ArgumentsOutsideTheDomainThrow) {
  EXPECT_THROW(asin(1.5), OrvenilError);
  EXPECT_THROW(asin(-1.0000001), OrvenilError);
  EXPECT_THROW(asin(std::nan("")), OrvenilError);
}

}  // namespace
}  // namespace orv
