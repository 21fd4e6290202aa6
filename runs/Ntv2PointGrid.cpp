#include "runs/Ntv2PointGrid.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "foundation/TextLineWriter.h"
#include "foundation/TextTokens.h"
#include "geodesy/AngleFormats.h"
#include "geodesy/GeodesyConstants.h"
#include "io/ImportLimits.h"

namespace orv {

namespace {

[[noreturn]] void BadCorners(const QString& what) {
  throw OrvenilError(kErrTypeMismatch, QStringLiteral("Eckpunktdatei: ") + what);
}

const QString kTab = QStringLiteral("\t");

// A corner file without any tab has blanks between its fields: runs of
// blanks become one tab (the file itself stays as it is).
QString WithTabs(const QString& text) {
  if (text.contains(QLatin1Char('\t'))) return text;
  QString t = TrimSpaces(text);
  t.replace(QStringLiteral("\n "), QStringLiteral("\n"));
  t.replace(QLatin1Char(' '), QLatin1Char('\t'));
  return t;
}

double ArcSeconds(const QString& degreeText) { return GradInRad(degreeText) * 3600 * 180 / kPi; }

QString DegreeText(double arcSeconds) { return RadInGrad(arcSeconds * kPi / (180 * 3600)); }

QString Line(const QString& number, const QString& lat, const QString& lon) {
  return number + QStringLiteral("\t0\t") + lat + QLatin1Char('\t') + lon;
}

}  // namespace

qint64 Ntv2StepCount(double span, double spacing) {
  constexpr double kBound = 2147483648.0;  // far beyond any grid the import reads
  const double q = std::floor(span / spacing + 1e-9 * std::max(1.0, std::fabs(span / spacing)));
  if (std::isnan(q)) return 0;
  return static_cast<qint64>(std::clamp(q, -kBound, kBound));
}

Ntv2PointGrid MakeNtv2PointGrid(const QString& cornerText, double dLat, double dLon) {
  if (!(dLat > 0) || !(dLon > 0))
    throw OrvenilError(kErrInvalidProcedureCall,
                       QStringLiteral("Der Gitterabstand muss in Breite und Länge größer als 0 sein"));
  QString text = cornerText;
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
  const QStringList lines = WithTabs(text).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  QStringList corner[2];
  for (int i = 0; i < 2; ++i) {
    if (i >= lines.size()) BadCorners(QStringLiteral("zwei Eckpunkte (RU/Süd-Ost, LO/Nord-West) verlangt"));
    // Fields at tabs, each trimmed: a code may be empty, a point number
    // may hold a blank ("Ecke SO").
    const QString line = TrimSpaces(lines[i]);
    for (int field = 1; field <= 4; ++field) corner[i] << GetToken(line, field, kTab);
    // The angles as the program reads degree texts, west longitudes negative.
    if (corner[i][0].isEmpty() || !IsStrictDegreeText(corner[i][2]) || !IsStrictDegreeText(corner[i][3]))
      BadCorners(QStringLiteral("Zeile %1 ist nicht Nr_Code_Breite_Länge [Grad/Min/Sek]").arg(i + 1));
  }
  Ntv2PointGrid g;
  g.seNumber = corner[0][0];
  g.seLatitude = corner[0][2];
  g.seLongitude = corner[0][3];
  g.nwNumber = corner[1][0];
  g.latSec = ArcSeconds(g.seLatitude);
  g.lonSec = ArcSeconds(g.seLongitude);
  g.dLat = dLat;
  g.dLon = dLon;
  g.nLat = Ntv2StepCount(ArcSeconds(corner[1][2]) - g.latSec, dLat);
  g.nLon = Ntv2StepCount(g.lonSec - ArcSeconds(corner[1][3]), dLon);
  if (g.nLat < 0 || g.nLon < 0)
    BadCorners(QStringLiteral("Zeile 1 muss die Süd-Ost-Ecke, Zeile 2 die Nord-West-Ecke sein"));
  // The file holds the two corner lines and every node; a file the import
  // cannot read whole is not written at all.
  const qint64 points = g.nodeCount() + 2;
  if (points > kMaxImportLines)
    throw OrvenilError(kErrOverflow,
                       QStringLiteral("Das Punktgitter ergäbe %1 Punkte (%2 × %3 Gitterpunkte und 2 Eckpunkte), "
                                      "der folgende Import liest höchstens %4 Punkte. Wählen Sie bitte einen "
                                      "größeren Gitterabstand oder ein kleineres Gebiet")
                           .arg(points)
                           .arg(g.nLat + 1)
                           .arg(g.nLon + 1)
                           .arg(kMaxImportLines));
  return g;
}

QString Ntv2PointGridFileName(double dLat, double dLon, const QString& timeStamp) {
  return QStringLiteral("NTv2_") + NumberText(dLat) + QLatin1Char('x') + NumberText(dLon) + QLatin1Char('_') +
         timeStamp + QStringLiteral(".bl");
}

void WriteNtv2PointGridFile(const QString& path, const Ntv2PointGrid& g, void (*progress)(int, int)) {
  TextLineWriter out(path);
  out.writeLine(Line(g.seNumber, g.seLatitude, g.seLongitude));
  out.writeLine(
      Line(g.nwNumber, DegreeText(g.latSec + g.nLat * g.dLat), DegreeText(g.lonSec - g.nLon * g.dLon)));
  qint64 k = 0;
  for (qint64 i = 0; i <= g.nLat; ++i) {
    if (progress) progress(int(i), int(g.nLat));
    const QString lat = DegreeText(g.latSec + i * g.dLat);
    for (qint64 j = 0; j <= g.nLon; ++j)
      out.writeLine(Line(QString::number(++k), lat, DegreeText(g.lonSec - j * g.dLon)));
  }
  out.close();
}

}  // namespace orv
