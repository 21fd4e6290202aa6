#pragma once
// The program-wide state lives in the shell (shell/ProgramState.h). This
// forwarding header serves the one reader below the shell, the NTv2
// interpolation, until it takes its open cache as a parameter.
#include "shell/ProgramState.h"
