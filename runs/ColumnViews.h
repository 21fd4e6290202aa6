#pragma once
// The four column views of the coordinate grid that the toolbar's
// "Spaltenansicht" offers: all columns, the start system, the target system,
// start and target side by side. Keys are column names of table Daten,
// compared exactly.
#include <QString>

namespace orv {

// Whether view 1 … 4 shows the column; view 1 shows every column, an unknown
// view none.
bool ColumnShownInView(int view, const QString& key);

}  // namespace orv
