#include "platform/db/DeferredIndexes.h"

#include <sqlite3.h>

#include "platform/db/DatabaseState.h"
#include "platform/db/LostCommitReport.h"

namespace orv {

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
    CachedStatement s("SELECT sql FROM sqlite_master WHERE type='index' AND name=?1");
    StatementUse use(s.get(*conn_));
    sqlite3_bind_text(use.get(), 1, name.constData(), static_cast<int>(name.size()), SQLITE_STATIC);
    if (sqlite3_step(use.get()) != SQLITE_ROW || sqlite3_column_type(use.get(), 0) != SQLITE_TEXT) continue;
    found.emplace_back(name, reinterpret_cast<const char*>(sqlite3_column_text(use.get(), 0)));
  }
  if (found.empty()) return;
  conn_->beginWrite();
  try {
    for (const auto& [name, create] : found) {
      conn_->exec("DROP INDEX " + QuoteIdentifier(QString::fromUtf8(name)));
      creates_.push_back(create);
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
  if (creates_.empty()) return;
  conn_->beginWrite();
  // One that fails stays for the next try (the destructor's).
  while (!creates_.empty()) {
    conn_->exec(creates_.front());
    creates_.erase(creates_.begin());
  }
  conn_->invalidateSchema();
}

}  // namespace orv
