#include "io/ExportWaypointWriter.h"

#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "foundation/TypedNumber.h"
#include "platform/db/ForwardQuery.h"

namespace orv {

QString WaypointCoordinate(const QString& decimalDegrees) {
  try {
    return NumberText(RoundHalfEven(ToDoubleStrict(decimalDegrees), 7));
  } catch (const OrvenilError&) {
    return QString();
  }
}

namespace {
const QString kPresetStart = QStringLiteral("Eingabe Mikrokopter aus Startsystem");
const QString kPresetTarget = QStringLiteral("Eingabe Mikrokopter aus Zielsystem");
}  // namespace

void RequireWaypointPreset(const QString& preset) {
  if (preset == kPresetStart || preset == kPresetTarget) return;
  throw OrvenilError(
      kErrInvalidProcedureCall,
      QStringLiteral("Eine Wegpunktdatei wird nur mit der Vorlage \"") + kPresetStart +
          QStringLiteral("\" oder \"") + kPresetTarget +
          QStringLiteral("\" geschrieben; mit der Vorlage \"") + preset +
          QStringLiteral("\" enthielte sie Wegpunkte ohne Position!\nBitte wählen Sie im Export eine "
                         "der beiden Mikrokopter-Vorlagen! Abbruch!   "));
}

int WriteWaypointFile(const ExportJob& job, const QString& heightAnswer) {
  RequireWaypointPreset(job.preset);
  const bool target = job.preset == kPresetTarget;
  const QString latitudeField = target ? QStringLiteral("BgDezZiel") : QStringLiteral("BgDez");
  const QString longitudeField = target ? QStringLiteral("LgDezZiel") : QStringLiteral("LgDez");
  // A drone's GPS flies WGS 1984 positions: those of another system would
  // lead it astray by up to some hundred metres.
  RequirePositionsIn(target ? job.targetEllipsoid : job.startEllipsoid,
                     {QStringLiteral("GRS1980"), QStringLiteral("WGS1984")}, target,
                     QStringLiteral("Die Wegpunktdatei"), QStringLiteral("ETRS89"));
  // The height as typed (a box left empty is 0), never a part of it.
  double height = 0;
  ReadTypedNumber(heightAnswer, height);
  const QString altitude = QStringLiteral("Altitude=") + NumberText(height);
  const int total = DatenRecordCount(job.db);
  const QString select =
      QStringLiteral("SELECT \"%1\", \"%2\" FROM Daten ORDER BY rowid").arg(latitudeField, longitudeField);
  // A point whose latitude or longitude is no number (empty, never
  // computed) would be a waypoint without a place: it is left out and
  // counted, and the header counts the waypoints written.
  int missing = 0;
  const auto lacks = [](const QString& coordinate) { return coordinate.isEmpty() ? 1 : 0; };
  int waypoints = total;
  {
    ForwardQuery count(job.db, select);
    while (count.next()) {
      const int m = lacks(WaypointCoordinate(count.text(0))) + lacks(WaypointCoordinate(count.text(1)));
      missing += m;
      waypoints -= m > 0 ? 1 : 0;
    }
  }

  ExportOutput out(job.path);
  out.writeLine(QStringLiteral("[General]"));
  out.writeLine(QStringLiteral("FileVersion=3"));
  out.writeLine(QStringLiteral("NumberOfWaypoints=") + QString::number(waypoints));
  ForwardQuery query(job.db, select);
  int record = 0, written = 0;
  while (query.next()) {
    job.report(++record, total);
    const QString latitude = WaypointCoordinate(query.text(0));
    const QString longitude = WaypointCoordinate(query.text(1));
    if (latitude.isEmpty() || longitude.isEmpty()) continue;
    out.writeLine(QStringLiteral("[Point") + QString::number(++written) + QLatin1Char(']'));
    out.writeLine(QStringLiteral("Latitude=") + latitude);
    out.writeLine(QStringLiteral("Longitude=") + longitude);
    out.writeLine(QStringLiteral("Radius=5"));
    out.writeLine(altitude);
    for (const char* fixed : {"ClimbRate=10", "DelayTime=1", "WP_Event_Channel_Value=1", "Heading=124",
                              "Speed=20", "CAM-Nick=-1", "Type=1", "Prefix=P"})
      out.writeLine(QString::fromLatin1(fixed));
  }
  out.close();
  return missing;
}

}  // namespace orv
