#pragma once
// The points of a height model (table SchwerpktH: X northing, Y easting, Z in
// metres) and the sum of Z over the points of a window around a position.
// A model whose table has an index led by X or Y is asked through that index,
// one prepared query per window; a model without one is read once into a
// bucket index in memory, so the model file itself is never changed.
#include <QHash>
#include <memory>
#include <vector>

#include "platform/db/Database.h"

namespace orv {

class QueryDef;

class HeightModelLookup {
 public:
  // Reads what the lookup needs from the open model; halfWindow is the half
  // side of the windows that will be asked (it sizes the memory buckets).
  HeightModelLookup(const Database& model, double halfWindow);
  ~HeightModelLookup();

  // Sum of Z and number of the distinct model rows with yMin <= Y <= yMax
  // and xMin <= X <= xMax (bounds included).
  qint64 sumWindow(double yMin, double yMax, double xMin, double xMax, double& sum);
  bool usesModelIndex() const { return static_cast<bool>(query_); }

 private:
  struct Point {
    double x, y, z;
  };
  static quint64 cellKey(qint64 iy, qint64 ix);
  void loadIntoMemory(const Database& model);

  std::unique_ptr<QueryDef> query_;
  int colZ_ = -1;
  double cell_ = 1.0;
  std::vector<Point> points_;                          // sorted by bucket
  QHash<quint64, std::pair<quint32, quint32>> cells_;  // bucket → [begin, end)
};

// True when the table has an index whose first column is X or Y.
bool HeightModelHasIndex(const Database& model);

}  // namespace orv
