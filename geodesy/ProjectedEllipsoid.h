#pragma once
// The ellipsoid and scale of a transverse Mercator projection, prepared once
// per run from a row of the coordinate-system table (a, f, k0) and shared by
// every point and every worker thread of the run.
#include <array>

namespace orv {

// r0 … r5 of the meridian-arc series G(φ) = r0 φ − r1 sin 2φ + r2 sin 4φ − …
using MeridianArcCoefficients = std::array<double, 6>;

struct ProjectedEllipsoid {
  double a = 0;   // semi-major axis, m
  double b = 0;   // semi-minor axis (1 − f) · a, m
  double e = 0;   // first eccentricity √((a² − b²) / a²)
  double k0 = 1;  // scale factor on the central meridian
  MeridianArcCoefficients arc{};
};

// The ellipsoid of semi-major axis a and flattening f with scale factor k0;
// a k0 of 0 (as its 15-digit text reads) means 1. An a of 0, a flattening
// that gives no real eccentricity, or a value that is not finite throws
// OrvenilError.
ProjectedEllipsoid MakeProjectedEllipsoid(double a, double f, double k0);

}  // namespace orv
