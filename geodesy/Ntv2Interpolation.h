#pragma once
// NTv2 grid-shift interpolation over the grid cache database that the NTv2
// run keeps open in the program-wide NTv2Gitterdatenbank (one table per
// sub-grid, "1" … NTv2AnzahlGitter, fields Kopfdaten, Zeile1 = latitude
// shift, Zeile2 = longitude shift positive west, id = node number from 1).
//
// Choice of sub-grid: the first top-level grid (PARENT "NONE") that contains
// the point, then, level by level, the first of its children (PARENT = the
// parent's SUB_NAME) in table order that contains it. Bounds are inclusive.
// The shifts are interpolated bilinearly between the four nodes around the
// point; on the western and northern edge the missing nodes are replaced by
// the point's own column or row.
//
// For the cache that is open, the parsed headers are kept and each sub-grid's
// node shifts are read into memory on its first use, so that a run of
// millions of points reads the database once (the cache is never changed
// while it is open). Both are dropped when another cache is opened, the open
// one is closed or the table count changes.
#include <QString>

#include "platform/db/Database.h"

namespace orv {

// Longitude first, as the runs take it. ok is false when the point lies in no
// grid or a node it needs is not in the table; the values are then 0.
struct Ntv2Result {
  bool ok = false;
  double longitude = 0;
  double latitude = 0;
};

// The point (decimal degrees, longitude east positive) shifted with the grid:
// longitude and latitude in decimal degrees, longitude east positive.
// The database argument and the point name are accepted for the callers'
// sake; the lookups read the program-wide cache. Leaves the header of the
// sub-grid used in State().NTv2SubKopf (CREATED … GS_COUNT). A cache that
// cannot be read (missing table, corrupt header) throws OrvenilError.
Ntv2Result NTv2Transformieren(double latitude, double longitude, const Database& database,
                              const QString& pointName);

// The shift at the point in arc-seconds: longitude shift (east positive)
// first, then latitude shift, so that NTv2Transformieren(φ, λ) equals
// (λ + longitude / 3600, φ + latitude / 3600). Same choice, state and errors.
Ntv2Result NTv2ShiftInterpolieren(double latitude, double longitude, const Database& database,
                                  const QString& pointName);

}  // namespace orv
