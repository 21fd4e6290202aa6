// Handlers whose operations come with the coordinate-system selection, the
// transformation panel, the system-table editor, the import and the runs.
// Until then they tell the user the function is not available, or (for
// events that fire on their own) do nothing.
#include "shell/FormOrvenil.h"

namespace orv {

void FormOrvenil::EllipsoidADatenZuordnen(const QString& /*ellipsoidName*/) {}
void FormOrvenil::cmdAuswahlExport_Click() { NotAvailable(QStringLiteral("Der Export")); }
void FormOrvenil::cmdTrafoStart_Click() { NotAvailable(QStringLiteral("Die Transformation")); }
void FormOrvenil::cmdZoneÄndern_Click() { NotAvailable(QStringLiteral("Die Zonenumrechnung")); }
void FormOrvenil::Startsys_Click(int /*index*/) {}
void FormOrvenil::StartAbbildung_Click(int /*index*/) {}
void FormOrvenil::AuswahlTrafoTyp_Click(int /*index*/) {}
void FormOrvenil::AuswahlTrafoRichtung_Click(int /*index*/) {}
void FormOrvenil::ComboTrafoPara_Click() {}
void FormOrvenil::cmbGeoidmodell_Click() {}
void FormOrvenil::BtZoneStart_Click() {}
void FormOrvenil::BtZoneZiel_Click() {}
void FormOrvenil::sevTabStrip1_Click() {}
void FormOrvenil::mnuPopUp_Click(int /*index*/) { NotAvailable(QStringLiteral("Das Bearbeiten der Systemtabellen")); }
void FormOrvenil::GridTrafoSys_MouseUp(int /*button*/, int /*column*/) {}
void FormOrvenil::GridNTv2Sys_MouseUp(int /*button*/, int /*column*/) {}
void FormOrvenil::GridGeoidmodell_MouseUp(int /*button*/, int /*column*/) {}
void FormOrvenil::GridTrafoSys_BeforeDelete(int /*row*/, bool& /*cancel*/) {}
void FormOrvenil::GridNTv2Sys_BeforeDelete(int /*row*/, bool& /*cancel*/) {}
void FormOrvenil::GridGeoidmodell_BeforeDelete(int /*row*/, bool& /*cancel*/) {}
void FormOrvenil::GridKooDb_RowChange() {}

}  // namespace orv
