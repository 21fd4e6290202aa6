#include "documents/PdfNumberText.h"

#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"

#include <charconv>
#include <cmath>

namespace orv {

QByteArray FormatPdfNumber(float v) {
  const double r = std::floor(static_cast<double>(v) * 1000.0 + 0.5) / 1000.0;
  return NumberText(r).toLatin1();
}

QByteArray PlainSingleText(float v) {
  if (!std::isfinite(v)) throw OrvenilError(kErrOverflow, QStringLiteral("Überlauf"));
  if (v == 0.0f) return "0";  // also for -0
  char buf[32];
  const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 7);
  return QByteArray(buf, static_cast<qsizetype>(res.ptr - buf));
}

QByteArray IntegerText(int64_t v) { return QByteArray::number(static_cast<qlonglong>(v)); }

}  // namespace orv
