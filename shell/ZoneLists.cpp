#include "shell/ZoneLists.h"

namespace orv {

namespace {

const QString kAutomatic = QStringLiteral("automatisch");

// Central meridian in two digits, "/", and the zone code: the UTM zone
// number, or the Gauss-Krüger strip number followed by "5".
QStringList UtmZones() { return {kAutomatic, "03/31", "09/32", "15/33", "21/34"}; }
QStringList GaussKruegerStrips() {
  return {kAutomatic, "03/15", "06/25", "09/35", "12/45", "15/55", "18/65", "21/75"};
}

}  // namespace

std::optional<QStringList> ZoneListItems(const QString& ellipsoidName, ZoneSide side) {
  if (ellipsoidName == QLatin1String("GRS1980")) return UtmZones();
  if (ellipsoidName == QLatin1String("WGS1984"))
    // WGS1984 start coordinates are taken geographically only.
    return side == ZoneSide::Start ? QStringList{kAutomatic} : UtmZones();
  if (ellipsoidName == QLatin1String("Krassowski") || ellipsoidName == QLatin1String("Bessel"))
    return GaussKruegerStrips();
  return std::nullopt;
}

QString StartsysEllipsoid(int index) {
  switch (index) {
    case 0: return QStringLiteral("GRS1980");
    case 1: return QStringLiteral("Krassowski");
    case 2: return QStringLiteral("Bessel");
    case 3: return QStringLiteral("WGS1984");
  }
  return {};
}

}  // namespace orv
