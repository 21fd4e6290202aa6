#include "io/ImportStartBranches.h"

#include <charconv>
#include <cmath>

#include "foundation/NumberText.h"
#include "foundation/TextTokens.h"
#include "geodesy/AngleFormats.h"
#include "geodesy/GeocentricConversion.h"
#include "geodesy/ZoneRules.h"

namespace orv {

namespace {

constexpr double kPi = 3.14159265358979;
const QString kTab = QStringLiteral("\t");
const QString kFixed4 = QStringLiteral("0.0000");
const QString kFixed5 = QStringLiteral("0.00000");
const QString kFormatPCXYZ = QStringLiteral("Format: [P C X Y Z] nicht vorgefunden!");
const QString kFormatPCXYH = QStringLiteral("Format: [P C X Y H] nicht vorgefunden!");
const QString kFormatPCBLH = QStringLiteral("Format: [P C B L H] nicht vorgefunden!");
const QString kPointTooLong = QStringLiteral("Punktnummer länger als 20 Zeichen!");
const QChar kDegree(0x00B0);

BranchResult Bad(const QString& reason) { return {BranchOutcome::BadLine, reason}; }

// An empty field reads as 0; anything else must be a number.
bool ParseOptional(const QString& text, double& value) {
  if (TrimBlanks(text).isEmpty()) {
    value = 0;
    return true;
  }
  return ParseCoordinate(text, value);
}

// Point-number step of every branch; False when the number is too long.
bool PutPointNumber(ImportRow& row, const QString& number) {
  if (number.size() > kMaxPointNumberLength) return false;
  row.put(kPunkt, PaddedPointNumber(number));
  return true;
}

// Zone step of every branch: the false easting of the meridian found;
// False when no zone holds the point.
bool PutZone(ImportRow& row, const ImportStartSystem& sys, int32_t meridian) {
  row.meridian = meridian;
  row.falseEasting = ErmittleFalseEasting(meridian, sys.zoneEllipsoid);
  if (meridian == 0) return false;
  row.put(kZone, NumberText(meridian));
  row.put(kEllipsKO, NumberText(row.falseEasting));
  return true;
}

void PutGrid(ImportRow& row, const ImportStartSystem& sys, double B, double L) {
  const GridCoordinates g =
      GeographischInVerebnet(RoundTo15Digits(B), RoundTo15Digits(L), sys.ellipsoid, row.falseEasting, row.meridian);
  row.put(kSXe, FormatNumber(g.northing, kFixed4));
  row.put(kSYe, FormatNumber(g.easting, kFixed4));
}

void PutGeocentric(ImportRow& row, const ImportStartSystem& sys, double B, double L, double h) {
  const GeocentricPoint p = EllToGeoZent(RoundTo15Digits(B), RoundTo15Digits(L), h, sys.ellipsoid.a, sys.ellipsoid.e);
  row.put(kSXz, FormatNumber(p.X, kFixed5));
  row.put(kSYz, FormatNumber(p.Y, kFixed5));
  row.put(kSZz, FormatNumber(p.Z, kFixed5));
}

// Decimal-degree or decimal-second field as a number: signs of the angle
// and of the hemisphere left out.
bool ParseDecimalAngle(QString text, double& value) {
  for (const QChar c : {kDegree, QChar(u'N'), QChar(u'E'), QChar(u'O'), QChar(u'\''), QChar(u'"')}) text.remove(c);
  return ParseCoordinate(text, value);
}

// "p1°p2'p3"" from the blank-separated parts of a field.
QString DegreeTextFromParts(const QString& field) {
  const QString blank = QStringLiteral(" ");
  return GetToken(field, 1, blank) + kDegree + FormatNumber(Val(GetToken(field, 2, blank)), QStringLiteral("00")) +
         QLatin1Char('\'') + FormatNumber(Val(GetToken(field, 3, blank)), QStringLiteral("00.000000")) +
         QLatin1Char('"');
}

QString MarkEmptyMinutes(const QString& degreeText) {
  static const QString emptyMinutes = QString(kDegree) + QStringLiteral("'\"");
  if (degreeText.contains(emptyMinutes)) return QString(kDegree) + QStringLiteral("'\"\"-Eingabeformat?");
  return degreeText;
}

}  // namespace

QString PaddedPointNumber(const QString& number) {
  if (number.size() >= 16) return number;
  return QString(kMaxPointNumberLength - number.size(), u' ') + number;
}

bool ParseCoordinate(const QString& text, double& value) {
  char buf[64];
  qsizetype n = 0;
  qsizetype i = 0;
  const qsizetype len = text.size();
  while (i < len && text[i] == u' ') ++i;
  qsizetype end = len;
  while (end > i && text[end - 1] == u' ') --end;
  if (i < end && text[i] == u'+') ++i;
  if (i >= end || end - i >= static_cast<qsizetype>(sizeof buf)) return false;
  for (; i < end; ++i) {
    const char16_t c = text[i].unicode();
    if (!((c >= u'0' && c <= u'9') || c == u'.' || c == u'-' || c == u'e' || c == u'E')) return false;
    buf[n++] = static_cast<char>(c);
  }
  double x = 0;
  const auto res = std::from_chars(buf, buf + n, x);
  if (res.ec != std::errc() || res.ptr != buf + n || !std::isfinite(x)) return false;
  value = x;
  return true;
}

BranchResult ImportGeocentricLine(const QString& line, const ImportStartSystem& sys, ImportRow& row) {
  double X = 0, Y = 0, Z = 0;
  if (!ParseCoordinate(GetToken(line, 3, kTab), X) || !ParseCoordinate(GetToken(line, 4, kTab), Y) ||
      !ParseOptional(GetToken(line, 5, kTab), Z) || line.contains(kDegree) || X == 0 || Y == 0)
    return Bad(kFormatPCXYZ);
  if (!PutPointNumber(row, GetToken(line, 1, kTab))) return Bad(kPointTooLong);
  row.put(kC, GetToken(line, 2, kTab));
  row.put(kSXz, FormatNumber(X, kFixed4));
  row.put(kSYz, FormatNumber(Y, kFixed4));
  row.put(kSZz, FormatNumber(Z, kFixed4));

  const GeographicPoint g = GeoZentToEll(X, Y, Z, sys.ellipsoid.a, sys.ellipsoid.e);
  const double B = RoundTo15Digits(g.B), L = RoundTo15Digits(g.L), h = RoundTo15Digits(g.h);
  const QString heightText = FormatNumber(h, kFixed4);
  row.put(kSHg, heightText);
  row.put(kRadBg, NumberText(B));
  row.put(kRadLg, NumberText(L));
  row.put(kSBg, RadInGrad(B));
  row.put(kSLg, RadInGrad(L));
  const QString longitudeDegrees = NumberText(L * 180 / kPi);
  row.put(kLgDez, longitudeDegrees);

  if (!PutZone(row, sys, ErmittleZoneAusLaenge(longitudeDegrees, sys.zoneEllipsoid)))
    return {BranchOutcome::NoZone, QString()};
  PutGrid(row, sys, B, L);
  row.put(kSZe, FormatNumber(Val(heightText), kFixed4));
  row.latitude = B;
  row.longitude = L;
  return {};
}

namespace {

struct ProjectedValues {
  double Y = 0, X = 0, H = 0;
  QString eastingText;  // Y as plain number text, after the 30,000,000 reduction
  int digits = 0;       // digits of its integer part
  bool utm = false;
  bool gaussKrueger = false;
};

// Step 1 to 3 of a projected line; False for a bad line.
bool ReadProjected(const QString& line, const ImportStartSystem& sys, ProjectedValues& v) {
  const bool numbers = ParseCoordinate(GetToken(line, 3, kTab), v.Y) &&
                       ParseCoordinate(GetToken(line, 4, kTab), v.X) && ParseOptional(GetToken(line, 5, kTab), v.H);
  if (v.Y > 9999999) v.Y -= 30000000;
  if (!numbers || line.contains(kDegree) || v.Y == 0 || v.X == 0) return false;
  v.eastingText = NumberText(v.Y);
  const qsizetype point = v.eastingText.indexOf(u'.');
  v.digits = static_cast<int>(point < 0 ? v.eastingText.size() : point);
  v.utm = sys.zoneEllipsoid == QLatin1String("GRS1980");
  v.gaussKrueger = sys.zoneEllipsoid == QLatin1String("Krassowski") || sys.zoneEllipsoid == QLatin1String("Bessel");
  return true;
}

double WithoutFirstDigit(const QString& text) { return Val(text.mid(1)); }

}  // namespace

BranchResult DecideProjectedZone(const QString& line, const ImportStartSystem& sys, ImportBranchState& st) {
  ProjectedValues v;
  if (!ReadProjected(line, sys, v)) return Bad(kFormatPCXYH);
  const QString& ell = sys.zoneEllipsoid;
  if (v.digits == 6 && v.utm) {
    // An easting without zone digit: the zone code the user gave once holds
    // for every such line of the import.
    if (st.mkzDigit == 0 && st.askMkz) {
      const double answer = ToDoubleStrict(st.askMkz());
      st.mkzDigit = static_cast<int>(std::fmod(std::fabs(std::trunc(answer)), 10.0));
    }
    if (st.mkzDigit != 0) st.meridian = ZoneOfEasting(st.mkzDigit * 1000000.0 + v.Y, ell).L0;
  } else if (v.digits == 7 && (v.utm || v.gaussKrueger)) {
    st.meridian = ZoneOfEasting(v.Y, ell).L0;
  } else if (v.digits == 8 && v.utm) {
    st.meridian = ZoneOfEasting(WithoutFirstDigit(v.eastingText), ell).L0;
  }
  if (st.meridian == 0) return {BranchOutcome::NoZone, QString()};
  return {};
}

BranchResult ImportProjectedLine(const QString& line, const ImportStartSystem& sys, int32_t meridian, ImportRow& row) {
  ProjectedValues v;
  if (!ReadProjected(line, sys, v)) return Bad(kFormatPCXYH);
  double Y = v.Y;
  const double X = v.X;
  const double H = v.H == 0 ? sys.approximateHeight : v.H;
  row.put(kSYori, FormatNumber(Y, kFixed4));
  row.put(kSXori, FormatNumber(X, kFixed4));
  row.put(kSZori, FormatNumber(H, kFixed4));
  // A UTM easting loses its zone digit.
  if (v.utm && (v.digits == 7 || v.digits == 8)) Y = WithoutFirstDigit(v.eastingText);
  if (!PutZone(row, sys, meridian)) return {BranchOutcome::NoZone, QString()};
  if (!PutPointNumber(row, GetToken(line, 1, kTab))) return Bad(kPointTooLong);
  row.put(kC, GetToken(line, 2, kTab));
  row.put(kSYe, FormatNumber(Y, kFixed4));
  row.put(kSXe, FormatNumber(X, kFixed4));
  const QString heightText = FormatNumber(H, kFixed4);
  row.put(kSZe, heightText);

  const GeographicAngles g = VerebnetInGeographisch(X, Y, sys.ellipsoid, row.falseEasting, meridian);
  row.put(kSHg, heightText);
  row.put(kSBg, RadInGrad(g.latitude));
  row.put(kSLg, RadInGrad(g.longitude));
  row.put(kRadBg, NumberText(g.latitude));
  row.put(kRadLg, NumberText(g.longitude));
  PutGeocentric(row, sys, g.latitude, g.longitude, H);
  row.latitude = g.latitude;
  row.longitude = g.longitude;
  return {};
}

BranchResult ImportGeographicLine(const QString& line, const QString& rawLine, const ImportStartSystem& sys,
                                  ImportRow& row) {
  const int format = sys.geographicFormat >= 0 && sys.geographicFormat <= 3 ? sys.geographicFormat : 0;
  // Decimal minutes come from fields 2 and 3 (the vessel lines: time, latitude, longitude).
  const int latField = format == 2 ? 2 : 3;
  const QString rawLatitude = GetToken(line, latField, kTab);
  const QString rawLongitude = GetToken(line, latField + 1, kTab);
  QString latitude = TrimBlanks(QString(GetToken(line, 3, kTab)).remove(u'N'));
  QString longitude = TrimBlanks(QString(GetToken(line, 4, kTab)).remove(u'E').remove(u'O'));

  double height = 0;
  double latNumber = 0, lonNumber = 0;
  bool readable = !TrimBlanks(rawLatitude).isEmpty() && !TrimBlanks(rawLongitude).isEmpty();
  if (readable && (format == 1 || format == 3))
    readable = ParseDecimalAngle(rawLatitude, latNumber) && ParseDecimalAngle(rawLongitude, lonNumber);
  if (readable && !sys.vesselA) readable = ParseOptional(GetToken(line, 5, kTab), height);
  if (!readable) return Bad(kFormatPCBLH);

  QString heightText = FormatNumber(height, kFixed4);
  if (Val(heightText) == 0) heightText = NumberText(sys.approximateHeight);

  if (format == 1) {
    row.put(kBgDez, latitude);
    row.put(kLgDez, longitude);
    latitude = DezGradInGrad(latNumber);
    longitude = DezGradInGrad(lonNumber);
  } else if (format == 2) {
    latitude = DezMinInGrad(rawLatitude);
    longitude = DezMinInGrad(rawLongitude);
  } else if (format == 3) {
    row.put(kBgDezSek, latitude);
    row.put(kLgDezSek, longitude);
    latitude = FormatSeconds(latNumber, QString());
    longitude = FormatSeconds(lonNumber, QString());
  }
  if (!(latitude.contains(kDegree) && longitude.contains(kDegree))) {
    latitude = DegreeTextFromParts(GetToken(line, 3, kTab));
    longitude = DegreeTextFromParts(GetToken(line, 4, kTab));
  }

  const double L = GradInRad(longitude);
  const double longitudeDegrees = L * 180 / kPi;
  if (!PutZone(row, sys, ErmittleZoneAusLaenge(NumberText(longitudeDegrees), sys.zoneEllipsoid)))
    return {BranchOutcome::NoZone, QString()};
  if (!PutPointNumber(row, GetToken(line, 1, kTab))) return Bad(kPointTooLong);

  if (sys.vesselA) {
    const qsizetype semicolon = rawLine.indexOf(u';');
    row.put(kZeile, TrimBlanks(row.at(kPunkt)) + QLatin1Char(';') + (semicolon < 0 ? QString() : rawLine.mid(semicolon + 1)));
    row.put(kC, QString());
    heightText = QStringLiteral("75");
  } else {
    row.put(kC, GetToken(line, 2, kTab));
  }

  row.put(kSBg, MarkEmptyMinutes(latitude));
  row.put(kSLg, MarkEmptyMinutes(longitude));
  row.put(kSHg, heightText);
  const double B = GradInRad(latitude);
  row.put(kRadBg, NumberText(B));
  row.put(kRadLg, NumberText(L));
  PutGrid(row, sys, B, L);
  row.put(kSZe, heightText);
  PutGeocentric(row, sys, B, L, Val(heightText));
  row.latitude = B;
  row.longitude = L;
  return {};
}

void NameVesselPoint(ImportRow& row, ImportBranchState& st) {
  const QString stored = row.at(kPunkt);
  if (stored != st.lastVesselName) {
    st.lastVesselName = stored;
    st.lastSuffix.clear();
    return;
  }
  st.lastSuffix = FormatNumber(Val(st.lastSuffix) + 1, QStringLiteral("00"));
  row.put(kPunkt, stored + QLatin1Char('_') + st.lastSuffix);
  ++st.nameCounter;
  const QString& zeile = row.at(kZeile);
  row.put(kZeile, TrimBlanks(row.at(kPunkt)) + zeile.mid(zeile.indexOf(u';')));
}

void CompleteImportRow(ImportRow& row, const ImportTail& tail) {
  if (tail.wgsStart) {
    row.put(kSXe, QString());
    row.put(kSYe, QString());
    row.put(kSZe, QString());
  }
  const double latDeg = row.latitude * 180 / kPi;
  const double lonDeg = row.longitude * 180 / kPi;
  if (row.isBlank(kBgDez)) row.put(kBgDez, NumberText(latDeg));
  if (row.isBlank(kLgDez)) row.put(kLgDez, NumberText(lonDeg));
  if (row.isBlank(kBgDezSek)) row.put(kBgDezSek, NumberText(3600 * latDeg));
  if (row.isBlank(kLgDezSek)) row.put(kLgDezSek, NumberText(3600 * lonDeg));
  if (tail.etrsStart) {
    const int zone = ZoneFromCentralMeridian(static_cast<int16_t>(row.meridian));
    row.put(kSYe, FormatNumber(zone * 1000000.0 + Val(row.at(kSYe)), kFixed4));
  }
}

}  // namespace orv
