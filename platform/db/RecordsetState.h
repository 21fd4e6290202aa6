#pragma once
// Internal to the database layer: what a Recordset handle refers to.
#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/db/FieldValue.h"
#include "platform/db/Recordset.h"
#include "platform/db/SqliteConnection.h"

namespace orv {

class DatabaseState;

class RecordsetState {
 public:
  // Table type on a table.
  RecordsetState(std::shared_ptr<SqliteConnection> conn, const QString& table);
  // A query: keyset (editable) or snapshot (read-only).
  RecordsetState(std::shared_ptr<SqliteConnection> conn, const QString& sql, bool /*query*/);

  bool open = true;
  Recordset::Type type = Recordset::Type::Table;
  // The database the recordset was opened on stays open while the recordset
  // lives, even when no Database handle is kept (it is never reset on close:
  // the database may be closing this recordset at that moment).
  std::shared_ptr<DatabaseState> owner;

  // Lets go of the statements and the current row; commits nothing.
  void close();
  // Commits the connection's pending writes; throws on failure.
  void commit();

  // Fields.
  int fieldCount() const { return static_cast<int>(names_.size()); }
  const QString& fieldName(int i) const { return names_[i]; }
  int fieldType(int i) const { return types_[i]; }
  int fieldIndex(const QString& name) const;
  int checkedField(const QString& name) const;  // 3265 when missing
  // checkedField for the names of writes (setValue) and of reads (value):
  // each remembers which field followed which in the caller's last row, so a
  // name is looked up once per recordset and then only compared.
  int writeField(const QString& name) { return resolve(name, nextWrite_, lastWrite_); }
  int readField(const QString& name) { return resolve(name, nextRead_, lastRead_); }
  void checkPosition(int i) const;
  const QString& tableName() const { return table_; }

  // Navigation.
  void moveFirst();
  void moveNext();
  void moveLast();
  bool eof() const { return where_ == Where::Eof; }
  bool bof() { return where_ == Where::Bof || (where_ == Where::Eof && recordCount() == 0); }
  bool hasCurrent() const { return where_ == Where::Row; }
  qint64 recordCount();

  void setIndex(const QString& indexName);
  QString index() const;
  void seek(const QString& comparison, const FieldValue& key);
  bool noMatch() const { return noMatch_; }

  FieldValue value(int i);
  void addNew();
  void edit();
  void setValue(int i, FieldValue v);
  void update();
  void cancelUpdate();
  bool editing() const { return edit_ != Edit::None; }
  void deleteCurrent();

  qint64 bookmark() const;
  void setBookmark(qint64 rowId);
  qint64 lastModified() const { return lastModified_; }

  std::vector<qint64> orderedRowIds();
  std::shared_ptr<const std::vector<qint64>> sharedRowIds();
  std::vector<FieldValue> rowValues(qint64 rowId);

 private:
  // The keyset to change, no longer shared with ids handed out.
  std::vector<qint64>& ownKeys();
  enum class Where { Bof, Row, Deleted, Lost, Eof };
  enum class Edit { None, AddNew, Edit };

  void moveToEnd(bool last);
  void requireCurrent() const;
  void requireTableType() const;
  void requireEditable() const;
  void initFromSchema();
  int resolve(const QString& name, std::vector<int>& next, int& last) const;
  void clearBuffer();
  // Position helpers of table type.
  bool stepTo(CachedStatement& st, const FieldValue* key, qint64 rowId, bool bindKey, bool bindRow);
  void landOn(qint64 rowId, const FieldValue& key);
  void loadRow();
  QByteArray orderClause(bool descending) const;
  void afterKeysetMove();

  std::shared_ptr<SqliteConnection> conn_;
  std::shared_ptr<const TableSchema> schema_;  // table and editable queries
  QString table_;
  QStringList names_;
  std::vector<int> types_;
  QHash<QString, int> nameLookup_;
  // Per field (slot 0: before any), the field used next; -1 when not known yet.
  std::vector<int> nextWrite_, nextRead_;
  int lastWrite_ = -1, lastRead_ = -1;

  Where where_ = Where::Bof;
  qint64 rowId_ = 0;
  FieldValue key_;          // index key of the current row (table type with an index)
  int indexPos_ = -1;       // schema index in use
  int indexField_ = -1;     // its field
  bool noMatch_ = false;
  qint64 lastModified_ = 0;

  bool rowLoaded_ = false;
  std::vector<FieldValue> row_;
  // Per field of the loaded row: where its text lies in rowBytes_ while it is
  // kept as plain ASCII bytes (offset -1: row_ holds the value).
  struct AsciiBytes {
    qint64 offset;
    int size;
  };
  std::vector<AsciiBytes> rowAscii_;
  std::vector<char> rowBytes_;
  const FieldValue& rowValue(int i);

  Edit edit_ = Edit::None;
  std::vector<FieldValue> buffer_;  // Null where not dirty
  std::vector<char> dirty_;
  Utf8Binder binder_;

  // Table type statements.
  CachedStatement first_, last_, next_, nextGreaterKey_, nextNullKey_, firstNonNull_, fetch_, count_, insert_, delete_;
  CachedStatement seekStmt_;
  std::unordered_map<std::string, CachedStatement> updates_;  // by the dirty fields
  std::string updateMask_;                // the dirty fields of the last update …
  CachedStatement* lastUpdate_ = nullptr;  // … and its statement

  // Table type without an index: the next row ids, fetched in blocks so that
  // a walk does not ask once per row. Valid while nothing was added or removed.
  std::vector<qint64> ahead_;
  size_t aheadPos_ = 0;
  qint64 aheadAfter_ = -1;     // the row id the next entry follows
  quint64 aheadGeneration_ = 0;
  CachedStatement aheadStmt_;
  bool nextInInsertionOrder();

  // Queries: row ids (keyset) or rows (snapshot); pos_ = index of the current row.
  std::shared_ptr<std::vector<qint64>> keys_ = std::make_shared<std::vector<qint64>>();
  std::vector<std::vector<FieldValue>> rows_;
  qint64 pos_ = -1;
};

}  // namespace orv
