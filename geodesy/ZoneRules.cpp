#include "geodesy/ZoneRules.h"

#include <cmath>

#include "foundation/NumberText.h"

namespace orv {

namespace {

bool IsUtmEllipsoid(const QString& name) {
  return name == QLatin1String("GRS1980") || name == QLatin1String("WGS1984");
}

bool IsGaussKruegerEllipsoid(const QString& name) {
  return name == QLatin1String("Krassowski") || name == QLatin1String("Bessel");
}

}  // namespace

EastingZone ZoneOfEasting(double easting, const QString& ellipsoidName) {
  const QString text = NumberText(easting);
  const QChar first = text.isEmpty() ? QChar() : text.at(0);
  int32_t L0 = 0;
  if (ellipsoidName == QLatin1String("GRS1980")) {
    if (first == QLatin1Char('1')) L0 = 3;
    else if (first == QLatin1Char('2')) L0 = 9;
    else if (first == QLatin1Char('3')) L0 = 15;
    else if (first == QLatin1Char('4')) L0 = 21;
  } else if (IsGaussKruegerEllipsoid(ellipsoidName)) {
    if (first >= QLatin1Char('1') && first <= QLatin1Char('7')) L0 = 3 * (first.unicode() - '0');
  } else {
    return {};
  }
  return {L0, L0 == 0};
}

double ErmittleFalseEasting(int32_t L0, const QString& ellipsoidName) {
  if (IsUtmEllipsoid(ellipsoidName)) return 500000;
  if (IsGaussKruegerEllipsoid(ellipsoidName) && L0 >= 3 && L0 <= 21 && L0 % 3 == 0)
    return L0 / 3 * 1000000.0 + 500000;
  return 0;
}

int32_t ErmittleZoneAusLaenge(const QString& longitudeDegrees, const QString& ellipsoidName) {
  return ZoneFromLongitudeValue(Val(longitudeDegrees), ellipsoidName);
}

int32_t ZoneFromLongitudeValue(double v, const QString& ellipsoidName) {
  if (IsUtmEllipsoid(ellipsoidName)) {
    if (v >= 18) return 21;
    if (v >= 12) return 15;
    if (v >= 6) return 9;
    if (v >= 0) return 3;
    return 0;
  }
  if (IsGaussKruegerEllipsoid(ellipsoidName)) {
    if (v >= 19.5) return 21;
    if (v >= 16.5) return 18;
    if (v >= 13.5) return 15;
    if (v >= 10.5) return 12;
    if (v >= 7.5) return 9;
    if (v >= 4.5) return 6;
    if (v >= 1.5) return 3;
    return 0;
  }
  return 0;
}

int16_t ZoneFromCentralMeridian(int16_t L0) {
  // nearbyint rounds halves to even in the default rounding mode.
  return static_cast<int16_t>(std::nearbyint((L0 - 3) / 6.0 + 1));
}

QString MeridianCodeDigit(const QString& centralMeridian, const QString& ellipsoidName) {
  if (!IsUtmEllipsoid(ellipsoidName)) return QString();
  if (centralMeridian == QLatin1String("3")) return QStringLiteral("1");
  if (centralMeridian == QLatin1String("9")) return QStringLiteral("2");
  if (centralMeridian == QLatin1String("15")) return QStringLiteral("3");
  if (centralMeridian == QLatin1String("21")) return QStringLiteral("4");
  return QString();
}

bool EastingRunsIntoZoneDigit(double easting, double falseEasting, double addedDigit) {
  const bool digitWritten = addedDigit != 0 || falseEasting >= 1000000;
  return digitWritten && std::fabs(easting - falseEasting) >= 500000;
}

QString EllipsoidForSystem(const QString& systemName) {
  if (systemName == QLatin1String("ETRS89")) return QStringLiteral("GRS1980");
  if (systemName == QLatin1String("WGS1984")) return QStringLiteral("WGS1984");
  if (systemName == QLatin1String("GK42/83")) return QStringLiteral("Krassowski");
  if (systemName == QLatin1String("RD83")) return QStringLiteral("Bessel");
  return QString();
}

}  // namespace orv
