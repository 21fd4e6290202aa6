#pragma once

#include <istream>
#include <string>

namespace orv {

// Reads the next line of a text file whose lines end with CR LF, a lone LF or
// a lone CR; the line end is not part of `line`. Returns false at the end of
// the file (a last line without line end still counts).
bool ReadExchangeLine(std::istream& in, std::string& line);

// Latitude and longitude (radians) from a line of INPUT.USR: the first two
// blank-separated numbers, with "." as decimal point. Returns false when the
// line does not begin with two finite numbers.
bool ParsePointLine(const std::string& line, double& latRad, double& lonRad);

// `value` as fixed-point text with `decimals` decimals, right-aligned in
// `width` characters; a value that does not fit fills the field with "*".
// Zero is never written with a minus sign.
std::string FixedField(double value, int width, int decimals);

// One line of OUTPUT.USR without its line end: the undulation in 10
// characters with 3 decimals, then latitude and longitude in degrees in 10
// characters with 6 decimals each. An undulation that does not fit its field
// is written as the no-value marker, so it can never be mistaken for a value;
// a latitude of 100 degrees or more is written as "*" so that it cannot run on
// into the undulation.
std::string FormatResultLine(double undulation, double latDeg, double lonDeg);

}  // namespace orv
