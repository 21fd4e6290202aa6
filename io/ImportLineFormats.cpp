#include "io/ImportLineFormats.h"

#include "foundation/NumberText.h"
#include "foundation/TextTokens.h"
#include "foundation/TimeText.h"
#include "foundation/TypedNumber.h"

namespace orv {

namespace {

const QString kTab = QStringLiteral("\t");
constexpr double kSecondsPerDay = 86400.0;
// The minus sign of a number as German programs write it "as shown": the en
// dash (Windows-1252 0x96; a UTF-8 file's minus sign U+2212 comes as it).
constexpr char16_t kEnDash = 0x2013;

// Two blanks become one until none follow each other; blanks trimmed.
void CollapseBlanks(QString& line) { line = TrimSpacesFast(line); }

void BlanksToTabsUnlessTabbed(QString& line) {
  if (!line.contains(u'\t')) line.replace(u' ', u'\t');
}

// Does the text begin with a number (after blanks)?
bool StartsWithNumber(const QString& text) {
  for (const QChar c : text) {
    if (c == u' ') continue;
    return c.isDigit() || c == u'-' || c == u'+' || c == u'.' || c == QChar(kEnDash);
  }
  return false;
}

// "N" of a latitude, "E" or "O" of a longitude left out (a line of point,
// latitude and longitude holds the latitude where others hold the longitude).
QString WithoutHemisphereLetters(QString field) { return field.remove(u'N').remove(u'E').remove(u'O'); }

constexpr char16_t kDegreeSign = 0x00B0;

// What the angle before a sign holds: degrees ("°"), and after them minutes
// with a decimal point (no seconds can follow those).
struct AngleBefore {
  bool degrees = false;
  bool decimalMinutes = false;
};

// Walks back from a sign at `at` over the characters of an angle; True when
// it reaches the field's start after a digit.
bool EndsAnAngle(const QChar* text, qsizetype at, AngleBefore* angle = nullptr) {
  bool digit = false;
  for (qsizetype i = at - 1; i >= 0; --i) {
    const char16_t c = text[i].unicode();
    if (c >= u'0' && c <= u'9') {
      digit = true;
      continue;
    }
    if (angle && c == kDegreeSign) angle->degrees = true;
    if (angle && c == u'.' && !angle->degrees) angle->decimalMinutes = true;
    if (c == u'.' || c == u'+' || c == u'-' || c == kEnDash || c == kDegreeSign || c == u'\'' || c == u'N' ||
        c == u'E' || c == u'O')
      continue;
    return digit && (c == u' ' || c == u'\t' || c == u';' || c == u',' || c == u'"');
  }
  return digit;
}

// The digits of a minutes or seconds part from `at` on (with "." or a
// decimal comma); the character after them, or 0 at the text's end. `digits`
// tells whether any came.
char16_t AfterDigits(const QChar* text, qsizetype size, qsizetype at, bool& digits) {
  digits = false;
  for (qsizetype i = at; i < size; ++i) {
    const char16_t c = text[i].unicode();
    if (c >= u'0' && c <= u'9') digits = true;
    else if (c != u'.' && c != u',') return c;
  }
  return 0;
}

// The minutes of the angle follow at `at` ("30'", "30.5'").
bool MinutesFollow(const QChar* text, qsizetype size, qsizetype at) {
  bool digits = false;
  return AfterDigits(text, size, at, digits) == u'\'' && digits;
}

// The seconds of the angle follow at `at`: digits up to the field's end or
// the seconds mark.
bool SecondsFollow(const QChar* text, qsizetype size, qsizetype at) {
  bool digits = false;
  const char16_t c = AfterDigits(text, size, at, digits);
  return digits && (c == 0 || c == u' ' || c == u'\t' || c == u';' || c == u'"' || c == u'\'');
}

enum class JoinPart { Seconds, Degrees, Minutes };

// One pass of the angle-sign step over text[0, size): every `sign` (with a
// second sign before the blank when doubled) that ends an angle and is
// followed by a blank and the angle's next part becomes `into` (the blank
// kept when keepBlank); returns the new size.
qsizetype JoinSigns(QChar* text, qsizetype size, char16_t sign, JoinPart part, char16_t into, bool keepBlank) {
  const bool doubled = part == JoinPart::Seconds;
  const qsizetype length = doubled ? 3 : 2;
  const auto partFollows = [&](qsizetype w, qsizetype next) {
    AngleBefore angle;
    if (!EndsAnAngle(text, w, &angle)) return false;
    if (part == JoinPart::Degrees) return MinutesFollow(text, size, next);
    if (part == JoinPart::Minutes) return angle.degrees && !angle.decimalMinutes && SecondsFollow(text, size, next);
    return true;
  };
  qsizetype w = 0;
  for (qsizetype i = 0; i < size;) {
    if (i + length <= size && text[i] == sign && (!doubled || text[i + 1] == sign) &&
        text[i + length - 1] == u' ' && partFollows(w, i + length)) {
      text[w++] = QChar(into);
      if (keepBlank) text[w++] = QLatin1Char(' ');
      i += length;
      continue;
    }
    text[w++] = text[i++];
  }
  return w;
}

// The quote that closes a quoted field opening at `open` (a doubled quote
// inside is none), -1 for none.
qsizetype QuoteEnd(const QChar* text, qsizetype size, qsizetype open) {
  for (qsizetype i = open + 1; i < size; ++i) {
    if (text[i] != u'"') continue;
    if (i + 1 < size && text[i + 1] == u'"') {
      ++i;
      continue;
    }
    return i;
  }
  return -1;
}

// The separator of a csv line: the one its file named, else TAB where the
// line holds one outside quoted fields, else ";" where it holds one, else ",".
QChar CsvSeparator(QStringView line, const ImportLineState& state) {
  if (!state.csvSeparator.isNull()) return state.csvSeparator;
  if (!line.contains(u'"')) return line.contains(u'\t') ? u'\t' : line.contains(u';') ? u';' : u',';
  bool fieldStart = true, semicolon = false;
  for (qsizetype i = 0; i < line.size(); ++i) {
    const QChar c = line[i];
    if (fieldStart && c == u' ') continue;
    if (fieldStart && c == u'"') {
      // A quote that none closes quotes nothing.
      if (const qsizetype end = QuoteEnd(line.data(), line.size(), i); end >= 0) i = end;
      fieldStart = false;
      continue;
    }
    if (c == u'\t') return c;
    semicolon = semicolon || c == u';';
    fieldStart = c == u',' || c == u';';
  }
  return semicolon ? u';' : u',';
}

// A spreadsheet's first line "sep=;" names the separator of the file (a
// spreadsheet saving the file again may add the separators of empty cells).
bool NamesSeparator(QStringView line, QChar& separator) {
  while (line.startsWith(u' ')) line = line.sliced(1);
  if (line.size() < 5 || !line.startsWith(QLatin1String("sep="))) return false;
  for (const QChar c : line.sliced(5))
    if (c != line[4] && c != u' ') return false;
  separator = line[4];
  return true;
}

// The closing quote of a quoted field that opens at `open`, when blanks and
// then a separator (or the line's end) follow it; -1 for none.
qsizetype ClosingQuote(const QChar* text, qsizetype size, qsizetype open, char16_t separator) {
  const qsizetype i = QuoteEnd(text, size, open);
  if (i < 0) return -1;
  qsizetype j = i + 1;
  while (j < size && text[j] == u' ') ++j;
  return j == size || text[j] == separator ? i : -1;
}

// Splits a csv line at its separator into TAB-separated fields, in place:
// quotes of a quoted field go (a doubled one stays once), any other quote
// goes; blanks at the line's ends go, a run of blanks inside becomes one
// "_", and in a ";" or TAB line the blanks beside a separator go.
void SplitCsvFields(QString& line, QChar separatorChar) {
  const char16_t separator = separatorChar.unicode();
  const bool semicolon = separator != u',';
  const qsizetype size = line.size();
  QChar* text = line.data();
  qsizetype w = 0;
  qsizetype closing = -1;  // inside a quoted field: where it closes
  bool fieldStart = true, dropBlanks = true, pendingBlank = false;
  for (qsizetype i = 0; i < size; ++i) {
    const QChar c = text[i];
    if (closing >= 0) {
      if (i == closing) {
        closing = -1;
        continue;
      }
      if (c == u'"') ++i;  // the first of a doubled quote
    } else if (c == separator) {
      if (pendingBlank && !semicolon) text[w++] = QLatin1Char('_');
      text[w++] = QLatin1Char('\t');
      pendingBlank = false;
      dropBlanks = semicolon;
      fieldStart = true;
      continue;
    } else if (c == u'"') {
      if (fieldStart) closing = ClosingQuote(text, size, i, separator);
      fieldStart = false;
      continue;
    }
    if (c == u' ') {
      pendingBlank = !dropBlanks;
      continue;
    }
    if (pendingBlank) text[w++] = QLatin1Char('_');
    pendingBlank = false;
    text[w++] = c;
    dropBlanks = false;
    fieldStart = c == u'\t' && closing < 0;
  }
  line.truncate(w);
}

// Field n (1-based) of a TAB-separated line; empty when the line has fewer.
QStringView FieldAt(QStringView line, int n) {
  qsizetype begin = 0;
  for (int field = 1; field < n; ++field) {
    begin = line.indexOf(u'\t', begin);
    if (begin < 0) return {};
    ++begin;
  }
  const qsizetype end = line.indexOf(u'\t', begin);
  return line.sliced(begin, (end < 0 ? line.size() : end) - begin);
}

// The decimal comma of a number field becomes the decimal point; fields
// first to last (1-based) at TAB.
void DecimalPointsInFields(QString& line, int first, int last) {
  for (int field = first; field <= last; ++field) {
    const QStringView view = FieldAt(line, field);
    if (!IsDecimalCommaNumber(view)) continue;
    const qsizetype comma = (view.data() - line.constData()) + view.indexOf(u',');
    line[comma] = QLatin1Char('.');
  }
}

// The first coordinate field: 3, or 2 in a line of point, latitude and
// longitude (the geographic import's layout without code).
int FirstNumberField(QStringView line) {
  return FieldAt(line, 4).trimmed().isEmpty() && !FieldAt(line, 3).trimmed().isEmpty() ? 2 : 3;
}

// An en dash in front of a number in the coordinate fields (first to 5, at
// TAB; first 0: by the line's layout) is its minus sign.
void EnDashesAsMinus(QString& line, int first = 0) {
  if (!line.contains(QChar(kEnDash))) return;
  for (int field = first > 0 ? first : FirstNumberField(line); field <= 5; ++field) {
    const QStringView view = FieldAt(line, field);
    qsizetype i = 0;
    while (i < view.size() && view[i] == u' ') ++i;
    if (i + 1 < view.size() && view[i] == QChar(kEnDash) &&
        (view[i + 1].isDigit() || view[i + 1] == u'.' || view[i + 1] == u','))
      line[(view.data() - line.constData()) + i] = QLatin1Char('-');
  }
}

// The coordinate fields first to last (1-based, at TAB) as a line with the
// decimal comma writes them: en dashes as minus signs, and where one of them
// holds a ",", it is the decimal comma of the line's numbers: it becomes the
// decimal point, and a field with a "." beside it (a thousands point, or the
// other convention in the same line) cannot be read: False, the reason in
// *refusal.
bool ReadNumberFields(QString& line, int first, int last, QString* refusal) {
  EnDashesAsMinus(line, first);
  if (!line.contains(u',')) return true;
  bool comma = false;
  for (int field = first; field <= last && !comma; ++field) comma = FieldAt(line, field).contains(u',');
  if (!comma) return true;
  for (int field = first; field <= last; ++field) {
    const QStringView view = FieldAt(line, field);
    if (!view.contains(u'.')) continue;
    if (refusal)
      *refusal = QStringLiteral("Die Zahlen dieser Zeile haben ein Dezimalkomma: \"%1\" mit Punkt "
                                "(Tausenderpunkt?) ist so nicht lesbar.")
                     .arg(view.trimmed());
    return false;
  }
  DecimalPointsInFields(line, first, last);
  return true;
}

// Geograf lines take numbers with the decimal point alone.
void NormaliseGeograf(QString& line) {
  CollapseBlanks(line);
  BlanksToTabsUnlessTabbed(line);
  EnDashesAsMinus(line);
}

LineDecision NormaliseCsv(QString& line, ImportLineState& state, QString* refusal) {
  if (!state.csvLineSeen && state.csvSeparator.isNull() && NamesSeparator(line, state.csvSeparator))
    return LineDecision::Skip;
  SplitCsvFields(line, CsvSeparator(line, state));
  if (state.customCoords) line = GetToken(line, 1, kTab) + kTab + line;
  // A first line whose coordinate fields hold no numbers (column names,
  // most likely) is skipped, and counted so that the user hears of it.
  // The hemisphere letters of an angle go first, as the geographic
  // import removes them: N52.5 and E13.25 are numbers.
  const bool first = !state.csvLineSeen;
  state.csvLineSeen = true;
  const int offset = state.customCoords ? 1 : 0;
  if (first && !StartsWithNumber(WithoutHemisphereLetters(GetToken(line, 3 + offset, kTab))) &&
      !StartsWithNumber(WithoutHemisphereLetters(GetToken(line, 4 + offset, kTab))))
    return LineDecision::SkipCounted;
  return ReadNumberFields(line, FirstNumberField(line), 5, refusal) ? LineDecision::Use : LineDecision::Refuse;
}

void NormalisePblhTab(QString& line) {
  CollapseBlanks(line);
  BlanksToTabsUnlessTabbed(line);
  line = GetToken(line, 1, kTab) + kTab + line;
  EnDashesAsMinus(line, 3);
}

LineDecision NormaliseVesselA(QString& line, QString* refusal) {
  line.replace(u';', u'\t');
  line = TrimBlanks(line);
  if (!ReadNumberFields(line, 2, 3, refusal)) return LineDecision::Refuse;
  if (GetToken(line, 2, kTab) == QLatin1String("0") || GetToken(line, 3, kTab) == QLatin1String("0"))
    return LineDecision::SkipCounted;
  return LineDecision::Use;
}

LineDecision NormaliseVesselB(QString& line, ImportLineState& state, const QString& importFileName) {
  line.replace(u',', u'\t');
  line = TrimBlanks(line);
  const QString latitude = NumberText(Val(GetToken(line, 1, kTab)));
  const QString longitude = NumberText(Val(GetToken(line, 2, kTab)));
  if (line.startsWith(QLatin1String("Latitude"))) return LineDecision::Skip;
  if (latitude == QLatin1String("0") || longitude == QLatin1String("0")) return LineDecision::SkipCounted;

  ++state.vesselLines;
  const QString time = GetToken(GetToken(line, 7, kTab), 2, QStringLiteral("T"));
  const double seconds = HmsToSeconds(time, QStringLiteral(":"));
  if (state.vesselLines == 1) {
    state.firstSeconds = seconds;
    const QString sep = QStringLiteral("_");
    state.date = GetToken(importFileName, 2, sep).remove(u'-').mid(4);
    state.startSeconds = HmsToSeconds(GetToken(importFileName, 3, sep).replace(u'.', u':'), QStringLiteral(":"));
    QString track = TrimBlanks(GetToken(importFileName, 4, sep).remove(QStringLiteral("Track")));
    state.track = track.left(track.indexOf(u'.') < 0 ? track.size() : track.indexOf(u'.'));
  }
  // A track over midnight: a time of day before the first one is on the next day.
  double elapsed = seconds - state.firstSeconds;
  if (elapsed < 0) elapsed += kSecondsPerDay;
  const QString name = state.date + QStringLiteral("T") + state.track + QStringLiteral("-") +
                       FormatSecondsAsTime(state.startSeconds + elapsed, QStringLiteral("hhnnsss"));
  line = name + kTab + QStringLiteral("0") + kTab + latitude + kTab + longitude + kTab + GetToken(line, 3, kTab);
  return LineDecision::Use;
}

}  // namespace

QString LineForMessage(const QString& line) {
  constexpr qsizetype kShownCharacters = 300;
  if (line.size() <= kShownCharacters) return line;
  return line.left(kShownCharacters) + QChar(0x2026);
}

void JoinAngleSigns(QString& line) {
  // Most lines hold no angle sign at all.
  const QStringView view(line);
  if (!view.contains(u'\'') && !view.contains(QChar(kDegreeSign))) return;
  QChar* text = line.data();
  qsizetype size = JoinSigns(text, line.size(), u'\'', JoinPart::Seconds, u'"', true);
  size = JoinSigns(text, size, kDegreeSign, JoinPart::Degrees, kDegreeSign, false);
  size = JoinSigns(text, size, u'\'', JoinPart::Minutes, u'\'', false);
  line.truncate(size);
}

bool AngleSignsWouldJoin(QStringView value, bool blankFollows) {
  for (qsizetype i = 0; i < value.size(); ++i) {
    if (value[i] != u'\'' && value[i] != QChar(kDegreeSign)) continue;
    const bool blank = i + 1 < value.size() ? value[i + 1] == u' ' : blankFollows;
    if (blank && EndsAnAngle(value.data(), i)) return true;
  }
  return false;
}

bool IsDecimalCommaNumber(QStringView field) {
  field = field.trimmed();
  qsizetype i = 0;
  if (i < field.size() && (field[i] == u'N' || field[i] == u'E' || field[i] == u'O')) ++i;
  if (i >= field.size()) return false;
  const QChar first = field[i];
  if (!(first >= u'0' && first <= u'9') && first != u'+' && first != u'-' && first != u',') return false;
  int commas = 0;
  bool digit = false;
  for (; i < field.size(); ++i) {
    const QChar c = field[i];
    if (c == u'.') return false;
    commas += c == u',' ? 1 : 0;
    digit = digit || (c >= u'0' && c <= u'9');
  }
  return commas == 1 && digit;
}

QString WithDecimalPoint(const QString& field) {
  return IsDecimalCommaNumber(field) ? TypedNumberWithPoint(field) : field;
}

bool ReadsDecimalPointOnly(int filterIndex) { return (filterIndex >= 1 && filterIndex <= 4) || filterIndex == 6; }

QString DecimalCommaReason(const QString& line) {
  if (!line.contains(u',')) return QString();
  for (int field = 3; field <= 5; ++field) {
    const QString text = GetToken(line, field, kTab);
    if (IsDecimalCommaNumber(text))
      return QStringLiteral("\"%1\" ist eine Zahl mit Dezimalkomma; dieses Format liest Zahlen nur mit "
                            "Dezimalpunkt (%2).")
          .arg(text, WithDecimalPoint(text));
  }
  return QString();
}

bool IsEmptyRow(QStringView line) {
  for (const QChar c : line)
    if (c != u' ' && c != u'\t' && c != u';' && c != u',') return false;
  return true;
}

LineDecision NormaliseImportLine(QString& line, int filterIndex, ImportLineState& state,
                                 const QString& importFileName, QString* refusal) {
  JoinAngleSigns(line);
  switch (filterIndex) {
    case 1:
    case 2:
    case 3:
    case 4:
      NormaliseGeograf(line);
      return LineDecision::Use;
    case 5:
      return NormaliseCsv(line, state, refusal);
    case 6:
      NormalisePblhTab(line);
      return LineDecision::Use;
    case kFilterVesselA:
      return NormaliseVesselA(line, refusal);
    case kFilterVesselB:
      return NormaliseVesselB(line, state, importFileName);
    default:
      return LineDecision::Use;
  }
}

}  // namespace orv
