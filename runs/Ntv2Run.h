#pragma once
// The NTv2 run's work for one point, without window or database: the shift
// in either direction, the test against the extent of the sub-grid used, and
// the target-system column texts of a point inside the grid.
#include <QString>
#include <utility>
#include <vector>

#include "geodesy/Ntv2GridCache.h"
#include "geodesy/TransverseMercator.h"

namespace orv {

// The point in the other system of the grid, decimal degrees, longitude east
// positive. inside is false when the point lies outside the grid.
struct Ntv2TargetPoint {
  bool inside = false;
  double latitude = 0;
  double longitude = 0;
};

// True when the point (arc-seconds, longitude east positive) lies strictly
// inside the sub-grid's extent: S_LAT < latitude < N_LAT and
// E_LONG < −longitude < W_LONG with the header's signs (longitudes positive
// west), so grids on both sides of Greenwich are tested alike.
bool InsideNtv2Extent(const Ntv2SubGridHeader& h, double latSec, double lonSecEast);

// Forward: the start point shifted with one interpolation, tested at the
// start point (startLatSec, startLonSec: the stored arc-seconds of the start
// point). Reverse: the point found by four fixed-point steps, tested there.
Ntv2TargetPoint Ntv2ShiftPoint(const Ntv2GridCache& cache, double latitude, double longitude, bool forward,
                               double startLatSec, double startLonSec);

// The target ellipsoid of a run: semi-major axis, first eccentricity, scale
// factor, the ellipsoid name the zone rules take and the meridian-arc series.
struct Ntv2TargetEllipsoid {
  double a = 0;
  double e = 0;
  double k0 = 1;
  QString zoneEllipsoid;
  MeridianArcCoefficients arc{};
};

// The target from a, f and k0 of the coordinate-system table (k0 = 1 when 0).
Ntv2TargetEllipsoid MakeNtv2TargetEllipsoid(double a, double f, double k0, const QString& zoneEllipsoid);

// The column texts of a point inside the grid, in the order they are
// written, and the zone the projection used.
struct Ntv2TargetColumns {
  std::vector<std::pair<QString, QString>> columns;
  int meridian = 0;
  double falseEasting = 0;
};
Ntv2TargetColumns Ntv2TargetColumnTexts(double latitude, double longitude, double height,
                                        const Ntv2TargetEllipsoid& target);

// The target columns a point outside the grid has emptied.
const QStringList& Ntv2TargetColumnNames();

}  // namespace orv
