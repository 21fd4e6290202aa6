// Number <-> text without any locale. Rounding decisions are made on the
// 15-significant-digit decimal form of a double (the precision the stored
// tables are written with), so 2.675 formatted "0.00" is "2.68", as a
// surveyor reading the table expects, although the binary value lies just
// below the half.
#include "foundation/NumberText.h"

#include "foundation/OrvenilError.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

namespace orv {

namespace {

// A finite double as 15 significant decimal digits and the position of the
// decimal point: value = 0.d1d2…d15 × 10^pointPos. Fixed buffers: these run
// several times for every row a run writes.
struct DecimalForm {
  bool negative = false;
  char digits[16] = {};  // 15 digits, or "0" for zero
  int count = 0;
  int pointPos = 0;  // digits before the decimal point (may be <= 0)
};

DecimalForm ToDecimalForm(double x) {
  DecimalForm f;
  f.negative = std::signbit(x);
  const double a = std::fabs(x);
  if (a == 0.0) {
    f.digits[0] = '0';
    f.count = 1;
    f.pointPos = 1;
    return f;
  }
  char buf[40];
  const auto res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific, 14);
  // d.dddddddddddddde±xx
  const char* e = static_cast<const char*>(std::memchr(buf, 'e', static_cast<size_t>(res.ptr - buf)));
  f.digits[0] = buf[0];
  f.count = 1;
  for (const char* c = buf + 2; c < e; ++c) f.digits[f.count++] = *c;
  int exp = 0;
  std::from_chars(e + 1 + (e[1] == '+' ? 1 : 0), res.ptr, exp);
  f.pointPos = exp + 1;
  return f;
}

// The digits of a rounded number: integer digits (at least "0", no leading
// zeros) and exactly the requested fraction digits.
struct RoundedDigits {
  char buf[720];
  int intBegin = 0;  // first integer digit in buf
  int intLen = 0;    // integer digits from intBegin
  int fracLen = 0;   // fraction digits after them
  const char* intPart() const { return buf + intBegin; }
  const char* fracPart() const { return buf + intBegin + intLen; }
};

bool AllZero(const char* s, int n) {
  for (int i = 0; i < n; ++i)
    if (s[i] != '0') return false;
  return true;
}

// Rounds the digits to `decimals` places after the point, halves away from
// zero (or to even).
void RoundDecimal(const DecimalForm& f, int decimals, bool halfEven, RoundedDigits& r) {
  // Lay the digits out as integer + fraction with padding zeros; buf[0] is
  // kept free for a carry into a new leading digit.
  char* all = r.buf + 1;
  int size = 0;
  int intLen = f.pointPos;
  if (intLen <= 0) {
    const int zeros = -intLen + 1;
    std::memset(all, '0', static_cast<size_t>(zeros));
    std::memcpy(all + zeros, f.digits, static_cast<size_t>(f.count));
    size = zeros + f.count;
    intLen = 1;
  } else {
    std::memcpy(all, f.digits, static_cast<size_t>(f.count));
    size = f.count;
    if (size < intLen) {
      std::memset(all + size, '0', static_cast<size_t>(intLen - size));
      size = intLen;
    }
  }
  const int keep = intLen + decimals;
  if (keep > static_cast<int>(sizeof r.buf) - 2)
    throw OrvenilError(kErrInvalidProcedureCall, QStringLiteral("Ungültiges Zahlenformat: zu viele Stellen."));
  bool roundUp = false;
  if (size > keep) {
    const char next = all[keep];
    if (next > '5') {
      roundUp = true;
    } else if (next == '5') {
      const bool beyond = !AllZero(all + keep + 1, size - keep - 1);
      if (!halfEven || beyond) {
        roundUp = true;
      } else {
        const char last = keep > 0 ? all[keep - 1] : '0';
        roundUp = ((last - '0') % 2) == 1;
      }
    }
    size = keep;
  } else {
    std::memset(all + size, '0', static_cast<size_t>(keep - size));
    size = keep;
  }
  int begin = 1;
  if (roundUp) {
    int i = size - 1;
    while (i >= 0 && all[i] == '9') {
      all[i] = '0';
      --i;
    }
    if (i >= 0) {
      ++all[i];
    } else {
      r.buf[0] = '1';
      begin = 0;
      ++intLen;
    }
  }
  // Leading zeros of the integer part go, one digit stays.
  int fracStart = begin + intLen;
  while (begin < fracStart - 1 && r.buf[begin] == '0') ++begin;
  r.intBegin = begin;
  r.intLen = fracStart - begin;
  r.fracLen = decimals;
}

void ThrowIfNotFinite(double x) {
  if (!std::isfinite(x))
    throw OrvenilError(kErrOverflow, QStringLiteral("Überlauf: Die Zahl ist nicht endlich."));
}

// The parsed parts of a pattern such as "0.0000", "#", "#,#" or "00.00000".
struct Pattern {
  int minIntDigits = 0;  // zeros before the point
  int minDecimals = 0;   // zeros after the point
  int maxDecimals = 0;   // zeros and '#' after the point
  bool hasPoint = false;
  bool grouped = false;  // ',' among the integer digits: groups of three
};

Pattern ParsePattern(const QString& pattern) {
  Pattern p;
  bool afterPoint = false;
  for (const QChar c : pattern) {
    if (c == u'.') {
      if (afterPoint) throw OrvenilError(kErrInvalidProcedureCall, "Ungültiges Zahlenformat: " + pattern);
      afterPoint = true;
      p.hasPoint = true;
    } else if (c == u'0') {
      if (afterPoint) {
        // A zero after an optional decimal makes every decimal before it fixed.
        p.minDecimals = ++p.maxDecimals;
      } else {
        ++p.minIntDigits;
      }
    } else if (c == u'#') {
      if (afterPoint) ++p.maxDecimals;
    } else if (c == u',' && !afterPoint) {
      p.grouped = true;
    } else {
      throw OrvenilError(kErrInvalidProcedureCall, "Ungültiges Zahlenformat: " + pattern);
    }
  }
  return p;
}

}  // namespace

