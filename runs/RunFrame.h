#pragma once
// What every run over table Daten shares: the positions of the columns it
// touches (looked up once per run, not per row), the reading of a column as
// a number, and the marker that a run is busy, which the window's buttons
// and toolbar keys respect.
#include <QString>
#include <QStringList>
#include <vector>

#include "platform/db/Database.h"
#include "platform/db/Recordset.h"

namespace orv {

// Field positions of named columns of one recordset.
class ColumnPositions {
 public:
  // OrvenilError 3265 when the recordset lacks one of the columns.
  ColumnPositions(const Recordset& rs, const QStringList& names);
  int operator[](int i) const { return positions_[static_cast<size_t>(i)]; }

 private:
  std::vector<int> positions_;
};

// A column read as a number by the leading-number rule; empty text is 0, a
// column never written (Null) is an error (94).
double ColumnNumber(const Recordset& rs, int position);
// A column's text; Null gives the empty text.
QString ColumnText(const Recordset& rs, int position);

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
