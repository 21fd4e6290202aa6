#pragma once
// The eight line formats of the point-file import. Every line is turned into
// one common form before a start branch reads it: fields separated by TAB,
// field 1 the point number, field 2 the code, fields 3 to 5 the three
// coordinate values. A line can also turn out to be no point line at all.
#include <QString>

namespace orv {

// Import filters of the open dialog, in this order (filter index 1 to 8).
inline const QString kImportFilter = QStringLiteral(
    "Geograf (*.*)|*.*|Geograf (*.in)|*.in|Geograf (*.pkt)|*.pkt|Geograf PCBLH (*.*)|*.*|"
    "Excel (*.csv)|*.csv|PBLH TAB(*.*)|*.*|Kalkschiff Brisa(*.csv)|*.csv|"
    "Kalkschiff Vorsel(*.vorsel)|*.vorsel|");
inline constexpr int kFilterVesselA = 7;  // "Kalkschiff Brisa(*.csv)"
inline constexpr int kFilterVesselB = 8;  // "Kalkschiff Vorsel(*.vorsel)"

// What the formats remember from line to line within one import.
struct ImportLineState {
  bool customCoords = false;  // a line held "custom_coords"
  bool csvLineSeen = false;   // the first csv line (perhaps its column names) is past
  QChar csvSeparator;         // named by a spreadsheet's first line "sep=;"; null: each line's own
  // Second vessel format: data lines accepted so far, and what its first
  // data line and the file name fixed.
  int vesselLines = 0;
  double firstSeconds = 0;
  QString date;
  double startSeconds = 0;
  QString track;
};

enum class LineDecision {
  Use,          // the normalised line goes to a start branch
  Skip,         // no point line (a vessel-B header), not counted
  SkipCounted,  // a line without coordinates, counted as skipped
  Refuse,       // a line whose numbers cannot be read as written; the reason says why
};

// A line of blanks and separators alone (an empty spreadsheet row, ";;;;"):
// no point line, skipped as an empty line is.
bool IsEmptyRow(QStringView line);

// The angle signs, in place: "'' " becomes a double quote and one blank (the
// seconds mark ends the angle, the blank keeps the next field apart), then
// the blank after "°" and after "'" goes, so that a D° M' S" angle is one
// field. Only a sign that ends an angle joins: the text before it, back to
// the field's start (a blank, TAB, ";", ",", a double quote or the line's
// start), is made of digits, ".", "+", "-", "–", "°", "'" and the hemisphere
// letters N, E, O. A point number or code such as P1'' or K4' keeps its
// signs and the blank after them. And it joins only the rest of its own
// angle: "°" the minutes after it (digits and "'"), "'" after degrees and
// whole minutes the seconds (digits, perhaps the seconds mark); a code "90°"
// before a coordinate 52.6 stays a field of its own.
void JoinAngleSigns(QString& line);

// Would the angle-sign step change a value written into a line (followed by
// a blank when blankFollows)? Such a value does not read back as written.
bool AngleSignsWouldJoin(QStringView value, bool blankFollows);

// A number or angle written with a decimal comma, as a spreadsheet with
// German settings writes it ("-12,345", "N52,5", 52°07'03,5"): after blanks
// and a hemisphere letter it begins with a digit, a sign or ",", and it
// holds one "," and no ".".
bool IsDecimalCommaNumber(QStringView field);

// Such a number trimmed, with its decimal comma as the decimal point; any
// other field as it is.
QString WithDecimalPoint(const QString& field);

// Does the format read numbers with the decimal point alone (Geograf, PBLH TAB)?
bool ReadsDecimalPointOnly(int filterIndex);

// Why a normalised line of a format that reads numbers with the decimal
// point alone (Geograf, PBLH TAB) cannot be read: "" unless one of its
// coordinate fields (3 to 5) is a number with a decimal comma, which the
// text names with the number it would be.
QString DecimalCommaReason(const QString& line);

// A line as a message shows it: a line longer than a few hundred characters
// is cut there and ends in "…", so that a huge line cannot swamp the message.
QString LineForMessage(const QString& line);

// Normalises one line (not empty, without "custom_coords") by the filter
// index. A csv line is split at the separator a first line "sep=;" named
// (that line is skipped), else at TAB when it holds one (outside quotes),
// else at ";" when it holds one, else at ","; a field that begins and ends
// with a double quote is one field whatever it holds (a doubled quote inside
// is one quote). In the coordinate fields of the Geograf, csv, PBLH TAB and
// first vessel lines an en dash in front of a number is its minus sign. In those of a csv or first-vessel
// line a decimal comma becomes the decimal point; where one of them holds a
// comma, one with a "." is refused (a thousands point, or another
// convention in the same line), its reason in *refusal. importFileName is
// the bare name of the chosen file: the second vessel format takes date,
// start time and track from it.
LineDecision NormaliseImportLine(QString& line, int filterIndex, ImportLineState& state,
                                 const QString& importFileName, QString* refusal = nullptr);

}  // namespace orv
