#pragma once
// Start-up, shutdown and a few handlers go on after a step that can fail: the
// step runs on its own, an error skips only that step and is logged with the
// step's name (qWarning), so a damaged file or a refused dialog never stops
// the window from opening or closing, and never goes unnoticed.
#include <exception>

namespace orv {

// Logs the error that made the named step be skipped.
void LogSkippedStep(const char* stepName, const std::exception& error);

template <typename F>
void SkipFailingStep(const char* stepName, F&& step) {
  try {
    step();
  } catch (const std::exception& e) {
    LogSkippedStep(stepName, e);
  }
}

}  // namespace orv