// Patterns repeat: the last few parsed are kept.
const Pattern& CachedPattern(const QString& pattern) {
  struct Entry {
    QString text;
    Pattern parsed;
  };
  thread_local Entry cache[4];
  thread_local int next = 0;
  for (const Entry& e : cache)
    if (!e.text.isNull() && e.text == pattern) return e.parsed;
  Entry& e = cache[next];
  next = (next + 1) % 4;
  e.parsed = ParsePattern(pattern);  // throws before the entry is named
  e.text = pattern;
  return e.parsed;
}

QString FormatNumber(double x, const QString& pattern) {
  ThrowIfNotFinite(x);
  if (pattern.isEmpty()) return NumberText(x);
  const Pattern p = CachedPattern(pattern);
  const DecimalForm f = ToDecimalForm(x);
  RoundedDigits r;
  RoundDecimal(f, p.maxDecimals, false, r);
  int fracLen = r.fracLen;
  // Optional decimals ('#') are dropped when they are trailing zeros.
  while (fracLen > p.minDecimals && r.fracPart()[fracLen - 1] == '0') --fracLen;
  int intLen = r.intLen;
  const char* intDigits = r.intPart();
  const bool zero = AllZero(intDigits, intLen) && AllZero(r.fracPart(), fracLen);
  if (intLen == 1 && intDigits[0] == '0') intLen = 0;

  // Integer digits padded to the pattern's zeros, then grouped by three.
  char digits[720];
  int len = 0;
  for (int i = intLen; i < p.minIntDigits; ++i) digits[len++] = '0';
  std::memcpy(digits + len, intDigits, static_cast<size_t>(intLen));
  len += intLen;
  char out[1200];
  int n = 0;
  if (f.negative && !zero) out[n++] = '-';
  for (int i = 0; i < len; ++i) {
    if (p.grouped && len > 3 && i > 0 && (len - i) % 3 == 0) out[n++] = ',';
    out[n++] = digits[i];
  }
  if (p.hasPoint) {  // a pattern with a point always writes it: "0.##" writes 1 as "1."
    out[n++] = '.';
    std::memcpy(out + n, r.fracPart(), static_cast<size_t>(fracLen));
    n += fracLen;
  }
  return QString::fromLatin1(out, n);
}

