#include "shell/SystemTableFiles.h"

#include <QDateTime>
#include <QFileInfo>

#include "foundation/TextLineReader.h"
#include "foundation/TextLineWriter.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/GridFile.h"
#include "shell/SystemTableDefinitions.h"

namespace orv {

namespace {

QStringList Fitted(QStringList cells, int columnCount) {
  while (cells.size() < columnCount) cells << QString();
  if (cells.size() > columnCount) cells.resize(columnCount);
  return cells;
}

std::optional<TableRows> RowsOfTextFile(const QString& path, int columnCount) {
  TextLineReader reader(path);
  if (!reader.isOpen()) return std::nullopt;
  TableRows rows;
  QString line;
  while (reader.readLine(line)) rows.push_back(Fitted(TableFileLineToRow(line).split(QLatin1Char('\t')), columnCount));
  return rows;
}

}  // namespace

TableRows GridTableRows(const DataGrid* grid) {
  TableRows rows;
  rows.reserve(static_cast<size_t>(grid->RowCount()));
  for (int r = 1; r <= grid->RowCount(); ++r) rows.push_back(Fitted(grid->RowCells(r), grid->ColumnCount()));
  return rows;
}

std::optional<TableRows> StoredTableRows(const QString& base, int columnCount, bool useGridFile) {
  GridFileContent content;
  if (useGridFile && QFileInfo::exists(base + QStringLiteral(".fil")) &&
      ReadGridFile(base + QStringLiteral(".fil"), content, nullptr)) {
    for (QStringList& row : content.rows) row = Fitted(std::move(row), columnCount);
    return std::move(content.rows);
  }
  try {
    return RowsOfTextFile(base + QStringLiteral(".dat"), columnCount);
  } catch (...) {
    return std::nullopt;
  }
}

void WriteTableTextFile(const QString& path, const TableRows& rows) {
  TextLineWriter writer(path);
  for (const QStringList& row : rows) writer.writeLine(TableRowToFileLine(row));
  writer.close();
}

QString KeptVersionPath(const QString& base) {
  const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd_HHmmss"));
  QString path = base + QStringLiteral("_eigene_Fassung_") + stamp + QStringLiteral(".dat");
  for (int n = 2; QFileInfo::exists(path); ++n)
    path = base + QStringLiteral("_eigene_Fassung_") + stamp + QLatin1Char('_') + QString::number(n) +
           QStringLiteral(".dat");
  return path;
}

QString KeptVersionMessage(const QString& changedFile, const QString& keptFile, const QString& failure) {
  const QString head = QStringLiteral("Die Datei ") + changedFile +
                       QStringLiteral(" wurde inzwischen von einem anderen laufenden Orvenil geändert, und zwar in "
                                      "Zeilen, die auch hier geändert wurden. Sie bleibt, wie sie ist; ");
  if (!failure.isEmpty())
    return head + QStringLiteral("die Tabelle dieses Fensters konnte nicht gespeichert werden.\n\n") + failure;
  return head + QStringLiteral("die Tabelle dieses Fensters ist in ") + keptFile + QStringLiteral(" gespeichert.   ");
}

}  // namespace orv
