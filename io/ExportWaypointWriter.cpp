#include "io/ExportWaypointWriter.h"

#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "platform/db/ForwardQuery.h"

namespace orv {

QString WaypointCoordinate(const QString& decimalDegrees) {
  try {
    return NumberText(RoundHalfEven(ToDoubleStrict(decimalDegrees), 7));
  } catch (const OrvenilError&) {
    return QString();
  }
}

void WriteWaypointFile(const ExportJob& job, const QString& heightAnswer) {
  QString latitudeField, longitudeField;
  if (job.preset == QStringLiteral("Eingabe Mikrokopter aus Startsystem")) {
    latitudeField = QStringLiteral("BgDez");
    longitudeField = QStringLiteral("LgDez");
  } else if (job.preset == QStringLiteral("Eingabe Mikrokopter aus Zielsystem")) {
    latitudeField = QStringLiteral("BgDezZiel");
    longitudeField = QStringLiteral("LgDezZiel");
  }
  const bool coordinates = !latitudeField.isEmpty();
  const QString altitude = QStringLiteral("Altitude=") + NumberText(Val(heightAnswer));
  const int total = DatenRecordCount(job.db);

  ExportOutput out(job.path);
  out.writeLine(QStringLiteral("[General]"));
  out.writeLine(QStringLiteral("FileVersion=3"));
  out.writeLine(QStringLiteral("NumberOfWaypoints=") + QString::number(total));
  ForwardQuery query(job.db, coordinates ? QStringLiteral("SELECT \"%1\", \"%2\" FROM Daten ORDER BY rowid")
                                               .arg(latitudeField, longitudeField)
                                         : QStringLiteral("SELECT NULL FROM Daten ORDER BY rowid"));
  int record = 0;
  while (query.next()) {
    job.report(++record, total);
    out.writeLine(QStringLiteral("[Point") + QString::number(record) + QLatin1Char(']'));
    if (coordinates) {
      out.writeLine(QStringLiteral("Latitude=") + WaypointCoordinate(query.text(0)));
      out.writeLine(QStringLiteral("Longitude=") + WaypointCoordinate(query.text(1)));
    }
    out.writeLine(QStringLiteral("Radius=5"));
    out.writeLine(altitude);
    for (const char* fixed : {"ClimbRate=10", "DelayTime=1", "WP_Event_Channel_Value=1", "Heading=124",
                              "Speed=20", "CAM-Nick=-1", "Type=1", "Prefix=P"})
      out.writeLine(QString::fromLatin1(fixed));
  }
  out.close();
}

}  // namespace orv
