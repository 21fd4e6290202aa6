#include "runs/GeoidAnswerMatch.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <iterator>

namespace orv {

namespace {

// Lines before and after the row's place in the answer that may still be its
// own.
constexpr qint64 kReach = 16;
// Every this many lines naming a point the index keeps where the line begins.
constexpr qint64 kCheckpointEvery = 16;
// Degrees beyond this name no point on the earth: such lines and rows are not
// looked up.
constexpr double kLargestDegrees = 1e6;

constexpr double kHalfUnit[] = {0.5,   0.05,  5e-3,  5e-4,  5e-5,  5e-6,  5e-7,  5e-8,  5e-9,
                                5e-10, 5e-11, 5e-12, 5e-13, 5e-14, 5e-15, 5e-16, 5e-17, 5e-18};
constexpr int kUnits = static_cast<int>(std::size(kHalfUnit));

// How far a value written with d decimals may lie from the value it stands
// for: half a unit of its last digit, and a floor that absorbs the rounding
// of the conversion to degrees (far below a millimetre).
double Tolerance(int decimals) { return (decimals < kUnits ? kHalfUnit[decimals] : 0.0) + 1e-8; }

bool SameToDecimals(double written, int decimals, double value) {
  return std::fabs(written - value) <= Tolerance(decimals);
}

// The index puts a value written with d decimals into cells of 10^-min(d, 4)
// degrees, so that the values a written one may stand for lie in at most
// three neighbouring cells.
double CellsPerDegree(int decimals) {
  static constexpr double kScale[] = {1, 10, 100, 1000, 10000};
  return kScale[std::min(decimals, 4)];
}

quint32 CellHash(size_t decimalsClass, qint64 latCell, qint64 lonCell) {
  quint64 x = static_cast<quint64>(latCell) * 0x9E3779B97F4A7C15ULL;
  x ^= (static_cast<quint64>(lonCell) + 0x632BE59BD9B4E019ULL) * 0xC2B2AE3D27D4EB4FULL;
  x ^= static_cast<quint64>(decimalsClass) << 48;
  x ^= x >> 31;
  x *= 0xBF58476D1CE4E5B9ULL;
  x ^= x >> 29;
  x *= 0x94D049BB133111EBULL;
  x ^= x >> 32;
  return static_cast<quint32>(x);
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

// Moves pos past the field at pos (after blanks): everything up to the next
// blank or TAB.
void SkipField(const QString& line, qsizetype& pos) {
  const qsizetype n = line.size();
  while (pos < n && (line[pos] == QLatin1Char(' ') || line[pos] == QLatin1Char('\t'))) ++pos;
  while (pos < n && line[pos] != QLatin1Char(' ') && line[pos] != QLatin1Char('\t')) ++pos;
}

}  // namespace

bool GeoidAnswerMatch::PointOfLine(const QString& line, double& lat, int& latDecimals, double& lon,
                                   int& lonDecimals) {
  qsizetype pos = 0;
  double undulation = 0;
  int decimals = 0;
  // A line whose undulation is no number ("*******" for a value too wide for
  // its place, "nan") still names its point, so that its row is told that
  // its line holds no undulation rather than that it is missing.
  if (!ReadNumber(line, pos, undulation, decimals)) {
    pos = 0;
    SkipField(line, pos);
  }
  return ReadNumber(line, pos, lat, latDecimals) && ReadNumber(line, pos, lon, lonDecimals);
}

bool GeoidAnswerMatch::UndulationOfLine(const QString& line, double& undulation) {
  qsizetype pos = 0;
  int decimals = 0;
  return ReadNumber(line, pos, undulation, decimals);
}

bool GeoidAnswerMatch::open(const QString& path, qint64 rows) {
  path_ = path;
  rows_ = rows;
  return answer_.open(path);
}

bool GeoidAnswerMatch::readNext(qint64 from) {
  QString text;
  while (answer_.isOpen() && answer_.readLine(text)) {
    Line line{0, 0, 0, 0, 0, QString()};
    // A line that names no point (empty, say) belongs to no row.
    if (!PointOfLine(text, line.lat, line.latDecimals, line.lon, line.lonDecimals)) continue;
    line.position = ++read_;
    if (static_cast<size_t>(read_) > taken_.size()) taken_.push_back(false);
    if (line.position < from || taken_[static_cast<size_t>(read_ - 1)]) return true;
    line.text = std::move(text);
    window_.push_back(std::move(line));
    return true;
  }
  return false;
}

void GeoidAnswerMatch::take(qint64 position) {
  taken_[static_cast<size_t>(position - 1)] = true;
  lastTaken_ = position;
}

QString GeoidAnswerMatch::lineFor(double latDeg, double lonDeg) {
  const qint64 row = ++row_;
  const qint64 place = row + drift_;
  // Lines far behind the row's place are left to the index (a line doubled,
  // say, or one a later row takes).
  while (!window_.empty() && window_.front().position < place - kReach) window_.pop_front();
  while (!end_ && read_ < place + kReach)
    if (!readNext(place - kReach)) end_ = true;
  if (!std::isfinite(latDeg) || !std::isfinite(lonDeg)) return QString();
  for (auto it = window_.begin(); it != window_.end(); ++it) {
    if (!SameToDecimals(it->lat, it->latDecimals, latDeg) || !SameToDecimals(it->lon, it->lonDecimals, lonDeg))
      continue;
    QString text = std::move(it->text);
    take(it->position);
    drift_ = it->position - row;
    inWindow_ = true;
    window_.erase(it);
    return text;
  }
  if (!indexed_) buildIndex();
  QString text;
  const qint64 before = lastTaken_;
  const qint64 position = lookUp(latDeg, lonDeg, place, text);
  if (position == 0) return QString();
  take(position);
  // The window goes on around that line, where the next row's line is
  // expected, when the row before found its line in its window (a gap or a
  // move begins here) or when this line follows straight on the one taken
  // before (the answer runs in order again). In an answer out of order line
  // by line the window stays and reads on, so that no line is read again
  // around every row.
  const bool follow = inWindow_ || position == before + 1;
  inWindow_ = false;
  if (!follow) return text;
  drift_ = position - row;
  const qint64 next = position + 1;
  const qint64 held = window_.empty() ? read_ + 1 : window_.front().position;
  if (next < held || next - kReach > read_ + kCheckpointEvery) readFrom(next - kReach);
  return text;
}

void GeoidAnswerMatch::readFrom(qint64 from) {
  const qint64 checkpoint = std::max<qint64>(0, (from - 1) / kCheckpointEvery);
  if (checkpoint >= static_cast<qint64>(checkpoints_.size()) || !answer_.seek(checkpoints_[checkpoint])) return;
  window_.clear();
  read_ = checkpoint * kCheckpointEvery;
  end_ = false;
}

void GeoidAnswerMatch::buildIndex() {
  indexed_ = true;
  if (!probe_.open(path_)) return;
  // Every line of the answer is indexed, however many the program wrote in
  // front of or between the rows' lines: the index holds no text, eight bytes
  // a line and the offset of every 16th, so that an answer to 2,000,000 rows
  // costs under 20 MB. A position is kept in 32 bits; lines beyond that are
  // not looked up.
  constexpr qint64 kMostPositions = 0xFFFFFFFF;
  index_.reserve(static_cast<size_t>(rows_));
  QString text;
  qint64 position = 0;
  for (qint64 offset = probe_.position(); position < kMostPositions && probe_.readLine(text);
       offset = probe_.position()) {
    double lat = 0, lon = 0;
    int latDecimals = 0, lonDecimals = 0;
    if (!PointOfLine(text, lat, latDecimals, lon, lonDecimals)) continue;
    if (position % kCheckpointEvery == 0) checkpoints_.push_back(offset);
    ++position;
    if (std::fabs(lat) > kLargestDegrees || std::fabs(lon) > kLargestDegrees) continue;
    const std::pair<int, int> decimals{std::min(latDecimals, kUnits), std::min(lonDecimals, kUnits)};
    auto cls = std::find(decimals_.begin(), decimals_.end(), decimals);
    if (cls == decimals_.end()) cls = decimals_.insert(decimals_.end(), decimals);
    const quint32 hash =
        CellHash(static_cast<size_t>(cls - decimals_.begin()),
                 static_cast<qint64>(std::floor(lat * CellsPerDegree(latDecimals))),
                 static_cast<qint64>(std::floor(lon * CellsPerDegree(lonDecimals))));
    index_.push_back(static_cast<quint64>(hash) << 32 | static_cast<quint64>(position));
  }
  std::sort(index_.begin(), index_.end());
  if (taken_.size() < static_cast<size_t>(position)) taken_.resize(static_cast<size_t>(position), false);
  probeRead_ = -1;
}

qint64 GeoidAnswerMatch::lookUp(double latDeg, double lonDeg, qint64 place, QString& text) {
  if (std::fabs(latDeg) > kLargestDegrees || std::fabs(lonDeg) > kLargestDegrees) return 0;
  qint64 best = 0;
  // The cells of each decimals class in which a line repeating the point may
  // lie; the margin takes up the rounding of the products.
  const auto cells = [](double value, int decimals) {
    const double scale = CellsPerDegree(decimals), tolerance = Tolerance(decimals);
    return std::pair<qint64, qint64>{static_cast<qint64>(std::floor((value - tolerance) * scale - 1e-6)),
                                     static_cast<qint64>(std::floor((value + tolerance) * scale + 1e-6))};
  };
  for (size_t cls = 0; cls < decimals_.size(); ++cls) {
    const auto [latFirst, latLast] = cells(latDeg, decimals_[cls].first);
    const auto [lonFirst, lonLast] = cells(lonDeg, decimals_[cls].second);
    for (qint64 a = latFirst; a <= latLast; ++a)
      for (qint64 b = lonFirst; b <= lonLast; ++b) {
        const quint64 key = static_cast<quint64>(CellHash(cls, a, b)) << 32;
        for (auto it = std::lower_bound(index_.begin(), index_.end(), key);
             it != index_.end() && (*it & ~quint64(0xFFFFFFFF)) == key; ++it) {
          const auto position = static_cast<qint64>(*it & 0xFFFFFFFF);
          if (taken_[static_cast<size_t>(position - 1)]) continue;
          if (best != 0 && std::llabs(position - place) >= std::llabs(best - place)) continue;
          QString line;
          double lat = 0, lon = 0;
          int latDecimals = 0, lonDecimals = 0;
          if (!lineAt(position, line) || !PointOfLine(line, lat, latDecimals, lon, lonDecimals) ||
              !SameToDecimals(lat, latDecimals, latDeg) || !SameToDecimals(lon, lonDecimals, lonDeg))
            continue;
          best = position;
          text = std::move(line);
        }
      }
  }
  return best;
}

bool GeoidAnswerMatch::lineAt(qint64 position, QString& text) {
  // Lines asked for one after the other are read on without going back.
  if (probeRead_ < 0 || position <= probeRead_ || position - probeRead_ > kCheckpointEvery) {
    const qint64 checkpoint = (position - 1) / kCheckpointEvery;
    if (checkpoint >= static_cast<qint64>(checkpoints_.size()) || !probe_.seek(checkpoints_[checkpoint])) return false;
    probeRead_ = checkpoint * kCheckpointEvery;
  }
  double lat = 0, lon = 0;
  int latDecimals = 0, lonDecimals = 0;
  while (probe_.readLine(text)) {
    if (!PointOfLine(text, lat, latDecimals, lon, lonDecimals)) continue;
    if (++probeRead_ == position) return true;
  }
  probeRead_ = -1;
  return false;
}

}  // namespace orv
