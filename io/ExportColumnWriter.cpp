#include "io/ExportColumnWriter.h"

#include <cstring>

#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "foundation/TextTokens.h"
#include "foundation/Windows1252.h"
#include "io/ColumnLine.h"
#include "io/ExportFileChoice.h"
#include "io/ImportLineFormats.h"
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

// How the values of a line are told apart when the file is read again.
enum class Separation { Blank, Tab, Semicolon };

bool Holds(QByteArrayView value, char c) {
  // An empty view may have no data at all, which memchr must not be given.
  return !value.isEmpty() && std::memchr(value.data(), c, static_cast<size_t>(value.size())) != nullptr;
}

// An angle sign (an apostrophe or the last byte of "°" in UTF-8) that the
// import's angle-sign step may join with a blank after it.
bool MayEndAnAngle(QByteArrayView value) { return Holds(value, '\'') || Holds(value, '\xB0'); }

// How a csv value is written: as it is, in double quotes (a ",", ";" or
// double quote inside, which the import reads as one field when it begins
// and ends with a quote; the seconds sign of a degree text too, so that
// other csv readers keep the fields apart), or not at all (a blank inside
// turns into "_").
enum class CsvValue { Plain, Quoted, Unreadable };

CsvValue CsvValueKind(QByteArrayView value) {
  if (Holds(value, ' ')) return CsvValue::Unreadable;
  return Holds(value, ',') || Holds(value, ';') || Holds(value, '"') ? CsvValue::Quoted : CsvValue::Plain;
}

// A number or degree text with one decimal point, written with the decimal
// comma where the desktop's spreadsheet reads numbers so: a digit or sign
// first, one ".", no "," and no blank.
bool TakesDecimalComma(QByteArrayView value) {
  if (value.isEmpty() || !((value[0] >= '0' && value[0] <= '9') || value[0] == '-' || value[0] == '+'))
    return false;
  int points = 0;
  for (const char b : value) {
    if (b == ',' || b == ' ') return false;
    points += b == '.' ? 1 : 0;
  }
  return points == 1;
}

// A projected or geocentric coordinate (of the start or target system).
bool IsProjectedOrGeocentric(const QString& name) {
  static const QStringList fields{"sYe", "sXe", "sXz", "sYz", "sZz"};
  return fields.contains(name.endsWith(QLatin1String("Ziel")) ? name.chopped(4) : name);
}

// Does the value hold a degree sign (UTF-8)?
bool HoldsDegreeSign(QByteArrayView value) { return Holds(value, '\xB0') && value.contains("\xC2\xB0"); }

// The first value the import would split, shift, change or refuse, -1 for
// none; `quoted` marks the csv values written in double quotes (only set
// when `anyQuoted` comes back True). Blanks around a value go with the
// separators. In a blank-separated line a blank inside a value splits it,
// an empty value (other than the code, which is written "0") moves the
// values after it, and an angle sign before the blank that follows a value
// joins it with the next; in a TAB-separated line an angle sign before a
// blank inside a value joins what follows it. Where `noDegreeSign`, the
// line is one of projected or geocentric coordinates, which the import
// refuses when it holds a "°" anywhere (a code "Winkel°", say).
qsizetype SplitValue(const std::vector<QByteArrayView>& values, const std::vector<char>& code,
                     Separation separation, bool noDegreeSign, std::vector<char>& quoted, bool& anyQuoted) {
  anyQuoted = false;
  // Most rows hold no blank, no separator, no angle sign and no empty value at all.
  bool plain = true;
  for (const QByteArrayView value : values) {
    const bool odd = (noDegreeSign && Holds(value, '\xB0')) ||
                     (separation == Separation::Tab
                          ? MayEndAnAngle(value)
                          : value.isEmpty() || Holds(value, ' ') ||
                                (separation == Separation::Semicolon
                                     ? Holds(value, ',') || Holds(value, ';') || Holds(value, '"')
                                     : MayEndAnAngle(value)));
    if (odd) {
      plain = false;
      break;
    }
  }
  if (plain) return -1;
  qsizetype last = static_cast<qsizetype>(values.size()) - 1;
  if (separation == Separation::Blank)
    while (last >= 0 && TrimBlankBytes(values[static_cast<size_t>(last)]).isEmpty()) --last;
  for (qsizetype c = 0; c < static_cast<qsizetype>(values.size()); ++c) {
    const QByteArrayView value = TrimBlankBytes(values[static_cast<size_t>(c)]);
    if (noDegreeSign && HoldsDegreeSign(value)) return c;
    if (separation == Separation::Semicolon) {
      const CsvValue kind = CsvValueKind(value);
      if (kind == CsvValue::Unreadable) return c;
      quoted[static_cast<size_t>(c)] = kind == CsvValue::Quoted;
      anyQuoted = anyQuoted || kind == CsvValue::Quoted;
      continue;
    }
    if (separation == Separation::Blank &&
        (value.isEmpty() ? !code[static_cast<size_t>(c)] && c < last : value.contains(' ')))
      return c;
    if (MayEndAnAngle(value) &&
        AngleSignsWouldJoin(QString::fromUtf8(value), separation == Separation::Blank && c < last))
      return c;
  }
  return -1;
}

