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
#include <string>

namespace orv {

namespace {

// A finite double as 15 significant decimal digits and the position of the
// decimal point: value = 0.d1d2…d15 × 10^pointPos. Fixed buffers: the
// imports format millions of numbers.
struct DecimalForm {
  bool negative = false;
  char digits[16] = {};  // 15 digits, or "0" for zero
  int count = 0;
  int pointPos = 0;      // digits before the decimal point (may be <= 0)
};

// The correctly rounded 15-digit form through the C library (slow).
void PreciseDecimalForm(double a, DecimalForm& f) {
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific, 14);
  // d.dddddddddddddde±xx
  const char* e = buf;
  while (e < res.ptr && *e != 'e') ++e;
  f.count = 0;
  f.digits[f.count++] = buf[0];
  for (const char* p = buf + 2; p < e; ++p) f.digits[f.count++] = *p;
  int exponent = 0;
  const char* p = e + 1;
  const bool negativeExponent = p < res.ptr && *p == '-';
  if (p < res.ptr && (*p == '-' || *p == '+')) ++p;
  for (; p < res.ptr; ++p) exponent = exponent * 10 + (*p - '0');
  f.pointPos = (negativeExponent ? -exponent : exponent) + 1;
}

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
  // The shortest form that reads back as the same double (at most 17
  // digits) lies within half a unit of the last binary place of the exact
  // value, so rounding it to 15 digits gives the exact value's rounding,
  // unless its digits beyond the 15th are exactly a half ("5" or "50"):
  // then the exact value decides, through the precise conversion.
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific);
  const char* e = buf;
  while (e < res.ptr && *e != 'e') ++e;
  char digits[20];
  int count = 0;
  digits[count++] = buf[0];
  for (const char* p = buf + 2; p < e && count < 20; ++p) digits[count++] = *p;
  int exponent = 0;
  const char* p = e + 1;
  const bool negativeExponent = p < res.ptr && *p == '-';
  if (p < res.ptr && (*p == '-' || *p == '+')) ++p;
  for (; p < res.ptr; ++p) exponent = exponent * 10 + (*p - '0');
  if (negativeExponent) exponent = -exponent;
  if (count > 15) {
    const bool half = digits[15] == '5' && (count == 16 || (count == 17 && digits[16] == '0'));
    if (half) {
      PreciseDecimalForm(a, f);
      return f;
    }
    if (digits[15] >= '5') {
      int i = 14;
      while (i >= 0 && digits[i] == '9') digits[i--] = '0';
      if (i >= 0) {
        ++digits[i];
      } else {
        digits[0] = '1';
        ++exponent;
      }
    }
    count = 15;
  }
  for (int i = 0; i < 15; ++i) f.digits[i] = i < count ? digits[i] : '0';
  f.count = 15;
  f.pointPos = exponent + 1;
  return f;
}

// Rounds the digits to `decimals` places after the point, halves away from
// zero (or to even). Returns the integer digits (at least "0") and exactly
// `decimals` fraction digits.
void RoundDecimal(const DecimalForm& f, int decimals, bool halfEven, std::string& intPart,
                  std::string& fracPart) {
  // Lay the digits out as integer + fraction with padding zeros.
  thread_local std::string all;  // integer digits followed by fraction digits
  all.clear();
  int intLen = f.pointPos;
  if (intLen <= 0) {
    all.append(static_cast<size_t>(-intLen) + 1, '0');
    all.append(f.digits, static_cast<size_t>(f.count));
    intLen = 1;
  } else {
    all.append(f.digits, static_cast<size_t>(f.count));
    if (static_cast<int>(all.size()) < intLen) all.append(static_cast<size_t>(intLen) - all.size(), '0');
  }
  const size_t keep = static_cast<size_t>(intLen + decimals);
  bool roundUp = false;
  if (all.size() > keep) {
    const char next = all[keep];
    if (next > '5') {
      roundUp = true;
    } else if (next == '5') {
      bool beyond = false;
      for (size_t i = keep + 1; i < all.size(); ++i)
        if (all[i] != '0') beyond = true;
      if (!halfEven || beyond) {
        roundUp = true;
      } else {
        const char last = keep > 0 ? all[keep - 1] : '0';
        roundUp = ((last - '0') % 2) == 1;
      }
    }
    all.resize(keep);
  } else {
    all.append(keep - all.size(), '0');
  }
  if (roundUp) {
    int i = static_cast<int>(all.size()) - 1;
    while (i >= 0 && all[static_cast<size_t>(i)] == '9') {
      all[static_cast<size_t>(i)] = '0';
      --i;
    }
    if (i >= 0) {
      ++all[static_cast<size_t>(i)];
    } else {
      all.insert(all.begin(), '1');
      ++intLen;
    }
  }
  size_t nz = 0;
  while (nz < static_cast<size_t>(intLen) && all[nz] == '0') ++nz;
  if (nz == static_cast<size_t>(intLen))
    intPart.assign(1, '0');
  else
    intPart.assign(all, nz, static_cast<size_t>(intLen) - nz);
  fracPart.assign(all, static_cast<size_t>(intLen), std::string::npos);
}

