#pragma once
// Zone rules of the two projections: Gauss-Krüger 3° strips on "Krassowski"
// and "Bessel" (strip digit leads the easting), UTM 6° zones 31-34 on
// "GRS1980" and "WGS1984". Ellipsoid and system names compare exactly.
#include <cstdint>

#include <QString>

namespace orv {

// Central meridian from the first character of the easting; L0 = 0 means no
// zone. On "GRS1980", "Krassowski" and "Bessel" a first character without a
// zone marks the easting invalid (the caller tells the user); any other name
// gives 0 and is not invalid.
struct EastingZone {
  int32_t L0 = 0;
  bool invalid = false;
};
EastingZone ZoneOfEasting(double easting, const QString& ellipsoidName);

// False easting of a zone; 0 when the zone or the name is unknown.
double ErmittleFalseEasting(int32_t L0, const QString& ellipsoidName);

// Central meridian of the zone holding the longitude (decimal degrees as
// text, read by its leading number); 0 below the first zone or for an
// unknown name. There is no upper bound.
int32_t ErmittleZoneAusLaenge(const QString& longitudeDegrees, const QString& ellipsoidName);
// The same rule for a longitude already read as a number (the value of the
// text, so runs that hold it need not read their own text back).
int32_t ZoneFromLongitudeValue(double longitudeDegrees, const QString& ellipsoidName);

// Zone number (L0 − 3) / 6 + 1, rounded half to even: 3, 9, 15, 21 give 1 … 4.
int16_t ZoneFromCentralMeridian(int16_t L0);

// Last digit of the UTM zone (31-34) of a central meridian given as text
// ("3", "9", "15", "21"); "" for anything else or a Gauss-Krüger ellipsoid.
QString MeridianCodeDigit(const QString& centralMeridian, const QString& ellipsoidName);

// True when an easting runs into the zone digit written in its millions:
// the false easting carries it (Gauss-Krüger strips, 1 500 000 and up) or a
// digit is added in front (addedDigit, in metres; 0 for none). No zone
// reaches 500 km from its false easting; such an easting would read as a
// neighbouring zone's (3129052 in strip 2 reads as strip 3). An easting
// without a zone digit (a plain UTM easting) never runs into one.
bool EastingRunsIntoZoneDigit(double easting, double falseEasting, double addedDigit);

// Ellipsoid of a system name; "" when unknown.
QString EllipsoidForSystem(const QString& systemName);

}  // namespace orv
