// The parameter sets shipped in the default database folder: the reverse
// direction of each set must reproduce the published EPSG position-vector
// transformation (local system -> ETRS89), since the program applies its
// sets with coordinate-frame rotations and negates all values for "Rück".
#include <gtest/gtest.h>

#include <QFile>
#include <QStringList>
#include <array>
#include <cmath>

#include "geodesy/GeocentricConversion.h"
#include "geodesy/SimilarityTransformations.h"

namespace {

using Vec = std::array<double, 3>;
constexpr double kArcSec = 3.14159265358979 / 180.0 / 3600.0;

// Position-vector rotation, linearised, as EPSG method 9606 states it.
Vec PositionVector(const Vec& p, const std::array<double, 7>& s) {
  const double k = 1 + s[6] / 1e6;
  const double rx = s[3] * kArcSec, ry = s[4] * kArcSec, rz = s[5] * kArcSec;
  return {(p[0] - rz * p[1] + ry * p[2]) * k + s[0], (rz * p[0] + p[1] - rx * p[2]) * k + s[1],
          (-ry * p[0] + rx * p[1] + p[2]) * k + s[2]};
}

QStringList ShippedRows() {
  QFile f(QStringLiteral(ORV_SOURCE_DIR) + "/data/Orvenil-Datenbanken/sys_7Parameter.dat");
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = f.readAll();
  EXPECT_TRUE(bytes.endsWith("\r\n"));
  EXPECT_EQ(bytes.count("\n"), bytes.count("\r\n"));
  return QString::fromLatin1(bytes).split("\r\n", Qt::SkipEmptyParts);
}

}  // namespace

TEST(DefaultDatabaseFolder, ParameterSetsReproduceEpsgInReverse) {
  struct Published {
    QString code;
    QString localEllipsoid;
    std::array<double, 7> pv;  // dx dy dz (m), rx ry rz (") position vector, ppm
  };
  const std::array<Published, 3> published{{
      {"EPSG 1775", "Krassowski", {24.9, -126.4, -93.2, -0.063, -0.247, -0.041, 1.01}},
      {"EPSG 15868", "Bessel", {612.4, 77.0, 440.2, -0.054, 0.057, -2.797, 2.55}},
      {"EPSG 1776", "Bessel", {598.1, 73.7, 418.2, 0.202, 0.045, -2.455, 6.7}},
  }};
  const QStringList rows = ShippedRows();
  ASSERT_EQ(rows.size(), 3);
  const Vec point{3937000.0, 900000.0, 4940000.0};  // somewhere in Germany
  for (int i = 0; i < 3; ++i) {
    const QStringList cells = rows[i].split(';');
    ASSERT_EQ(cells.size(), 16) << rows[i].toStdString();
    EXPECT_TRUE(cells[0].contains(published[i].code));
    // Side A is the ETRS89 side on its own ellipsoid, GRS1980.
    EXPECT_EQ(cells[2], "GRS1980");
    EXPECT_EQ(cells[3], published[i].localEllipsoid);
    EXPECT_EQ(cells[5], "Bursa Wolf");
    std::array<double, 7> reverse{};
    for (int j = 0; j < 7; ++j) reverse[j] = -cells[6 + j].toDouble();
    const orv::GeocentricPoint t = orv::HelmertSevenParameter(
        point[0], point[1], point[2], reverse[0], reverse[1], reverse[2], reverse[3], reverse[4], reverse[5],
        reverse[6]);
    const Vec ours{t.X, t.Y, t.Z};
    const Vec epsg = PositionVector(point, published[i].pv);
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(ours[c], epsg[c], 1e-6) << rows[i].toStdString();
  }
}
