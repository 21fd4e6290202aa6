#pragma once
// Lets a run that adds many rows to a table build the table's indexes that
// allow equal keys once at its end, instead of keeping them up to date row
// by row: sorting all keys at once is much faster. The indexes go and come
// back inside the database's open transaction (hold one with RunTransaction),
// so the file never keeps a table without them, unless the run commits in
// between (RunTransaction::commitSoFar). Unique indexes stay: they check
// every row as it is stored. Nothing may read the table by such an
// index until rebuild().
#include <QByteArray>
#include <QString>
#include <memory>
#include <utility>
#include <vector>

#include "platform/db/Database.h"

namespace orv {

class SqliteConnection;

class DeferredIndexes {
 public:
  // Drops the indexes of the table that allow equal keys and were made
  // after its last unique one (so that the indexes keep their order).
  // OrvenilError 3265 when the table is missing, 3420 when the database is
  // closed.
  DeferredIndexes(const Database& db, const QString& table);
  // Builds them again when rebuild() was not called; a failure is noted for
  // the report of lost commits (a destructor cannot tell its caller).
  ~DeferredIndexes();
  DeferredIndexes(const DeferredIndexes&) = delete;
  DeferredIndexes& operator=(const DeferredIndexes&) = delete;

  // Builds the dropped indexes again, as they were made; throws on failure.
  void rebuild();

 private:
  std::shared_ptr<SqliteConnection> conn_;
  QString path_;
  std::vector<std::pair<QByteArray, QByteArray>> dropped_;  // name, the statement that made it
};

}  // namespace orv
