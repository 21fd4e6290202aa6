#pragma once
// The points of a height model (table SchwerpktH: X northing, Y easting, Z in
// metres) and the sum of Z over the points of a window around a position.
// A value stored as a number text ("5712345.25", as a CSV import into a new
// table stores it) counts as its number; Null, a blob or any other text is
// none: a row without a number in X or Y lies in no window, and a row without
// one in Z is left out of every window that holds it and counted.
// A model of up to kHeightModelMemoryPoints rows is read once into a bucket
// index in memory, whatever indexes the file has, so the model file itself
// is never changed; a larger model with an index led by X or Y is asked
// through that index, one prepared query per window, when all its
// coordinates are stored as numbers.
#include <QByteArray>
#include <QHash>
#include <QSet>
#include <memory>
#include <vector>

#include "platform/db/Database.h"

namespace orv {

class ForwardQuery;

// The most model rows held in memory (a fine terrain model of a federal state).
constexpr qint64 kHeightModelMemoryPoints = 20000000;

class HeightModelLookup {
 public:
  // Reads what the lookup needs from the open model; halfWindow is the half
  // side of the windows that will be asked (it sizes the memory buckets).
  // memoryPoints is the most rows read into memory when the model has an index.
  HeightModelLookup(const Database& model, double halfWindow, qint64 memoryPoints = kHeightModelMemoryPoints);
  ~HeightModelLookup();

  // Sum of Z and number of the distinct model rows with a number in Z and
  // yMin <= Y <= yMax and xMin <= X <= xMax (bounds included). Both ways add
  // the values in the order in which the window query delivers the rows, so
  // they give the same sum to the last bit.
  qint64 sumWindow(double yMin, double yMax, double xMin, double xMax, double& sum);
  bool usesModelIndex() const { return static_cast<bool>(query_); }
  // Distinct model rows without a number in Z that lay in a window asked so
  // far and were left out of its sum.
  qint64 skippedPoints() const { return skipped_; }

 private:
  enum class Height : quint32 { Number, None, NoneCounted };
  struct Point {
    double x, y, z;
    quint32 order;  // position in the order in which the window query delivers the rows
    Height height;
  };
  qint64 cellIndex(double v) const;
  static quint64 cellKey(qint64 iy, qint64 ix);
  quint64 cellOf(double y, double x) const;
  void loadIntoMemory(const Database& model);
  void readPoints(const Database& model);
  qint64 sumByQuery(double yMin, double yMax, double xMin, double xMax, double& sum);

  std::unique_ptr<ForwardQuery> query_;
  int colZ_ = -1;
  double cell_ = 1.0;
  std::vector<Point> points_;                          // sorted by bucket, then by order
  QHash<quint64, std::pair<quint32, quint32>> cells_;  // bucket → [begin, end)
  std::vector<std::pair<quint32, double>> hits_;       // order and Z of a window's rows
  QSet<QByteArray> skippedRows_;                       // rows without Z met by the index queries
  qint64 skipped_ = 0;
};

// True when the table has an index whose first column is X or Y.
bool HeightModelHasIndex(const Database& model);

}  // namespace orv
