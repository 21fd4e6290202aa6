#pragma once
// Table definitions, fields and indexes. A TableDef made by
// Database::createTableDef is a plan until Database::appendTableDef creates
// the table; a TableDef read from Database::tableDef describes (and extends)
// an existing table.
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace orv {

class DatabaseState;

struct Field {
  QString name;
  int type = 10;          // FieldTypeCode
  int size = 0;           // text fields: the declared size (0 = none set); not enforced
  bool allowZeroLength = true;
};

struct Index {
  QString name;           // the name the program knows it by, per table
  QString field;          // the one field it covers
  bool primary = false;
  bool unique = false;
};

class TableDef {
 public:
  TableDef() = default;

  const QString& name() const { return name_; }
  // The fields in creation order and the indexes (as last read or refreshed).
  const std::vector<Field>& fields() const { return fields_; }
  const std::vector<Index>& indexes() const { return indexes_; }
  // Position of a field by name (case-insensitive), -1 when there is none.
  int fieldIndex(const QString& fieldName) const;

  static Field createField(const QString& name, int type, int size = 0) {
    return Field{name, type, size, true};
  }
  static Index createIndex(const QString& name, const QString& field, bool primary, bool unique) {
    return Index{name, field, primary, unique};
  }

  // Before the table exists: adds the field to the plan. On an existing table:
  // adds the column (error 3191 when the name is taken).
  void appendField(const Field& field);
  // Before the table exists: adds the index to the plan. On an existing table:
  // creates the index (3284 when the name is taken, 3022 when a unique index
  // meets duplicate values).
  void appendIndex(const Index& index);
  // Re-reads fields and indexes of an existing table.
  void refresh();

  bool isAttached() const { return static_cast<bool>(db_); }

 private:
  friend class Database;
  friend class DatabaseState;
  QString name_;
  std::vector<Field> fields_;
  std::vector<Index> indexes_;
  std::shared_ptr<DatabaseState> db_;  // set once the table exists
};

}  // namespace orv
