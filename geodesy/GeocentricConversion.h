#pragma once
// Geographic coordinates on an ellipsoid <-> geocentric Cartesian coordinates.
// The ellipsoid is given by its semi-major axis a and first eccentricity e
// (not squared).

namespace orv {

struct GeocentricPoint {
  double X = 0;
  double Y = 0;
  double Z = 0;
};

struct GeographicPoint {
  double B = 0;  // latitude, radians
  double L = 0;  // longitude, radians
  double h = 0;  // ellipsoidal height, metres
};

// B, L in radians, h in metres -> X, Y, Z in metres.
GeocentricPoint EllToGeoZent(double B, double L, double h, double a, double e);

// X, Y, Z in metres -> B, L in radians, h in metres. The latitude is iterated
// until it changes by at most 1e-12 rad. The longitude follows the quadrant of
// (X, Y); points on the Z axis get L = 0 and B = ±π/2. Throws OrvenilError
// for non-finite input or when the iteration does not settle.
GeographicPoint GeoZentToEll(double X, double Y, double Z, double a, double e);

}  // namespace orv
