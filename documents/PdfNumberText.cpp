#include "documents/PdfNumberText.h"

#include "foundation/OrvenilError.h"

#include <charconv>
#include <cmath>
#include <string>

namespace orv {

namespace {

// A finite value as a plain decimal number of up to `significant` digits:
// PDF readers know no exponent form ("1.5e+08" is not a number to them).
QByteArray PlainDecimal(double v, int significant) {
  if (!std::isfinite(v)) throw OrvenilError(kErrOverflow, QStringLiteral("Überlauf"));
  if (v == 0.0) return "0";  // also for -0
  char buf[48];
  const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(v), std::chars_format::scientific, significant - 1);
  const std::string s(buf, res.ptr);  // d.ddde±xx
  const auto ePos = s.find('e');
  std::string digits = s.substr(0, 1) + (ePos > 1 ? s.substr(2, ePos - 2) : std::string());
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  const int intLen = std::stoi(s.substr(ePos + 1)) + 1;  // digits before the point
  std::string out = v < 0 ? "-" : "";
  if (intLen <= 0) {
    out += "0." + std::string(static_cast<size_t>(-intLen), '0') + digits;
  } else if (static_cast<size_t>(intLen) >= digits.size()) {
    out += digits + std::string(static_cast<size_t>(intLen) - digits.size(), '0');
  } else {
    out += digits.substr(0, static_cast<size_t>(intLen)) + "." + digits.substr(static_cast<size_t>(intLen));
  }
  return QByteArray::fromStdString(out);
}

}  // namespace

QByteArray FormatPdfNumber(float v) {
  const double r = std::floor(static_cast<double>(v) * 1000.0 + 0.5) / 1000.0;
  return PlainDecimal(r, 15);
}

QByteArray PlainSingleText(float v) { return PlainDecimal(static_cast<double>(v), 7); }

QByteArray IntegerText(int64_t v) { return QByteArray::number(static_cast<qlonglong>(v)); }

}  // namespace orv
