#pragma once
// The NTv2 run's work for one point, without window or database: the shift
// in either direction, the test against the extent of the sub-grid used, and
// the target-system column texts of a point inside the grid.
#include <QString>
#include <optional>
#include <utility>
#include <vector>

#include "geodesy/Ntv2GridCache.h"
#include "geodesy/ProjectedEllipsoid.h"

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

// The column texts of a point inside the grid, in the order they are
// written, and the zone the projection used: the target ellipsoid of the
// run and the ellipsoid name its zone rules take. The shift needs no
// height: a point without one (nullopt) keeps its position, and its heights
// and geocentric values, which would need one, are "Fehler". A point 500 km
// or more from its zone's false easting (beyond the last zone) has empty
// easting and northing.
struct Ntv2TargetColumns {
  std::vector<std::pair<QString, QString>> columns;
  int meridian = 0;
  double falseEasting = 0;
  bool beyondZone = false;
};
Ntv2TargetColumns Ntv2TargetColumnTexts(double latitude, double longitude, std::optional<double> height,
                                        const ProjectedEllipsoid& target, const QString& zoneEllipsoid);

// The target columns a point outside the grid has emptied.
const QStringList& Ntv2TargetColumnNames();

// A start value of a row (BgDez, LgDez, BgDezSek, LgDezSek) as a number.
// False for a text that holds none (empty, never written, letters): the run
// marks such a row "Fehler". A number too large for a double is an error.
bool ReadNtv2StartValue(const QString& text, double& value);

// The text a row without usable start values gets in the target column
// name: "Fehler", but Geoidundulation stays empty as for every row.
QString Ntv2FehlerText(const QString& column);

}  // namespace orv
