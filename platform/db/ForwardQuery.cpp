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

bool ForwardQuery::next() {
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc != SQLITE_DONE) db_.state()->conn().fail(rc);
  return false;
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

}  // namespace orv
