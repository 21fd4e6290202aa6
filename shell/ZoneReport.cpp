#include "shell/ZoneReport.h"

#include "foundation/DialogService.h"
#include "geodesy/ZoneRules.h"

namespace orv {

int32_t ErmittleZoneVerebnet(double easting, const QString& ellipsoidName) {
  const EastingZone zone = ZoneOfEasting(easting, ellipsoidName);
  if (zone.invalid) ReportInvalidZone(QString());
  return zone.L0;
}

void ReportInvalidZone(const QString& where) {
  QString text = QStringLiteral("Zone bzw. Koordinatensystem ungültig! Abbruch!");
  if (!where.isEmpty()) text += QLatin1Char('\n') + where;
  Dialogs().messageBox(text, MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Orvenil ErmittleZoneVerebnet"));
}

}  // namespace orv
