#pragma once
// Seven-parameter similarity transformations between geocentric datums.
// Translations in metres, rotations in arc-seconds (rotation of the
// coordinate frame), scale difference in ppm.
#include "geodesy/GeocentricConversion.h"

namespace orv {

// Bursa-Wolf with linearised rotation:
// X' = (X + rz Y - ry Z) k + dx, … with k = 1 + MF / 1e6.
GeocentricPoint HelmertSevenParameter(double X, double Y, double Z, double dx, double dy,
                                      double dz, double Rx, double Ry, double Rz, double MF);

// Rotation and scale about the reference point (x0, y0, z0).
GeocentricPoint MolodenskyBadekas(double X, double Y, double Z, double dx, double dy, double dz,
                                  double Rx, double Ry, double Rz, double x0, double y0,
                                  double z0, double MF);

// Rigorous rotation matrix R3(r1) R2(r2) R1(r3) (about Z by r1, Y by r2, X by
// r3), scale m in ppm: (X', Y', Z') = k R (X, Y, Z) + (dX, dY, dZ).
GeocentricPoint SevenParTrans(double X, double Y, double Z, double dX, double dY, double dZ,
                              double m, double r1, double r2, double r3);

}  // namespace orv
