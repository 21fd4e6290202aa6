#pragma once
// Holds the writes to one database in a single transaction while a run
// rewrites its rows: the commit every so many rows is suspended, and the run
// commits once, at its end. The end commits also when the run stops on an
// error, so the rows stored before the error stay.
#include <QString>
#include <memory>

#include "platform/db/Database.h"

namespace orv {

class SqliteConnection;

class RunTransaction {
 public:
  // Begins the transaction (commits nothing that is pending before).
  // Throws OrvenilError 3420 when the database is closed.
  explicit RunTransaction(const Database& db);
  // Commits when commit() was not called; a failure is noted for the report
  // of lost commits (a destructor cannot tell its caller).
  ~RunTransaction();
  RunTransaction(const RunTransaction&) = delete;
  RunTransaction& operator=(const RunTransaction&) = delete;

  // Commits now and lets go of the hold; throws on failure.
  void commit();
  // Commits the writes so far and goes on holding the rest: a failure that
  // undoes the whole open transaction (a full disk) then takes only the
  // writes since. Throws on failure.
  void commitSoFar();

 private:
  // The connection, kept while the hold lasts: another handle may close the
  // database in between, and the hold must still be let go.
  std::shared_ptr<SqliteConnection> conn_;
  QString path_;
  bool done_ = false;
};

}  // namespace orv
