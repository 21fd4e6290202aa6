#include "shell/SystemTableFiles.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

#include "foundation/FileErrorReason.h"
#include "foundation/RegularFile.h"
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
  if (!TableTextFileProblem(path).isEmpty()) return std::nullopt;
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

QString TableTextFileProblem(const QString& path) {
  QFile file;
  const auto reason = [&] { return errno != 0 ? SystemReadErrorReason(errno) : FileErrorReason(0, file); };
  if (const QString refused = OpenRegularFile(file, path); !refused.isEmpty()) return refused;
  for (qint64 at = 0;; at += 1 << 16) {
    errno = 0;
    const QByteArray block = file.read(1 << 16);
    if (block.isEmpty() && file.error() != QFileDevice::NoError) return reason();
    if (at == 0 && (block.startsWith("\xFF\xFE") || block.startsWith("\xFE\xFF")))
      return QStringLiteral("Die Datei ist UTF-16-kodiert; gelesen wird Text in Windows-1252 (ANSI)");
    if (block.contains('\0'))
      return QStringLiteral("Die Datei enthält Nullbytes (UTF-16-kodiert oder keine Textdatei); gelesen wird Text "
                            "in Windows-1252 (ANSI)");
    if (block.size() < (1 << 16)) return QString();
  }
}

StoredTable ReadStoredTable(const QString& base, const QStringList& columnKeys, bool useGridFile) {
  const int columnCount = static_cast<int>(columnKeys.size());
  StoredTable stored;
  GridFileContent content;
  if (useGridFile && QFileInfo::exists(base + QStringLiteral(".fil")) &&
      ReadGridFile(base + QStringLiteral(".fil"), content, nullptr, &columnKeys)) {
    for (QStringList& row : content.rows) row = Fitted(std::move(row), columnCount);
    stored.gridFileRows = std::move(content.rows);
  }
  try {
    stored.textFileRows = RowsOfTextFile(base + QStringLiteral(".dat"), columnCount);
  } catch (...) {
  }
  return stored;
}

void WriteTableTextFile(const QString& path, const TableRows& rows) {
  TextLineWriter writer(path);
  for (const QStringList& row : rows) writer.writeLine(TableRowToFileLine(row));
  writer.close();
}

namespace {
TableFileProbe& Probe() {
  static TableFileProbe probe;
  return probe;
}
}  // namespace

void SetTableFileProbe(TableFileProbe probe) { Probe() = std::move(probe); }

void TableFileWritten(const QString& path) {
  if (Probe()) Probe()(path);
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
