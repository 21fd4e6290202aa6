// Transverse Mercator in both directions against GeographicLib's exact
// projection (tools/references/make_references.sh) on the four ellipsoids.
#include <gtest/gtest.h>

#include <cmath>

#include "ReferenceFile.h"
#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "geodesy/GeodesyConstants.h"
#include "geodesy/TransverseMercator.h"

namespace orv {
namespace {

using test::EllipsoidFromAF;
using test::ReadReferenceFile;

constexpr double kDegree = kPi / 180;

// Within 3° of the central meridian the series agrees to 0.1 mm, up to 6° to 1 mm.
double Tolerance(double lon, double lon0) {
  return std::fabs(lon - lon0) <= 3.0 + 1e-9 ? 1e-4 : 1e-3;
}

TEST(GeographischInVerebnet, ThePublishedSampleToTheTenthOfAMillimetre) {
  const double a = 6378137;
  const double b = a * (1 - 1 / 298.25722210088);
  const double e = std::sqrt((a * a - b * b) / (a * a));
  const MeridianArcCoefficients c = MeridianbogenKoeffizienten(a, e);
  const GridCoordinates g =
      GeographischInVerebnet(52.5 * kDegree, 13.4 * kDegree, a, e, c, 0.9996, 500000, 15);
  EXPECT_EQ(FormatNumber(g.northing, QStringLiteral("0.0000")), QStringLiteral("5817855.2407"));
  EXPECT_EQ(FormatNumber(g.easting, QStringLiteral("0.0000")), QStringLiteral("391390.7313"));
  const GridCoordinates g2 = GeographischInVerebnet(52.5 * kDegree, 13.4 * kDegree, a, e, c[0],
                                                    c[1], c[2], c[3], c[4], c[5], 0.9996, 500000, 15);
  EXPECT_EQ(g2.northing, g.northing);
  EXPECT_EQ(g2.easting, g.easting);
}

TEST(GeographischInVerebnet, AgreesWithGeographicLibForGaussKruegerAndUtm) {
  const auto records = ReadReferenceFile(QStringLiteral("tm_reference.txt"));
  ASSERT_GT(records.size(), 900u);
  for (const auto& r : records) {
    SCOPED_TRACE(r.fields.join(QLatin1Char(' ')).toStdString());
    const auto ell = EllipsoidFromAF(r.number(1), r.number(2));
    const double k0 = r.number(3);
    const int L0 = r.fields.at(4).toInt();
    const double fe = r.number(5), lat = r.number(6), lon = r.number(7);
    const MeridianArcCoefficients c = MeridianbogenKoeffizienten(ell.a, ell.e);
    // The reference is in true degrees; convert with the full-precision π.
    const GridCoordinates g = GeographischInVerebnet(lat * M_PI / 180, lon * M_PI / 180, ell.a,
                                                     ell.e, c, k0, fe, L0);
    const double tol = Tolerance(lon, L0);
    EXPECT_NEAR(g.northing, r.number(8), tol);
    EXPECT_NEAR(g.easting, r.number(9), tol);
  }
}

TEST(VerebnetInGeographisch, InvertsGeographicLibsGridCoordinates) {
  const auto records = ReadReferenceFile(QStringLiteral("tm_reference.txt"));
  for (const auto& r : records) {
    SCOPED_TRACE(r.fields.join(QLatin1Char(' ')).toStdString());
    const auto ell = EllipsoidFromAF(r.number(1), r.number(2));
    const int L0 = r.fields.at(4).toInt();
    const double lat = r.number(6), lon = r.number(7);
    const GeographicAngles g =
        VerebnetInGeographisch(r.number(8), r.number(9), ell.a, ell.e, r.number(3), r.number(5),
                               L0, QStringLiteral("unused"), ell.b);
    // 1e-4 m on the ground is about 1.6e-11 rad; up to 6° the series allows 1 mm.
    const double tol = Tolerance(lon, L0) / 6.3e6;
    EXPECT_NEAR(g.latitude, lat * M_PI / 180, tol);
    EXPECT_NEAR(g.longitude * std::cos(lat * kDegree), lon * M_PI / 180 * std::cos(lat * kDegree), tol);
  }
}

TEST(VerebnetInGeographisch, RoundTripWithinAStripToMicroArcSeconds) {
  struct Ell { double a, f; int L0; double k0, fe; };
  const Ell ells[] = {{6378137, 0.003352810681184, 15, 0.9996, 500000},
                      {6378245, 0.003352329869259, 12, 1, 4500000},
                      {6377397.15507605, 0.003342773181578, 9, 1, 3500000}};
  for (const auto& p : ells) {
    const auto ell = EllipsoidFromAF(p.a, p.f);
    const MeridianArcCoefficients c = MeridianbogenKoeffizienten(ell.a, ell.e);
    for (double lat : {47.3, 50.0, 52.5, 54.9}) {
      for (double dl : {-3.0, -1.6, 0.0, 0.4, 2.9}) {
        const double lon = p.L0 + dl;
        const GridCoordinates g =
            GeographischInVerebnet(lat * kDegree, lon * kDegree, ell.a, ell.e, c, p.k0, p.fe, p.L0);
        const GeographicAngles back = VerebnetInGeographisch(
            g.northing, g.easting, ell.a, ell.e, p.k0, p.fe, p.L0, QString(), ell.b);
        EXPECT_NEAR(back.latitude / kDegree * 3600, lat * 3600, 1e-6) << lat << " " << lon;
        EXPECT_NEAR(back.longitude / kDegree * 3600, lon * 3600, 1e-6) << lat << " " << lon;
      }
    }
  }
}

TEST(VerebnetInGeographisch, SouthernNorthingGivesSouthernLatitude) {
  const auto ell = EllipsoidFromAF(6378137, 0.003352810681184);
  const GeographicAngles north =
      VerebnetInGeographisch(5817855.2407, 391390.7313, ell.a, ell.e, 0.9996, 500000, 15, QString(), ell.b);
  const GeographicAngles south =
      VerebnetInGeographisch(-5817855.2407, 391390.7313, ell.a, ell.e, 0.9996, 500000, 15, QString(), ell.b);
  EXPECT_NEAR(north.latitude, 52.5 * kDegree, 1e-10);
  EXPECT_NEAR(south.latitude, -north.latitude, 1e-15);
  EXPECT_NEAR(south.longitude, north.longitude, 1e-15);
}

TEST(TransverseMercator, ZeroScaleFactorThrowsInsteadOfReturningInfinity) {
  const auto ell = EllipsoidFromAF(6378137, 0.003352810681184);
  EXPECT_THROW(VerebnetInGeographisch(5817855, 391390, ell.a, ell.e, 0, 500000, 15, QString(), ell.b),
               OrvenilError);
  const MeridianArcCoefficients c = MeridianbogenKoeffizienten(ell.a, ell.e);
  EXPECT_THROW(GeographischInVerebnet(std::nan(""), 0.2, ell.a, ell.e, c, 0.9996, 500000, 15),
               OrvenilError);
}

// The prepared ellipsoid of a run: an a of 0 or a flattening that gives no
// real eccentricity stops the run before any row instead of giving NaN.
TEST(ProjectedEllipsoid, ReadsAZeroScaleAsOneAndRefusesAnEllipsoidWithoutEccentricity) {
  const ProjectedEllipsoid p = MakeProjectedEllipsoid(6378137, 1 / 298.25722210088, 0);
  EXPECT_EQ(p.k0, 1);
  const GridCoordinates g = GeographischInVerebnet(52.5 * kDegree, 13.4 * kDegree, p, 500000, 15);
  const GridCoordinates positional =
      GeographischInVerebnet(52.5 * kDegree, 13.4 * kDegree, p.a, p.e, p.arc, 1, 500000, 15);
  EXPECT_EQ(g.northing, positional.northing);
  EXPECT_EQ(g.easting, positional.easting);
  EXPECT_THROW(MakeProjectedEllipsoid(0, 1 / 298.3, 1), OrvenilError);
  EXPECT_THROW(MakeProjectedEllipsoid(6378137, -0.1, 1), OrvenilError);
}

}  // namespace
}  // namespace orv
