#pragma once
// Number texts of the PDF writer; none of them depends on a locale, and all
// are plain decimals: PDF has no exponent form for numbers.
#include <QByteArray>
#include <cstdint>

namespace orv {

// Drawing coordinates, sizes, colour fractions, widths: rounded to
// thousandths (an exact half towards positive infinity), then the plain
// number text of up to 15 significant digits ("80", "0.5", "-2.5").
QByteArray FormatPdfNumber(float v);

// The media box and the text start: the shortest text of the single value
// with up to 7 significant digits, not rounded to thousandths.
QByteArray PlainSingleText(float v);

QByteArray IntegerText(int64_t v);

}  // namespace orv
