#pragma once
// Seven-parameter similarity transformations between geocentric datums.
// Translations in metres, rotations in arc-seconds (rotation of the
// coordinate frame), scale difference in ppm.
#include "geodesy/GeocentricConversion.h"

namespace orv {

// Scale factor k = 1 + MF / 1e6 and the rotations in radians, each passed
// once through its 15-digit text: the results stored over the years were
// computed with these rounded values. A run makes them once per set.
struct LinearisedParameters {
  double k = 1;
  double rx = 0;
  double ry = 0;
  double rz = 0;
};
LinearisedParameters LineariseParameters(double Rx, double Ry, double Rz, double MF);

// Bursa-Wolf with linearised rotation:
// X' = (X + rz Y - ry Z) k + dx, … with k = 1 + MF / 1e6.
GeocentricPoint HelmertSevenParameter(double X, double Y, double Z, double dx, double dy,
                                      double dz, double Rx, double Ry, double Rz, double MF);

GeocentricPoint HelmertSevenParameter(double X, double Y, double Z, double dx, double dy,
                                      double dz, const LinearisedParameters& q);
// Rotation and scale about the reference point (x0, y0, z0).
GeocentricPoint MolodenskyBadekas(double X, double Y, double Z, double dx, double dy, double dz,
                                  double Rx, double Ry, double Rz, double x0, double y0,
                                  double z0, double MF);
GeocentricPoint MolodenskyBadekas(double X, double Y, double Z, double dx, double dy, double dz,
                                  const LinearisedParameters& q, double x0, double y0, double z0);

// Rigorous rotation matrix R3(r1) R2(r2) R1(r3) (about Z by r1, Y by r2, X by
// r3), scale m in ppm: (X', Y', Z') = k R (X, Y, Z) + (dX, dY, dZ).
GeocentricPoint SevenParTrans(double X, double Y, double Z, double dX, double dY, double dZ,
                              double m, double r1, double r2, double r3);

}  // namespace orv
