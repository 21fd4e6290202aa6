#pragma once
// NTv2 grid-shift interpolation over an open grid cache (Ntv2GridCache): the
// shifts are interpolated bilinearly between the four nodes around the point
// in the finest sub-grid that holds it; on the western and northern edge the
// missing nodes are replaced by the point's own column or row.
#include "geodesy/Ntv2GridCache.h"

namespace orv {

// Longitude first, as the runs take it. ok is false when the point lies in no
// grid or a node it needs is not in the table; the values are then 0.
// subGrid is the sub-grid used, or, when no grid holds the point, the last
// top-level grid tested (−1 when the cache has none): its header gives the
// extent that the run tests the point against.
struct Ntv2Result {
  bool ok = false;
  double longitude = 0;
  double latitude = 0;
  int subGrid = -1;
};

// The point (decimal degrees, longitude east positive) shifted with the grid:
// longitude and latitude in decimal degrees, longitude east positive.
Ntv2Result NTv2Transformieren(double latitude, double longitude, const Ntv2GridCache& cache);

// The shift at the point in arc-seconds: longitude shift (east positive)
// first, then latitude shift, so that NTv2Transformieren(φ, λ) equals
// (λ + longitude / 3600, φ + latitude / 3600).
Ntv2Result NTv2ShiftInterpolieren(double latitude, double longitude, const Ntv2GridCache& cache);

}  // namespace orv
