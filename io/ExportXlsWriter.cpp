#include "io/ExportXlsWriter.h"

#include <QRegularExpression>

#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "platform/db/ForwardQuery.h"
#include "platform/ui/XlsWriter.h"
#include "shell/CoordinateDatabase.h"
#include "shell/GridEventRules.h"

namespace orv {

QString DatenFromClause(const QString& gridQuery) {
  static const QRegularExpression pattern(QStringLiteral("^\\s*SELECT\\s+\\*(\\s+FROM\\s+Daten\\b.*)$"),
                                          QRegularExpression::CaseInsensitiveOption |
                                              QRegularExpression::DotMatchesEverythingOption);
  static const QRegularExpression orderBy(QStringLiteral("\\bORDER\\s+BY\\b"),
                                          QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch m = pattern.match(gridQuery);
  if (!m.hasMatch()) return QString();
  // Rows of equal keys in the order the grid shows them: by row id.
  const QString from = m.captured(1).trimmed();
  return QLatin1Char(' ') + from + (orderBy.match(from).hasMatch() ? QStringLiteral(", rowid") : QStringLiteral(" ORDER BY rowid"));
}

int WriteXlsFile(const ExportJob& job, const XlsExportSource& source) {
  // Entries that name no column of the grid are left out, as the grid's own
  // export does.
  const QStringList& fields = DatenColumnNames();
  QStringList names, header;
  for (const QString& entry : job.columnList.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
    const int n = static_cast<int>(Val(entry));
    if (n < 1 || n > fields.size() || n > source.captions.size()) continue;
    names << fields.at(n - 1);
    header << source.captions.at(n - 1);
  }
  if (names.isEmpty()) return 0;
  const int width = static_cast<int>(names.size());
  const QString select = QStringLiteral("SELECT ") + ExportSelectList(names) +
                         QStringLiteral(",\"sYe\",\"sBgZiel\"") + source.fromClause;
  const int total = DatenRecordCount(job.db);
  ForwardQuery query(job.db, select);

  XlsWriter writer;
  if (!writer.open(job.path)) throw OrvenilError(kErrPathFileAccess, writer.errorText());
  writer.writeRow(header);
  QStringList cells;
  int record = 0, written = 0;
  while (query.next()) {
    job.report(++record, total);
    if (ExportRowSkipped(query.text(width), query.text(width + 1), source.presetActive)) continue;
    cells.clear();
    for (int c = 0; c < width; ++c) cells << query.text(c);
    writer.writeRow(cells);
    ++written;
  }
  if (!writer.close())
    throw OrvenilError(kErrDeviceIoError, writer.errorText());
  return written;
}

}  // namespace orv
