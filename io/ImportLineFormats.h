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
};

// The angle signs: "'' " becomes a double quote and one blank (the seconds
// mark ends the angle, the blank keeps the next field apart), then the blank
// after "°" and after "'" goes, so that a D° M' S" angle is one field.
QString JoinAngleSigns(const QString& line);

// A line as a message shows it: a line longer than a few hundred characters
// is cut there and ends in "…", so that a huge line cannot swamp the message.
QString LineForMessage(const QString& line);

// Normalises one line (not empty, without "custom_coords") by the filter
// index. importFileName is the bare name of the chosen file: the second vessel
// format takes date, start time and track from it.
LineDecision NormaliseImportLine(QString& line, int filterIndex, ImportLineState& state,
                                 const QString& importFileName);

}  // namespace orv
