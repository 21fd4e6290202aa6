#include "platform/db/TableDef.h"

#include "foundation/OrvenilError.h"
#include "platform/db/DatabaseState.h"
#include "platform/db/FieldType.h"

namespace orv {

namespace {
SqliteConnection& OpenConnection(const std::shared_ptr<DatabaseState>& db) {
  if (!db->isOpen()) ThrowObjectInvalid();
  return db->conn();
}
}  // namespace

int TableDef::fieldIndex(const QString& fieldName) const {
  for (size_t i = 0; i < fields_.size(); ++i)
    if (fields_[i].name.compare(fieldName, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
  return -1;
}

void TableDef::appendField(const Field& field) {
  if (!IsKnownFieldType(field.type)) ThrowDbError(kDbErrInvalidFieldType, QStringLiteral("Ungültiger Felddatentyp."));
  if (field.name.trimmed().isEmpty()) ThrowDbError(kDbErrInvalidArgument, QStringLiteral("Ungültiger Feldname."));
  if (db_) refresh();
  if (fieldIndex(field.name) >= 0)
    ThrowDbError(kDbErrFieldExists, QStringLiteral("Feld '%1' kann nicht mehrfach definiert werden.").arg(field.name));
  if (!db_) {
    fields_.push_back(field);
    return;
  }
  SqliteConnection& conn = OpenConnection(db_);
  conn.beginWrite();
  conn.exec("ALTER TABLE " + QuoteIdentifier(name_) + " ADD COLUMN " + ColumnDefinition(field));
  conn.invalidateSchema();
  refresh();
}

void TableDef::appendIndex(const Index& index) {
  QString name = index.name.isEmpty() ? index.field : index.name;
  if (db_) refresh();
  for (const Index& existing : indexes_)
    if (existing.name.compare(name, Qt::CaseInsensitive) == 0)
      ThrowDbError(kDbErrIndexExists, QStringLiteral("Index '%1' ist bereits vorhanden.").arg(name));
  if (!db_) {
    Index planned = index;
    planned.name = name;
    indexes_.push_back(planned);
    return;
  }
  int fieldPos = fieldIndex(index.field);
  if (fieldPos < 0)
    ThrowDbError(kDbErrItemNotFound, QStringLiteral("Feld '%1' in dieser Auflistung nicht gefunden.").arg(index.field));
  SqliteConnection& conn = OpenConnection(db_);
  // A primary index is always unique.
  bool unique = index.primary || index.unique;
  QByteArray sql = QByteArray("CREATE ") + (unique ? "UNIQUE " : "") + "INDEX " +
                   QuoteIdentifier(SqliteIndexName(name_, name, index.primary, unique)) + " ON " +
                   QuoteIdentifier(name_) + " (" + QuoteIdentifier(fields_[fieldPos].name) + ")";
  conn.beginWrite();
  conn.exec(sql);
  conn.invalidateSchema();
  refresh();
}

void TableDef::refresh() {
  if (!db_) return;
  auto schema = OpenConnection(db_).schema(name_);
  name_ = schema->name;
  fields_ = schema->fields;
  indexes_ = schema->indexes;
}

}  // namespace orv
