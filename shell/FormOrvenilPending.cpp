// Handlers whose operations come with the export and the runs.
// Until then they tell the user the function is not available, or (for
// events that fire on their own) do nothing.
#include "shell/FormOrvenil.h"

namespace orv {

void FormOrvenil::cmdAuswahlExport_Click() { NotAvailable(QStringLiteral("Der Export")); }
void FormOrvenil::cmdTrafoStart_Click() { NotAvailable(QStringLiteral("Die Transformation")); }
void FormOrvenil::cmdZoneÄndern_Click() { NotAvailable(QStringLiteral("Die Zonenumrechnung")); }
void FormOrvenil::StartAbbildung_Click(int /*index*/) {}
void FormOrvenil::GridKooDb_RowChange() {}

}  // namespace orv
