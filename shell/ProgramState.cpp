#include "shell/ProgramState.h"

namespace orv {

namespace {
ProgramState& Instance() {
  static ProgramState state;
  return state;
}
}  // namespace

ProgramState& State() { return Instance(); }

void ResetProgramState() { Instance() = ProgramState{}; }

void RecordTargetPositionsSystem(ProgramState& state) {
  state.EllipsoidZielKoordinaten = state.ZonenEllipsoidZiel;
  state.ZielKoordinatenA = state.ZielA;
  state.ZielKoordinatenF = state.ZielF;
  state.ZielKoordinatenK0 = state.ZielK0;
}

void ForgetTargetPositionsSystem(ProgramState& state) {
  state.EllipsoidZielKoordinaten.clear();
  state.ZielKoordinatenA = 0;
  state.ZielKoordinatenF = 0;
  state.ZielKoordinatenK0 = 0;
}

bool TargetPositionsSystemKnown(const ProgramState& state) {
  return !state.EllipsoidZielKoordinaten.isEmpty() && state.ZielKoordinatenA != 0;
}

}  // namespace orv
