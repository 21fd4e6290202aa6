// Geocentric conversion and the seven-parameter transformations against PROJ
// (cct, see tools/references/make_references.sh) and against each other.
#include <gtest/gtest.h>

#include <cmath>

#include "ReferenceFile.h"
#include "foundation/OrvenilError.h"
#include "geodesy/GeocentricConversion.h"
#include "geodesy/GeodesyConstants.h"
#include "geodesy/SimilarityTransformations.h"

namespace orv {
namespace {

using test::EllipsoidFromAF;
using test::ReadReferenceFile;

constexpr double kDegree = kPi / 180;

// The four ellipsoids with the values of the program's coordinate-system table.
const test::TestEllipsoid kEllipsoids[] = {
    EllipsoidFromAF(6378137, 0.003352810681184),         // GRS1980
    EllipsoidFromAF(6378137, 0.00335281066474),          // WGS1984
    EllipsoidFromAF(6378245, 0.003352329869259),         // Krassowski
    EllipsoidFromAF(6377397.15507605, 0.003342773181578) // Bessel
};

TEST(EllToGeoZent, AgreesWithProjCartOnAllFourEllipsoids) {
  const auto records = ReadReferenceFile(QStringLiteral("cart_reference.txt"));
  ASSERT_EQ(records.size(), 36u);
  for (const auto& r : records) {
    SCOPED_TRACE(r.fields.join(QLatin1Char(' ')).toStdString());
    const auto ell = EllipsoidFromAF(r.number(1), r.number(2));
    // cct works with the full-precision π: convert degrees with it here.
    const double B = r.number(3) * M_PI / 180, L = r.number(4) * M_PI / 180;
    const GeocentricPoint p = EllToGeoZent(B, L, r.number(5), ell.a, ell.e);
    EXPECT_NEAR(p.X, r.number(6), 2e-6);
    EXPECT_NEAR(p.Y, r.number(7), 2e-6);
    EXPECT_NEAR(p.Z, r.number(8), 2e-6);
  }
}

TEST(GeoZentToEll, RoundTripsOnAllFourEllipsoids) {
  for (const auto& ell : kEllipsoids) {
    for (double lat = 47.0; lat <= 55.0; lat += 0.5) {
      for (double lon : {-179.9, -95.0, -3.0, 0.0, 5.9, 10.45, 15.0, 89.0, 135.0, 180.0}) {
        for (double h : {-120.0, 0.0, 35.123, 2962.0}) {
          const GeocentricPoint p = EllToGeoZent(lat * kDegree, lon * kDegree, h, ell.a, ell.e);
          const GeographicPoint g = GeoZentToEll(p.X, p.Y, p.Z, ell.a, ell.e);
          EXPECT_NEAR(g.B, lat * kDegree, 1e-12);
          EXPECT_NEAR(std::remainder(g.L - lon * kDegree, 2 * kPi), 0.0, 1e-12) << lon;
          EXPECT_NEAR(g.h, h, 1e-6);
        }
      }
    }
  }
}

TEST(GeoZentToEll, LongitudeFollowsTheQuadrantOfXAndY) {
  const auto& ell = kEllipsoids[0];
  const double r = 6378137;
  EXPECT_EQ(GeoZentToEll(r, 0, 0, ell.a, ell.e).L, 0.0);
  EXPECT_EQ(GeoZentToEll(-r, 0, 0, ell.a, ell.e).L, kPi);
  EXPECT_EQ(GeoZentToEll(0, r, 0, ell.a, ell.e).L, kPi / 2);
  EXPECT_EQ(GeoZentToEll(0, -r, 0, ell.a, ell.e).L, -kPi / 2);
  EXPECT_GT(GeoZentToEll(-r, 1000, 0, ell.a, ell.e).L, kPi / 2);
  EXPECT_LT(GeoZentToEll(-r, -1000, 0, ell.a, ell.e).L, -kPi / 2);
  // East of Greenwich the longitude is exactly the arctangent of Y / X.
  EXPECT_EQ(GeoZentToEll(3924099.1, 1100100.2, 4884888.3, ell.a, ell.e).L,
            std::atan(1100100.2 / 3924099.1));
}

TEST(GeoZentToEll, HeightHoldsOnTheYAxisAndOnTheZAxis) {
  for (const auto& ell : kEllipsoids) {
    const GeographicPoint onY = GeoZentToEll(0, ell.a + 100, 0, ell.a, ell.e);
    EXPECT_NEAR(onY.B, 0.0, 1e-15);
    EXPECT_NEAR(onY.h, 100.0, 1e-6);
    const GeocentricPoint p = EllToGeoZent(50 * kDegree, 90 * kDegree, 250, ell.a, ell.e);
    const GeographicPoint g = GeoZentToEll(0, p.Y, p.Z, ell.a, ell.e);
    EXPECT_NEAR(g.B, 50 * kDegree, 1e-12);
    EXPECT_NEAR(g.h, 250.0, 1e-6);
    const GeographicPoint north = GeoZentToEll(0, 0, ell.b + 10, ell.a, ell.e);
    EXPECT_EQ(north.B, kPi / 2);
    EXPECT_NEAR(north.h, 10.0, 1e-6);
    const GeographicPoint south = GeoZentToEll(0, 0, -ell.b - 10, ell.a, ell.e);
    EXPECT_EQ(south.B, -kPi / 2);
    EXPECT_NEAR(south.h, 10.0, 1e-6);
  }
}

TEST(GeoZentToEll, NonFiniteInputThrows) {
  const auto& ell = kEllipsoids[0];
  EXPECT_THROW(GeoZentToEll(std::nan(""), 0, 0, ell.a, ell.e), OrvenilError);
  EXPECT_THROW(GeoZentToEll(INFINITY, 1, 1, ell.a, ell.e), OrvenilError);
}

TEST(HelmertSevenParameter, AgreesWithProjHelmertInCoordinateFrameConvention) {
  const auto records = ReadReferenceFile(QStringLiteral("helmert_reference.txt"));
  ASSERT_EQ(records.size(), 15u);
  for (const auto& r : records) {
    SCOPED_TRACE(r.fields.join(QLatin1Char(' ')).toStdString());
    const GeocentricPoint p =
        HelmertSevenParameter(r.number(0), r.number(1), r.number(2), r.number(3), r.number(4),
                              r.number(5), r.number(6), r.number(7), r.number(8), r.number(9));
    EXPECT_NEAR(p.X, r.number(10), 2e-6);
    EXPECT_NEAR(p.Y, r.number(11), 2e-6);
    EXPECT_NEAR(p.Z, r.number(12), 2e-6);
  }
}

TEST(MolodenskyBadekas, AgreesWithProjMolobadekas) {
  const auto records = ReadReferenceFile(QStringLiteral("molobadekas_reference.txt"));
  ASSERT_EQ(records.size(), 30u);
  for (const auto& r : records) {
    SCOPED_TRACE(r.fields.join(QLatin1Char(' ')).toStdString());
    const GeocentricPoint p = MolodenskyBadekas(
        r.number(0), r.number(1), r.number(2), r.number(3), r.number(4), r.number(5),
        r.number(6), r.number(7), r.number(8), r.number(10), r.number(11), r.number(12),
        r.number(9));
    EXPECT_NEAR(p.X, r.number(13), 2e-6);
    EXPECT_NEAR(p.Y, r.number(14), 2e-6);
    EXPECT_NEAR(p.Z, r.number(15), 2e-6);
  }
}

TEST(SimilarityTransformations, IdentityScaleAndSingleRotation) {
  const double X = 3924099.1, Y = 1100100.2, Z = 4884888.3;
  const GeocentricPoint id = HelmertSevenParameter(X, Y, Z, 0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(id.X, X);
  EXPECT_EQ(id.Y, Y);
  EXPECT_EQ(id.Z, Z);
  const GeocentricPoint mbId = MolodenskyBadekas(X, Y, Z, 0, 0, 0, 0, 0, 0, 1, 2, 3, 0);
  EXPECT_EQ(mbId.X, X);
  EXPECT_EQ(mbId.Y, Y);
  EXPECT_EQ(mbId.Z, Z);

  const GeocentricPoint scaled = HelmertSevenParameter(X, Y, Z, 0, 0, 0, 0, 0, 0, 1);
  EXPECT_EQ(scaled.X, X * 1.000001);
  EXPECT_EQ(scaled.Z, Z * 1.000001);

  const double f = (kPi / 180) / 3600;
  const GeocentricPoint rz = HelmertSevenParameter(X, Y, Z, 0, 0, 0, 0, 0, 1, 0);
  EXPECT_NEAR(rz.X, X + Y * f, 1e-9);
  EXPECT_NEAR(rz.Y, Y - X * f, 1e-9);
  EXPECT_EQ(rz.Z, Z);
}

TEST(SimilarityTransformations, BadekasAboutTheOriginIsBursaWolf) {
  const GeocentricPoint h =
      HelmertSevenParameter(3924099.1, 1100100.2, 4884888.3, 582, 105, 414, -1.04, -0.35, 3.08, 8.3);
  const GeocentricPoint m = MolodenskyBadekas(3924099.1, 1100100.2, 4884888.3, 582, 105, 414,
                                              -1.04, -0.35, 3.08, 0, 0, 0, 8.3);
  EXPECT_NEAR(h.X, m.X, 1e-8);
  EXPECT_NEAR(h.Y, m.Y, 1e-8);
  EXPECT_NEAR(h.Z, m.Z, 1e-8);
}

TEST(SevenParTrans, RigorousMatrixMatchesTheLinearisedFormForSmallAngles) {
  const double X = 3924099.1, Y = 1100100.2, Z = 4884888.3;
  const GeocentricPoint shifted = SevenParTrans(X, Y, Z, 10, -20, 30, 0, 0, 0, 0);
  EXPECT_EQ(shifted.X, X + 10);
  EXPECT_EQ(shifted.Y, Y - 20);
  EXPECT_EQ(shifted.Z, Z + 30);
  // r1 about Z, r2 about Y, r3 about X.
  const GeocentricPoint rig = SevenParTrans(X, Y, Z, 582, 105, 414, 8.3, 3.08, -0.35, -1.04);
  const GeocentricPoint lin =
      HelmertSevenParameter(X, Y, Z, 582, 105, 414, -1.04, -0.35, 3.08, 8.3);
  EXPECT_NEAR(rig.X, lin.X, 2e-3);
  EXPECT_NEAR(rig.Y, lin.Y, 2e-3);
  EXPECT_NEAR(rig.Z, lin.Z, 2e-3);
  // The rotation keeps the length of the vector for large angles too.
  const GeocentricPoint big = SevenParTrans(X, Y, Z, 0, 0, 0, 0, 40000, -70000, 123456);
  EXPECT_NEAR(std::hypot(big.X, big.Y, big.Z), std::hypot(X, Y, Z), 1e-6);
}

}  // namespace
}  // namespace orv
