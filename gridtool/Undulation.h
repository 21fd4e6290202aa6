#pragma once

namespace orv {

class GeoidGridFile;

// Undulation written for a point outside the grid or without a value.
inline constexpr double kNoUndulation = 999999.0;

// Factor from radians to degrees used for the points (deliberately this
// rounded value: the degrees written and the cell search both use it).
inline constexpr double kRadToDeg = 57.29577951;

// Geoid undulation in metres at latitude/longitude (radians) interpolated in
// the grid: bicubic in the 4 x 4 window of an inner cell, the node value
// within 0.002 spacings of an inner cell's node, bilinear in border cells and
// around missing nodes, kNoUndulation outside the grid (its edges belong to
// it) or where a cell corner has no value.
double InterpolateUndulation(GeoidGridFile& grid, double latRad, double lonRad);

}  // namespace orv
