#pragma once
// The open NTv2 grid cache in memory: the sub-grid headers and node shifts of
// a cache database (one table per sub-grid, "1" … n, fields Kopfdaten,
// Zeile1 = latitude shift, Zeile2 = longitude shift positive west, id = node
// number from 1), read once when the object is made, so that a run of
// millions of points asks the database nothing more. The object owns its
// copy; the database may be closed afterwards.
//
// Choice of sub-grid: the first top-level grid (PARENT "NONE") that contains
// the point, then, level by level, the first of its children (PARENT = the
// parent's SUB_NAME) in table order that contains it. Bounds are inclusive.
#include <QString>
#include <QtGlobal>
#include <vector>

namespace orv {

class Database;

// Header of one sub-grid; angles in arc-seconds, longitudes positive west.
struct Ntv2SubGridHeader {
  QString SUB_NAME;
  QString PARENT;
  QString CREATED;
  QString UPDATED;
  double S_LAT = 0;
  double N_LAT = 0;
  double E_LONG = 0;
  double W_LONG = 0;
  double LAT_INC = 0;
  double LONG_INC = 0;
  qint32 GS_COUNT = 0;
};

// Node columns and rows of a sub-grid's extent (arc-seconds, longitudes
// positive west): the spans divided by the spacing, rounded, plus one.
double Ntv2NodeColumns(double eLong, double wLong, double longInc);
double Ntv2NodeRows(double sLat, double nLat, double latInc);

// The largest shift of a node, in arc-seconds either way: one degree. The
// shift between two datums is metres to a few hundred metres, some
// arc-seconds; grids from the oldest national or island datums to today's
// reach a few hundred. A degree leaves room for every real grid, and
// anything beyond is a typo or a damaged file, not a shift.
inline constexpr double kNtv2MaxShiftSeconds = 3600;

class Ntv2GridCache {
 public:
  // An empty cache: no sub-grid, every point outside.
  Ntv2GridCache() = default;

  // Reads tables "1" … tableCount of the open cache database. A missing
  // table, a header without a sensible extent and spacing, a GS_COUNT that is
  // not the extent's node count, a node of it missing or without numbers as
  // shifts, or a grid too large to hold throws OrvenilError.
  Ntv2GridCache(Database& db, int tableCount);

  int subGridCount() const { return int(grids_.size()); }
  const Ntv2SubGridHeader& header(int subGrid) const { return grids_[size_t(subGrid)].header; }
  qint64 columns(int subGrid) const { return grids_[size_t(subGrid)].ncols; }
  qint64 rows(int subGrid) const { return grids_[size_t(subGrid)].nrows; }

  // The finest sub-grid that holds the point (arc-seconds, longitude west
  // positive), or −1. lastTested receives the last top-level grid tested
  // (−1 when there is none), so a caller can still name an extent.
  int find(double latSec, double lonSecW, int* lastTested = nullptr) const;

  // The shifts of node position p (0-based, r × columns + c) of a sub-grid,
  // in arc-seconds as the grid holds them. False when the node is not in
  // the table.
  bool node(int subGrid, qint64 p, double* dLat, double* dLonW) const;

 private:
  struct SubGrid {
    Ntv2SubGridHeader header;
    bool topLevel = false;
    std::vector<int> children;  // indexes into grids_, in table order
    qint64 ncols = 0;
    qint64 nrows = 0;
    std::vector<float> lat;
    std::vector<float> lonW;
    std::vector<char> present;

    bool contains(double latSec, double lonSecW) const {
      return header.E_LONG <= lonSecW && lonSecW <= header.W_LONG && header.S_LAT <= latSec &&
             latSec <= header.N_LAT;
    }
  };

  static SubGrid ReadSubGrid(Database& db, int tableNumber);
  static void LoadNodes(Database& db, int tableNumber, SubGrid& g);

  std::vector<SubGrid> grids_;
};

}  // namespace orv
