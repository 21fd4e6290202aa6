#include "io/ExportLgoWriter.h"

#include <cmath>

#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "foundation/TextTokens.h"
#include "foundation/Windows1252.h"
#include "io/ColumnLine.h"
#include "platform/db/ForwardQuery.h"

namespace orv {

namespace {

const QString kPresetEtrs89 = QStringLiteral("Eingabe LGO ETRS89");
const QString kPresetGeodetic = QStringLiteral("Eingabe LGO Geodetic");

// Degree, minute and second signs become blanks.
QString AngleWithBlanks(QString angle) {
  return angle.replace(QChar(0x00B0), QLatin1Char(' '))
      .replace(QLatin1Char('\''), QLatin1Char(' '))
      .replace(QLatin1Char('"'), QLatin1Char(' '));
}

// The chosen values of the current record, each trimmed.
QStringList RecordValues(const ForwardQuery& query, qsizetype count) {
  QStringList values;
  for (int c = 0; c < count; ++c) values << TrimBlanks(query.text(c));
  return values;
}

QString ValueAt(const QStringList& values, int index) {
  return index < values.size() ? values.at(index) : QString();
}

// The first value that a reader splitting the record at its blanks would
// split (a blank inside it), or that the file cannot hold (a character the
// code page lacks); -1 for none.
qsizetype SplitValue(const QStringList& values) {
  for (qsizetype c = 0; c < values.size(); ++c)
    if (values.at(c).contains(QLatin1Char(' ')) || !FitsWindows1252(values.at(c))) return c;
  return -1;
}

// The UTM zone of an ETRS89 easting with its zone digit in front
// (2412345.678 is in zone 32); 0 for a text that is no such easting.
int UtmZoneOfEasting(const QString& easting) {
  double value = 0;
  if (!ReadFiniteNumber(easting, value) || value < 1000000 || value >= 5000000) return 0;
  return 30 + static_cast<int>(std::floor(value / 1000000));
}

// The one UTM zone, 32 or 33, of the eastings the file will hold without
// their zone digit: the header names it. Rows in another zone, or in both,
// cannot be told in one such file: the export is refused.
int LgoZone(const ExportJob& job, const QStringList& names, const QString& select) {
  ForwardQuery query(job.db, select);
  MissingCoordinates missing(names);
  int zone = 0;
  QString zonePoint;
  while (query.next()) {
    if (!missing.complete(query)) continue;
    const QStringList values = RecordValues(query, names.size());
    if (values.join(QString()).isEmpty() || SplitValue(values) >= 0) continue;
    const QString point = ValueAt(values, 0), easting = ValueAt(values, 1);
    const int own = UtmZoneOfEasting(easting);
    if (own != 32 && own != 33)
      throw OrvenilError(kErrInvalidProcedureCall,
                         QStringLiteral("Punkt ") + point + QStringLiteral(": der Rechtswert ") + easting +
                             QStringLiteral(" liegt weder in UTM-Zone 32 noch in UTM-Zone 33!\nDie LGO-Datei "
                                            "wird nicht geschrieben! Abbruch!   "));
    if (zone != 0 && own != zone)
      throw OrvenilError(kErrInvalidProcedureCall,
                         QStringLiteral("Die Rechtswerte liegen in UTM-Zone ") + QString::number(zone) +
                             QStringLiteral(" (Punkt ") + zonePoint + QStringLiteral(") und in UTM-Zone ") +
                             QString::number(own) + QStringLiteral(" (Punkt ") + point +
                             QStringLiteral(")!\nEine LGO-Datei nennt nur eine Zone; sie wird nicht "
                                            "geschrieben! Abbruch!   "));
    if (zone == 0) {
      zone = own;
      zonePoint = point;
    }
  }
  if (zone == 0)
    throw OrvenilError(kErrInvalidProcedureCall,
                       QStringLiteral("Kein Punkt mit Rechtswert in UTM-Zone 32 oder 33!\nDie LGO-Datei wird "
                                      "nicht geschrieben! Abbruch!   "));
  return zone;
}

}  // namespace

int WriteLgoFile(const ExportJob& job, UnreadableValues& unreadable) {
  const bool etrs89 = job.preset == kPresetEtrs89;
  const bool geodetic = job.preset == kPresetGeodetic;
  if (!etrs89 && !geodetic)
    throw OrvenilError(kErrInvalidProcedureCall,
                       QStringLiteral("Eine LGO-Datei wird nur mit der Vorlage \"") + kPresetEtrs89 +
                           QStringLiteral("\" oder \"") + kPresetGeodetic +
                           QStringLiteral("\" geschrieben; mit der Vorlage \"") + job.preset +
                           QStringLiteral("\" enthielte sie keinen Punkt!\nBitte wählen Sie im Export eine "
                                          "der beiden LGO-Vorlagen! Abbruch!   "));
  // The header says WGS 1984: positions of another system are refused.
  RequirePositionsIn(job.startEllipsoid,
                     etrs89 ? QStringList{QStringLiteral("GRS1980")}
                            : QStringList{QStringLiteral("GRS1980"), QStringLiteral("WGS1984")},
                     false, QStringLiteral("Die LGO-Datei"), QStringLiteral("ETRS89"));
  const QStringList names = ExportColumnNames(job.columnList);
  const QString select =
      QStringLiteral("SELECT ") + ExportSelectList(names) + QStringLiteral(" FROM Daten ORDER BY rowid");
  // Before the file is made: a refused export leaves any older file as it was.
  const int zone = etrs89 ? LgoZone(job, names, select) : 0;
  ExportOutput out(job.path);
  out.writeLine(QStringLiteral("@%Unit:                m"));
  out.writeLine(etrs89 ? QStringLiteral("@%Coordinate type:     Grid")
                       : QStringLiteral("@%Coordinate type:     Geodetic"));
  out.writeLine(QStringLiteral("@%Reference ellipsoid: WGS 1984"));
  if (etrs89) out.writeLine(QStringLiteral("@%Projection set:      UTM ") + QString::number(zone));
  const int total = DatenRecordCount(job.db);
  ForwardQuery query(job.db, select);
  MissingCoordinates missing(names);
  ColumnLine line;
  int record = 0;
  while (query.next()) {
    job.report(++record, total);
    // A missing value would move the following ones into its place.
    if (!missing.complete(query)) continue;
    const QStringList values = RecordValues(query, names.size());
    if (values.join(QString()).isEmpty()) continue;
    // The record is read by its blanks: a value holding one is left out.
    if (const qsizetype bad = SplitValue(values); bad >= 0) {
      unreadable.add(ValueAt(values, 0), values.at(bad));
      continue;
    }
    const QString t1 = ValueAt(values, 0), t2 = ValueAt(values, 1);
    const QString t3 = ValueAt(values, 2), t4 = ValueAt(values, 3);
    line.clear();
    line.place(1, QStringLiteral("@#") + t1);
    if (etrs89) {
      line.place(23, t2.mid(1));  // without the zone code digit
      line.place(37, t3);
      line.place(60, t4);
      line.place(77, QStringLiteral("33"));
    } else {
      line.place(20, AngleWithBlanks(t2));
      line.place(36, QStringLiteral("N"));
      line.place(39, AngleWithBlanks(t3));
      line.place(55, QStringLiteral("E"));
      line.place(60, t4);
      line.place(77, QStringLiteral("22"));
    }
    out.writeLine(line.text());
  }
  out.close();
  return missing.count();
}

}  // namespace orv
