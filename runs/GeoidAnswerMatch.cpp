#include "runs/GeoidAnswerMatch.h"

#include <charconv>
#include <cmath>
#include <iterator>

#include "foundation/TextLineReader.h"

namespace orv {

namespace {

// Lines before and after the row's place in the answer that may still be its
// own.
constexpr qint64 kReach = 16;

// A number written with d decimals stands for every value within half a unit
// of its last digit; the floor absorbs the rounding of the conversion to
// degrees (far below a millimetre).
bool SameToDecimals(double written, int decimals, double value) {
  static constexpr double kHalfUnit[] = {0.5,   0.05,  5e-3,  5e-4,  5e-5,  5e-6,  5e-7,  5e-8,  5e-9,
                                         5e-10, 5e-11, 5e-12, 5e-13, 5e-14, 5e-15, 5e-16, 5e-17, 5e-18};
  const double half = decimals < static_cast<int>(std::size(kHalfUnit)) ? kHalfUnit[decimals] : 0.0;
  return std::fabs(written - value) <= half + 1e-8;
}

// The number at pos (after blanks): an optional sign, digits and a decimal
// point with digits after it; pos moves past it. A sign begins a new number,
// so fields that run into each other ("47.123-12.345678") are told apart.
bool ReadNumber(const QString& line, qsizetype& pos, double& value, int& decimals) {
  const qsizetype n = line.size();
  while (pos < n && (line[pos] == QLatin1Char(' ') || line[pos] == QLatin1Char('\t'))) ++pos;
  char text[64];
  int used = 0;
  if (pos < n && (line[pos] == QLatin1Char('-') || line[pos] == QLatin1Char('+'))) {
    if (line[pos] == QLatin1Char('-')) text[used++] = '-';
    ++pos;
  }
  int digits = 0;
  decimals = 0;
  bool point = false;
  for (; pos < n && used < 62; ++pos) {
    const QChar c = line[pos];
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
      text[used++] = static_cast<char>(c.unicode());
      ++digits;
      if (point) ++decimals;
    } else if (c == QLatin1Char('.') && !point) {
      text[used++] = '.';
      point = true;
    } else {
      break;
    }
  }
  if (digits == 0) return false;
  const auto [end, ec] = std::from_chars(text, text + used, value);
  return ec == std::errc() && end == text + used && std::isfinite(value);
}

}  // namespace

bool GeoidAnswerMatch::PointOfLine(const QString& line, double& lat, int& latDecimals, double& lon,
                                   int& lonDecimals) {
  qsizetype pos = 0;
  double undulation = 0;
  int decimals = 0;
  return ReadNumber(line, pos, undulation, decimals) && ReadNumber(line, pos, lat, latDecimals) &&
         ReadNumber(line, pos, lon, lonDecimals);
}

bool GeoidAnswerMatch::readNext() {
  QString text;
  while (answer_.isOpen() && answer_.readLine(text)) {
    Line line{0, 0, 0, 0, 0, QString()};
    // A line that names no point (empty, say) belongs to no row.
    if (!PointOfLine(text, line.lat, line.latDecimals, line.lon, line.lonDecimals)) continue;
    line.position = ++read_;
    line.text = std::move(text);
    window_.push_back(std::move(line));
    return true;
  }
  return false;
}

QString GeoidAnswerMatch::lineFor(double latDeg, double lonDeg) {
  const qint64 row = ++row_;
  const qint64 place = row + drift_;
  // Lines far behind the row's place are left over (doubled, say): no later
  // row takes them.
  while (!window_.empty() && window_.front().position < place - kReach) window_.pop_front();
  while (!end_ && read_ < place + kReach)
    if (!readNext()) end_ = true;
  if (!std::isfinite(latDeg) || !std::isfinite(lonDeg)) return QString();
  for (auto it = window_.begin(); it != window_.end(); ++it) {
    if (!SameToDecimals(it->lat, it->latDecimals, latDeg) || !SameToDecimals(it->lon, it->lonDecimals, lonDeg))
      continue;
    QString text = std::move(it->text);
    drift_ = it->position - row;
    window_.erase(it);
    return text;
  }
  return QString();
}

}  // namespace orv
