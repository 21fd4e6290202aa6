#include "runs/HeightModelLookup.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "foundation/OrvenilError.h"
#include "platform/db/ForwardQuery.h"

namespace orv {

namespace {
const QString kWindowQuery = QStringLiteral(
    "SELECT DISTINCT * FROM SchwerpktH WHERE Y >= ?1 And Y <= ?2 And X >= ?3 And X <= ?4");

void SetWindow(ForwardQuery& q, double yMin, double yMax, double xMin, double xMax) {
  q.setParameter(1, yMin);
  q.setParameter(2, yMax);
  q.setParameter(3, xMin);
  q.setParameter(4, xMax);
}

qint64 ModelRowCount(const Database& model) {
  ForwardQuery q(model, QStringLiteral("SELECT count(*) FROM SchwerpktH"));
  return q.next() ? static_cast<qint64>(q.number(0)) : 0;
}
}  // namespace

bool HeightModelHasIndex(const Database& model) {
  ForwardQuery q(model,
             QStringLiteral("SELECT ii.name FROM pragma_index_list('SchwerpktH') AS il, "
                            "pragma_index_info(il.name) AS ii WHERE ii.seqno = 0"));
  while (q.next()) {
    const QString column = q.value(0).textOrEmpty();
    if (column.compare(QLatin1String("X"), Qt::CaseInsensitive) == 0 ||
        column.compare(QLatin1String("Y"), Qt::CaseInsensitive) == 0)
      return true;
  }
  return false;
}

HeightModelLookup::HeightModelLookup(const Database& model, double halfWindow, qint64 memoryPoints) {
  // Counting is cheap only through an index; a model without one is read
  // into memory in any case.
  const qint64 rows = HeightModelHasIndex(model) ? ModelRowCount(model) : -1;
  if (rows > memoryPoints) {
    query_ = std::make_unique<ForwardQuery>(model, kWindowQuery);
    colZ_ = query_->columnIndex(QStringLiteral("Z"));
  } else {
    cell_ = halfWindow > 0 ? 2 * halfWindow : 1.0;
    if (rows > 0) points_.reserve(static_cast<size_t>(rows));
    loadIntoMemory(model);
  }
}

HeightModelLookup::~HeightModelLookup() = default;

qint64 HeightModelLookup::cellIndex(double v) const { return static_cast<qint64>(std::floor(v / cell_)); }

quint64 HeightModelLookup::cellKey(qint64 iy, qint64 ix) {
  return (static_cast<quint64>(iy) << 32) ^ static_cast<quint64>(static_cast<quint32>(ix));
}

quint64 HeightModelLookup::cellOf(double y, double x) const { return cellKey(cellIndex(y), cellIndex(x)); }

void HeightModelLookup::loadIntoMemory(const Database& model) {
  readPoints(model);
  std::sort(points_.begin(), points_.end(), [this](const Point& a, const Point& b) {
    const quint64 ka = cellOf(a.y, a.x), kb = cellOf(b.y, b.x);
    return ka != kb ? ka < kb : a.order < b.order;
  });
  quint64 key = 0;
  for (size_t i = 0; i < points_.size(); ++i) {
    const quint64 k = cellOf(points_[i].y, points_[i].x);
    if (i == 0 || k != key) cells_.insert(k, {static_cast<quint32>(i), static_cast<quint32>(i)});
    key = k;
    cells_[k].second = static_cast<quint32>(i + 1);
  }
}

void HeightModelLookup::readPoints(const Database& model) {
  // The window query over an unbounded window gives every row that any
  // window can hold, distinct, in the order of the plan the windows use (the
  // model's index, or the table's own order); that order is kept per point
  // so a window's values are added as the query would deliver them.
  ForwardQuery all(model, kWindowQuery);
  constexpr double kInf = std::numeric_limits<double>::infinity();
  SetWindow(all, -kInf, kInf, -kInf, kInf);
  const int cx = all.columnIndex(QStringLiteral("X"));
  const int cy = all.columnIndex(QStringLiteral("Y"));
  const int cz = all.columnIndex(QStringLiteral("Z"));
  for (quint32 order = 0; all.next(); ++order) {
    const FieldValue vx = all.value(cx), vy = all.value(cy);
    // An infinite coordinate lies in no window and has no bucket.
    if (!vx.isNumber() || !vy.isNumber() || !std::isfinite(vx.toDouble()) || !std::isfinite(vy.toDouble()))
      continue;
    // A Z that is not a number fails the window that holds it, as the
    // query would, not the loading of the model.
    Point p{vx.toDouble(), vy.toDouble(), 0.0, order, -1};
    try {
      p.z = all.number(cz);
    } catch (const OrvenilError& e) {
      p.zError = static_cast<qint32>(zErrors_.size());
      zErrors_.push_back(e);
    }
    points_.push_back(p);
  }
}

qint64 HeightModelLookup::sumByQuery(double yMin, double yMax, double xMin, double xMax, double& sum) {
  qint64 count = 0;
  SetWindow(*query_, yMin, yMax, xMin, xMax);
  while (query_->next()) {
    sum += query_->number(colZ_);
    ++count;
  }
  return count;
}

qint64 HeightModelLookup::sumWindow(double yMin, double yMax, double xMin, double xMax, double& sum) {
  sum = 0;
  if (query_) return sumByQuery(yMin, yMax, xMin, xMax, sum);
  if (!(yMin <= yMax) || !(xMin <= xMax)) return 0;
  hits_.clear();
  int cellsHit = 0;
  const qint64 ix0 = cellIndex(xMin), ix1 = cellIndex(xMax);
  for (qint64 iy = cellIndex(yMin), iy1 = cellIndex(yMax); iy <= iy1; ++iy) {
    for (qint64 ix = ix0; ix <= ix1; ++ix) {
      auto it = cells_.constFind(cellKey(iy, ix));
      if (it == cells_.constEnd()) continue;
      const size_t before = hits_.size();
      for (quint32 k = it->first; k < it->second; ++k) {
        const Point& p = points_[k];
        if (!(p.y >= yMin && p.y <= yMax && p.x >= xMin && p.x <= xMax)) continue;
        if (p.zError >= 0) throw zErrors_[static_cast<size_t>(p.zError)];
        hits_.emplace_back(p.order, p.z);
      }
      if (hits_.size() > before) ++cellsHit;
    }
  }
  // Rows of several buckets are put back into the query's order before adding.
  if (cellsHit > 1) std::sort(hits_.begin(), hits_.end());
  for (const auto& h : hits_) sum += h.second;
  return static_cast<qint64>(hits_.size());
}

}  // namespace orv
