#pragma once
// A recordset: a table-type view of one table, or the rows of a SELECT.
// Recordset is a handle: copies refer to the same recordset; a
// default-constructed one is "none". Closed recordsets (also through
// Database::close or CloseAllDatabases) throw OrvenilError 3420 on use. An
// open recordset keeps its database open, also when no Database handle is
// kept; a database that no handle or recordset refers to any more is closed.
//
// Table type: rows in insertion order; with a current index (setIndex) in the
// index's order, equal keys in insertion order. Seek finds the first row of a
// key. New rows appear at the end of the walk; after AddNew/Update the current
// row stays the one that was current before.
//
// Editing: addNew() or edit() opens the edit buffer, setValue() fills it,
// update() stores it. A buffer that is not stored (an error in between,
// cancelUpdate, a move, close) is dropped; rows stored before stay stored.
//
// For a lazily bound grid: fieldNames(), orderedRowIds() (row ids in the
// recordset's order) and rowValues(rowId) read single rows on demand.
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <memory>
#include <vector>

#include "platform/db/FieldValue.h"

namespace orv {

class RecordsetState;

class Recordset {
 public:
  enum class Type { Table, Dynaset, Snapshot };

  Recordset() = default;
  explicit Recordset(std::shared_ptr<RecordsetState> state) : d_(std::move(state)) {}

  bool isSet() const { return static_cast<bool>(d_); }
  bool isOpen() const;
  Type type() const;
  // The table a table-type or editable recordset reads; empty for a read-only query.
  QString tableName() const;

  // Fields, in the table's creation order (or the query's column order).
  int fieldCount() const;
  QString fieldName(int position) const;
  QStringList fieldNames() const;
  int fieldType(int position) const;  // FieldTypeCode
  // Position of a field by name, case-insensitive; -1 when there is none.
  int fieldIndex(const QString& name) const;

  // Navigation. Moving in an empty recordset or past the end throws 3021.
  void moveFirst();
  void moveNext();
  void moveLast();
  bool eof() const;
  bool bof() const;
  // True when a current row exists (not at EOF/BOF, not deleted, Seek matched).
  bool hasCurrent() const;
  // Number of rows (complete at once).
  qint64 recordCount() const;

  // Table type only: the current index by its name ("" = none, insertion order).
  void setIndex(const QString& indexName);
  QString index() const;
  // Table type only: seeks with "=", "<", "<=", ">=" or ">" on the current
  // index (3019 without one); the key is converted to the field's type.
  // noMatch() tells the result; without a match there is no current row.
  void seek(const QString& comparison, const FieldValue& key);
  bool noMatch() const;

  // Values of the current row (or of the edit buffer while editing).
  // 3021 without a current row, 3265 for an unknown field.
  FieldValue value(const QString& fieldName) const;
  FieldValue value(int position) const;

  // Editing (table type and editable queries; 3251 on read-only ones).
  void addNew();
  void edit();                   // 3021 without a current row
  // The value is taken over (a text moves into the edit buffer uncopied).
  void setValue(const QString& fieldName, FieldValue value);
  void setValue(int position, FieldValue value);
  void update();                 // 3020 without addNew/edit; 3022 on a duplicate key
  void cancelUpdate();
  bool editing() const;
  void deleteCurrent();          // 3021 without a current row; no current row afterwards

  // Row ids: the current row's (bookmark), moving to a row by its id (3021
  // when it is gone), and the row id of the last row stored through this recordset.
  qint64 bookmark() const;
  void setBookmark(qint64 rowId);
  qint64 lastModified() const;

  // For lazy binding: all row ids in the recordset's current order, and the
  // values of one row by its id (empty vector when the row is gone). Neither
  // moves the current row.
  std::vector<qint64> orderedRowIds() const;
  // The same without a copy: a query's ids are shared until the recordset
  // adds or deletes a row, which leaves the ids handed out as they were.
  std::shared_ptr<const std::vector<qint64>> sharedRowIds() const;
  std::vector<FieldValue> rowValues(qint64 rowId) const;

  // Drops the edit buffer, closes and commits the pending writes (a failed
  // commit is thrown); closing a closed or unset handle does nothing.
  void close();

  const std::shared_ptr<RecordsetState>& state() const { return d_; }
  bool operator==(const Recordset& other) const { return d_ == other.d_; }

 private:
  RecordsetState& checked() const;
  std::shared_ptr<RecordsetState> d_;
};

}  // namespace orv
