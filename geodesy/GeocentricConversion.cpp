#include "geodesy/GeocentricConversion.h"

#include <cmath>

#include "foundation/OrvenilError.h"
#include "foundation/VectorState.h"
#include "geodesy/CheckedArithmetic.h"
#include "geodesy/GeodesyConstants.h"

namespace orv {

namespace {

// Prime-vertical radius of curvature.
double PrimeVerticalRadius(double a, double e2, double B) {
  const double s = std::sin(B);
  return CheckedDiv(a, CheckedSqrt(1 - s * s * e2));
}

// Longitude of (X, Y) in (-π, π] with the program's π. For X > 0 this is
// exactly the one-argument arctangent of Y / X that all stored longitudes
// were computed with.
double LongitudeOf(double X, double Y) {
  if (X > 0) return std::atan(Y / X);
  if (X < 0) {
    const double L = std::atan(Y / X);
    if (Y < 0) return L - kPi;
    return L + kPi;  // also Y = 0: the negative X axis lies at 180°
  }
  if (Y > 0) return kPi / 2;
  if (Y < 0) return -kPi / 2;
  return 0;
}

// A point far inside the ellipsoid can make the latitude iteration cycle
// instead of settle; real survey points settle in about five rounds.
constexpr int kMaxLatitudeRounds = 1000;

constexpr double kMaxLatitudeForXForm = 80 * kPi / 180;

}  // namespace

GeocentricPoint EllToGeoZent(double B, double L, double h, double a, double e) {
  ClearUpperVectorState();
  const double e2 = e * e;
  const double N = PrimeVerticalRadius(a, e2, B);
  GeocentricPoint r;
  r.X = CheckedFinite((N + h) * std::cos(B) * std::cos(L));
  r.Y = CheckedFinite((N + h) * std::cos(B) * std::sin(L));
  r.Z = CheckedFinite(((1 - e2) * N + h) * std::sin(B));
  return r;
}

GeographicPoint GeoZentToEll(double X, double Y, double Z, double a, double e) {
  ClearUpperVectorState();
  CheckedFinite(X);
  CheckedFinite(Y);
  CheckedFinite(Z);
  const double e2 = e * e;
  GeographicPoint r;
  r.L = LongitudeOf(X, Y);
  const double p = std::sqrt(X * X + Y * Y);

  if (p == 0) {
    // On the axis the latitude is a pole and the height is measured along it.
    r.B = Z < 0 ? -kPi / 2 : kPi / 2;
    const double N = PrimeVerticalRadius(a, e2, r.B);
    r.h = CheckedFinite(std::fabs(Z) - (1 - e2) * N);
    return r;
  }

  double B = std::atan(Z / p);
  double N = PrimeVerticalRadius(a, e2, B);
  double previous = 99999;
  int rounds = 0;
  while (std::fabs(previous - B) > 1e-12) {
    if (++rounds > kMaxLatitudeRounds)
      throw OrvenilError(kErrOverflow,
                         QStringLiteral("Breitenberechnung konvergiert nicht (Punkt zu nahe am Erdmittelpunkt)"));
    previous = B;
    B = std::atan((e2 * N * std::sin(previous) + Z) / p);
    N = PrimeVerticalRadius(a, e2, B);
  }
  r.B = B;

  // X / (cos B cos L) loses its accuracy where cos L or cos B tends to zero
  // (and fails at X = 0). There the same height is taken from the distance to
  // the axis or from Z; every point of the program's area (|L| < 45°,
  // |B| < 80°) keeps the first form and so its last digits.
  if (std::fabs(X) >= std::fabs(Y) && std::fabs(B) < kMaxLatitudeForXForm) {
    r.h = X / (std::cos(B) * std::cos(r.L)) - N;
  } else if (std::fabs(B) < kPi / 4) {
    r.h = p / std::cos(B) - N;
  } else {
    r.h = Z / std::sin(B) - (1 - e2) * N;
  }
  r.h = CheckedFinite(r.h);
  return r;
}

}  // namespace orv
