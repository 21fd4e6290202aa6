// Zone rules: central meridian from easting or longitude, false easting, zone
// number and code digit, ellipsoid of a system.
#include <gtest/gtest.h>

#include <utility>

#include "geodesy/ZoneRules.h"

namespace orv {
namespace {

TEST(ZoneRules, CentralMeridianFromTheFirstDigitOfTheEasting) {
  EXPECT_EQ(ZoneOfEasting(3512345.678, QStringLiteral("Krassowski")).L0, 9);
  EXPECT_EQ(ZoneOfEasting(7512345.0, QStringLiteral("Bessel")).L0, 21);
  EXPECT_EQ(ZoneOfEasting(1512345.0, QStringLiteral("GRS1980")).L0, 3);
  EXPECT_EQ(ZoneOfEasting(4391390.7313, QStringLiteral("GRS1980")).L0, 21);
  for (const auto& [easting, name] : {std::pair{3512345.0, "WGS1984"}, {3512345.0, "grs1980"}}) {
    const EastingZone z = ZoneOfEasting(easting, QString::fromLatin1(name));
    EXPECT_EQ(z.L0, 0);
    EXPECT_FALSE(z.invalid) << name;  // unknown names give 0 without a report
  }
}

TEST(ZoneRules, EastingWithoutAZoneIsInvalid) {
  for (const auto& [easting, name] : {std::pair{5512345.0, "GRS1980"}, {8512345.0, "Bessel"},
                                      {-3512345.0, "Krassowski"}, {0.5, "Krassowski"}}) {
    const EastingZone z = ZoneOfEasting(easting, QString::fromLatin1(name));
    EXPECT_EQ(z.L0, 0);
    EXPECT_TRUE(z.invalid) << easting << " " << name;
  }
  EXPECT_FALSE(ZoneOfEasting(3512345.0, QStringLiteral("Bessel")).invalid);
}

TEST(ZoneRules, FalseEasting) {
  EXPECT_EQ(ErmittleFalseEasting(9, QStringLiteral("Bessel")), 3500000);
  EXPECT_EQ(ErmittleFalseEasting(21, QStringLiteral("Krassowski")), 7500000);
  EXPECT_EQ(ErmittleFalseEasting(10, QStringLiteral("Bessel")), 0);
  EXPECT_EQ(ErmittleFalseEasting(24, QStringLiteral("Bessel")), 0);
  EXPECT_EQ(ErmittleFalseEasting(77, QStringLiteral("WGS1984")), 500000);
  EXPECT_EQ(ErmittleFalseEasting(15, QStringLiteral("Hayford")), 0);
}

TEST(ZoneRules, CentralMeridianFromTheLongitudeText) {
  EXPECT_EQ(ErmittleZoneAusLaenge(QStringLiteral("13.4"), QStringLiteral("GRS1980")), 15);
  EXPECT_EQ(ErmittleZoneAusLaenge(QStringLiteral("13.4"), QStringLiteral("Bessel")), 12);
  EXPECT_EQ(ErmittleZoneAusLaenge(QStringLiteral("6"), QStringLiteral("GRS1980")), 9);
  EXPECT_EQ(ErmittleZoneAusLaenge(QStringLiteral("5.9999999"), QStringLiteral("WGS1984")), 3);
  EXPECT_EQ(ErmittleZoneAusLaenge(QStringLiteral("1.5"), QStringLiteral("Krassowski")), 3);
  EXPECT_EQ(ErmittleZoneAusLaenge(QString(), QStringLiteral("GRS1980")), 3);
  EXPECT_EQ(ErmittleZoneAusLaenge(QString(), QStringLiteral("Krassowski")), 0);
  EXPECT_EQ(ErmittleZoneAusLaenge(QStringLiteral("-0.5"), QStringLiteral("GRS1980")), 0);
  EXPECT_EQ(ErmittleZoneAusLaenge(QStringLiteral("40"), QStringLiteral("GRS1980")), 21);
  EXPECT_EQ(ErmittleZoneAusLaenge(QStringLiteral("13.4"), QStringLiteral("Hayford")), 0);
}

TEST(ZoneRules, ZoneNumberRoundsHalvesToEven) {
  EXPECT_EQ(ZoneFromCentralMeridian(3), 1);
  EXPECT_EQ(ZoneFromCentralMeridian(21), 4);
  EXPECT_EQ(ZoneFromCentralMeridian(6), 2);
  EXPECT_EQ(ZoneFromCentralMeridian(12), 2);
  EXPECT_EQ(ZoneFromCentralMeridian(18), 4);
  EXPECT_EQ(ZoneFromCentralMeridian(0), 0);
}

TEST(ZoneRules, CodeDigitAndEllipsoidOfASystemMatchExactly) {
  EXPECT_EQ(MeridianCodeDigit(QStringLiteral("15"), QStringLiteral("WGS1984")), QStringLiteral("3"));
  EXPECT_EQ(MeridianCodeDigit(QStringLiteral("3"), QStringLiteral("GRS1980")), QStringLiteral("1"));
  EXPECT_EQ(MeridianCodeDigit(QStringLiteral("03"), QStringLiteral("GRS1980")), QString());
  EXPECT_EQ(MeridianCodeDigit(QStringLiteral("9"), QStringLiteral("Bessel")), QString());
  EXPECT_EQ(EllipsoidForSystem(QStringLiteral("ETRS89")), QStringLiteral("GRS1980"));
  EXPECT_EQ(EllipsoidForSystem(QStringLiteral("RD83")), QStringLiteral("Bessel"));
  EXPECT_EQ(EllipsoidForSystem(QStringLiteral("RD40/83")), QString());
}

}  // namespace
}  // namespace orv
