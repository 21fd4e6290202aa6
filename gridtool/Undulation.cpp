#include "gridtool/Undulation.h"

#include "gridtool/BicubicPatch.h"
#include "gridtool/GeoidGridFile.h"

#include <algorithm>
#include <cmath>

namespace orv {

namespace {

// GRS80
constexpr double kSemiMajorAxis = 6378137.0;
constexpr double kEccentricitySquared = 0.0066943800229;
constexpr double kMeridianNumerator = 6335439.327083881;  // a (1 - e^2)
constexpr double kDegToRad = 0.017453292520882225;

// Cell corners and the point's offset from the south-west corner in metres.
struct Cell {
  double sw, se, ne, nw;
  double dx, dy;  // cell width and height
  double xE, yN;  // offsets east and north
};

bool IsMissing(double metres) { return metres > kMissingAboveMetres; }

double Bilinear(const Cell& c) {
  if (IsMissing(c.sw) || IsMissing(c.se) || IsMissing(c.ne) || IsMissing(c.nw)) return kNoUndulation;
  const double t = c.yN / c.dy;
  const double u = c.xE / c.dx;
  return (1 - t) * (1 - u) * c.sw + (1 - t) * u * c.se + t * (1 - u) * c.nw + t * u * c.ne;
}

// z[r][c]: r from north, c from west; the cell is z[1..2][1..2].
double Bicubic(const double z[4][4], double dx, double dy, double xE, double yN) {
  // Corners in the order SW, SE, NE, NW as (row, column) of the window.
  static constexpr int kCorner[4][2] = {{2, 1}, {2, 2}, {1, 2}, {1, 1}};
  double y[4], y1[4], y2[4], y12[4];
  for (int k = 0; k < 4; ++k) {
    const int r = kCorner[k][0];
    const int c = kCorner[k][1];
    y[k] = z[r][c];
    y1[k] = (z[r][c + 1] - z[r][c - 1]) / (2 * dx);
    y2[k] = (z[r - 1][c] - z[r + 1][c]) / (2 * dy);
    y12[k] = (z[r - 1][c + 1] - z[r + 1][c + 1] - z[r - 1][c - 1] + z[r + 1][c - 1]) / (4 * dx * dy);
  }
  return bcuint(y, y1, y2, y12, dx, dy, xE, yN);
}

}  // namespace

double InterpolateUndulation(GeoidGridFile& grid, double latRad, double lonRad) {
  const GeoidGridHeader& h = grid.Header();
  const double lat = latRad * kRadToDeg;
  const double lon = lonRad * kRadToDeg;
  if (!(lat <= h.latMax && lat >= h.latMin && lon >= h.lonMin && lon <= h.lonMax)) return kNoUndulation;

  // Northern row and western column of the cell. A point on the southern or
  // eastern edge (or past the last node when the extent is not a whole
  // number of spacings) belongs to the last cell, so the nodes read always
  // lie inside the grid.
  const std::int64_t w =
      std::min<std::int64_t>(std::int64_t(std::trunc((h.latMax - lat) / h.latSpacing)) + 1, h.rows - 1);
  const std::int64_t col =
      std::min<std::int64_t>(std::int64_t(std::trunc((lon - h.lonMin) / h.lonSpacing)) + 1, h.cols - 1);

  const double sinLat = std::sin(latRad);
  const double cosLat = std::cos(latRad);
  const double wq = 1 - kEccentricitySquared * sinLat * sinLat;
  const double meridianRadius = kMeridianNumerator / std::sqrt(wq * wq * wq);
  const double parallelRadius = kSemiMajorAxis * cosLat / std::sqrt(wq);
  Cell cell{};
  cell.dy = meridianRadius * h.latSpacing * kDegToRad;
  cell.dx = parallelRadius * h.lonSpacing * kDegToRad;
  const double latSouth = h.latMax - double(w) * h.latSpacing;
  const double lonWest = h.lonMin + double(col - 1) * h.lonSpacing;
  const double dLat = lat - latSouth;
  const double dLon = lon - lonWest;
  cell.yN = meridianRadius * dLat * kDegToRad;
  cell.xE = parallelRadius * dLon * kDegToRad;

  double result;
  if (w == 1 || w == h.rows - 1 || col == 1 || col == h.cols - 1) {
    double north[2], south[2];
    grid.ReadNodes(w, col, 2, north);
    grid.ReadNodes(w + 1, col, 2, south);
    cell.nw = north[0];
    cell.ne = north[1];
    cell.sw = south[0];
    cell.se = south[1];
    result = Bilinear(cell);
  } else {
    double z[4][4];
    bool complete = true;
    for (int r = 0; r < 4; ++r) {
      grid.ReadNodes(w - 1 + r, col - 1, 4, z[r]);
      for (double v : z[r]) complete = complete && !IsMissing(v);
    }
    cell.nw = z[1][1];
    cell.ne = z[1][2];
    cell.sw = z[2][1];
    cell.se = z[2][2];
    if (!complete) {
      result = Bilinear(cell);
    } else {
      // Within 0.002 spacings of a node the node's own value is taken;
      // the northern row is tested before the southern one.
      const double latTol = 0.002 * h.latSpacing;
      const double lonTol = 0.002 * h.lonSpacing;
      const bool nearWest = dLon <= lonTol;
      const bool nearEast = (lonWest + h.lonSpacing) - lon <= lonTol;
      if ((latSouth + h.latSpacing) - lat <= latTol && (nearWest || nearEast))
        result = nearWest ? cell.nw : cell.ne;
      else if (dLat <= latTol && (nearWest || nearEast))
        result = nearWest ? cell.sw : cell.se;
      else
        result = Bicubic(z, cell.dx, cell.dy, cell.xE, cell.yN);
    }
  }
  // A cell reaching the pole has no width; nothing sensible comes out there.
  return std::isfinite(result) ? result : kNoUndulation;
}

}  // namespace orv
