#include "runs/Ntv2GsaWriter.h"

#include <cmath>

#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "foundation/TextLineWriter.h"
#include "foundation/TextTokens.h"

namespace orv {

namespace {

[[noreturn]] void Refuse(const QString& what) { throw OrvenilError(kErrInvalidProcedureCall, what); }

QString Fixed(double x, const char* pattern, int width) {
  return FormatNumber(x, QLatin1String(pattern)).rightJustified(width);
}

// Spacing steps of an extent; -1 when it is no whole number of spacings.
double WholeSteps(double span, double spacing) {
  const double q = span / spacing;
  const double r = std::round(q);
  return std::fabs(q - r) <= 1e-6 && r >= 0 ? r : -1;
}

}  // namespace

QString Ntv2GsaTargetRefusal(const QString& targetSystem) {
  if (targetSystem.isEmpty() || targetSystem == QLatin1String("ETRS89")) return QString();
  return QStringLiteral("Die Zielkoordinaten der Daten sind in \"") + targetSystem +
         QStringLiteral("\" berechnet; ein NTv2-Gitter führt nach ETRS89 (SYSTEM_T ETRS89).\n"
                        "Transformieren Sie die Daten bitte nach ETRS89! Abbruch!   ");
}

QString Ntv2GsaStartRefusal(const QString& answered, const QString& jobStart) {
  if (jobStart.isEmpty() || answered == jobStart) return QString();
  return QStringLiteral("Das Startsystem \"") + answered + QStringLiteral("\" ist nicht das der Daten (\"") +
         jobStart + QStringLiteral("\")! Das NTv2-Gitter wird nicht geschrieben! Abbruch!   ");
}

void WriteNtv2GsaFile(const QString& path, const std::vector<Ntv2GsaRow>& rows, double dLat, double dLon,
                      const Ntv2GsaHeader& h) {
  if (rows.size() < 3)
    Refuse(QStringLiteral(
        "Für ein NTv2-Gitter werden die beiden Eckpunkte und mindestens ein Gitterpunkt verlangt"));
  if (!(dLat > 0) || !(dLon > 0))
    Refuse(QStringLiteral("Der Gitterabstand muss in Breite und Länge größer als 0 sein"));
  const double sLat = Val(rows[0].lat), nLat = Val(rows[1].lat);
  const double eLong = -Val(rows[0].lon), wLong = -Val(rows[1].lon);
  const double qLat = WholeSteps(nLat - sLat, dLat), qLon = WholeSteps(wLong - eLong, dLon);
  const double nodes = double(rows.size() - 2);
  if (qLat < 0 || qLon < 0 || (qLat + 1) * (qLon + 1) != nodes)
    Refuse(QStringLiteral(
               "%1 Gitterpunkte passen nicht zu Ausdehnung und Gitterabstand der Eckpunkte (%2 erwartet)")
               .arg(nodes)
               .arg(qLat < 0 || qLon < 0 ? QStringLiteral("keine ganze Zahl von Abständen")
                                         : NumberText((qLat + 1) * (qLon + 1))));
  for (size_t i = 2; i < rows.size(); ++i)
    if (TrimBlanks(rows[i].targetLat).isEmpty() || TrimBlanks(rows[i].targetLon).isEmpty())
      Refuse(QStringLiteral("Punkt %1 (Zeile %2) hat keine Zielkoordinaten")
                 .arg(TrimBlanks(rows[i].point))
                 .arg(i + 1));

  TextLineWriter out(path);
  for (const char* fixed :
       {"NUM_OREC 11", "NUM_SREC 11", "NUM_FILE  1", "GS_TYPE SECONDS ", "VERSION NTv2.0  "})
    out.writeLine(QString::fromLatin1(fixed));
  out.writeLine(QStringLiteral("SYSTEM_F") + h.systemF.leftJustified(8));
  out.writeLine(QStringLiteral("SYSTEM_TETRS89  "));
  out.writeLine(QStringLiteral("MAJOR_F") + Fixed(h.majorF, "0.000", 13));
  out.writeLine(QStringLiteral("MINOR_F") + Fixed(h.minorF, "0.000", 13));
  out.writeLine(QStringLiteral("MAJOR_T") + Fixed(h.majorT, "0.000", 13));
  out.writeLine(QStringLiteral("MINOR_T") + Fixed(h.minorT, "0.000", 13));
  out.writeLine(QStringLiteral("SUB_NAME") + h.systemF.leftJustified(8));
  out.writeLine(QStringLiteral("PARENT  NONE    "));
  out.writeLine(QStringLiteral("CREATED ") + h.date);
  out.writeLine(QStringLiteral("UPDATED ") + h.date);
  out.writeLine(QStringLiteral("S_LAT   ") + Fixed(sLat, "0.000000", 15));
  out.writeLine(QStringLiteral("N_LAT   ") + Fixed(nLat, "0.000000", 15));
  out.writeLine(QStringLiteral("E_LONG  ") + Fixed(eLong, "0.000000", 15));
  out.writeLine(QStringLiteral("W_LONG  ") + Fixed(wLong, "0.000000", 15));
  out.writeLine(QStringLiteral("LAT_INC ") + NumberText(dLat).rightJustified(15));
  out.writeLine(QStringLiteral("LONG_INC") + NumberText(dLon).rightJustified(15));
  out.writeLine(QStringLiteral("GS_COUNT") + QString::number(rows.size() - 2).rightJustified(6));
  for (size_t i = 2; i < rows.size(); ++i) {
    const Ntv2GsaRow& r = rows[i];
    out.writeLine(QLatin1Char(' ') + FormatNumber(Val(r.targetLat) - Val(r.lat), QStringLiteral("0.000000")) +
                  QStringLiteral("  ") +
                  FormatNumber(Val(r.lon) - Val(r.targetLon), QStringLiteral("0.000000")) +
                  QStringLiteral("  0.000000  0.000000"));
  }
  out.writeLine(QStringLiteral("END").leftJustified(40));
  out.close();
}

}  // namespace orv
