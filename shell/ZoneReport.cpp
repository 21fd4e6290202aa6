#include "shell/ZoneReport.h"

#include "foundation/DialogService.h"
#include "geodesy/ZoneRules.h"

namespace orv {

int32_t ErmittleZoneVerebnet(double easting, const QString& ellipsoidName) {
  const EastingZone zone = ZoneOfEasting(easting, ellipsoidName);
  if (zone.invalid) {
    Dialogs().messageBox(QStringLiteral("Zone bzw. Koordinatensystem ungültig! Abbruch!"),
                         MsgButtons::Ok, MsgIcon::Critical,
                         QStringLiteral("Orvenil ErmittleZoneVerebnet"));
  }
  return zone.L0;
}

}  // namespace orv