bool AllZero(const std::string& s) { return s.find_first_not_of('0') == std::string::npos; }

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

QString FormatNumber(double x, const QString& pattern) {
  ThrowIfNotFinite(x);
  if (pattern.isEmpty()) return NumberText(x);
  // The last pattern is kept parsed: callers format long runs with one pattern.
  thread_local QString lastPattern;
  thread_local Pattern p;
  if (pattern != lastPattern) {
    p = ParsePattern(pattern);
    lastPattern = pattern;
  }
  const DecimalForm f = ToDecimalForm(x);
  thread_local std::string intPart, fracPart, out;
  RoundDecimal(f, p.maxDecimals, false, intPart, fracPart);
  // Optional decimals ('#') are dropped when they are trailing zeros.
  while (static_cast<int>(fracPart.size()) > p.minDecimals && fracPart.back() == '0') fracPart.pop_back();
  const bool zero = AllZero(intPart) && AllZero(fracPart);

  if (intPart == "0") intPart.clear();
  if (static_cast<int>(intPart.size()) < p.minIntDigits)
    intPart.insert(0, static_cast<size_t>(p.minIntDigits) - intPart.size(), '0');
  if (p.grouped && intPart.size() > 3) {
    std::string g;
    const size_t n = intPart.size();
    for (size_t i = 0; i < n; ++i) {
      if (i > 0 && (n - i) % 3 == 0) g.push_back(',');
      g.push_back(intPart[i]);
    }
    intPart = g;
  }
  out.clear();
  if (f.negative && !zero) out.push_back('-');
  out += intPart;
  if (p.hasPoint) {  // a pattern with a point always writes it: "0.##" writes 1 as "1."
    out.push_back('.');
    out += fracPart;
  }
  return QString::fromLatin1(out.data(), static_cast<qsizetype>(out.size()));
}

QString NumberText(double x) {
  ThrowIfNotFinite(x);
  if (x == 0.0) return QStringLiteral("0");
  const DecimalForm f = ToDecimalForm(x);
  thread_local std::string digits, out;
  digits.assign(f.digits, static_cast<size_t>(f.count));
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  const int exp10 = f.pointPos - 1;  // exponent of the first digit
  out.clear();
  if (f.negative) out.push_back('-');
  if (exp10 >= 15 || exp10 < -4) {
    // Scientific form for very large and small numbers: 1.5E+20, 1E-05.
    out.push_back(digits[0]);
    if (digits.size() > 1) {
      out.push_back('.');
      out.append(digits, 1, std::string::npos);
    }
    out.push_back('E');
    out.push_back(exp10 < 0 ? '-' : '+');
    std::string e = std::to_string(std::abs(exp10));
    if (e.size() < 2) e.insert(0, 1, '0');
    out += e;
  } else if (f.pointPos <= 0) {
    out += "0.";
    out.append(static_cast<size_t>(-f.pointPos), '0');
    out += digits;
  } else if (static_cast<int>(digits.size()) <= f.pointPos) {
    out += digits;
    out.append(static_cast<size_t>(f.pointPos) - digits.size(), '0');
  } else {
    out.append(digits, 0, static_cast<size_t>(f.pointPos));
    out.push_back('.');
    out.append(digits, static_cast<size_t>(f.pointPos), std::string::npos);
  }
  return QString::fromLatin1(out.data(), static_cast<qsizetype>(out.size()));
}

double Round15(double x) {
  ThrowIfNotFinite(x);
  if (x == 0.0) return x;
  // The 15 digits NumberText writes, read straight back from their
  // scientific form (runs call this several times for every row).
  char buf[40];
  const auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, 14);
  double v = x;
  std::from_chars(buf, res.ptr, v);
  return v;
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

double RoundHalfEven(double x, int d) {
  if (d < 0 || d > 22)
    throw OrvenilError(kErrInvalidProcedureCall, QStringLiteral("Ungültiger Prozeduraufruf: Anzahl der Dezimalstellen."));
  ThrowIfNotFinite(x);
  const DecimalForm f = ToDecimalForm(x);
  std::string intPart, fracPart;
  RoundDecimal(f, d, true, intPart, fracPart);
  std::string s = intPart;
  if (!fracPart.empty()) s += "." + fracPart;
  double v = 0.0;
  std::from_chars(s.data(), s.data() + s.size(), v);
  if (v == 0.0) return 0.0;
  return f.negative ? -v : v;
}

double Int(double x) { return std::floor(x); }

double Fix(double x) { return std::trunc(x); }

}  // namespace orv
