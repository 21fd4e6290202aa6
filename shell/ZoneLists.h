#pragma once
// The zone lists of the zone panel and the ellipsoids of the start-system
// options. Ellipsoid names compare exactly, upper and lower case distinct.
#include <QString>
#include <QStringList>
#include <optional>

namespace orv {

// Which system's zones the list shows: system A (start) or system B (target).
enum class ZoneSide { Start, Target };

// The items of the zone list for an ellipsoid on one side: "automatisch"
// followed by the 6° UTM zones (GRS1980, and WGS1984 as target), the 3°
// Gauss-Krüger strips (Krassowski, Bessel) or nothing more (WGS1984 as
// start). No value for any other name: the list is then left as it is.
std::optional<QStringList> ZoneListItems(const QString& ellipsoidName, ZoneSide side);

// Ellipsoid of start-system option 0 to 3 ("GRS1980", "Krassowski",
// "Bessel", "WGS1984"); empty for any other index.
QString StartsysEllipsoid(int index);

}  // namespace orv
