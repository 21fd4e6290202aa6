// Handlers whose operations come with the export and the runs.
// Until then they tell the user the function is not available, or (for
// events that fire on their own) do nothing.
#include "shell/FormOrvenil.h"

namespace orv {

void FormOrvenil::StartAbbildung_Click(int /*index*/) {}

}  // namespace orv
