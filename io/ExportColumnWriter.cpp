#include "io/ExportColumnWriter.h"

#include <algorithm>

#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "foundation/TextTokens.h"
#include "io/ColumnLine.h"
#include "io/ExportFileChoice.h"
#include "platform/db/ForwardQuery.h"

namespace orv {

namespace {

// What a blank-separated line holds for a point without code. Blanks
// there would run together with the separators, and a reader would take
// the easting for the code; "0" is the code the program gives points
// without one (the Vorsel import), so such a line reads back unshifted.
const QByteArray kNoCode = QByteArrayLiteral("0");

// A height or coordinate token with three decimals; a token that is no
// number stays as it is.
QString ThreeDecimals(const QString& token) {
  if (token.isEmpty()) return token;
  try {
    return FormatNumber(ToDoubleStrict(token), QStringLiteral("0.000"));
  } catch (const OrvenilError&) {
    return token;
  }
}

bool IsPlainAscii(QByteArrayView bytes) {
  for (char b : bytes)
    if (static_cast<unsigned char>(b) >= 0x80) return false;
  return true;
}

}  // namespace

QString EmptyCoordinatesMessage(int count) {
  return QString::number(count) + QStringLiteral(" Koordinaten ohne gültigen Wert!   \n") +
         QStringLiteral("Die betroffenen Punkte wurden nicht exportiert!   ");
}

QString GeografLine(const QString& joined) {
  const QStringList raw = SplitFields(joined, QStringLiteral(" "));
  auto token = [&](int i) { return i < raw.size() ? TrimBlanks(raw.at(i)) : QString(); };
  ColumnLine line;
  line.place(1, RightAligned(token(0), 15));
  line.place(18, RightAligned(token(1), 8));
  line.place(28, RightAligned(ThreeDecimals(token(2)), 11));
  line.place(41, RightAligned(ThreeDecimals(token(3)), 11));
  const QString height = token(4);
  if (!height.isEmpty()) line.place(54, RightAligned(ThreeDecimals(height), 11));
  return line.text();
}

int WriteColumnFile(const ExportJob& job, int filterIndex) {
  const QString separator = filterIndex == kExportAsciiTab ? QStringLiteral("\t")
                            : filterIndex == kExportCsv    ? QStringLiteral(";")
                                                           : QStringLiteral(" ");
  const QStringList names = ExportColumnNames(job.columnList);
  MissingCoordinates missing(names);
  const bool blankSeparated = separator == QLatin1String(" ");
  std::vector<char> code(names.size());
  for (qsizetype c = 0; c < names.size(); ++c) code[c] = blankSeparated && names.at(c) == QLatin1String("C");

  const int total = DatenRecordCount(job.db);
  ForwardQuery query(job.db, QStringLiteral("SELECT ") + ExportSelectList(names) +
                                 QStringLiteral(" FROM Daten ORDER BY rowid"));
  ExportOutput out(job.path);
  const bool geograf = filterIndex == kExportGeograf;
  const QByteArray separatorBytes = separator.toLatin1();
  int record = 0;
  // The line is built from the stored UTF-8 bytes; a line of plain ASCII is
  // already its own Windows-1252 text, any other goes through the codec.
  // Each value of a row is read from the statement once, for the check of
  // its coordinates and for the line.
  QByteArray line;
  std::vector<QByteArrayView> values(static_cast<size_t>(names.size()));
  while (query.next()) {
    job.report(++record, total);
    for (size_t c = 0; c < values.size(); ++c) values[c] = query.utf8(static_cast<int>(c));
    if (!missing.complete(values)) continue;
    line.resize(0);
    for (size_t c = 0; c < values.size(); ++c) {
      if (c > 0) line.append(separatorBytes);
      const QByteArrayView value = values[c];
      if (code[c] && std::all_of(value.begin(), value.end(), [](char b) { return b == ' '; }))
        line.append(kNoCode);
      else
        line.append(value.data(), value.size());
    }
    qsizetype begin = 0, end = line.size();
    while (begin < end && line.at(begin) == ' ') ++begin;
    while (end > begin && line.at(end - 1) == ' ') --end;
    if (begin == end) continue;
    const QByteArrayView trimmed(line.constData() + begin, end - begin);
    if (!geograf && IsPlainAscii(trimmed)) {
      out.writeEncodedLine(trimmed);
      continue;
    }
    const QString text = QString::fromUtf8(trimmed.data(), trimmed.size());
    out.writeLine(geograf ? GeografLine(text) : text);
  }
  out.close();
  return missing.count();
}

}  // namespace orv
