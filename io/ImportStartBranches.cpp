#include "io/ImportStartBranches.h"

#include <charconv>
#include <cmath>

#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "foundation/TextTokens.h"
#include "foundation/TypedNumber.h"
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
const QChar kDegree(0x00B0);

BranchResult Bad(const QString& reason) { return {BranchOutcome::BadLine, reason}; }

// A latitude beyond a pole or a longitude beyond half a turn (radians) is no
// point on the earth: a damaged line, never a coordinate to store.
bool OnTheEarth(double latitude, double longitude) {
  return std::fabs(latitude * 180 / kPi) <= 90 + 1e-9 && std::fabs(longitude * 180 / kPi) <= 180 + 1e-9;
}

// An empty field reads as 0; anything else must be a number.
bool ParseOptional(const QString& text, double& value) {
  if (TrimBlanks(text).isEmpty()) {
    value = 0;
    return true;
  }
  return ParseCoordinate(text, value);
}

// Point-number step of every branch.
void PutPointNumber(ImportRow& row, const QString& number) { row.put(kPunkt, PaddedPointNumber(number)); }

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

// What follows from the height of a projected or geographic point: sZe and
// sHg hold its text, the geocentric coordinates are computed with h.
void PutHeight(ImportRow& row, const ImportStartSystem& sys, double B, double L, const QString& heightText, double h) {
  row.put(kSZe, heightText);
  row.put(kSHg, heightText);
  PutGeocentric(row, sys, B, L, h);
}

// The projected branch's height H: its text also in sZori.
void PutProjectedHeight(ImportRow& row, const ImportStartSystem& sys, double B, double L, double H) {
  const QString heightText = FormatNumber(H, kFixed4);
  row.put(kSZori, heightText);
  PutHeight(row, sys, B, L, heightText, H);
}

// The geographic branch's height text; the geocentric coordinates take the
// height as written there.
void PutGeographicHeight(ImportRow& row, const ImportStartSystem& sys, double B, double L, const QString& heightText) {
  PutHeight(row, sys, B, L, heightText, Val(heightText));
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
  return QString(kPaddedPointNumberLength - number.size(), u' ') + number;
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
  PutPointNumber(row, GetToken(line, 1, kTab));
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
  // The zone comes from the line's own digits or from the zone code the
  // user gave: a meridian of another line or an earlier job would place an
  // easting without its zone in a zone it does not belong to.
  EastingZone zone;
  if (v.digits == 6 && v.utm) {
    // An easting without zone digit: the zone code the user gave once holds
    // for every such line of the import.
    if (st.mkzDigit == 0 && st.askMkz) {
      const std::optional<QString> typed = st.askMkz();
      if (!typed) return {BranchOutcome::Cancelled, QString()};
      // The code as typed, whole: "32.5" is no code, and its 32 would place
      // every such easting in a zone the user did not name.
      double answer = 0;
      if (!ReadTypedNumber(*typed, answer) || answer != std::trunc(answer))
        throw OrvenilError(kErrTypeMismatch, QStringLiteral("Die Meridiankennziffer \"") + typed->trimmed() +
                                                 QStringLiteral("\" ist keine ganze Zahl."));
      st.mkzDigit = static_cast<int>(std::fmod(std::fabs(answer), 10.0));
    }
    if (st.mkzDigit != 0) zone = ZoneOfEasting(st.mkzDigit * 1000000.0 + v.Y, ell);
  } else if (v.digits == 7 && (v.utm || v.gaussKrueger)) {
    zone = ZoneOfEasting(v.Y, ell);
  } else if (v.digits == 8 && v.utm) {
    zone = ZoneOfEasting(WithoutFirstDigit(v.eastingText), ell);
  }
  st.meridian = zone.L0;
  if (zone.invalid) return {BranchOutcome::InvalidZone, QString()};
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
  // A UTM easting loses its zone digit.
  if (v.utm && (v.digits == 7 || v.digits == 8)) Y = WithoutFirstDigit(v.eastingText);
  if (!PutZone(row, sys, meridian)) return {BranchOutcome::NoZone, QString()};
  PutPointNumber(row, GetToken(line, 1, kTab));
  row.put(kC, GetToken(line, 2, kTab));
  row.put(kSYe, FormatNumber(Y, kFixed4));
  row.put(kSXe, FormatNumber(X, kFixed4));

  const GeographicAngles g = VerebnetInGeographisch(X, Y, sys.ellipsoid, row.falseEasting, meridian);
  if (!OnTheEarth(g.latitude, g.longitude)) return Bad(kFormatPCXYH);
  row.put(kSBg, RadInGrad(g.latitude));
  row.put(kSLg, RadInGrad(g.longitude));
  row.put(kRadBg, NumberText(g.latitude));
  row.put(kRadLg, NumberText(g.longitude));
  PutProjectedHeight(row, sys, g.latitude, g.longitude, H);
  row.latitude = g.latitude;
  row.longitude = g.longitude;
  return {};
}

