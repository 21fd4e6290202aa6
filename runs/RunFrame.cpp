#include "runs/RunFrame.h"

#include "foundation/DialogService.h"
#include "foundation/OrvenilError.h"
#include "platform/db/FieldType.h"
#include "platform/db/ForwardQuery.h"
#include "platform/ui/DataGrid.h"
#include "shell/FormOrvenil.h"
#include "shell/ProgramState.h"

namespace orv {

qint64 CountDatenRows(const Database& db) {
  ForwardQuery count(db, QStringLiteral("SELECT count(*) FROM Daten"));
  return count.next() ? count.value(0).longValue() : 0;
}

bool TargetSystemKnown(const FormOrvenil& window, const ProgramState& state) {
  return window.GridKoordSys->FindRow(QStringLiteral("Ellipsoidname"), state.EllipsoidZiel, 1) > 0 &&
         state.ZielA != 0;
}

QString BeyondZoneText(qint64 count) {
  return QString::number(count) + QStringLiteral(
                                      " Punkte liegen 500 km oder mehr vom Mittelmeridian ihrer Zone "
                                      "entfernt: ihre Rechts- und Hochwerte bleiben leer!   ");
}

void WarnRowsBeyondZone(qint64 count, const QString& title) {
  Dialogs().messageBox(BeyondZoneText(count), MsgButtons::Ok, MsgIcon::Exclamation, title);
}

QString FailedRunText(const std::exception& error, const QString& usual) {
  const auto* own = dynamic_cast<const OrvenilError*>(&error);
  if (!own ||
      (own->number() != kErrDiskFull && own->number() != kErrDeviceIoError && own->number() != kDbErrInUse))
    return usual;
  return own->description() + QStringLiteral(" Abbruch!");
}

void WarnRowsWithoutStartHeight(qint64 count, const QString& title) {
  Dialogs().messageBox(
      QString::number(count) +
          QStringLiteral(" Zeilen ohne Starthöhe (sZe): ihre Zielhöhen (sHgZiel, sZeZiel) und "
                         "geozentrischen Zielkoordinaten (sXzZiel, sYzZiel, sZzZiel) sind "
                         "\"Fehler\"!   "),
      MsgButtons::Ok, MsgIcon::Exclamation, title);
}

}  // namespace orv
