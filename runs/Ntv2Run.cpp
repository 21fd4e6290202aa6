#include "runs/Ntv2Run.h"

#include <QStringList>

#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "geodesy/AngleFormats.h"
#include "geodesy/GeocentricConversion.h"
#include "geodesy/GeodesyConstants.h"
#include "geodesy/Ntv2Interpolation.h"
#include "geodesy/TransverseMercator.h"
#include "geodesy/ZoneRules.h"

namespace orv {

bool InsideNtv2Extent(const Ntv2SubGridHeader& h, double latSec, double lonSecEast) {
  const double lonSecWest = -lonSecEast;
  return h.S_LAT < latSec && latSec < h.N_LAT && h.E_LONG < lonSecWest && lonSecWest < h.W_LONG;
}

Ntv2TargetPoint Ntv2ShiftPoint(const Ntv2GridCache& cache, double latitude, double longitude, bool forward,
                               double startLatSec, double startLonSec) {
  Ntv2TargetPoint p;
  Ntv2Result r;
  double testLat = startLatSec, testLon = startLonSec;
  if (forward) {
    r = NTv2Transformieren(latitude, longitude, cache);
    p.latitude = r.latitude;
    p.longitude = r.longitude;
  } else {
    // Fixed point of x + shift(x) = start: four evaluations.
    r = NTv2ShiftInterpolieren(latitude, longitude, cache);
    for (int i = 0; i < 3; ++i)
      r = NTv2ShiftInterpolieren(latitude - r.latitude / 3600, longitude - r.longitude / 3600, cache);
    p.latitude = latitude - r.latitude / 3600;
    p.longitude = longitude - r.longitude / 3600;
    testLat = 3600 * p.latitude;
    testLon = 3600 * p.longitude;
  }
  p.inside = r.ok && r.subGrid >= 0 && InsideNtv2Extent(cache.header(r.subGrid), testLat, testLon);
  if (!p.inside) p.latitude = p.longitude = 0;
  return p;
}

Ntv2TargetColumns Ntv2TargetColumnTexts(double latitude, double longitude, std::optional<double> height,
                                        const ProjectedEllipsoid& target, const QString& zoneEllipsoid) {
  Ntv2TargetColumns out;
  auto& c = out.columns;
  c.reserve(16);
  const QString lonText = NumberText(longitude);
  c.emplace_back(QStringLiteral("BgDezZiel"), NumberText(latitude));
  c.emplace_back(QStringLiteral("LgDezZiel"), lonText);
  c.emplace_back(QStringLiteral("BgDezSekZiel"), NumberText(3600 * latitude));
  c.emplace_back(QStringLiteral("LgDezSekZiel"), NumberText(3600 * longitude));
  const double B = latitude * kPi / 180;
  const double L = longitude * kPi / 180;
  const QString radB = NumberText(B), radL = NumberText(L);
  c.emplace_back(QStringLiteral("radBgZiel"), radB);
  c.emplace_back(QStringLiteral("radLgZiel"), radL);
  c.emplace_back(QStringLiteral("sBgZiel"), RadInGrad(B));
  c.emplace_back(QStringLiteral("sLgZiel"), RadInGrad(L));
  const QString fehler = QStringLiteral("Fehler");
  const QString h4 = height ? FormatNumber(*height, QStringLiteral("0.0000")) : fehler;
  c.emplace_back(QStringLiteral("sHgZiel"), h4);
  // B and L as stored (15 significant digits) for the geocentric and grid values.
  const double B1 = Val(radB), L1 = Val(radL);
  if (height) {
    const GeocentricPoint xyz = EllToGeoZent(B1, L1, *height, target.a, target.e);
    c.emplace_back(QStringLiteral("sXzZiel"), FormatNumber(xyz.X, QStringLiteral("0.00000")));
    c.emplace_back(QStringLiteral("sYzZiel"), FormatNumber(xyz.Y, QStringLiteral("0.00000")));
    c.emplace_back(QStringLiteral("sZzZiel"), FormatNumber(xyz.Z, QStringLiteral("0.00000")));
  } else {
    for (const char* name : {"sXzZiel", "sYzZiel", "sZzZiel"})
      c.emplace_back(QString::fromLatin1(name), fehler);
  }
  out.meridian = ErmittleZoneAusLaenge(lonText, zoneEllipsoid);
  out.falseEasting = ErmittleFalseEasting(out.meridian, zoneEllipsoid);
  const GridCoordinates g = GeographischInVerebnet(B1, L1, target, out.falseEasting, out.meridian);
  // Only WGS1984 targets carry their zone digit in front of the easting.
  const double prefix = zoneEllipsoid == QLatin1String("WGS1984") ? (out.meridian + 3.0) / 6.0 * 1000000.0 : 0;
  out.beyondZone = EastingRunsIntoZoneDigit(g.easting, out.falseEasting, prefix);
  QString easting, northing;
  if (!out.beyondZone) {
    easting = FormatNumber(g.easting, QStringLiteral("0.0000"));
    northing = FormatNumber(g.northing, QStringLiteral("0.0000"));
    if (prefix != 0) easting = FormatNumber(Val(easting) + prefix, QStringLiteral("0.0000"));
  }
  c.emplace_back(QStringLiteral("sXeZiel"), northing);
  c.emplace_back(QStringLiteral("sYeZiel"), easting);
  c.emplace_back(QStringLiteral("sZeZiel"), h4);
  c.emplace_back(QStringLiteral("Geoidundulation"), QString());
  return out;
}

const QStringList& Ntv2TargetColumnNames() {
  static const QStringList names{
      QStringLiteral("BgDezZiel"),      QStringLiteral("LgDezZiel"), QStringLiteral("BgDezSekZiel"),
      QStringLiteral("LgDezSekZiel"),   QStringLiteral("radBgZiel"), QStringLiteral("radLgZiel"),
      QStringLiteral("sBgZiel"),        QStringLiteral("sLgZiel"),   QStringLiteral("sHgZiel"),
      QStringLiteral("sXzZiel"),        QStringLiteral("sYzZiel"),   QStringLiteral("sZzZiel"),
      QStringLiteral("sXeZiel"),        QStringLiteral("sYeZiel"),   QStringLiteral("sZeZiel"),
      QStringLiteral("Geoidundulation")};
  return names;
}

bool ReadNtv2StartValue(const QString& text, double& value) {
  try {
    value = ToDoubleStrict(text);
    return true;
  } catch (const OrvenilError& e) {
    if (e.number() == kErrTypeMismatch) return false;
    throw;
  }
}

QString Ntv2FehlerText(const QString& column) {
  return column == QLatin1String("Geoidundulation") ? QString() : QStringLiteral("Fehler");
}

}  // namespace orv
