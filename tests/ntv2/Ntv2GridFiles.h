#pragma once
// Small NTv2 ASCII grid files written by the tests.
#include <QFile>
#include <QString>
#include <functional>

namespace orv::test {

// One sub-grid; angles in arc-seconds, longitudes positive west as in the file.
struct GsaSubGrid {
  double sLat, nLat, eLong, wLong, latInc, longInc;
  std::function<double(double latSec, double lonSecW)> dLat;
  std::function<double(double latSec, double lonSecW)> dLonW;
};

inline QString GsaText(const GsaSubGrid& g) {
  const int ncols = int((g.wLong - g.eLong) / g.longInc + 0.5) + 1;
  const int nrows = int((g.nLat - g.sLat) / g.latInc + 0.5) + 1;
  QString t = QStringLiteral(
      "NUM_OREC 11\r\nNUM_SREC 11\r\nNUM_FILE  1\r\nGS_TYPE SECONDS \r\nVERSION NTv2.0  \r\n"
      "SYSTEM_FTEST    \r\nSYSTEM_TETRS89  \r\nMAJOR_F  6377397.155\r\nMINOR_F  6356078.963\r\n"
      "MAJOR_T  6378137.000\r\nMINOR_T  6356752.314\r\nSUB_NAMETEST    \r\nPARENT  NONE    \r\n"
      "CREATED 01-01-25\r\nUPDATED 01-01-25\r\n");
  t += QStringLiteral(
           "S_LAT   %1\r\nN_LAT   %2\r\nE_LONG  %3\r\nW_LONG  %4\r\nLAT_INC "
           "%5\r\nLONG_INC%6\r\nGS_COUNT%7\r\n")
           .arg(g.sLat, 15, 'f', 6)
           .arg(g.nLat, 15, 'f', 6)
           .arg(g.eLong, 15, 'f', 6)
           .arg(g.wLong, 15, 'f', 6)
           .arg(g.latInc, 15)
           .arg(g.longInc, 15)
           .arg(ncols * nrows, 6);
  for (int r = 0; r < nrows; ++r)
    for (int c = 0; c < ncols; ++c) {
      const double lat = g.sLat + r * g.latInc, lonW = g.eLong + c * g.longInc;
      t += QStringLiteral(" %1  %2  0.000000  0.000000\r\n")
               .arg(g.dLat(lat, lonW), 0, 'f', 6)
               .arg(g.dLonW(lat, lonW), 0, 'f', 6);
    }
  t += QStringLiteral("END                                     \r\n");
  return t;
}

inline void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
}

}  // namespace orv::test
