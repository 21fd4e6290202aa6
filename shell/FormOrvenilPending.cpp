// Events of the window that need no action of their own.
#include "shell/FormOrvenil.h"

namespace orv {

// The start-data dialog decides the mapping; the window's option only shows it.
void FormOrvenil::StartAbbildung_Click(int /*index*/) {}

}  // namespace orv
