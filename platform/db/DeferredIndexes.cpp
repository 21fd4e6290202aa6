#include "platform/db/DeferredIndexes.h"

#include <sqlite3.h>

#include "platform/db/DatabaseState.h"
#include "platform/db/LostCommitReport.h"

namespace orv {

namespace {

// The statement that made the index of that SQLite name; empty when there is none.
QByteArray IndexStatement(SqliteConnection& conn, const QByteArray& name) {
  CachedStatement s("SELECT sql FROM sqlite_master WHERE type='index' AND name=?1");
  StatementUse use(s.get(conn));
  sqlite3_bind_text(use.get(), 1, name.constData(), static_cast<int>(name.size()), SQLITE_STATIC);
  if (sqlite3_step(use.get()) != SQLITE_ROW || sqlite3_column_type(use.get(), 0) != SQLITE_TEXT) return {};
  return QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(use.get(), 0)));
}

}  // namespace

DeferredIndexes::DeferredIndexes(const Database& db, const QString& table) {
  if (!db.isOpen()) ThrowObjectInvalid();
  conn_ = db.state()->connPtr();
  path_ = db.name();
  const std::shared_ptr<const TableSchema> schema = conn_->schema(table);
  size_t first = 0;
  for (size_t i = 0; i < schema->indexes.size(); ++i)
    if (schema->indexes[i].unique) first = i + 1;
  std::vector<std::pair<QByteArray, QByteArray>> found;  // name, statement
  for (size_t i = first; i < schema->indexes.size(); ++i) {
    const QByteArray name = schema->sqliteIndexNames[i].toUtf8();
    const QByteArray create = IndexStatement(*conn_, name);
    if (!create.isEmpty()) found.emplace_back(name, create);
  }
  if (found.empty()) return;
  conn_->beginWrite();
  try {
    for (const auto& [name, create] : found) {
      conn_->exec("DROP INDEX " + QuoteIdentifier(QString::fromUtf8(name)));
      dropped_.emplace_back(name, create);
    }
  } catch (...) {
    // What was dropped comes back; the run does not start.
    rebuild();
    throw;
  }
  conn_->invalidateSchema();
}

DeferredIndexes::~DeferredIndexes() {
  try {
    rebuild();
  } catch (const std::exception& e) {
    NoteLostCommit(path_, e);
  }
}

void DeferredIndexes::rebuild() {
  if (dropped_.empty()) return;
  conn_->beginWrite();
  // One that fails stays for the next try (the destructor's). An index that
  // is there again (a failed write took the whole transaction back) stays.
  while (!dropped_.empty()) {
    const auto& [name, create] = dropped_.front();
    if (IndexStatement(*conn_, name).isEmpty()) conn_->exec(create);
    dropped_.erase(dropped_.begin());
  }
  conn_->invalidateSchema();
}

}  // namespace orv
