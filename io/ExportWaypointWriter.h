#pragma once
// The waypoint file of the Mikrokopter flight planning: a [General] section
// and one [Point n] section per record, with the decimal degrees of the start
// or target system as the preset says and the flight height typed in.
#include <QString>

#include "io/ExportJob.h"

namespace orv {

// A waypoint file takes its positions from the preset "Eingabe Mikrokopter
// aus Startsystem" or "Eingabe Mikrokopter aus Zielsystem"; any other would
// give waypoints without a position, and throws an OrvenilError that names
// the two.
void RequireWaypointPreset(const QString& preset);

// Returns the number of coordinates missing in the points left out.
int WriteWaypointFile(const ExportJob& job, const QString& heightAnswer);

// A decimal-degree text as the file wants it: rounded to seven decimals,
// without trailing zeros; "" when the text is no number.
QString WaypointCoordinate(const QString& decimalDegrees);

}  // namespace orv
