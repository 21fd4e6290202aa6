// NTv2 on BETA2007: builds the grid cache from the shipped .gsa, then runs
// 1,000,000 points through the NTv2 run's per-point work (start values read
// from text, forward shift with extent test, target column texts) and, in
// the same run, PROJ's cct on the same points when it is installed.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <vector>

#include "foundation/NumberText.h"
#include "geodesy/Ntv2GridCache.h"
#include "platform/db/DatabaseHelpers.h"
#include "runs/Ntv2CacheDatabase.h"
#include "runs/Ntv2Run.h"

using namespace orv;

namespace {

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QTemporaryDir dir;
  const QString grid = dir.filePath("BETA2007.gsa");
  if (!QFile::copy(QStringLiteral(ORV_SOURCE_DIR "/data/Orvenil-Datenbanken/BETA2007.gsa"), grid)) {
    std::fprintf(stderr, "BETA2007.gsa missing\n");
    return 1;
  }

  auto start = std::chrono::steady_clock::now();
  Ntv2OpenCache open = OpenNtv2GridCache(grid, dir.path() + "/", Database());
  const double buildTime = Seconds(std::chrono::steady_clock::now() - start);
  const Ntv2GridCache cache(open.database, open.tableCount);
  std::printf("BETA2007 cache build: %.3f s\n", buildTime);

  const int n = 1000000;
  std::vector<QString> lat(n), lon(n);
  QByteArray cctInput;
  cctInput.reserve(n * 32);
  for (int i = 0; i < n; ++i) {
    lat[i] = NumberText(47.1 + (i % 1000) * 0.0081);
    lon[i] = NumberText(5.6 + (i / 1000) * 0.0095);
    cctInput += lon[i].toLatin1() + ' ' + lat[i].toLatin1() + " 0 0\n";
  }
  const ProjectedEllipsoid target = MakeProjectedEllipsoid(6378137, 1 / 298.257222101, 0.9996);

  // The shift as cct does it: start values read from text, the shifted
  // point (with the run's extent test) written as text.
  start = std::chrono::steady_clock::now();
  double checksum = 0;
  int inside = 0;
  for (int i = 0; i < n; ++i) {
    const double phi = ToDoubleStrict(lat[i]), lambda = ToDoubleStrict(lon[i]);
    const Ntv2TargetPoint p = Ntv2ShiftPoint(cache, phi, lambda, true, phi * 3600, lambda * 3600);
    if (!p.inside) continue;
    ++inside;
    checksum += NumberText(p.latitude).size() + NumberText(p.longitude).size();
  }
  const double ours = Seconds(std::chrono::steady_clock::now() - start);
  std::printf("NTv2 shift, text in and out: %d points (%d inside) in %.2f s, %.0f points/s (checksum %.3f)\n",
              n, inside, ours, n / ours, checksum / n);

  // The whole per-point work of the run: also radians, degree texts,
  // geocentric and projected target coordinates.
  start = std::chrono::steady_clock::now();
  checksum = 0;
  for (int i = 0; i < n; ++i) {
    const double phi = ToDoubleStrict(lat[i]), lambda = ToDoubleStrict(lon[i]);
    const Ntv2TargetPoint p = Ntv2ShiftPoint(cache, phi, lambda, true, phi * 3600, lambda * 3600);
    if (!p.inside) continue;
    const Ntv2TargetColumns t = Ntv2TargetColumnTexts(p.latitude, p.longitude, 100, target, "GRS1980");
    checksum += t.columns.size();
  }
  const double whole = Seconds(std::chrono::steady_clock::now() - start);
  std::printf("NTv2 run per-point work with all 16 target columns: %.2f s, %.0f points/s\n", whole,
              n / whole);

  const QString cct = QStandardPaths::findExecutable(QStringLiteral("cct"));
  if (cct.isEmpty() || !QFile::exists(QStringLiteral("/usr/share/proj/BETA2007.gsb"))) {
    std::printf("cct or BETA2007.gsb not installed: no comparison\n");
  } else {
    const QString in = dir.filePath("points.txt");
    QFile f(in);
    f.open(QIODevice::WriteOnly);
    f.write(cctInput);
    f.close();
    QProcess proc;
    proc.setStandardInputFile(in);
    proc.setStandardOutputFile(dir.filePath("out.txt"));
    start = std::chrono::steady_clock::now();
    proc.start(cct, {"+proj=hgridshift", "+grids=BETA2007.gsb"});
    proc.waitForFinished(-1);
    const double theirs = Seconds(std::chrono::steady_clock::now() - start);
    std::printf("cct +proj=hgridshift +grids=BETA2007.gsb: %d points in %.2f s, %.0f points/s\n", n, theirs,
                n / theirs);
    std::printf("ntv2 shift vs cct time ratio %.3f\n", ours / theirs);
    std::printf("ntv2 run with all target columns vs cct time ratio %.3f\n", whole / theirs);
  }
  CloseAllDatabases(true);
  return 0;
}
