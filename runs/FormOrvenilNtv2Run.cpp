// The NTv2 run over the rows of Daten, as its steps (runs/Ntv2RunSteps.h).
#include "foundation/OrvenilError.h"
#include "runs/Ntv2RunSteps.h"
#include "shell/FormOrvenil.h"
#include "shell/ProgramState.h"

namespace orv {

void FormOrvenil::RunNtv2Transformation() {
  Ntv2RunSteps run(*this, State());
  if (!run.preconditionsHold()) return;
  try {
    // A direction that does not fit the imported rows is told and ends the run.
    if (!run.prepare()) return;
    run.walk();
    run.finish();
  } catch (const OrvenilError& e) {
    run.fail(e);
  }
}

}  // namespace orv
