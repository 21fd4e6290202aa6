// Throughput of the single-point geodesy: one point from Gauss-Krüger grid
// coordinates (Bessel) through the inverse projection, geocentric conversion,
// a Bursa-Wolf transformation and back to geographic coordinates, projected
// into UTM (GRS1980) — the path of a seven-parameter run. Also the NTv2
// lookups on a synthetic grid cache, as the NTv2 run calls them.
#include <QCoreApplication>
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

using namespace orv;

namespace {

double Seconds(std::chrono::steady_clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

double ChainThroughput() {
  const double aB = 6377397.15507605, bB = 6356078.96289779;
  const double eB = std::sqrt((aB * aB - bB * bB) / (aB * aB));
  const double aG = 6378137, bG = 6356752.31414034;
  const double eG = std::sqrt((aG * aG - bG * bG) / (aG * aG));
  const MeridianArcCoefficients cG = MeridianbogenKoeffizienten(aG, eG);

  const int n = 2000000;
  double checksum = 0;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < n; ++i) {
    const double x = 5800000 + (i % 1000) * 97.3;
    const double y = 4580000 + (i / 1000) * 31.7;
    const GeographicAngles g = VerebnetInGeographisch(x, y, aB, eB, 1, 4500000, 12, QString(), bB);
    const GeocentricPoint p = EllToGeoZent(g.latitude, g.longitude, 100, aB, eB);
    const GeocentricPoint q =
        HelmertSevenParameter(p.X, p.Y, p.Z, 582, 105, 414, -1.04, -0.35, 3.08, 8.3);
    const GeographicPoint h = GeoZentToEll(q.X, q.Y, q.Z, aG, eG);
    const GridCoordinates u = GeographischInVerebnet(h.B, h.L, aG, eG, cG, 0.9996, 500000, 9);
    checksum += u.northing + u.easting;
  }
  const double t = Seconds(std::chrono::steady_clock::now() - start);
  std::printf("chain grid->geographic->geocentric->Helmert->geographic->grid: %d points in %.2f s, "
              "%.0f points/s (checksum %.3f)\n",
              n, t, n / t, checksum / n);
  return n / t;
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
  ChainThroughput();
  Ntv2Throughput();
  return 0;
}
