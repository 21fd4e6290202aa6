// The geoid step at the end of an import: the undulation N of every imported
// point from the geoid program, and the ellipsoidal height derived from it.
#include "io/ImportGeoidHeights.h"
#include "runs/DatenBlockRun.h"
#include "runs/GeoidUndulations.h"
#include "shell/FormOrvenil.h"
#include "shell/ProgramState.h"

namespace orv {

void FormOrvenil::RunImportGeoidStep() {
  ProgramState& state = State();
  if (!state.GeoidBereit) return;
  const bool geographic = state.StartAbbildungName == QLatin1String("geographisch");
  // A program that did not answer is reported there and leaves every row as it is.
  GeoidUndulationWalk walk;
  walk.readColumns = {QStringLiteral("sHg"), QStringLiteral("sZe")};
  walk.writeColumns = {QStringLiteral("Geoidundulation"), QStringLiteral("sHg"), QStringLiteral("sZe")};
  walk.compute = [geographic](DatenRunRow& row, std::optional<double> N) {
    const GeoidHeights h = ApplyUndulation(N, row.in[0], row.in[1], geographic);
    row.out.add(h.undulation);
    row.out.add(h.sHg);
    row.out.add(h.sZe);
  };
  ComputeGeoidUndulationsExternal(state, walk);
}

}  // namespace orv
