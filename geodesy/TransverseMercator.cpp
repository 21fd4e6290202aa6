#include "geodesy/TransverseMercator.h"

#include <cmath>

#include "foundation/VectorState.h"
#include "geodesy/CheckedArithmetic.h"
#include "geodesy/GeodesyConstants.h"

namespace orv {

using std::cos;
using std::pow;
using std::sin;
using std::tan;

MeridianArcCoefficients MeridianbogenKoeffizienten(double a, double e) {
  const double b = CheckedSqrt(a * a * (1 - e * e));
  const double es = CheckedDiv(a * e, b);  // second eccentricity e'
  const double c = CheckedDiv(a, CheckedSqrt(1 - e * e));

  // Each series is summed from its lowest power of e' upward.
  const double E0 = 1 - 3.0 / 4 * pow(es, 2) + 45.0 / 64 * pow(es, 4) - 175.0 / 256 * pow(es, 6) +
                    11025.0 / 16384 * pow(es, 8) - 43659.0 / 65536 * pow(es, 10);
  const double E2 = 3.0 / 4 * pow(es, 2) - 15.0 / 16 * pow(es, 4) + 525.0 / 512 * pow(es, 6) -
                    2205.0 / 2048 * pow(es, 8) + 72765.0 / 65536 * pow(es, 10);
  const double E4 = 15.0 / 64 * pow(es, 4) - 105.0 / 256 * pow(es, 6) +
                    2205.0 / 4096 * pow(es, 8) - 10395.0 / 16384 * pow(es, 10);
  const double E6 =
      35.0 / 512 * pow(es, 6) - 315.0 / 2048 * pow(es, 8) + 31185.0 / 131072 * pow(es, 10);
  const double E8 = 315.0 / 16384 * pow(es, 8) - 3465.0 / 65536 * pow(es, 10);
  const double E10 = 693.0 / 131072 * pow(es, 10);

  return {E0 * c,
          (1.0 / 2) * E2 * c,
          (1.0 / 4) * E4 * c,
          (1.0 / 6) * E6 * c,
          (1.0 / 8) * E8 * c,
          (1.0 / 10) * E10 * c};
}

GridCoordinates GeographischInVerebnet(double phi, double lambda, double a, double e, double r0,
                                       double r1, double r2, double r3, double r4, double r5,
                                       double k0, double falseEasting, int32_t L0) {
  ClearUpperVectorState();
  const double e2 = e * e;
  const double sinPhi = sin(phi);
  const double cosPhi = cos(phi);
  const double N = CheckedDiv(a, CheckedSqrt(1 - sinPhi * sinPhi * e2));
  const double t = tan(phi);
  const double es = CheckedSqrt(CheckedDiv(e2, 1 - e2));
  const double eta = es * cosPhi;

  const double G = r0 * phi - r1 * sin(2 * phi) + r2 * sin(4 * phi) - r3 * sin(6 * phi) +
                   r4 * sin(8 * phi) - r5 * sin(10 * phi);
  const double l = ((lambda / kPi) * 180 - L0) * kPi / 180;

  // Small whole powers as products: pow costs far more and changes nothing
  // that reaches a stored digit.
  const double t2 = t * t, t4 = t2 * t2, t6 = t4 * t2;
  const double eta2 = eta * eta, eta4 = eta2 * eta2;
  const double cos2 = cosPhi * cosPhi, cos3 = cos2 * cosPhi, cos5 = cos3 * cos2, cos7 = cos5 * cos2;
  const double a1 = N * cosPhi;
  const double a2 = 1.0 / 2 * t * N * cos2;
  const double a3 = N / 6 * cos3 * (1 - t2 + eta2);
  const double a4 = N / 24 * sinPhi * cos3 * (5 - t2 + 9 * eta2 + 4 * eta4);
  const double a5 = N / 120 * cos5 *
                    (5 - 18 * t2 + t4 + 14 * eta2 - 58 * t2 * eta2 + 13 * eta4 - 64 * t2 * eta4);
  const double a6 =
      N / 720 * sinPhi * cos5 * (61 - 58 * t2 + t4 + 270 * eta2 - 330 * t2 * eta2);
  const double a7 = N / 5040 * cos7 * (61 - 479 * t2 + 179 * t4 - t6);
  const double a8 = N / 40320 * sinPhi * cos7 * (1385 - 3111 * t2 + 543 * t4 - t6);

  const double l2 = l * l, l3 = l2 * l, l4 = l2 * l2, l5 = l4 * l, l6 = l4 * l2, l7 = l6 * l,
               l8 = l4 * l4;
  GridCoordinates r;
  r.northing = CheckedFinite((G + a2 * l2 + a4 * l4 + a6 * l6 + a8 * l8) * k0);
  r.easting = CheckedFinite((a1 * l + a3 * l3 + a5 * l5 + a7 * l7) * k0 + falseEasting);
  return r;
}

GridCoordinates GeographischInVerebnet(double phi, double lambda, double a, double e,
                                       const MeridianArcCoefficients& r, double k0,
                                       double falseEasting, int32_t L0) {
  return GeographischInVerebnet(phi, lambda, a, e, r[0], r[1], r[2], r[3], r[4], r[5], k0,
                                falseEasting, L0);
}

GridCoordinates GeographischInVerebnet(double phi, double lambda, const ProjectedEllipsoid& ellipsoid,
                                       double falseEasting, int32_t L0) {
  return GeographischInVerebnet(phi, lambda, ellipsoid.a, ellipsoid.e, ellipsoid.arc, ellipsoid.k0, falseEasting,
                                L0);
}

GeographicAngles VerebnetInGeographisch(double northing, double easting, const ProjectedEllipsoid& ellipsoid,
                                        double falseEasting, int32_t L0) {
  return VerebnetInGeographisch(northing, easting, ellipsoid.a, ellipsoid.e, ellipsoid.k0, falseEasting, L0,
                                QString(), ellipsoid.b);
}

GeographicAngles VerebnetInGeographisch(double northing, double easting, double a, double /*e*/,
                                        double k0, double falseEasting, int32_t L0,
                                        const QString& /*ellipsoidName*/, double b) {
  ClearUpperVectorState();
  const double x = CheckedDiv(northing, k0);
  const double y = CheckedDiv(easting - falseEasting, k0);

  const double n = CheckedDiv(a - b, a + b);
  const double n2 = n * n, n3 = n2 * n, n4 = n2 * n2, n5 = n4 * n;
  const double alpha = ((a + b) / 2) * (1 + n2 / 4 + n4 / 64);
  const double beta = 3.0 / 2 * n - 27.0 / 32 * n3 + 269.0 / 512 * n5;
  const double gamma = 21.0 / 16 * n2 - 55.0 / 32 * n4;
  const double delta = 151.0 / 96 * n3 - 417.0 / 128 * n5;
  const double epsilon = 1097.0 / 512 * n4;

  // The footpoint latitude keeps its sign, so that a southern northing maps
  // to a southern latitude.
  const double sigma = CheckedDiv(x, alpha);
  const double phiF = sigma + beta * sin(2 * sigma) + gamma * sin(4 * sigma) +
                      delta * sin(6 * sigma) + epsilon * sin(8 * sigma);

  const double cosF = cos(phiF);
  const double es2 = CheckedDiv(a * a - b * b, b * b);
  const double eta2 = es2 * (cosF * cosF);
  const double eta4 = eta2 * eta2;
  const double V = CheckedSqrt(1 + eta2);
  const double N = CheckedDiv(a * a, b * V);
  const double t = tan(phiF);
  const double t2 = t * t, t4 = t2 * t2, t6 = t4 * t2;
  const double N2 = N * N, N3 = N2 * N, N4 = N2 * N2, N5 = N4 * N, N6 = N4 * N2, N7 = N6 * N,
               N8 = N4 * N4;
  const double y2 = y * y, y3 = y2 * y, y4 = y2 * y2, y5 = y4 * y, y6 = y4 * y2, y7 = y6 * y,
               y8 = y4 * y4;

  const double phi =
      phiF + t / (2 * N2) * (-1 - eta2) * y2 +
      t / (24 * N4) * (5 + 3 * t2 + 6 * eta2 - 6 * t2 * eta2 - 3 * eta4 - 9 * t2 * eta4) * y4 +
      t / (720 * N6) * (-61 - 90 * t2 - 45 * t4 - 107 * eta2 + 162 * t2 * eta2 + 45 * t4 * eta2) *
          y6 +
      t / (40320 * N8) * (1385 + 3633 * t2 + 4095 * t4 + 1575 * t6) * y8;

  const double NcosF = N * cosF;
  const double dLambda =
      CheckedDiv(y, NcosF) +
      CheckedDiv((-1 - 2 * t2 - eta2) * y3, 6 * N3 * cosF) +
      CheckedDiv((5 + 28 * t2 + 24 * t4 + 6 * eta2 + 8 * t2 * eta2) * y5, 120 * N5 * cosF) +
      CheckedDiv((-61 - 662 * t2 - 1320 * t4 - 720 * t6) * y7, 5040 * N7 * cosF);

  const double latitudeDegrees = phi * 180 / kPi;
  const double longitudeDegrees = L0 + dLambda * 180 / kPi;
  GeographicAngles r;
  r.latitude = CheckedFinite(latitudeDegrees / 180 * kPi);
  r.longitude = CheckedFinite(longitudeDegrees / 180 * kPi);
  return r;
}

}  // namespace orv
