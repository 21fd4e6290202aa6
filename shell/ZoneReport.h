#pragma once
// The zone of an easting as the runs ask for it: an easting whose first digit
// names no zone of its ellipsoid is reported to the user.
#include <cstdint>

#include <QString>

namespace orv {

// Central meridian from the first character of the easting (ZoneOfEasting);
// 0 = no zone. An invalid easting on "GRS1980", "Krassowski" or "Bessel" shows
// "Zone bzw. Koordinatensystem ungültig! Abbruch!"; any other name gives 0
// silently.
int32_t ErmittleZoneVerebnet(double easting, const QString& ellipsoidName);

// Shows that message; where names the place (file and line), "" for none.
void ReportInvalidZone(const QString& where);

}  // namespace orv
