#include "platform/db/Database.h"

#include <sqlite3.h>

#include "foundation/OrvenilError.h"
#include "platform/db/DatabaseState.h"
#include "platform/db/FieldType.h"
#include "platform/db/RecordsetState.h"

namespace orv {

DatabaseState& Database::checked() const {
  if (!d_ || !d_->isOpen()) ThrowObjectInvalid();
  return *d_;
}

bool Database::isOpen() const { return d_ && d_->isOpen(); }

QString Database::name() const { return d_ ? d_->path() : QString(); }

int Database::execute(const QString& sql) {
  SqliteConnection& conn = checked().conn();
  conn.commit();
  QByteArray text = sql.toUtf8();
  const char* tail = text.constData();
  const char* end = tail + text.size();
  int changes = 0;
  while (tail < end) {
    sqlite3_stmt* s = nullptr;
    int rc = sqlite3_prepare_v2(conn.handle(), tail, static_cast<int>(end - tail), &s, &tail);
    if (rc != SQLITE_OK) conn.fail(rc);
    if (!s) break;  // only blanks or a comment left
    while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
    }
    sqlite3_finalize(s);
    if (rc != SQLITE_DONE) {
      conn.invalidateSchema();
      conn.fail(rc);
    }
    changes = sqlite3_changes(conn.handle());
  }
  conn.invalidateSchema();
  conn.noteStructuralChange();
  return changes;
}

namespace {
// A pragma's number; a pragma that cannot be read gives a number never given
// before, so that marks taken then never match.
qint64 PragmaNumber(sqlite3* db, const char* sql) {
  static qint64 unreadable = 0;
  sqlite3_stmt* s = nullptr;
  qint64 v = --unreadable;
  if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) == SQLITE_OK && sqlite3_step(s) == SQLITE_ROW)
    v = sqlite3_column_int64(s, 0);
  sqlite3_finalize(s);
  return v;
}
}  // namespace

WriteMark Database::writeMark() const {
  SqliteConnection& conn = checked().conn();
  return WriteMark{conn.epoch(), conn.changeGeneration(), sqlite3_total_changes64(conn.handle()),
                   PragmaNumber(conn.handle(), "PRAGMA data_version"),
                   PragmaNumber(conn.handle(), "PRAGMA schema_version")};
}

Recordset Database::openTable(const QString& table) {
  DatabaseState& d = checked();
  auto rs = std::make_shared<RecordsetState>(d.connPtr(), table);
  rs->owner = d_;
  d.addRecordset(rs);
  return Recordset(rs);
}

Recordset Database::openSql(const QString& sql) {
  DatabaseState& d = checked();
  auto rs = std::make_shared<RecordsetState>(d.connPtr(), sql, true);
  rs->owner = d_;
  d.addRecordset(rs);
  return Recordset(rs);
}

Recordset Database::openRecordset(const QString& source) {
  QString s = source.trimmed();
  if (s.startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive) &&
      (s.size() == 6 || s.at(6).isSpace()))
    return openSql(s);
  return openTable(s);
}

QStringList Database::tableNames() const { return checked().conn().tableNames(); }

bool Database::hasTable(const QString& table) const { return checked().conn().hasTable(table); }

TableDef Database::tableDef(const QString& table) const {
  DatabaseState& d = checked();
  auto schema = d.conn().schema(table);
  TableDef def;
  def.name_ = schema->name;
  def.fields_ = schema->fields;
  def.indexes_ = schema->indexes;
  def.db_ = d_;
  return def;
}

TableDef Database::createTableDef(const QString& table) const {
  checked();
  TableDef def;
  def.name_ = table;
  return def;
}

void Database::appendTableDef(TableDef& def) {
  DatabaseState& d = checked();
  SqliteConnection& conn = d.conn();
  if (def.isAttached() || conn.hasTable(def.name()))
    ThrowDbError(kDbErrTableExists, QStringLiteral("Tabelle '%1' ist bereits vorhanden.").arg(def.name()));
  if (def.name().trimmed().isEmpty())
    ThrowDbError(kDbErrInvalidArgument, QStringLiteral("Ungültiger Tabellenname."));
  if (def.fields_.empty())
    ThrowDbError(kDbErrNoFieldDefined, QStringLiteral("Kein Feld definiert - TableDef kann nicht angefügt werden."));
  QByteArray sql = "CREATE TABLE " + QuoteIdentifier(def.name()) + " (";
  for (size_t i = 0; i < def.fields_.size(); ++i) {
    if (!IsKnownFieldType(def.fields_[i].type))
      ThrowDbError(kDbErrInvalidFieldType, QStringLiteral("Ungültiger Felddatentyp."));
    if (i) sql += ", ";
    sql += ColumnDefinition(def.fields_[i]);
  }
  sql += ')';
  conn.beginWrite();
  conn.exec(sql);
  conn.invalidateSchema();
  std::vector<Index> planned = std::move(def.indexes_);
  def.indexes_.clear();
  def.db_ = d_;
  for (const Index& index : planned) def.appendIndex(index);
  def.refresh();
}

void Database::commit() { checked().conn().commit(); }

void Database::close() {
  if (d_) d_->close();
}

}  // namespace orv
