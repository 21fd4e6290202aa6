#include "platform/db/DBEngine.h"

#include <sqlite3.h>

#include <QFileInfo>
#include <exception>

#include "foundation/OrvenilError.h"
#include "platform/db/DatabaseState.h"
#include "platform/db/FieldType.h"

namespace orv {

namespace {

// Never destroyed, for the same reason as the connection registry.
std::vector<std::weak_ptr<DatabaseState>>& OpenDatabases() {
  static auto* list = new std::vector<std::weak_ptr<DatabaseState>>();
  return *list;
}

void Prune() {
  std::erase_if(OpenDatabases(), [](const std::weak_ptr<DatabaseState>& w) {
    auto p = w.lock();
    return !p || !p->isOpen();
  });
}

Database Register(std::shared_ptr<SqliteConnection> conn, const QString& path) {
  auto state = std::make_shared<DatabaseState>(std::move(conn), path);
  Prune();
  OpenDatabases().push_back(state);
  return Database(state);
}

}  // namespace

Database DBEngine::openDatabase(const QString& path) {
  return Register(SqliteConnection::open(path, false), path);
}

Database DBEngine::createDatabase(const QString& path, const QString& /*locale*/) {
  auto conn = SqliteConnection::open(path, true);
  // SQLite writes a new file only with its first page; the file is to exist now.
  conn->exec("PRAGMA user_version=1");
  return Register(std::move(conn), path);
}

void DBEngine::compactDatabase(const QString& source, const QString& target) {
  if (!QFileInfo(source).isFile())
    ThrowDbError(kDbErrFileNotFound, QStringLiteral("Datei '%1' nicht gefunden.").arg(source));
  if (QFileInfo::exists(target))
    ThrowDbError(kDbErrDatabaseExists, QStringLiteral("Datenbank '%1' ist bereits vorhanden.").arg(target));
  QByteArray targetUtf8 = target.toUtf8();
  auto vacuumInto = [&](sqlite3* db) -> int {
    sqlite3_stmt* s = nullptr;
    int rc = sqlite3_prepare_v2(db, "VACUUM INTO ?1", -1, &s, nullptr);
    if (rc != SQLITE_OK) return rc;
    sqlite3_bind_text(s, 1, targetUtf8.constData(), static_cast<int>(targetUtf8.size()), SQLITE_STATIC);
    rc = sqlite3_step(s);
    sqlite3_finalize(s);
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
  };
  if (auto live = SqliteConnection::find(source)) {
    live->commit();
    int rc = vacuumInto(live->handle());
    if (rc != SQLITE_OK) live->fail(rc, QStringLiteral("Komprimieren"));
    return;
  }
  sqlite3* db = nullptr;
  QByteArray file = source.toUtf8();
  int rc = sqlite3_open_v2(file.constData(), &db, SQLITE_OPEN_READONLY, nullptr);
  if (rc == SQLITE_OK) rc = vacuumInto(db);
  QString message = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString();
  sqlite3_close_v2(db);
  ThrowIfHeldByAnotherProgram(rc, source);
  if (rc == SQLITE_NOTADB)
    ThrowDbError(kDbErrNotADatabase, QStringLiteral("Nicht erkanntes Datenbankformat '%1'.").arg(source));
  if (rc != SQLITE_OK)
    ThrowDbError(kDbErrGeneral, QStringLiteral("Datenbankfehler beim Komprimieren: ") + message);
}

std::vector<Database> DBEngine::databases() {
  Prune();
  std::vector<Database> result;
  for (const auto& w : OpenDatabases())
    if (auto p = w.lock()) result.emplace_back(p);
  return result;
}

void DBEngine::closeAll() {
  // Closing may drop the last handle of another database; work on a copy.
  std::vector<std::shared_ptr<DatabaseState>> open;
  for (const auto& w : OpenDatabases())
    if (auto p = w.lock()) open.push_back(p);
  // Every database is closed even when one of them fails to commit; the
  // first failure is passed on afterwards.
  std::exception_ptr failure;
  for (auto it = open.rbegin(); it != open.rend(); ++it) {
    try {
      (*it)->close();
    } catch (...) {
      if (!failure) failure = std::current_exception();
    }
  }
  OpenDatabases().clear();
  if (failure) std::rethrow_exception(failure);
}

bool DBEngine::isOpen(const QString& path) { return static_cast<bool>(SqliteConnection::find(path)); }

void DBEngine::reopenReplacedFile(const QString& path) {
  if (auto live = SqliteConnection::registered(path)) live->reopen();
}

}  // namespace orv
