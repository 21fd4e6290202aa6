// Handlers whose operations come with the export and the runs.
// Until then they tell the user the function is not available, or (for
// events that fire on their own) do nothing.
#include "shell/FormOrvenil.h"

namespace orv {

void FormOrvenil::cmdAuswahlExport_Click() { NotAvailable(QStringLiteral("Der Export")); }
void FormOrvenil::StartAbbildung_Click(int /*index*/) {}
void FormOrvenil::GridKooDb_RowChange() {}

// ---- NTv2 run: until runs/ holds it --------------------------------------
void FormOrvenil::RunNtv2Transformation() { NotAvailable(QStringLiteral("Die NTv2-Transformation")); }
// ---- end NTv2 run ---------------------------------------------------------

// ---- Geoid height run: until runs/ holds it -------------------------------
void FormOrvenil::ConvertHeightsWithGeoid() { NotAvailable(QStringLiteral("Die Höhenumrechnung mit dem Geoid")); }
// ---- end geoid height run -------------------------------------------------

// ---- Height database run: until runs/ holds it ----------------------------
void FormOrvenil::HeightFromModel(qint32 /*mode*/) { NotAvailable(QStringLiteral("Die Höhe aus der Höhendatenbank")); }
// ---- end height database run ----------------------------------------------

}  // namespace orv
