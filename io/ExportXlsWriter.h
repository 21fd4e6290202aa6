#pragma once
// The Excel .xls export: the chosen columns of the coordinate grid's rows, in
// the grid's order, read from the table the grid shows through one
// forward-only query. A caption row comes first; rows the grid's export
// leaves out (no start easting, or no target latitude while a preset of the
// export dialog is active) are skipped, as are rows that lack a chosen
// coordinate (MissingCoordinates); rows beyond a sheet's 65,536 go on
// further sheets.
#include <QString>
#include <QStringList>

#include "io/ExportJob.h"

namespace orv {

struct XlsExportSource {
  QString fromClause;         // " FROM Daten ORDER BY Punkt": the grid's rows and order
  QStringList captions;       // the grid's column captions, column 1 first
  bool presetActive = false;  // ExportVorlageAktiv
};

// Returns the number of coordinates missing in the rows left out; throws
// OrvenilError naming the file when it cannot be written, and when the column
// list names no column of the grid.
int WriteXlsFile(const ExportJob& job, const XlsExportSource& source);

// The FROM part (with WHERE and ORDER BY, ties in row-id order, as the grid
// shows them) of a grid's "SELECT * FROM Daten …" query; "" for any other query.
QString DatenFromClause(const QString& gridQuery);

}  // namespace orv
