#pragma once
// Transverse Mercator projection (Gauss-Krüger 3° strips and UTM 6° zones) in
// both directions. Latitudes and longitudes in radians, grid values in metres,
// central meridian L0 in whole degrees.
#include <cstdint>

#include <QString>

#include "geodesy/ProjectedEllipsoid.h"

namespace orv {

// Grid coordinates; the northing comes first, as x in surveying.
struct GridCoordinates {
  double northing = 0;  // x
  double easting = 0;   // y, false easting included
};

struct GeographicAngles {
  double latitude = 0;   // φ, radians
  double longitude = 0;  // λ, radians
};

// Coefficients of the meridian arc of the ellipsoid (a, first eccentricity e).
MeridianArcCoefficients MeridianbogenKoeffizienten(double a, double e);

// Geographic to grid, series to the 8th power of the longitude difference.
GridCoordinates GeographischInVerebnet(double phi, double lambda, double a, double e, double r0,
                                       double r1, double r2, double r3, double r4, double r5,
                                       double k0, double falseEasting, int32_t L0);
GridCoordinates GeographischInVerebnet(double phi, double lambda, double a, double e,
                                       const MeridianArcCoefficients& r, double k0,
                                       double falseEasting, int32_t L0);
// The same with the run's prepared ellipsoid.
GridCoordinates GeographischInVerebnet(double phi, double lambda, const ProjectedEllipsoid& ellipsoid,
                                       double falseEasting, int32_t L0);

// Grid to geographic through the footpoint latitude. e and the ellipsoid name
// are accepted for the callers' sake and not used: a and b define the
// ellipsoid. A negative northing gives a southern latitude.
GeographicAngles VerebnetInGeographisch(double northing, double easting, double a, double e,
                                        double k0, double falseEasting, int32_t L0,
                                        const QString& ellipsoidName, double b);
GeographicAngles VerebnetInGeographisch(double northing, double easting, const ProjectedEllipsoid& ellipsoid,
                                        double falseEasting, int32_t L0);

}  // namespace orv
