#pragma once
// The rows of a file-backed system table as the grid holds them and as its
// files hold them now, and the file that keeps this instance's version of a
// table when another instance changed the same rows.
#include <QString>
#include <functional>
#include <optional>

#include "shell/SystemTableMerge.h"

namespace orv {

class DataGrid;

// The grid's rows, each with exactly one cell per column.
TableRows GridTableRows(const DataGrid* grid);
// Why the table text file at path cannot be read as the program's text: it
// cannot be opened or read (no read right, a device error), or it holds null
// bytes (UTF-16 or no text at all) that would be read as other letters and
// written back so; "" when it can be read.
QString TableTextFileProblem(const QString& path);
// What the files under base (the path without ".fil"/".dat") hold now, each
// with exactly one cell per column of columnKeys.
struct StoredTable {
  std::optional<TableRows> gridFileRows;  // the ".fil", when useGridFile and it is one of this table
  std::optional<TableRows> textFileRows;  // the ".dat", when it can be read
  // The stored rows: the grid file's, else the text file's.
  const std::optional<TableRows>& rows() const { return gridFileRows ? gridFileRows : textFileRows; }
};
StoredTable ReadStoredTable(const QString& base, const QStringList& columnKeys, bool useGridFile);
// Writes the rows as the table's text file (";" between the cells); throws
// OrvenilError naming the file and the reason when that fails.
void WriteTableTextFile(const QString& path, const TableRows& rows);
// Said with its path each time a file of a system table has been put in
// place; a test stops the program there to see what a program ended between
// a table's two files leaves behind.
using TableFileProbe = std::function<void(const QString& path)>;
void SetTableFileProbe(TableFileProbe probe);
void TableFileWritten(const QString& path);
// A new name beside base for this instance's version of the table.
QString KeptVersionPath(const QString& base);
// The message that the file was left as another instance changed it and
// where this instance's table was kept (failure: why it could not be kept).
QString KeptVersionMessage(const QString& changedFile, const QString& keptFile, const QString& failure);

}  // namespace orv
