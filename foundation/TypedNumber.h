#pragma once
// A number as a user types it into a box or a table cell: read whole or not
// at all, with "." or a decimal comma, as a German desktop types it.
#include <QList>
#include <QString>

namespace orv {

// The whole text, blanks around it aside, as a finite number: an optional
// sign, digits with "." or one "," as decimal separator ("7.5" and "7,5"
// alike), an optional exponent. False for an empty text and for any other
// text ("7x", "1.2.3", "7,5,1", "1.234,5"): no number is taken from a part
// of what was typed.
bool ReadTypedNumber(const QString& text, double& value);

// A text of `count` numbers separated by ";" ("7,5; 11,25"), each field read
// by ReadTypedNumber. False when it holds more or fewer fields or a field is
// no number.
bool ReadTypedNumbers(const QString& text, int count, QList<double>& values);

// A text that ReadTypedNumber accepts, trimmed, with its decimal comma
// written as a point ("12,5" gives "12.5"), so that it reads the same
// wherever the program reads numbers with a point.
QString TypedNumberWithPoint(const QString& text);

}  // namespace orv
