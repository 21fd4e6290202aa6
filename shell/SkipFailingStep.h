#pragma once
// Start-up, FormVisible and the command-line timer go on after a failing
// statement: each step runs on its own and an error skips only that step.
#include <exception>

namespace orv {

template <typename F>
void SkipFailingStep(F&& step) {
  try {
    step();
  } catch (const std::exception&) {
  }
}

}  // namespace orv
