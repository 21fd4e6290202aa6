// Handlers whose operations come with the export and the runs.
// Until then they tell the user the function is not available, or (for
// events that fire on their own) do nothing.
#include "shell/FormOrvenil.h"

namespace orv {

void FormOrvenil::StartAbbildung_Click(int /*index*/) {}

// ---- NTv2 run: until runs/ holds it --------------------------------------
void FormOrvenil::RunNtv2Transformation() { NotAvailable(QStringLiteral("Die NTv2-Transformation")); }
// ---- end NTv2 run ---------------------------------------------------------
}  // namespace orv
