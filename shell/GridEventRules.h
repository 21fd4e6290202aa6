#pragma once
// Rules of the coordinate grid's events that need no window: the rounding
// check of the projected start coordinates, the web-map address of a point
// and which rows the grid's export leaves out.
#include <QString>

namespace orv {

// Largest difference between a stored coordinate and the value read from the
// input line that counts as rounding, in metres, and its text for the note.
inline constexpr qint64 kRoundingToleranceMicrometres = 1900;
inline constexpr const char* kRoundingToleranceText = "0.0019";

// True when the stored text and the text read from the input differ by more
// than the tolerance. The longer text is first cut to the length of the
// shorter one, keeping its right end (this drops a zone prefix the program
// put in front of an easting); both are then read as numbers and compared
// in whole micrometres, so that a difference of exactly 0.0019 m is no
// difference beyond the tolerance.
bool RoundingDifferenceTooLarge(const QString& stored, const QString& read);

// The note of a cell whose rounding difference is too large.
QString RoundingNote();

// The OpenStreetMap address that shows a marker at the point; latitude and
// longitude are the decimal-degree texts as they stand in the table.
QString WebMapAddress(const QString& latitude, const QString& longitude);

// True when the grid's export leaves a row out: the start easting is empty,
// or, while the export columns come from a preset of the export dialog, the
// target latitude is.
bool ExportRowSkipped(const QString& startEasting, const QString& targetLatitude, bool presetActive);

}  // namespace orv
