// Throughput of the single-point geodesy: one point from Gauss-Krüger grid
// coordinates (Bessel) through the inverse projection, geocentric conversion,
// a Bursa-Wolf transformation and back to geographic coordinates, projected
// into UTM (GRS1980) — the path of an import and a seven-parameter run, with
// the run's prepared parameter set and its zone rule. PROJ's cs2cs computes
// the same points in the same run; both figures and their quotient are
// printed. The chain is timed after a string was hashed, as on the window
// thread. Also the NTv2 lookups on a synthetic grid cache, as the NTv2 run
// calls them.
#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "geodesy/GeocentricConversion.h"
#include "geodesy/Ntv2Interpolation.h"
#include "geodesy/SimilarityTransformations.h"
#include "geodesy/TransverseMercator.h"
#include "platform/db/DBEngine.h"
#include "platform/db/FieldType.h"
#include "geodesy/ZoneRules.h"
#include "runs/SevenParameterChain.h"
#include "shell/ProgramState.h"

using namespace orv;

namespace {

double Seconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

constexpr int kChainPoints = 1000000;

// The bench points: a 1000 × 1000 block of Gauss-Krüger coordinates in strip 4.
double BenchNorthing(int i) { return 5800000 + (i % 1000) * 97.3; }
double BenchEasting(int i) { return 4580000 + (i / 1000) * 31.7; }

// What the window thread has done before a run: a string hashed into a
// registry. Qt's hash uses vector AES where the CPU has it and may leave the
// upper halves of the vector registers dirty; where the CPU has AVX the
// bench leaves them dirty itself, so that every CPU times the chain in the
// state the window thread can be in.
int HashAString() {
  QHash<QString, int> registry;
  const QString name = QStringLiteral("Orvenil-Datenbanken/sys_7Parameter.dat: Daten, Punkt, sYeZiel");
  registry.insert(name, 1);
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
  if (__builtin_cpu_supports("avx"))
    asm volatile(
        "vcmpeqps %%ymm0, %%ymm0, %%ymm0\n vcmpeqps %%ymm1, %%ymm1, %%ymm1\n"
        "vcmpeqps %%ymm2, %%ymm2, %%ymm2\n vcmpeqps %%ymm3, %%ymm3, %%ymm3\n"
        "vcmpeqps %%ymm4, %%ymm4, %%ymm4\n vcmpeqps %%ymm5, %%ymm5, %%ymm5\n"
        "vcmpeqps %%ymm6, %%ymm6, %%ymm6\n vcmpeqps %%ymm7, %%ymm7, %%ymm7\n"
        "vcmpeqps %%ymm8, %%ymm8, %%ymm8\n vcmpeqps %%ymm9, %%ymm9, %%ymm9\n"
        "vcmpeqps %%ymm10, %%ymm10, %%ymm10\n vcmpeqps %%ymm11, %%ymm11, %%ymm11\n"
        "vcmpeqps %%ymm12, %%ymm12, %%ymm12\n vcmpeqps %%ymm13, %%ymm13, %%ymm13\n"
        "vcmpeqps %%ymm14, %%ymm14, %%ymm14\n vcmpeqps %%ymm15, %%ymm15, %%ymm15\n" ::
            : "xmm0", "xmm1", "xmm2", "xmm3", "xmm4", "xmm5", "xmm6", "xmm7", "xmm8", "xmm9", "xmm10",
              "xmm11", "xmm12", "xmm13", "xmm14", "xmm15");
#endif
  return registry.value(name);
}

double ChainThroughput() {
  const double aB = 6377397.15507605, bB = 6356078.96289779;
  const double eB = std::sqrt((aB * aB - bB * bB) / (aB * aB));
  SevenParameterSet set;
  set.modell = kModelBursaWolf;
  set.dx = 582, set.dy = 105, set.dz = 414, set.Rx = -1.04, set.Ry = -0.35, set.Rz = 3.08, set.MF = 8.3;
  const ProjectedEllipsoid grs = MakeProjectedEllipsoid(6378137, 0.003352810681184, 0.9996);
  const SevenParameterChain chain(set, grs);

  const int n = kChainPoints;
  double checksum = HashAString() - 1;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < n; ++i) {
    const GeographicAngles g =
        VerebnetInGeographisch(BenchNorthing(i), BenchEasting(i), aB, eB, 1, 4500000, 12, QString(), bB);
    const GeocentricPoint p = EllToGeoZent(g.latitude, g.longitude, 100, aB, eB);
    const SevenParameterPoint q = chain.Transform(p.X, p.Y, p.Z);
    const int32_t meridian = ZoneFromLongitudeValue(q.longitudeDegrees, QStringLiteral("GRS1980"));
    const GridCoordinates u = chain.Project(q, meridian, 500000);
    checksum += u.northing + u.easting;
  }
  const double t = Seconds(std::chrono::steady_clock::now() - start);
  std::printf("chain grid->geographic->geocentric->Helmert->geographic->grid: %d points in %.2f s, "
              "%.0f points/s (checksum %.3f)\n",
              n, t, n / t, checksum / n);
  return n / t;
}

