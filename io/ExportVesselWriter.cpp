#include "io/ExportVesselWriter.h"

#include "foundation/ReplacingFileSet.h"
#include "foundation/TextLineWriter.h"
#include "foundation/TextTokens.h"
#include "io/ColumnLine.h"
#include "platform/db/ForwardQuery.h"

namespace orv {

QString VesselPointName(const QString& point) {
  QString name = TrimBlanks(point);
  name.remove(QLatin1Char('.')).remove(QLatin1Char(':')).replace(QLatin1Char(' '), QLatin1Char('.'));
  return name.left(4) + name.mid(6);
}

int WriteVesselSet(const ExportJob& job, const QString& importHeader) {
  // Only the final ".csv" gives way to the other extensions: a folder named
  // "x.csv" stays as it is.
  // The csv header says the target positions are RD83.
  RequirePositionsIn(job.targetEllipsoid, {QStringLiteral("Bessel")}, true, QStringLiteral("Der Kalkschiff-Satz"),
                     QStringLiteral("RD83"));
  const QString stem = job.path.endsWith(QStringLiteral(".csv")) ? job.path.chopped(4) : job.path;
  // The three files are put in place together, or none: the .lne of an
  // older trip beside the new .csv would name points it does not hold.
  const QString pktPath = stem + QStringLiteral(".pkt"), lnePath = stem + QStringLiteral(".lne");
  ReplacingFileSet files({job.path, pktPath, lnePath});
  TextLineWriter csv(files, job.path), pkt(files, pktPath), lne(files, lnePath);
  csv.writeLine(importHeader + QStringLiteral(";Y(RD83);X(RD83)"));

  ForwardQuery query(job.db,
                     QStringLiteral("SELECT Zeile, sYeZiel, sXeZiel, Punkt FROM Daten ORDER BY id, rowid"));
  MissingCoordinates missing({QString(), QStringLiteral("sYeZiel"), QStringLiteral("sXeZiel")});
  bool first = true;
  bool previousMarked = false;
  QString previousName;
  ColumnLine line;
  while (query.next()) {
    // A point without target coordinates is in none of the files, and no
    // line of the .lne file leads to it.
    if (!missing.complete(query)) {
      previousMarked = false;
      continue;
    }
    const QString zeile = query.text(0);
    const QString easting = query.text(1);
    const QString northing = query.text(2);
    QString commaEasting = easting, commaNorthing = northing;
    csv.writeLine(zeile + QStringLiteral("; ;") + commaEasting.replace(QLatin1Char('.'), QLatin1Char(',')) +
                  QLatin1Char(';') + commaNorthing.replace(QLatin1Char('.'), QLatin1Char(',')));

    const bool marked = GetToken(zeile, 15, QStringLiteral(";")) == QLatin1String("1");
    const QString name = VesselPointName(query.text(3)).right(15);
    if (marked) {
      QString pointEasting = easting, pointNorthing = northing;
      line.clear();
      line.place(1, name);
      line.place(17, QStringLiteral("1"));
      line.place(19, pointEasting.replace(QLatin1Char(','), QLatin1Char('.')));
      line.place(32, pointNorthing.replace(QLatin1Char(','), QLatin1Char('.')));
      pkt.writeLine(line.text());
    }
    if (!first && marked && previousMarked) {
      line.clear();
      line.place(1, QStringLiteral("1 ( ") + previousName);
      line.place(21, name);
      line.place(37, QStringLiteral(")"));
      lne.writeLine(line.text());
    }
    first = false;
    previousMarked = marked;
    previousName = name;
  }
  csv.close();
  pkt.close();
  lne.close();
  files.commit();
  return missing.count();
}

}  // namespace orv
