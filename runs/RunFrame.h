#pragma once
// What every run over table Daten shares: the number of its rows, and the
// marker that a run is busy, which the window's buttons and toolbar keys
// respect.
#include "platform/db/Database.h"

namespace orv {

// The number of rows of table Daten.
qint64 CountDatenRows(const Database& db);

// Counts the runs in progress for the lifetime of the object.
class RunBusyScope {
 public:
  explicit RunBusyScope(int& counter) : counter_(counter) { ++counter_; }
  ~RunBusyScope() { --counter_; }
  RunBusyScope(const RunBusyScope&) = delete;
  RunBusyScope& operator=(const RunBusyScope&) = delete;

 private:
  int& counter_;
};

}  // namespace orv
