#pragma once
// The Excel .xls export: the chosen columns of the coordinate grid's rows, in
// the grid's order, read from the table the grid shows through one
// forward-only query. A caption row comes first; a row that lacks a chosen
// coordinate is left out and counted (MissingCoordinates), as the text
// writers do; rows beyond a sheet's 65,536 go on further sheets. Values are
// written without the blanks around them; a value that is plainly a number
// is a number cell showing its decimals, except in the point number, code
// and input line columns.
#include <QString>
#include <QStringList>

#include "io/ExportJob.h"

namespace orv {

struct XlsExportSource {
  QString fromClause;         // " FROM Daten ORDER BY Punkt": the grid's rows and order
  QStringList captions;       // the grid's column captions, column 1 first
};

// Returns the number of coordinates missing in the rows left out; throws
// OrvenilError naming the file when it cannot be written, and when the column
// list names no column of the grid.
int WriteXlsFile(const ExportJob& job, const XlsExportSource& source);

// The FROM part (with WHERE and ORDER BY, ties in row-id order, as the grid
// shows them) of a grid's "SELECT * FROM Daten …" query; "" for any other query.
QString DatenFromClause(const QString& gridQuery);

}  // namespace orv