QString NumberText(double x) {
  ThrowIfNotFinite(x);
  if (x == 0.0) return QStringLiteral("0");
  const DecimalForm f = ToDecimalForm(x);
  int count = f.count;
  while (count > 1 && f.digits[count - 1] == '0') --count;
  const int exp10 = f.pointPos - 1;  // exponent of the first digit
  char out[48];
  int n = 0;
  if (f.negative) out[n++] = '-';
  if (exp10 >= 15 || exp10 < -4) {
    // Scientific form for very large and small numbers: 1.5E+20, 1E-05.
    out[n++] = f.digits[0];
    if (count > 1) {
      out[n++] = '.';
      std::memcpy(out + n, f.digits + 1, static_cast<size_t>(count - 1));
      n += count - 1;
    }
    out[n++] = 'E';
    out[n++] = exp10 < 0 ? '-' : '+';
    const int e = std::abs(exp10);
    if (e < 10) out[n++] = '0';
    n = static_cast<int>(std::to_chars(out + n, out + sizeof out, e).ptr - out);
  } else if (f.pointPos <= 0) {
    out[n++] = '0';
    out[n++] = '.';
    for (int i = 0; i < -f.pointPos; ++i) out[n++] = '0';
    std::memcpy(out + n, f.digits, static_cast<size_t>(count));
    n += count;
  } else if (count <= f.pointPos) {
    std::memcpy(out + n, f.digits, static_cast<size_t>(count));
    n += count;
    for (int i = count; i < f.pointPos; ++i) out[n++] = '0';
  } else {
    std::memcpy(out + n, f.digits, static_cast<size_t>(f.pointPos));
    n += f.pointPos;
    out[n++] = '.';
    std::memcpy(out + n, f.digits + f.pointPos, static_cast<size_t>(count - f.pointPos));
    n += count - f.pointPos;
  }
  return QString::fromLatin1(out, n);
}

namespace {

bool IsValBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

// Collects the leading number of text into a plain ASCII form (sign, digits,
// point, exponent). `consumedAll` tells whether nothing but blanks follows.
std::string LeadingNumber(const QString& text, bool skipInnerBlanks, bool& consumedAll) {
  std::string s;
  qsizetype i = 0;
  const qsizetype n = text.size();
  auto skip = [&] {
    while (i < n && IsValBlank(text[i])) ++i;
  };
  skip();
  if (i < n && (text[i] == u'+' || text[i] == u'-')) {
    if (text[i] == u'-') s.push_back('-');
    ++i;
    skip();
  }
  bool anyDigit = false;
  bool point = false;
  std::string mantissa;
  while (i < n) {
    const QChar c = text[i];
    if (c >= u'0' && c <= u'9') {
      mantissa.push_back(static_cast<char>(c.unicode()));
      anyDigit = true;
    } else if (c == u'.' && !point) {
      mantissa.push_back('.');
      point = true;
    } else if (skipInnerBlanks && IsValBlank(c)) {
      // blanks inside a number are ignored
    } else {
      break;
    }
    ++i;
  }
  if (!anyDigit) {
    consumedAll = false;
    return std::string();
  }
  s += mantissa;
  // Exponent: E or D, optional sign, digits; taken only when digits follow.
  if (i < n && (text[i] == u'e' || text[i] == u'E' || text[i] == u'd' || text[i] == u'D')) {
    qsizetype j = i + 1;
    auto skipJ = [&] {
      while (skipInnerBlanks && j < n && IsValBlank(text[j])) ++j;
    };
    skipJ();
    std::string e = "e";
    if (j < n && (text[j] == u'+' || text[j] == u'-')) {
      if (text[j] == u'-') e.push_back('-');
      ++j;
      skipJ();
    }
    bool expDigit = false;
    while (j < n) {
      const QChar c = text[j];
      if (c >= u'0' && c <= u'9') {
        e.push_back(static_cast<char>(c.unicode()));
        expDigit = true;
      } else if (!(skipInnerBlanks && IsValBlank(c))) {
        break;
      }
      ++j;
    }
    if (expDigit) {
      s += e;
      i = j;
    }
  }
  skip();
  consumedAll = (i == n);
  return s;
}

// Whether an out-of-range number text [-]digits[.digits][e[-]digits] is below
// the double range (rather than above it).
bool IsTinyNumber(const std::string& s) {
  const size_t begin = s[0] == '-' ? 1 : 0;
  const size_t ePos = s.find('e');
  const std::string mantissa = s.substr(begin, ePos == std::string::npos ? std::string::npos : ePos - begin);
  long long exp = 0;
  if (ePos != std::string::npos) {
    size_t i = ePos + 1;
    const bool negative = i < s.size() && s[i] == '-';
    if (negative) ++i;
    for (; i < s.size(); ++i) exp = std::min(exp * 10 + (s[i] - '0'), 1000000000LL);
    if (negative) exp = -exp;
  }
  size_t point = mantissa.find('.');
  if (point == std::string::npos) point = mantissa.size();
  const size_t firstDigit = mantissa.find_first_not_of("0.");
  if (firstDigit == std::string::npos) return true;
  const long long magnitude = firstDigit < point ? static_cast<long long>(point - firstDigit)
                                                 : -static_cast<long long>(firstDigit - point - 1);
  return magnitude + exp <= 0;
}

double ParseAscii(const std::string& s) {
  const char* first = s.data();
  if (*first == '-') ++first;  // from_chars takes no '+' and we strip '-' ourselves
  double v = 0.0;
  const auto res = std::from_chars(first, s.data() + s.size(), v);
  if (res.ec == std::errc::result_out_of_range) {
    // Underflow reads as 0, overflow is an error.
    if (!IsTinyNumber(s)) throw OrvenilError(kErrOverflow, QStringLiteral("Überlauf: Die Zahl ist zu groß."));
    v = 0.0;
  }
  return s[0] == '-' ? -v : v;
}

}  // namespace