namespace {

// A hemisphere letter (one of letters) at the end or the start of the
// trimmed text goes; one anywhere else stays and makes the text unreadable.
QString WithoutHemisphere(const QString& field, QStringView letters) {
  QString text = TrimBlanks(field);
  if (!text.isEmpty() && letters.contains(text.back())) text.chop(1);
  if (!text.isEmpty() && letters.contains(text.front())) text.remove(0, 1);
  return TrimBlanks(text);
}

// Blank-separated degrees, minutes and seconds ("52 30 15.5"), each a plain
// number, at most three parts.
bool AreDegreeParts(const QString& text) {
  const QStringList parts = text.split(u' ');
  if (parts.size() > 3 || parts.contains(QString())) return false;
  return IsStrictDegreeText(parts.value(0) + kDegree + parts.value(1) + QLatin1Char('\'') + parts.value(2));
}

// Latitude and longitude of a geographic line as degree texts, by the input
// format: the decimal formats store their texts as given (format 1 in
// BgDez/LgDez, format 3 in BgDezSek/LgDezSek). False when either angle is not
// written in the chosen format, so that it would be read as another angle.
// The angles stand at latitudeField and the field after it.
bool GeographicDegreeTexts(const QString& line, int format, int latitudeField, ImportRow& row, QString& latitude,
                           QString& longitude) {
  const QString rawLatitude = GetToken(line, latitudeField, kTab);
  const QString rawLongitude = GetToken(line, latitudeField + 1, kTab);
  if (format == 2) {
    const std::optional<QString> lat = DecimalMinutesInGrad(WithoutHemisphere(rawLatitude, u"N"));
    const std::optional<QString> lon = DecimalMinutesInGrad(WithoutHemisphere(rawLongitude, u"EO"));
    if (!lat || !lon) return false;
    latitude = *lat;
    longitude = *lon;
    return true;
  }
  if (TrimBlanks(rawLatitude).isEmpty() || TrimBlanks(rawLongitude).isEmpty()) return false;
  if (format == 1 || format == 3) {
    double latNumber = 0, lonNumber = 0;
    if (!ParseDecimalAngle(rawLatitude, latNumber) || !ParseDecimalAngle(rawLongitude, lonNumber)) return false;
    const int latColumn = format == 1 ? kBgDez : kBgDezSek;
    const int lonColumn = format == 1 ? kLgDez : kLgDezSek;
    row.put(latColumn, TrimBlanks(QString(rawLatitude).remove(u'N')));
    row.put(lonColumn, TrimBlanks(QString(rawLongitude).remove(u'E').remove(u'O')));
    latitude = format == 1 ? DezGradInGrad(latNumber) : FormatSeconds(latNumber, QString());
    longitude = format == 1 ? DezGradInGrad(lonNumber) : FormatSeconds(lonNumber, QString());
    return true;
  }
  latitude = WithoutHemisphere(rawLatitude, u"N");
  longitude = WithoutHemisphere(rawLongitude, u"EO");
  if (latitude.contains(kDegree) && longitude.contains(kDegree)) return IsStrictDegreeText(latitude) && IsStrictDegreeText(longitude);
  // Otherwise both are rebuilt from their blank-separated parts.
  for (const QString* text : {&latitude, &longitude})
    if (text->contains(kDegree) ? !IsStrictDegreeText(*text) : !AreDegreeParts(*text)) return false;
  latitude = DegreeTextFromParts(latitude);
  longitude = DegreeTextFromParts(longitude);
  return true;
}

}  // namespace

BranchResult ImportGeographicLine(const QString& line, const QString& rawLine, const ImportStartSystem& sys,
                                  ImportRow& row) {
  const int format = sys.geographicFormat >= 0 && sys.geographicFormat <= 3 ? sys.geographicFormat : 0;
  double height = 0;
  if (!sys.vesselA && !ParseOptional(GetToken(line, 5, kTab), height)) return Bad(kFormatPCBLH);
  // The angles stand where the line's layout puts them, whatever their
  // notation: fields 2 and 3 of a first-vessel line (time, latitude,
  // longitude) and of a line of three fields (point, latitude, longitude, as
  // the start-data dialog's examples write them), fields 3 and 4 of every
  // other line (point, code, latitude, longitude, height).
  const bool withoutCode = !sys.vesselA && TrimBlanks(GetToken(line, 4, kTab)).isEmpty() &&
                           !TrimBlanks(GetToken(line, 3, kTab)).isEmpty();
  QString latitude, longitude;
  if (!GeographicDegreeTexts(line, format, sys.vesselA || withoutCode ? 2 : 3, row, latitude, longitude))
    return Bad(kFormatPCBLH);
  const double B = GradInRad(latitude);
  const double L = GradInRad(longitude);
  const double longitudeDegrees = L * 180 / kPi;
  if (!OnTheEarth(B, L)) return Bad(kFormatPCBLH);

  QString heightText = FormatNumber(height, kFixed4);
  if (Val(heightText) == 0) heightText = NumberText(sys.approximateHeight);

  if (!PutZone(row, sys, ErmittleZoneAusLaenge(NumberText(longitudeDegrees), sys.zoneEllipsoid)))
    return {BranchOutcome::NoZone, QString()};
  PutPointNumber(row, GetToken(line, 1, kTab));

  if (sys.vesselA) {
    const qsizetype semicolon = rawLine.indexOf(u';');
    row.put(kZeile, TrimBlanks(row.at(kPunkt)) + QLatin1Char(';') + (semicolon < 0 ? QString() : rawLine.mid(semicolon + 1)));
    row.put(kC, QString());
    heightText = QStringLiteral("75");
  } else {
    row.put(kC, withoutCode ? QString() : GetToken(line, 2, kTab));
  }

  row.put(kSBg, MarkEmptyMinutes(latitude));
  row.put(kSLg, MarkEmptyMinutes(longitude));
  row.put(kRadBg, NumberText(B));
  row.put(kRadLg, NumberText(L));
  PutGrid(row, sys, B, L);
  PutGeographicHeight(row, sys, B, L, heightText);
  row.latitude = B;
  row.longitude = L;
  return {};
}

void PutNewStartHeight(ImportRow& row, const ImportStartSystem& sys, int kind, double B, double L, double height) {
  if (kind == 0)
    PutProjectedHeight(row, sys, B, L, height);
  else
    PutGeographicHeight(row, sys, B, L, FormatNumber(height, kFixed4));
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
