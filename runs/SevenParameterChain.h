#pragma once
// The per-point work of the seven-parameter run, without a window: the
// parameter set as read from its table row, and the chain from geocentric
// start coordinates to the target's geocentric, geographic and grid values.
// Everything that depends only on the set and the target ellipsoid (the
// rounded scale and rotations, the eccentricity, the meridian-arc
// coefficients) is prepared once per run.
#include <QString>
#include <QStringList>
#include <cstdint>

#include "geodesy/GeocentricConversion.h"
#include "geodesy/ProjectedEllipsoid.h"
#include "geodesy/SimilarityTransformations.h"
#include "geodesy/TransverseMercator.h"

namespace orv {

inline const QString kModelBursaWolf = QStringLiteral("Bursa Wolf");
inline const QString kModelMolodenskyBadekas = QStringLiteral("Molodensky Badekas");

// The ten numeric columns of a parameter set, in table order.
const QStringList& ParameterSetKeys();

struct SevenParameterSet {
  QString modell;
  double dx = 0, dy = 0, dz = 0;  // metres
  double Rx = 0, Ry = 0, Rz = 0;  // arc-seconds
  double MF = 0;                  // ppm
  double x0 = 0, y0 = 0, z0 = 0;  // reference point, metres
};

// Reads one parameter cell: an empty cell is 0, a number is taken whole as
// typed ("." or a decimal comma, blanks around it ignored); anything else
// is no number and gives false.
bool ReadParameterCell(const QString& text, double& value);

// The set with all ten values negated: the linearised reverse direction.
SevenParameterSet Reversed(const SevenParameterSet& set);

// The values of one point, before they become the row's texts.
struct SevenParameterPoint {
  GeocentricPoint target;       // transformed X, Y, Z (as computed)
  double B = 0;                 // latitude, radians, rounded to 15 significant digits
  double L = 0;                 // longitude, likewise
  double h = 0;                 // ellipsoidal height
  double longitudeDegrees = 0;  // L · 180 / π, rounded as its stored text
};

class SevenParameterChain {
 public:
  // The set must name a known model (checked by the caller).
  SevenParameterChain(const SevenParameterSet& set, const ProjectedEllipsoid& target);
  // Transformation and conversion to geographic coordinates of the target;
  // the hand-over values are rounded to 15 significant digits as the
  // stored texts carry them.
  SevenParameterPoint Transform(double X, double Y, double Z) const;
  // The grid coordinates of the point in the zone.
  GridCoordinates Project(const SevenParameterPoint& p, int32_t meridian, double falseEasting) const;

 private:
  SevenParameterSet set_;
  LinearisedParameters q_;
  bool molodensky_ = false;
  ProjectedEllipsoid target_;
};

// Zone digit in millions added to eastings on a target that carries it
// (GRS1980, WGS1984): (L0 + 3) / 6 · 1,000,000; 0 for other ellipsoids.
double ZonePrefix(int32_t meridian, const QString& zoneEllipsoid);

}  // namespace orv
