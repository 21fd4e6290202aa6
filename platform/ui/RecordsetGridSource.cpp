#include "platform/ui/RecordsetGridSource.h"

#include "foundation/OrvenilError.h"

namespace orv {

RecordsetGridSource::RecordsetGridSource(Recordset recordset) : rs_(std::move(recordset)) {}

QStringList RecordsetGridSource::fieldNames() const { return rs_.fieldNames(); }

void RecordsetGridSource::reload() {
  try {
    ids_ = rs_.isOpen() ? rs_.orderedRowIds() : std::vector<qint64>();
  } catch (const OrvenilError&) {
    // A recordset closed behind the grid's back shows no rows.
    ids_.clear();
  }
}

int RecordsetGridSource::rowCount() const { return static_cast<int>(ids_.size()); }

std::vector<QStringList> RecordsetGridSource::fetchRows(int first, int count) {
  std::vector<QStringList> rows;
  rows.reserve(static_cast<size_t>(count));
  for (int i = first; i < first + count && i < static_cast<int>(ids_.size()); ++i) {
    QStringList cells;
    try {
      for (const FieldValue& v : rs_.rowValues(ids_[i])) cells << v.textOrEmpty();
    } catch (const OrvenilError&) {
      cells.clear();
    }
    rows.push_back(std::move(cells));
  }
  return rows;
}

bool RecordsetGridSource::deleteRow(int index) {
  if (index < 0 || index >= static_cast<int>(ids_.size())) return false;
  try {
    rs_.setBookmark(ids_[index]);
    rs_.deleteCurrent();
    return true;
  } catch (const OrvenilError&) {
    return false;
  }
}

}  // namespace orv