// A csv value in double quotes, a quote inside doubled.
void AppendQuoted(QByteArray& line, QByteArrayView value) {
  line.append('"');
  for (const char b : value) {
    if (b == '"') line.append('"');
    line.append(b);
  }
  line.append('"');
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
  // The numbers of a csv file carry the desktop's decimal comma where it
  // has one, so that its spreadsheet reads them as numbers; point numbers,
  // codes and the input line stay as they are.
  std::vector<char> decimalComma(names.size());
  bool projected = false, geographic = false;
  for (qsizetype c = 0; c < names.size(); ++c) {
    const QString& name = names.at(c);
    code[c] = separation == Separation::Blank && name == QLatin1String("C");
    decimalComma[c] = separation == Separation::Semicolon && job.decimalComma &&
                      name != QLatin1String("Punkt") && name != QLatin1String("C") &&
                      name != QLatin1String("Zeile");
    if (IsCoordinateField(name)) (IsProjectedOrGeocentric(name) ? projected : geographic) = true;
  }
  const bool noDegreeSign = projected && !geographic;
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
  std::vector<char> quoted(values.size());
  bool anyQuoted = false;
  QStringList fields;
  while (query.next()) {
    job.report(++record, total);
    for (size_t c = 0; c < values.size(); ++c) values[c] = query.utf8(static_cast<int>(c));
    if (!missing.complete(values)) continue;
    const qsizetype bad = SplitValue(values, code, separation, noDegreeSign, quoted, anyQuoted);
    if (bad >= 0) {
      unreadable.add(QString::fromUtf8(query.utf8(static_cast<int>(pointColumn))),
                     QString::fromUtf8(TrimBlankBytes(values[static_cast<size_t>(bad)])));
      continue;
    }
    line.resize(0);
    for (size_t c = 0; c < values.size(); ++c) {
      if (c > 0) line.append(separatorBytes);
      const QByteArrayView value = values[c];
      const qsizetype start = line.size();
      if (code[c] && TrimBlankBytes(value).isEmpty())
        line.append(kNoCode);
      else if (anyQuoted && quoted[c])
        AppendQuoted(line, TrimBlankBytes(value));
      else
        line.append(value.data(), value.size());
      if (decimalComma[c] && TakesDecimalComma(TrimBlankBytes(value))) {
        char* written = line.data();
        for (qsizetype i = start; i < line.size(); ++i)
          if (written[i] == '.') written[i] = ',';
      }
    }
    const QByteArrayView trimmed = TrimBlankBytes(line);
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
        const QByteArrayView value = TrimBlankBytes(values[c]);
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
