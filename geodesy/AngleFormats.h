#pragma once
// Conversions between the angle forms the program keeps side by side:
// radians, decimal degrees, decimal arc-seconds and degree texts
// (D°MM'SS.SSSSS"). All use π = 3.14159265358979.
#include <QString>
#include <optional>

namespace orv {

// Degree text (D°M'S, closing quote optional) to radians. "°" and "'" count as
// blanks, the text is split at single blanks into degrees, minutes, seconds.
// A "-" in front of the degrees, or any negative part, makes the whole angle
// negative: -52°30'15" and -52°-30'-15" are both -(52° 30' 15").
double GradInRad(const QString& degreeText);

// Arc-seconds to degree text without closing quote. formatName "hh:nn:ss"
// truncates the seconds, "h:nn:ss.s" prints one decimal, any other text five.
// Negative input gives negative parts, each with its own "-".
QString FormatSeconds(double seconds, const QString& formatName);

// Decimal-minute text of fixed layout DDMM.fff (two digits of degrees, two of
// minutes, one separator, the fraction of the minutes) to a degree text.
QString DezMinInGrad(const QString& decimalMinutes);

// Strict readings of typed angles, for input that must be refused rather
// than read as some other angle.
//
// A degree text D°M'S" that GradInRad reads as written: plain decimal
// numbers (a "-" only before the degrees) of at most 300 digits before the
// point, no blanks; the closing quote (or two apostrophes), the seconds, or
// minutes and seconds may be left out or empty.
bool IsStrictDegreeText(const QString& text);

// Decimal minutes "D°M.m'" (the closing "'" optional) or "DDMM.m" (the two
// digits before the point are the minutes, any digits before them the
// degrees) to a degree text as DezMinInGrad writes it; a "-" in front makes
// the whole angle negative. Empty for anything else (a sign elsewhere, a
// comma, a letter, minutes of 60 or more, more than 300 digits before a
// point).
std::optional<QString> DecimalMinutesInGrad(const QString& text);

// Decimal degrees to degree text; a negative angle is written as its size
// with a "-" in front (-9.5 gives -9°30'00.00000"), as GradInRad reads it.
QString DezGradInGrad(double decimalDegrees);

// Radians to degree text, as DezGradInGrad after conversion to degrees.
QString RadInGrad(double radians);

// Arcsine through the arctangent; throws OrvenilError for |x| > 1 or NaN.
double asin(double x);

}  // namespace orv
