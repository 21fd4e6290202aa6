#pragma once
// The column writers: the chosen columns of every record of Daten, in stored
// order, one line per record, as ASCII (blank between values), ASCII-TAB,
// Excel csv (";") or Geograf .in (fixed columns). A record that lacks a
// chosen coordinate (MissingCoordinates) is left out and counted. In the
// blank-separated files (ASCII, Geograf) a point without code has the code
// "0", so that its line keeps its fields in place. A csv value holding a
// ",", ";" or double quote is written in double quotes, a quote inside
// doubled; on a desktop whose numbers have a decimal comma the csv file
// writes its numbers (not point numbers or codes) with it. A record with a
// value the file cannot hold so that the import reads it back (a blank
// inside a value of a blank-separated file or of a csv file; an empty value
// before others in a blank-separated line; an angle sign that the import
// would join with the blank after it, as in a point 12'' of a
// blank-separated line; a "°" in a file of projected or geocentric
// coordinates; a character Windows-1252 lacks) is left out and named.
#include <QString>
#include <QStringList>

#include "io/ExportJob.h"

namespace orv {

// Writes the file for filter index 1, 2, 4 or 8 and returns the number of
// empty coordinates (records left out count once per empty coordinate).
int WriteColumnFile(const ExportJob& job, int filterIndex, UnreadableValues& unreadable);

// A Geograf .in line from the record's values, each trimmed: point (15
// wide, from column 1), code (8 wide, from column 18), easting, northing
// and, when given, height (11 wide, three decimals, from columns 28, 41 and
// 54), each right-aligned.
QString GeografLine(const QStringList& values);

}  // namespace orv
