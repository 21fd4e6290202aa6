#include "runs/HeightModelLookup.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "foundation/OrvenilError.h"
#include "platform/db/ForwardQuery.h"

namespace orv {

namespace {
const QString kWindowQuery = QStringLiteral(
    "SELECT DISTINCT * FROM SchwerpktH WHERE Y >= ?1 And Y <= ?2 And X >= ?3 And X <= ?4");
// The rows an unbounded window passes over: a coordinate stored as a text or
// a blob compares with a number bound as a text, or above every number.
const QString kBesideWindowQuery = QStringLiteral(
    "SELECT DISTINCT * FROM SchwerpktH WHERE NOT (Y >= ?1 And Y <= ?2 And X >= ?3 And X <= ?4)");

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

// An index compares texts as texts and orders them after every number, so a
// window asked through it finds a coordinate stored as a text only by chance.
bool CoordinatesStoredAsNumbers(const Database& model) {
  ForwardQuery q(model, QStringLiteral("SELECT 1 FROM SchwerpktH WHERE typeof(X) IN ('text', 'blob') "
                                       "OR typeof(Y) IN ('text', 'blob') LIMIT 1"));
  return !q.next();
}

// A model value as a number: a number, or a text that reads whole as a
// finite one. Null, a blob and any other text give none.
std::optional<double> ModelNumber(const ForwardQuery& q, int column) {
  if (column < 0 || q.isNull(column) || q.isBlob(column)) return std::nullopt;
  try {
    const double v = q.number(column);
    if (std::isfinite(v)) return v;
  } catch (const OrvenilError&) {}
  return std::nullopt;
}

// The whole current row, as the window query's DISTINCT tells rows apart.
// Each column's type is taken before its bytes, which convert it.
QByteArray RowKey(const ForwardQuery& q) {
  QByteArray key;
  for (int c = 0; c < q.columnCount(); ++c) {
    if (q.isNull(c)) {
      key += 'n';
      continue;
    }
    const bool blob = q.isBlob(c);
    const FieldValue v = blob ? FieldValue() : q.value(c);
    if (v.kind() == FieldValue::Kind::Double) {
      const double d = v.doubleValue();
      key += 'd';
      key.append(reinterpret_cast<const char*>(&d), sizeof d);
      continue;
    }
    const QByteArrayView bytes = q.utf8(c);
    key += blob ? 'b' : v.kind() == FieldValue::Kind::Long ? 'l' : 't';
    key += QByteArray::number(bytes.size()) + ':';
    key.append(bytes.data(), bytes.size());
  }
  return key;
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
  if (rows > memoryPoints && CoordinatesStoredAsNumbers(model)) {
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
  // The window query over an unbounded window gives every row stored as
  // numbers that any window can hold, distinct, in the order of the plan the
  // windows use (the model's index, or the table's own order); that order is
  // kept per point so a window's values are added as the query would deliver
  // them. The rows it passes over follow.
  constexpr double kInf = std::numeric_limits<double>::infinity();
  quint32 order = 0;
  for (const QString& sql : {kWindowQuery, kBesideWindowQuery}) {
    ForwardQuery all(model, sql);
    SetWindow(all, -kInf, kInf, -kInf, kInf);
    const int cx = all.columnIndex(QStringLiteral("X"));
    const int cy = all.columnIndex(QStringLiteral("Y"));
    const int cz = all.columnIndex(QStringLiteral("Z"));
    for (; all.next(); ++order) {
      const std::optional<double> x = ModelNumber(all, cx), y = ModelNumber(all, cy);
      if (!x || !y) continue;
      const std::optional<double> z = ModelNumber(all, cz);
      points_.push_back({*x, *y, z.value_or(0.0), order, z ? Height::Number : Height::None});
    }
  }
}

qint64 HeightModelLookup::sumByQuery(double yMin, double yMax, double xMin, double xMax, double& sum) {
  qint64 count = 0;
  SetWindow(*query_, yMin, yMax, xMin, xMax);
  while (query_->next()) {
    const std::optional<double> z = ModelNumber(*query_, colZ_);
    if (!z) {
      const QByteArray key = RowKey(*query_);
      if (!skippedRows_.contains(key)) {
        skippedRows_.insert(key);
        ++skipped_;
      }
      continue;
    }
    sum += *z;
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
        Point& p = points_[k];
        if (!(p.y >= yMin && p.y <= yMax && p.x >= xMin && p.x <= xMax)) continue;
        if (p.height != Height::Number) {
          if (p.height == Height::None) ++skipped_;
          p.height = Height::NoneCounted;
          continue;
        }
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
