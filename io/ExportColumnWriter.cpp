#include "io/ExportColumnWriter.h"

#include <cstring>

#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "foundation/TextTokens.h"
#include "foundation/Windows1252.h"
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

QByteArrayView Trimmed(QByteArrayView bytes) {
  qsizetype begin = 0, end = bytes.size();
  while (begin < end && bytes.at(begin) == ' ') ++begin;
  while (end > begin && bytes.at(end - 1) == ' ') --end;
  return bytes.sliced(begin, end - begin);
}

// How the values of a line are told apart when the file is read again.
enum class Separation { Blank, Tab, Semicolon };

// The first value the import would split or shift, -1 for none. Blanks
// around a value go with the separators. In a blank-separated line a blank
// inside a value splits it, and an empty value (other than the code, which
// is written "0") moves the values after it; the csv import splits at ","
// and ";", drops double quotes and turns inner blanks into "_" (the seconds
// sign that ends a degree text may go: the angle reads back the same).
qsizetype SplitValue(const std::vector<QByteArrayView>& values, const std::vector<char>& code,
                     Separation separation) {
  if (separation == Separation::Tab) return -1;
  // Most rows hold no blank, no separator and no empty value at all.
  bool plain = true;
  for (const QByteArrayView value : values) {
    if (value.isEmpty() || std::memchr(value.data(), ' ', static_cast<size_t>(value.size())) != nullptr ||
        (separation == Separation::Semicolon &&
         (std::memchr(value.data(), ',', static_cast<size_t>(value.size())) != nullptr ||
          std::memchr(value.data(), ';', static_cast<size_t>(value.size())) != nullptr ||
          std::memchr(value.data(), '"', static_cast<size_t>(value.size())) != nullptr))) {
      plain = false;
      break;
    }
  }
  if (plain) return -1;
  qsizetype last = static_cast<qsizetype>(values.size()) - 1;
  if (separation == Separation::Blank)
    while (last >= 0 && Trimmed(values[static_cast<size_t>(last)]).isEmpty()) --last;
  for (qsizetype c = 0; c < static_cast<qsizetype>(values.size()); ++c) {
    const QByteArrayView value = Trimmed(values[static_cast<size_t>(c)]);
    if (separation == Separation::Blank) {
      if (value.isEmpty() ? !code[static_cast<size_t>(c)] && c < last : value.contains(' ')) return c;
    } else {
      const QByteArrayView inner = value.endsWith('"') && value.contains("\xC2\xB0") ? value.chopped(1) : value;
      for (char b : inner)
        if (b == ' ' || b == ',' || b == ';' || b == '"') return c;
    }
  }
  return -1;
}

// The first value with a character Windows-1252 lacks (it would be written
// as "?"), -1 for none.
qsizetype ValueOutsideWindows1252(const std::vector<QByteArrayView>& values) {
  for (size_t c = 0; c < values.size(); ++c) {
    if (!IsPlainAscii(values[c]) && !FitsWindows1252(QString::fromUtf8(values[c])))
      return static_cast<qsizetype>(c);
  }
  return -1;
}

}  // namespace

QString GeografLine(const QStringList& values) {
  auto value = [&](int i) { return i < values.size() ? values.at(i) : QString(); };
  ColumnLine line;
  line.place(1, RightAligned(value(0), 15));
  line.place(18, RightAligned(value(1), 8));
  line.place(28, RightAligned(ThreeDecimals(value(2)), 11));
  line.place(41, RightAligned(ThreeDecimals(value(3)), 11));
  const QString height = value(4);
  if (!height.isEmpty()) line.place(54, RightAligned(ThreeDecimals(height), 11));
  return line.text();
}

int WriteColumnFile(const ExportJob& job, int filterIndex, UnreadableValues& unreadable) {
  const Separation separation = filterIndex == kExportAsciiTab ? Separation::Tab
                                : filterIndex == kExportCsv    ? Separation::Semicolon
                                                               : Separation::Blank;
  const QByteArray separatorBytes = separation == Separation::Tab         ? QByteArrayLiteral("\t")
                                    : separation == Separation::Semicolon ? QByteArrayLiteral(";")
                                                                          : QByteArrayLiteral(" ");
  const QStringList names = ExportColumnNames(job.columnList);
  MissingCoordinates missing(names);
  std::vector<char> code(names.size());
  for (qsizetype c = 0; c < names.size(); ++c)
    code[c] = separation == Separation::Blank && names.at(c) == QLatin1String("C");
  // A record left out is named by its point, read as a column of its own
  // when the point is not among the chosen ones.
  QStringList selected = names;
  qsizetype pointColumn = names.indexOf(QStringLiteral("Punkt"));
  if (pointColumn < 0) {
    pointColumn = selected.size();
    selected << QStringLiteral("Punkt");
  }

  const int total = DatenRecordCount(job.db);
  ForwardQuery query(job.db, QStringLiteral("SELECT ") + ExportSelectList(selected) +
                                 QStringLiteral(" FROM Daten ORDER BY rowid"));
  ExportOutput out(job.path);
  const bool geograf = filterIndex == kExportGeograf;
  int record = 0;
  // The line is built from the stored UTF-8 bytes; a line of plain ASCII is
  // already its own Windows-1252 text, any other goes through the codec.
  // Each value of a row is read from the statement once, for the check of
  // its coordinates and for the line.
  QByteArray line;
  std::vector<QByteArrayView> values(static_cast<size_t>(names.size()));
  QStringList fields;
  while (query.next()) {
    job.report(++record, total);
    for (size_t c = 0; c < values.size(); ++c) values[c] = query.utf8(static_cast<int>(c));
    if (!missing.complete(values)) continue;
    const qsizetype bad = SplitValue(values, code, separation);
    if (bad >= 0) {
      unreadable.add(QString::fromUtf8(query.utf8(static_cast<int>(pointColumn))),
                     QString::fromUtf8(values[static_cast<size_t>(bad)]));
      continue;
    }
    line.resize(0);
    for (size_t c = 0; c < values.size(); ++c) {
      if (c > 0) line.append(separatorBytes);
      const QByteArrayView value = values[c];
      if (code[c] && Trimmed(value).isEmpty())
        line.append(kNoCode);
      else
        line.append(value.data(), value.size());
    }
    const QByteArrayView trimmed = Trimmed(line);
    if (trimmed.isEmpty()) continue;
    if (!geograf && IsPlainAscii(trimmed)) {
      out.writeEncodedLine(trimmed);
      continue;
    }
    // Only here can a value hold a character the code page lacks.
    const qsizetype foreign = IsPlainAscii(trimmed) ? -1 : ValueOutsideWindows1252(values);
    if (foreign >= 0) {
      unreadable.add(QString::fromUtf8(query.utf8(static_cast<int>(pointColumn))),
                     QString::fromUtf8(values[static_cast<size_t>(foreign)]));
      continue;
    }
    if (geograf) {
      // Each field from its own value: a value never runs into the next.
      fields.clear();
      for (size_t c = 0; c < values.size(); ++c) {
        const QByteArrayView value = Trimmed(values[c]);
        fields << (code[c] && value.isEmpty() ? QString::fromLatin1(kNoCode) : QString::fromUtf8(value));
      }
      out.writeLine(GeografLine(fields));
      continue;
    }
    out.writeLine(QString::fromUtf8(trimmed.data(), trimmed.size()));
  }
  out.close();
  return missing.count();
}

}  // namespace orv
