#pragma once
// The rows of a file-backed system table as the grid holds them and as its
// files hold them now, and the file that keeps this instance's version of a
// table when another instance changed the same rows.
#include <QString>
#include <optional>

#include "shell/SystemTableMerge.h"

namespace orv {

class DataGrid;

// The grid's rows, each with exactly one cell per column.
TableRows GridTableRows(const DataGrid* grid);
// The rows stored now under base (the path without ".fil"/".dat"): from the
// ".fil" when useGridFile and it can be read, else from the ".dat"; nothing
// when neither can be read.
std::optional<TableRows> StoredTableRows(const QString& base, int columnCount, bool useGridFile);
// Writes the rows as the table's text file (";" between the cells); throws
// OrvenilError naming the file and the reason when that fails.
void WriteTableTextFile(const QString& path, const TableRows& rows);
// A new name beside base for this instance's version of the table.
QString KeptVersionPath(const QString& base);
// The message that the file was left as another instance changed it and
// where this instance's table was kept (failure: why it could not be kept).
QString KeptVersionMessage(const QString& changedFile, const QString& keptFile, const QString& failure);

}  // namespace orv
