#pragma once
// Number <-> text without any locale: "." is always the decimal point.
#include <QString>

namespace orv {

// Formats x with a pattern such as "0", "00", "0.0000", "00.00000": at least as
// many integer digits as zeros before the point, exactly as many decimals as
// after it, halves rounded away from zero (decided on the 15-significant-digit
// decimal form), "-" before negatives, never "-0.0000".
QString FormatNumber(double x, const QString& pattern);

// Plain number text: up to 15 significant digits, no padding, "." as point.
QString NumberText(double x);

// x rounded to 15 significant digits: the value of Val(NumberText(x)),
// computed without building a text. Throws like NumberText for inf and NaN.
double RoundTo15Digits(double x);

// Leading number of the text ("." as point, optional sign and exponent,
// blanks inside the number skipped, so "1 234.5" reads 1234.5); 0 when there is none.
double Val(const QString& text);

// Strict conversion of a whole text to a number; throws OrvenilError 13
// (type mismatch) when the text is not a number.
double ToDoubleStrict(const QString& text);

// The whole text, blanks around it trimmed, read as a finite number; false
// for an empty text, a text that is no number and one that overflows.
bool ReadFiniteNumber(const QString& text, double& value);

// Rounds to d decimals, halves to even.
double RoundHalfEven(double x, int d);

// Int = floor, Fix = truncation toward zero.
double Int(double x);
double Fix(double x);

}  // namespace orv
