#include "geodesy/SimilarityTransformations.h"

#include <cmath>

#include "foundation/NumberText.h"
#include "foundation/VectorState.h"
#include "geodesy/CheckedArithmetic.h"
#include "geodesy/GeodesyConstants.h"

namespace orv {

namespace {

double ThroughText(double x) { return Val(NumberText(CheckedFinite(x))); }

GeocentricPoint Finite(GeocentricPoint p) {
  CheckedFinite(p.X);
  CheckedFinite(p.Y);
  CheckedFinite(p.Z);
  return p;
}

}  // namespace

LinearisedParameters LineariseParameters(double Rx, double Ry, double Rz, double MF) {
  const double secondsToRadians = (kPi / 180) / 3600;
  return {ThroughText(1 + MF / 1000000), ThroughText(Rx * secondsToRadians),
          ThroughText(Ry * secondsToRadians), ThroughText(Rz * secondsToRadians)};
}

GeocentricPoint HelmertSevenParameter(double X, double Y, double Z, double dx, double dy,
                                      double dz, double Rx, double Ry, double Rz, double MF) {
  return HelmertSevenParameter(X, Y, Z, dx, dy, dz, LineariseParameters(Rx, Ry, Rz, MF));
}

GeocentricPoint HelmertSevenParameter(double X, double Y, double Z, double dx, double dy,
                                      double dz, const LinearisedParameters& q) {
  ClearUpperVectorState();
  GeocentricPoint r;
  r.X = (q.rz * Y + X - q.ry * Z) * q.k + dx;
  r.Y = (Y - q.rz * X + q.rx * Z) * q.k + dy;
  r.Z = (q.ry * X + Z - q.rx * Y) * q.k + dz;
  return Finite(r);
}

GeocentricPoint MolodenskyBadekas(double X, double Y, double Z, double dx, double dy, double dz,
                                  double Rx, double Ry, double Rz, double x0, double y0,
                                  double z0, double MF) {
  return MolodenskyBadekas(X, Y, Z, dx, dy, dz, LineariseParameters(Rx, Ry, Rz, MF), x0, y0, z0);
}

GeocentricPoint MolodenskyBadekas(double X, double Y, double Z, double dx, double dy, double dz,
                                  const LinearisedParameters& q, double x0, double y0, double z0) {
  ClearUpperVectorState();
  const double u = X - x0;
  const double v = Y - y0;
  const double w = Z - z0;
  GeocentricPoint r;
  r.X = x0 + dx + (u + v * q.rz - w * q.ry) * q.k;
  r.Y = y0 + dy + (v - u * q.rz + w * q.rx) * q.k;
  r.Z = z0 + dz + (w + u * q.ry - v * q.rx) * q.k;
  return Finite(r);
}

GeocentricPoint SevenParTrans(double X, double Y, double Z, double dX, double dY, double dZ,
                              double m, double r1, double r2, double r3) {
  const double a1 = r1 / 206264.806247096;
  const double a2 = r2 / 206264.806247096;
  const double a3 = r3 / 206264.806247096;
  const double k = m * 0.000001 + 1;
  const double c1 = std::cos(a1), s1 = std::sin(a1);
  const double c2 = std::cos(a2), s2 = std::sin(a2);
  const double c3 = std::cos(a3), s3 = std::sin(a3);

  const double r11 = c2 * c1;
  const double r12 = c3 * s1 + s3 * s2 * c1;
  const double r13 = s3 * s1 - c3 * s2 * c1;
  const double r21 = -c2 * s1;
  const double r22 = c3 * c1 - s3 * s2 * s1;
  const double r23 = s3 * c1 + c3 * s2 * s1;
  const double r31 = s2;
  const double r32 = -s3 * c2;
  const double r33 = c3 * c2;

  GeocentricPoint r;
  r.X = (r11 * X + r12 * Y + r13 * Z) * k + dX;
  r.Y = (r21 * X + r22 * Y + r23 * Z) * k + dY;
  r.Z = (r31 * X + r32 * Y + r33 * Z) * k + dZ;
  return Finite(r);
}

}  // namespace orv
