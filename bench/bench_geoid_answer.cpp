// Matching the geoid program's answer to 2,000,000 rows, as the geoid runs
// do, for answers in row order, sorted by their point numbers' texts (as a
// program that sorts its output would hand them back) and shuffled, beside a
// raw floor measured in the same run: the answer read once, line by line,
// with the point of every line parsed.
#include <QString>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "foundation/TextLineReader.h"
#include "runs/GeoidAnswerMatch.h"

using namespace orv;

namespace {

constexpr long kRows = 2000000;

double Lat(long i) { return 47.5 + static_cast<double>(i / 2000) * 0.0005; }
double Lon(long i) { return 6.0 + static_cast<double>(i % 2000) * 0.0045; }

void WriteAnswer(const QString& path, const std::vector<long>& order) {
  std::FILE* f = std::fopen(path.toLocal8Bit().constData(), "wb");
  for (const long i : order) std::fprintf(f, "%10.4f %12.8f %12.8f\r\n", 40.0 + i % 1000 * 0.01, Lat(i), Lon(i));
  std::fclose(f);
}

double Floor(const QString& path) {
  const auto start = std::chrono::steady_clock::now();
  TextLineReader reader(path);
  QString line;
  long points = 0;
  double lat = 0, lon = 0;
  int latDecimals = 0, lonDecimals = 0;
  while (reader.readLine(line))
    if (GeoidAnswerMatch::PointOfLine(line, lat, latDecimals, lon, lonDecimals)) ++points;
  if (points != kRows) std::fprintf(stderr, "floor read %ld points\n", points);
  return bench::Seconds(start);
}

double Match(const QString& path) {
  const auto start = std::chrono::steady_clock::now();
  GeoidAnswerMatch match;
  match.open(path, kRows);
  long found = 0;
  for (long i = 0; i < kRows; ++i)
    if (!match.lineFor(Lat(i), Lon(i)).isEmpty()) ++found;
  if (found != kRows) std::fprintf(stderr, "%ld of %ld rows found their line\n", found, kRows);
  return bench::Seconds(start);
}

}  // namespace

int main() {
  QTemporaryDir dir;
  const QString path = dir.filePath("OUTPUT.USR");
  std::vector<long> order(kRows);
  for (long i = 0; i < kRows; ++i) order[i] = i;
  struct Variant {
    const char* name;
    void (*arrange)(std::vector<long>&);
  } variants[] = {
      {"in row order", [](std::vector<long>&) {}},
      {"sorted by point number text",
       [](std::vector<long>& o) {
         std::sort(o.begin(), o.end(), [](long a, long b) { return std::to_string(a) < std::to_string(b); });
       }},
      {"shuffled", [](std::vector<long>& o) { std::shuffle(o.begin(), o.end(), std::mt19937(7)); }},
  };
  for (const Variant& v : variants) {
    std::vector<long> arranged = order;
    v.arrange(arranged);
    WriteAnswer(path, arranged);
    const double floor = Floor(path);
    const double match = Match(path);
    std::printf("geoid answer %s: %.2f s, raw floor %.2f s, ratio %.2f\n", v.name, match, floor, match / floor);
  }
  std::printf("peak memory %ld MB\n", bench::PeakMegabytes());
  return 0;
}
