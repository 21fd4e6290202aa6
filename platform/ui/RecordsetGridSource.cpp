#include "platform/ui/RecordsetGridSource.h"

#include "foundation/OrvenilError.h"

namespace orv {

RecordsetGridSource::RecordsetGridSource(Recordset recordset) : rs_(std::move(recordset)) {
  fields_ = rs_.fieldNames();
  readRowIds();
}

RecordsetGridSource::RecordsetGridSource(Database db, QString selectSql)
    : db_(std::move(db)), sql_(std::move(selectSql)), owned_(true) {
  openQuery();
  fields_ = rs_.fieldNames();
  readRowIds();
}

RecordsetGridSource::~RecordsetGridSource() {
  if (!owned_) return;
  try {
    rs_.close();
  } catch (const OrvenilError&) {
  }
}

QStringList RecordsetGridSource::fieldNames() const { return fields_; }

bool RecordsetGridSource::reload() {
  // Nothing written since the ids were read: they are still the query's rows.
  if (owned_ && readMark_ && rs_.isSet() && rs_.isOpen() && db_.isOpen() && db_.writeMark() == *readMark_)
    return false;
  try {
    if (owned_) {
      rs_.close();
      rs_ = Recordset();
      if (db_.isOpen()) openQuery();
    }
  } catch (const OrvenilError&) {
    rs_ = Recordset();
  }
  readRowIds();
  return true;
}

void RecordsetGridSource::openQuery() {
  // The mark is taken first: whatever is written while the query reads its
  // ids makes the next reload read them again.
  readMark_.reset();
  const WriteMark mark = db_.writeMark();
  rs_ = db_.openSql(sql_);
  queryMark_ = mark;
}

void RecordsetGridSource::readRowIds() {
  // A query recordset hands over the row ids it read when it was opened; a
  // table recordset reads them once here.
  ids_.reset();  // the old ids go before the new ones come
  readMark_.reset();
  try {
    if (rs_.isSet() && rs_.isOpen()) {
      ids_ = rs_.sharedRowIds();
      if (owned_) readMark_ = queryMark_;
    }
  } catch (const OrvenilError&) {
    // A recordset closed behind the grid's back shows no rows.
    ids_.reset();
  }
}

int RecordsetGridSource::rowCount() const { return ids_ ? static_cast<int>(ids_->size()) : 0; }

std::vector<QStringList> RecordsetGridSource::fetchRows(int first, int count) {
  std::vector<QStringList> rows;
  rows.reserve(static_cast<size_t>(count));
  for (int i = first; i < first + count && i < rowCount(); ++i) {
    QStringList cells;
    cells.reserve(fields_.size());
    try {
      for (const FieldValue& v : rs_.rowValues((*ids_)[i])) cells << v.textOrEmpty();
    } catch (const OrvenilError&) {
      cells.clear();
    }
    rows.push_back(std::move(cells));
  }
  return rows;
}

bool RecordsetGridSource::deleteRow(int index) {
  if (index < 0 || index >= rowCount()) return false;
  try {
    rs_.setBookmark((*ids_)[index]);
    rs_.deleteCurrent();
    return true;
  } catch (const OrvenilError&) {
    return false;
  }
}

}  // namespace orv
