#include "runs/HeightModelLookup.h"

#include <algorithm>
#include <cmath>

#include "platform/db/QueryDef.h"

namespace orv {

namespace {
const QString kWindowQuery = QStringLiteral(
    "SELECT DISTINCT * FROM SchwerpktH WHERE Y >= ?1 And Y <= ?2 And X >= ?3 And X <= ?4");
}

bool HeightModelHasIndex(const Database& model) {
  QueryDef q(model,
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

HeightModelLookup::HeightModelLookup(const Database& model, double halfWindow) {
  if (HeightModelHasIndex(model)) {
    query_ = std::make_unique<QueryDef>(model, kWindowQuery);
    colZ_ = query_->columnIndex(QStringLiteral("Z"));
  } else {
    cell_ = halfWindow > 0 ? 2 * halfWindow : 1.0;
    loadIntoMemory(model);
  }
}

HeightModelLookup::~HeightModelLookup() = default;

quint64 HeightModelLookup::cellKey(qint64 iy, qint64 ix) {
  return (static_cast<quint64>(iy) << 32) ^ static_cast<quint64>(static_cast<quint32>(ix));
}

void HeightModelLookup::loadIntoMemory(const Database& model) {
  // DISTINCT over the whole table gives the same rows as DISTINCT over each
  // window, since a window only filters.
  QueryDef all(model, QStringLiteral("SELECT DISTINCT * FROM SchwerpktH"));
  const int cx = all.columnIndex(QStringLiteral("X"));
  const int cy = all.columnIndex(QStringLiteral("Y"));
  const int cz = all.columnIndex(QStringLiteral("Z"));
  std::vector<std::pair<quint64, Point>> keyed;
  while (all.next()) {
    // A row without usable coordinates can lie in no window.
    const FieldValue vx = all.value(cx), vy = all.value(cy);
    if (!vx.isNumber() || !vy.isNumber()) continue;
    Point p{vx.toDouble(), vy.toDouble(), all.number(cz)};
    keyed.emplace_back(cellKey(static_cast<qint64>(std::floor(p.y / cell_)),
                               static_cast<qint64>(std::floor(p.x / cell_))),
                       p);
  }
  std::stable_sort(keyed.begin(), keyed.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  points_.reserve(keyed.size());
  for (size_t i = 0; i < keyed.size(); ++i) {
    if (i == 0 || keyed[i].first != keyed[i - 1].first)
      cells_.insert(keyed[i].first, {static_cast<quint32>(i), static_cast<quint32>(i)});
    cells_[keyed[i].first].second = static_cast<quint32>(i + 1);
    points_.push_back(keyed[i].second);
  }
}

qint64 HeightModelLookup::sumWindow(double yMin, double yMax, double xMin, double xMax, double& sum) {
  sum = 0;
  qint64 count = 0;
  if (query_) {
    query_->setParameter(1, yMin);
    query_->setParameter(2, yMax);
    query_->setParameter(3, xMin);
    query_->setParameter(4, xMax);
    while (query_->next()) {
      sum += query_->number(colZ_);
      ++count;
    }
    return count;
  }
  if (!(yMin <= yMax) || !(xMin <= xMax)) return 0;
  const qint64 iy0 = static_cast<qint64>(std::floor(yMin / cell_));
  const qint64 iy1 = static_cast<qint64>(std::floor(yMax / cell_));
  const qint64 ix0 = static_cast<qint64>(std::floor(xMin / cell_));
  const qint64 ix1 = static_cast<qint64>(std::floor(xMax / cell_));
  for (qint64 iy = iy0; iy <= iy1; ++iy) {
    for (qint64 ix = ix0; ix <= ix1; ++ix) {
      auto it = cells_.constFind(cellKey(iy, ix));
      if (it == cells_.constEnd()) continue;
      for (quint32 k = it->first; k < it->second; ++k) {
        const Point& p = points_[k];
        if (p.y >= yMin && p.y <= yMax && p.x >= xMin && p.x <= xMax) {
          sum += p.z;
          ++count;
        }
      }
    }
  }
  return count;
}

}  // namespace orv