// PROJ's cs2cs on the same points: Gauss-Krüger on Bessel, the same
// Bursa-Wolf set (as +towgs84, which takes the rotations in the opposite
// sense), UTM on GRS80. Timed from the start of the process to its end,
// reading and writing its text as a tool does. 0 when cs2cs is missing.
double Cs2csThroughput() {
  const QString cs2cs = QStandardPaths::findExecutable(QStringLiteral("cs2cs"));
  if (cs2cs.isEmpty()) {
    std::printf("cs2cs not found (package proj-bin): no comparison\n");
    return 0;
  }
  QTemporaryDir dir;
  const QString input = dir.filePath(QStringLiteral("points.txt"));
  {
    QFile f(input);
    if (!f.open(QIODevice::WriteOnly)) return 0;
    QByteArray text;
    text.reserve(kChainPoints * 32);
    char line[64];
    for (int i = 0; i < kChainPoints; ++i) {
      const int len = std::snprintf(line, sizeof line, "%.3f %.3f 100\n", BenchEasting(i), BenchNorthing(i));
      text.append(line, len);
    }
    f.write(text);
  }
  const QStringList args = {
      QStringLiteral("-f"), QStringLiteral("%.4f"), QStringLiteral("+proj=tmerc"), QStringLiteral("+lat_0=0"),
      QStringLiteral("+lon_0=12"), QStringLiteral("+k=1"), QStringLiteral("+x_0=4500000"), QStringLiteral("+y_0=0"),
      QStringLiteral("+a=6377397.15507605"), QStringLiteral("+b=6356078.96289779"),
      QStringLiteral("+towgs84=582,105,414,1.04,0.35,-3.08,8.3"), QStringLiteral("+to"), QStringLiteral("+proj=utm"),
      QStringLiteral("+zone=32"), QStringLiteral("+ellps=GRS80"), QStringLiteral("+towgs84=0,0,0"), input};
  QProcess proc;
  proc.setStandardOutputFile(dir.filePath(QStringLiteral("out.txt")));
  const auto start = std::chrono::steady_clock::now();
  proc.start(cs2cs, args);
  if (!proc.waitForFinished(-1) || proc.exitCode() != 0) {
    std::printf("cs2cs failed: %s\n", proc.readAllStandardError().constData());
    return 0;
  }
  const double t = Seconds(std::chrono::steady_clock::now() - start);
  std::printf("cs2cs (PROJ) on the same points: %d points in %.2f s, %.0f points/s\n", kChainPoints, t,
              kChainPoints / t);
  return kChainPoints / t;
}

void Ntv2Throughput() {
  QTemporaryDir dir;
  Database db = DBEngine::createDatabase(dir.filePath(QStringLiteral("bench.mdb")));
  TableDef def = db.createTableDef(QStringLiteral("1"));
  def.appendField(TableDef::createField(QStringLiteral("Kopfdaten"), dbText));
  def.appendField(TableDef::createField(QStringLiteral("Zeile1"), dbSingle));
  def.appendField(TableDef::createField(QStringLiteral("Zeile2"), dbSingle));
  def.appendField(TableDef::createField(QStringLiteral("id"), dbLong));
  def.appendIndex(TableDef::createIndex(QStringLiteral("id"), QStringLiteral("id"), false, false));
  db.appendTableDef(def);
  // 47° … 55° N, 5° … 16° E every 3' × 4.5': about 60,000 nodes.
  const int nrows = 161, ncols = 147;
  Recordset rs = db.openTable(QStringLiteral("1"));
  for (int id = 1; id <= nrows * ncols; ++id) {
    rs.addNew();
    rs.setValue(QStringLiteral("Kopfdaten"),
                id == 1 ? QStringLiteral("SUB_NAME BENCH;PARENT NONE;CREATED 01-01-21;UPDATED 01-01-21;"
                                         "S_LAT 169200;N_LAT 198000;E_LONG -57600;W_LONG -18000;"
                                         "LAT_INC 180;LONG_INC 270;GS_COUNT 23667;")
                        : QString());
    rs.setValue(QStringLiteral("Zeile1"), 0.001 * (id % 997));
    rs.setValue(QStringLiteral("Zeile2"), -0.002 * (id % 991));
    rs.setValue(QStringLiteral("id"), id);
    rs.update();
  }
  rs.close();
  db.commit();
  const Ntv2GridCache cache(db, 1);

  const int n = 200000;
  double checksum = 0;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < n; ++i) {
    const double lat = 47.5 + (i % 500) * 0.0137;
    const double lon = 6.0 + (i / 500) * 0.0231;
    const Ntv2Result r = NTv2Transformieren(lat, lon, cache);
    checksum += r.latitude + r.longitude;
  }
  const double t = Seconds(std::chrono::steady_clock::now() - start);
  std::printf("NTv2Transformieren on a one-grid cache: %d points in %.2f s, %.0f points/s "
              "(2,000,000 points: %.0f s; checksum %.3f)\n",
              n, t, n / t, 2000000 / (n / t), checksum / n);
  db.close();
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const double ours = ChainThroughput();
  const double theirs = Cs2csThroughput();
  if (theirs > 0) std::printf("chain points/s over cs2cs points/s: ratio %.2f\n", ours / theirs);
  Ntv2Throughput();
  return 0;
}
