#include "geodesy/AngleFormats.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "foundation/TextTokens.h"
#include "geodesy/CheckedArithmetic.h"
#include "geodesy/GeodesyConstants.h"

namespace orv {

namespace {

// Whole part truncated toward zero, as a 32-bit integer (overflow is an error).
int32_t FixToInt32(double x) {
  const double t = Fix(CheckedFinite(x));
  if (t < -2147483648.0 || t > 2147483647.0)
    throw OrvenilError(kErrOverflow, QStringLiteral("Überlauf"));
  return static_cast<int32_t>(t);
}

// Degrees, minutes and seconds of one angle, all of the same sign.
struct DegreeParts {
  double degrees;
  double minutes;
  double seconds;
};

// Carries seconds that the given pattern would print as 60 into the minutes,
// and 60 minutes into the degrees. The decision is taken on the value the
// pattern prints, so the text and the carry can never disagree.
DegreeParts CarryRoundedSeconds(DegreeParts p, const QString& secondsPattern) {
  const double printed = Val(FormatNumber(p.seconds, secondsPattern));
  const double sign = printed < 0 ? -1.0 : 1.0;
  if (std::fabs(printed) >= 60.0) {
    p.seconds = printed - sign * 60.0;
    p.minutes += sign;
  }
  if (std::fabs(p.minutes) >= 60.0) {
    const double msign = p.minutes < 0 ? -1.0 : 1.0;
    p.minutes -= msign * 60.0;
    p.degrees += msign;
  }
  return p;
}

// D°MM'SS.SSSSS" from non-negative minutes and seconds below 60.
QString DegreeText(double degrees, double minutes, double seconds) {
  const QString secondsPattern = QStringLiteral("00.00000");
  DegreeParts p{degrees, minutes, seconds};
  // The seconds are formatted once; only a carry formats them again.
  QString secondsText = FormatNumber(seconds, secondsPattern);
  if (std::fabs(Val(secondsText)) >= 60.0 || std::fabs(minutes) >= 60.0) {
    p = CarryRoundedSeconds(p, secondsPattern);
    secondsText = FormatNumber(p.seconds, secondsPattern);
  }
  return NumberText(p.degrees) + QChar(0x00B0) + FormatNumber(p.minutes, QStringLiteral("00")) +
         QLatin1Char('\'') + secondsText + QLatin1Char('"');
}

// Digits with at most one decimal point and at least one digit, and at most
// 300 digits before the point after leading zeros: a number far inside the
// range of a double, so that it is read as written and every sum of such
// numbers stays finite.
bool IsPlainNumber(QStringView text) {
  bool digit = false;
  bool point = false;
  int wholeDigits = 0;
  for (const QChar c : text) {
    if (c.unicode() >= u'0' && c.unicode() <= u'9') {
      digit = true;
      if (!point && (wholeDigits > 0 || c != u'0') && ++wholeDigits > 300) return false;
    } else if (c == u'.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digit;
}

bool IsEmptyOrPlainNumber(QStringView text) { return text.isEmpty() || IsPlainNumber(text); }

// "DDMM.m": the minutes are the two digits before the point, the degrees
// those before them (none: 0°).
std::optional<QString> CompactDecimalMinutes(QStringView text) {
  const qsizetype point = text.indexOf(u'.');
  const qsizetype whole = point < 0 ? text.size() : point;
  if (whole < 1 || !IsPlainNumber(text)) return std::nullopt;
  const qsizetype degreeDigits = std::max<qsizetype>(0, whole - 2);
  const double minutes = Val(text.mid(degreeDigits, whole - degreeDigits).toString());
  if (minutes >= 60) return std::nullopt;
  const double fraction = point < 0 ? 0.0 : Val(QStringLiteral("0.") + text.mid(point + 1).toString());
  return DegreeText(Val(text.left(degreeDigits).toString()), minutes, fraction * 60);
}

// "D°M.m'" with the closing "'" optional.
std::optional<QString> DegreeDecimalMinutes(QStringView text) {
  const qsizetype degree = text.indexOf(QChar(0x00B0));
  QStringView minutes = text.mid(degree + 1);
  if (minutes.endsWith(u'\'')) minutes.chop(1);
  const QStringView degrees = text.left(degree);
  if (!IsPlainNumber(degrees) || degrees.contains(u'.') || !IsPlainNumber(minutes)) return std::nullopt;
  const qsizetype point = minutes.indexOf(u'.');
  const double whole = Val((point < 0 ? minutes : minutes.left(point)).toString());
  if (whole >= 60) return std::nullopt;
  const double fraction = point < 0 ? 0.0 : Val(QStringLiteral("0.") + minutes.mid(point + 1).toString());
  return DegreeText(Val(degrees.toString()), whole, fraction * 60);
}

}  // namespace

bool IsStrictDegreeText(const QString& text) {
  const qsizetype degree = text.indexOf(QChar(0x00B0));
  if (degree < 0) return false;
  QStringView degrees = QStringView(text).left(degree);
  if (degrees.startsWith(u'-')) degrees = degrees.mid(1);
  if (!IsPlainNumber(degrees)) return false;
  QStringView rest = QStringView(text).mid(degree + 1);
  if (rest.endsWith(QStringLiteral("''"))) rest.chop(2);
  else if (rest.endsWith(u'"')) rest.chop(1);
  const qsizetype minute = rest.indexOf(u'\'');
  if (minute < 0) return IsEmptyOrPlainNumber(rest);
  return IsEmptyOrPlainNumber(rest.left(minute)) && IsEmptyOrPlainNumber(rest.mid(minute + 1));
}

std::optional<QString> DecimalMinutesInGrad(const QString& text) {
  // A sign in front belongs to the whole angle.
  if (text.startsWith(u'-')) {
    const std::optional<QString> magnitude = DecimalMinutesInGrad(text.mid(1));
    if (!magnitude || magnitude->startsWith(u'-')) return std::nullopt;
    return QLatin1Char('-') + *magnitude;
  }
  if (text.contains(QChar(0x00B0))) return DegreeDecimalMinutes(text);
  return CompactDecimalMinutes(text);
}

double GradInRad(const QString& degreeText) {
  QString t = degreeText;
  t.replace(QChar(0x00B0), QLatin1Char(' '));
  t.replace(QLatin1Char('\''), QLatin1Char(' '));
  t.remove(QLatin1Char('"'));
  const QString blank = QStringLiteral(" ");
  const QString degrees = GetToken(t, 1, blank);
  const double d = Val(degrees);
  const double m = Val(GetToken(t, 2, blank));
  const double s = Val(GetToken(t, 3, blank));
  // A sign in front belongs to the whole angle (-0°30' is half a degree
  // south or west); a text with a sign before each part (-9°-30') reads alike.
  const bool negative = degrees.startsWith(u'-') || d < 0 || m < 0 || s < 0;
  const double magnitude = (std::fabs(d) + std::fabs(m) / 60) + std::fabs(s) / 3600;
  return (negative ? -magnitude : magnitude) * kPi / 180;
}

QString FormatSeconds(double seconds, const QString& formatName) {
  const int32_t g = FixToInt32(seconds / 3600);
  seconds = seconds - g * 3600.0;
  const int32_t n = FixToInt32(seconds / 60);
  seconds = seconds - n * 60.0;

  QString degreePattern = QStringLiteral("0");
  QString secondsPattern = QStringLiteral("00.00000");
  if (formatName == QLatin1String("hh:nn:ss")) {
    degreePattern = QStringLiteral("00");
    secondsPattern = QStringLiteral("00");
    seconds = Fix(seconds);
  } else if (formatName == QLatin1String("h:nn:ss.s")) {
    secondsPattern = QStringLiteral("00.0");
  }
  const DegreeParts p = CarryRoundedSeconds({double(g), double(n), seconds}, secondsPattern);
  return FormatNumber(p.degrees, degreePattern) + QChar(0x00B0) +
         FormatNumber(p.minutes, QStringLiteral("00")) + QLatin1Char('\'') +
         FormatNumber(p.seconds, secondsPattern);
}

QString DezMinInGrad(const QString& decimalMinutes) {
  const double d = Val(decimalMinutes.mid(0, 2));
  const double m = Val(decimalMinutes.mid(2, 2));
  const double f = Val(QStringLiteral("0.") + decimalMinutes.mid(5));
  return DegreeText(d, m, f * 60);
}

QString DezGradInGrad(double decimalDegrees) {
  const double v = CheckedFinite(decimalDegrees);
  // A negative angle is its size with a sign in front, as every reader of
  // degree texts takes it; an angle that rounds to zero keeps no sign.
  if (v < 0) {
    const QString size = DezGradInGrad(-v);
    static const QString zero = QStringLiteral("0") + QChar(0x00B0) + QStringLiteral("00'00.00000\"");
    return size == zero ? size : QLatin1Char('-') + size;
  }
  const double d = Int(v);
  const double x = (v - d) * 60;
  const double m = Int(x);
  const double s = RoundHalfEven((x - m) * 60, 5);
  // Runs write this text for every row: the usual case (whole degrees of
  // ordinary size, seconds that need no carry) is written directly. s holds
  // at most seven significant digits, so its hundred-thousandths are exact.
  const long long units = std::llround(s * 100000);
  if (std::fabs(d) < 1e15 && m >= 0 && m < 60 && units >= 0 && units < 6000000) {
    char text[48];
    char* p = std::to_chars(text, text + 24, static_cast<long long>(d)).ptr;
    *p++ = static_cast<char>(0xB0);  // "°" in Latin-1
    const int minutes = static_cast<int>(m);
    *p++ = static_cast<char>('0' + minutes / 10);
    *p++ = static_cast<char>('0' + minutes % 10);
    *p++ = '\'';
    const long long whole = units / 100000;
    long long fraction = units % 100000;
    *p++ = static_cast<char>('0' + whole / 10);
    *p++ = static_cast<char>('0' + whole % 10);
    *p++ = '.';
    for (int i = 4; i >= 0; --i, fraction /= 10) p[i] = static_cast<char>('0' + fraction % 10);
    p += 5;
    *p++ = '"';
    return QString::fromLatin1(text, p - text);
  }
  return DegreeText(d, m, s);
}

QString RadInGrad(double radians) {
  return DezGradInGrad(radians * 180 / kPi);
}

double asin(double x) {
  if (x == 1.0) return kPi / 2;
  if (x == -1.0) return -kPi / 2;
  if (!(std::fabs(x) < 1.0))
    throw OrvenilError(kErrInvalidProcedureCall,
                       QStringLiteral("Ungültiger Prozeduraufruf oder ungültiges Argument"));
  return std::atan(x / std::sqrt(1 - x * x));
}

}  // namespace orv
