#include "platform/db/ForwardQuery.h"

#include <sqlite3.h>

#include "platform/db/DatabaseState.h"

namespace orv {

ForwardQuery::ForwardQuery(const Database& db, const QString& sql) : db_(db) {
  if (!db_.isOpen()) ThrowObjectInvalid();
  SqliteConnection& conn = db_.state()->conn();
  const QByteArray text = sql.toUtf8();
  const int rc =
      sqlite3_prepare_v2(conn.handle(), text.constData(), static_cast<int>(text.size()), &stmt_, nullptr);
  if (rc != SQLITE_OK) {
    sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    conn.fail(rc, sql);
  }
}

ForwardQuery::~ForwardQuery() { sqlite3_finalize(stmt_); }

void ForwardQuery::setParameter(int position, double value) {
  if (running_) {
    sqlite3_reset(stmt_);
    running_ = false;
  }
  const int rc = sqlite3_bind_double(stmt_, position, value);
  if (rc != SQLITE_OK) db_.state()->conn().fail(rc);
}

bool ForwardQuery::next() {
  if (!db_.isOpen()) ThrowObjectInvalid();
  running_ = true;
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc != SQLITE_DONE) {
    sqlite3_reset(stmt_);
    running_ = false;
    db_.state()->conn().fail(rc);
  }
  return false;
}

int ForwardQuery::columnIndex(const QString& name) const {
  for (int i = 0; i < columnCount(); ++i)
    if (columnName(i).compare(name, Qt::CaseInsensitive) == 0) return i;
  return -1;
}

FieldValue ForwardQuery::value(int column) const {
  switch (sqlite3_column_type(stmt_, column)) {
    case SQLITE_NULL:
      return FieldValue();
    case SQLITE_INTEGER:
      return FieldValue(static_cast<qint64>(sqlite3_column_int64(stmt_, column)));
    case SQLITE_FLOAT:
      return FieldValue(sqlite3_column_double(stmt_, column));
    default:
      return FieldValue(text(column));
  }
}

double ForwardQuery::number(int column) const {
  const int type = sqlite3_column_type(stmt_, column);
  if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) return sqlite3_column_double(stmt_, column);
  return value(column).toDouble();
}

int ForwardQuery::columnCount() const { return sqlite3_column_count(stmt_); }

QString ForwardQuery::columnName(int column) const {
  return QString::fromUtf8(sqlite3_column_name(stmt_, column));
}

QByteArrayView ForwardQuery::utf8(int column) const {
  const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
  return p ? QByteArrayView(p, sqlite3_column_bytes(stmt_, column)) : QByteArrayView();
}

QString ForwardQuery::text(int column) const {
  const QByteArrayView v = utf8(column);
  return QString::fromUtf8(v.data(), v.size());
}

bool ForwardQuery::isNull(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_NULL; }

bool ForwardQuery::isBlob(int column) const { return sqlite3_column_type(stmt_, column) == SQLITE_BLOB; }

qint64 ForwardQuery::integer(int column) const { return sqlite3_column_int64(stmt_, column); }

}  // namespace orv
