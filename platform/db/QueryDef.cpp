#include "platform/db/QueryDef.h"

#include <sqlite3.h>

#include "foundation/OrvenilError.h"
#include "platform/db/DatabaseState.h"

namespace orv {

QueryDef::QueryDef(const Database& db, const QString& sql) : db_(db) {
  if (!db_.isOpen()) ThrowObjectInvalid();
  SqliteConnection& conn = db_.state()->conn();
  // Pending writes of this program become visible to the query.
  conn.commit();
  const QByteArray text = sql.toUtf8();
  const int rc = sqlite3_prepare_v3(conn.handle(), text.constData(), static_cast<int>(text.size()),
                                    SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr);
  if (rc != SQLITE_OK) {
    stmt_ = nullptr;
    conn.fail(rc, sql);
  }
}

QueryDef::~QueryDef() { sqlite3_finalize(stmt_); }

void QueryDef::restart() {
  if (running_) {
    sqlite3_reset(stmt_);
    running_ = false;
  }
}

void QueryDef::setParameter(int position, double value) {
  restart();
  const int rc = sqlite3_bind_double(stmt_, position, value);
  if (rc != SQLITE_OK) db_.state()->conn().fail(rc);
}

bool QueryDef::next() {
  if (!db_.isOpen()) ThrowObjectInvalid();
  running_ = true;
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  sqlite3_reset(stmt_);
  running_ = false;
  db_.state()->conn().fail(rc);
}

int QueryDef::columnCount() const { return sqlite3_column_count(stmt_); }

int QueryDef::columnIndex(const QString& name) const {
  for (int i = 0; i < columnCount(); ++i)
    if (QString::fromUtf8(sqlite3_column_name(stmt_, i)).compare(name, Qt::CaseInsensitive) == 0) return i;
  return -1;
}

FieldValue QueryDef::value(int column) const {
  switch (sqlite3_column_type(stmt_, column)) {
    case SQLITE_NULL:
      return FieldValue();
    case SQLITE_INTEGER:
      return FieldValue(static_cast<qint64>(sqlite3_column_int64(stmt_, column)));
    case SQLITE_FLOAT:
      return FieldValue(sqlite3_column_double(stmt_, column));
    default:
      return FieldValue(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column)),
                                          sqlite3_column_bytes(stmt_, column)));
  }
}

double QueryDef::number(int column) const {
  switch (sqlite3_column_type(stmt_, column)) {
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
      return sqlite3_column_double(stmt_, column);
    default:
      return value(column).toDouble();
  }
}

}  // namespace orv
