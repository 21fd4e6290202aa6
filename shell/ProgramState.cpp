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

}  // namespace orv
