#include "runs/Ntv2TargetImport.h"

#include <cmath>

#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "foundation/TextLineReader.h"
#include "foundation/TextTokens.h"
#include "geodesy/AngleFormats.h"
#include "geodesy/GeodesyConstants.h"
#include "io/ImportLineFormats.h"

namespace orv {

namespace {

bool AsNumber(const QString& s, double* v) {
  try {
    *v = ToDoubleStrict(s);
    return true;
  } catch (const OrvenilError&) {
    return false;
  }
}

}  // namespace

QStringList Ntv2TargetFileLines(const QString& path) {
  QStringList lines;
  TextLineReader in(path);
  for (QString line; in.isOpen() && in.readLine(line);) lines << line;
  return lines;
}

bool SameNtv2PointNumber(const QString& a, const QString& b) {
  const QString x = TrimBlanks(a), y = TrimBlanks(b);
  double u = 0, v = 0;
  if (AsNumber(x, &u) && AsNumber(y, &v)) return u == v;
  return x == y;
}

QString Ntv2PunktKey(const QString& number) {
  const QString n = TrimBlanks(number);
  return n.size() < 16 ? n.rightJustified(20) : n;
}

double Ntv2TargetDegrees(const QString& angle) {
  // Fields are separated by blanks: a comma in a number is its decimal comma.
  const QString text = WithDecimalPoint(TrimBlanks(angle));
  if (!text.contains(QChar(0x00B0))) return ToDoubleStrict(text);
  if (!IsStrictDegreeText(text))
    throw OrvenilError(kErrTypeMismatch, QStringLiteral("Typen unverträglich: \"") + text +
                                             QStringLiteral("\" ist keine Zahl und kein Winkel in Grad/Min/Sek."));
  return GradInRad(text) * 180 / kPi;
}

bool Ntv2TargetLatitudeMissing(const QString& latitude) {
  try {
    return Ntv2TargetDegrees(latitude) == 0;
  } catch (const OrvenilError&) {
  }
  // No target angle: its leading number decides, and one beyond the range
  // of numbers reads as none.
  try {
    return Val(WithDecimalPoint(TrimBlanks(latitude))) == 0;
  } catch (const OrvenilError&) {
    return true;
  }
}

std::vector<std::pair<QString, QString>> Ntv2TargetGeographicColumns(const QString& lat, const QString& lon) {
  const double phi = Ntv2TargetDegrees(lat), lambda = Ntv2TargetDegrees(lon);
  // A latitude beyond a pole or a longitude beyond half a turn is no point
  // on the earth: a damaged line, never a target to store.
  if (!(std::fabs(phi) <= 90) || !(std::fabs(lambda) <= 180))
    throw OrvenilError(kErrTypeMismatch, QStringLiteral("Breite \"") + TrimBlanks(lat) + QStringLiteral("\" bzw. Länge \"") +
                                             TrimBlanks(lon) +
                                             QStringLiteral("\" liegt außerhalb von ±90° bzw. ±180°"));
  const QString radLat = NumberText(phi * kPi / 180), radLon = NumberText(lambda * kPi / 180);
  const auto decimal = [](const QString& text, double degrees) {
    return text.contains(QChar(0x00B0)) ? NumberText(degrees) : WithDecimalPoint(TrimBlanks(text));
  };
  return {{QStringLiteral("BgDezZiel"), decimal(lat, phi)},
          {QStringLiteral("LgDezZiel"), decimal(lon, lambda)},
          {QStringLiteral("BgDezSekZiel"), NumberText(phi * 3600)},
          {QStringLiteral("LgDezSekZiel"), NumberText(lambda * 3600)},
          {QStringLiteral("radBgZiel"), radLat},
          {QStringLiteral("radLgZiel"), radLon},
          {QStringLiteral("sBgZiel"), RadInGrad(Val(radLat))},
          {QStringLiteral("sLgZiel"), RadInGrad(Val(radLon))}};
}

}  // namespace orv
