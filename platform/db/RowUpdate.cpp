#include "platform/db/RowUpdate.h"

#include <sqlite3.h>

#include "platform/db/DatabaseState.h"
#include "platform/db/FieldType.h"

namespace orv {

RowUpdate::RowUpdate(const Database& db, const QString& table, const QStringList& columns) : db_(db) {
  if (!db_.isOpen()) ThrowObjectInvalid();
  conn_ = db_.state()->connPtr();
  const std::shared_ptr<const TableSchema> schema = conn_->schema(table);
  QByteArray sql = "UPDATE " + schema->quotedName + " SET ";
  for (int i = 0; i < columns.size(); ++i) {
    const int f = schema->requireField(columns[i]);
    const int type = schema->fields[static_cast<size_t>(f)].type;
    if (type != dbText && type != dbMemo)
      ThrowDbError(kDbErrConversion, QStringLiteral("Feld '%1' ist kein Textfeld.").arg(columns[i]));
    if (schema->indexed[static_cast<size_t>(f)]) touchesIndex_ = true;
    if (i) sql += ',';
    sql += schema->quotedFields[static_cast<size_t>(f)] + "=?" + QByteArray::number(i + 1);
  }
  columns_ = static_cast<int>(columns.size());
  bound_.assign(static_cast<size_t>(columns_), 0);
  sql += " WHERE rowid=?" + QByteArray::number(columns_ + 1);
  stmt_ = conn_->prepareLasting(sql);
}

RowUpdate::~RowUpdate() { sqlite3_finalize(stmt_); }

void RowUpdate::bindText(int i, QByteArrayView utf8) {
  sqlite3_bind_text(stmt_, i + 1, utf8.data() ? utf8.data() : "", static_cast<int>(utf8.size()),
                    SQLITE_STATIC);
  bound_[static_cast<size_t>(i)] = 1;
}

void RowUpdate::bindNull(int i) {
  sqlite3_bind_null(stmt_, i + 1);
  bound_[static_cast<size_t>(i)] = 1;
}

bool RowUpdate::execute(qint64 rowId) {
  if (!db_.isOpen()) ThrowObjectInvalid();
  conn_->beginWrite();
  // A column not bound for this row is written as Null (never with the
  // text of the row before, which may be gone). A run binds every column
  // of every row, so this costs it no call into SQLite.
  for (size_t i = 0; i < bound_.size(); ++i) {
    if (!bound_[i]) sqlite3_bind_null(stmt_, static_cast<int>(i) + 1);
    bound_[i] = 0;
  }
  sqlite3_bind_int64(stmt_, columns_ + 1, rowId);
  const int rc = sqlite3_step(stmt_);
  sqlite3_reset(stmt_);
  if (rc != SQLITE_DONE) conn_->fail(rc);
  if (touchesIndex_) conn_->noteStructuralChange();
  const bool found = sqlite3_changes(conn_->handle()) > 0;
  conn_->rowWritten();
  return found;
}

}  // namespace orv