double RoundTo15Digits(double x) {
  ThrowIfNotFinite(x);
  if (x == 0.0) return 0.0;
  // The same 15 digits NumberText writes, read back by the same parser.
  char buf[40];
  const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific, 14);
  double v = 0.0;
  std::from_chars(buf, res.ptr, v);
  return x < 0 ? -v : v;
}

double Val(const QString& text) {
  bool all = false;
  const std::string s = LeadingNumber(text, true, all);
  if (s.empty()) return 0.0;
  return ParseAscii(s);  // a number beyond the double range is an overflow error, never infinity
}

double ToDoubleStrict(const QString& text) {
  bool all = false;
  const std::string s = LeadingNumber(text, false, all);
  if (s.empty() || !all)
    throw OrvenilError(kErrTypeMismatch, "Typen unverträglich: \"" + text + "\" ist keine Zahl.");
  return ParseAscii(s);
}

bool ReadFiniteNumber(const QString& text, double& value) {
  const QString t = text.trimmed();
  if (t.isEmpty()) return false;
  try {
    const double v = ToDoubleStrict(t);
    if (!std::isfinite(v)) return false;
    value = v;
    return true;
  } catch (const OrvenilError&) {
    return false;
  }
}

double RoundHalfEven(double x, int d) {
  if (d < 0 || d > 22)
    throw OrvenilError(kErrInvalidProcedureCall, QStringLiteral("Ungültiger Prozeduraufruf: Anzahl der Dezimalstellen."));
  ThrowIfNotFinite(x);
  const DecimalForm f = ToDecimalForm(x);
  RoundedDigits r;
  RoundDecimal(f, d, true, r);
  char s[760];
  int n = r.intLen;
  std::memcpy(s, r.intPart(), static_cast<size_t>(r.intLen));
  if (r.fracLen > 0) {
    s[n++] = '.';
    std::memcpy(s + n, r.fracPart(), static_cast<size_t>(r.fracLen));
    n += r.fracLen;
  }
  double v = 0.0;
  std::from_chars(s, s + n, v);
  if (v == 0.0) return 0.0;
  return f.negative ? -v : v;
}

double Int(double x) { return std::floor(x); }

double Fix(double x) { return std::trunc(x); }

}  // namespace orv
