#include "geodesy/Ntv2Interpolation.h"

#include "foundation/NumberText.h"
#include "foundation/VectorState.h"
#include "geodesy/CheckedArithmetic.h"

namespace orv {

namespace {

// Interpolated shifts in arc-seconds as the grid holds them (longitude west
// positive), and the point in grid units.
struct GridShift {
  bool ok = false;
  int subGrid = -1;
  double latSec = 0;
  double lonSecW = 0;
  double dLat = 0;
  double dLonW = 0;
};

GridShift InterpolateShift(double latitude, double longitude, const Ntv2GridCache& cache) {
  ClearUpperVectorState();
  GridShift r;
  r.latSec = RoundHalfEven(CheckedFinite(latitude) * 3600, 8);
  r.lonSecW = RoundHalfEven(CheckedFinite(longitude) * 3600 * -1, 8);

  int lastTested = -1;
  const int g = cache.find(r.latSec, r.lonSecW, &lastTested);
  if (g < 0) {
    r.subGrid = lastTested;
    return r;
  }
  r.subGrid = g;
  const Ntv2SubGridHeader& h = cache.header(g);
  const qint64 ncols = cache.columns(g);
  const qint64 nrows = cache.rows(g);

  const double X = (r.lonSecW - h.E_LONG) / h.LONG_INC;
  const double Y = (r.latSec - h.S_LAT) / h.LAT_INC;
  const qint64 col = static_cast<qint64>(Int(X));
  const qint64 row = static_cast<qint64>(Int(Y));
  const double dx = X - Int(X);
  const double dy = Y - Int(Y);

  qint64 p1 = row * ncols + col;
  qint64 p2 = p1 + 1;
  qint64 p3 = p1 + ncols;
  qint64 p4 = p1 + ncols + 1;
  if (col >= ncols - 1) {
    p2 = p1;
    p4 = p3;
  }
  if (row >= nrows - 1) {
    p3 = p1;
    p4 = p2;
  }

  const qint64 positions[4] = {p1, p2, p3, p4};
  double lat[4];
  double lonW[4];
  for (int i = 0; i < 4; ++i)
    if (!cache.node(g, positions[i], &lat[i], &lonW[i])) return r;
  auto blend = [&](const double s[4]) {
    return (1 - dx) * (1 - dy) * s[0] + dx * (1 - dy) * s[1] + (1 - dx) * dy * s[2] + dx * dy * s[3];
  };
  r.dLat = blend(lat);
  r.dLonW = blend(lonW);
  r.ok = true;
  return r;
}

}  // namespace

Ntv2Result NTv2Transformieren(double latitude, double longitude, const Ntv2GridCache& cache) {
  const GridShift s = InterpolateShift(latitude, longitude, cache);
  if (!s.ok) return {false, 0, 0, s.subGrid};
  return {true, (s.lonSecW + s.dLonW) / 3600 * -1, (s.latSec + s.dLat) / 3600, s.subGrid};
}

Ntv2Result NTv2ShiftInterpolieren(double latitude, double longitude, const Ntv2GridCache& cache) {
  const GridShift s = InterpolateShift(latitude, longitude, cache);
  if (!s.ok) return {false, 0, 0, s.subGrid};
  return {true, -s.dLonW, s.dLat, s.subGrid};
}

}  // namespace orv
