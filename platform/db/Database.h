#pragma once
// An open database file. Database is a handle: copies refer to the same open
// database; a default-constructed handle is "none". Every Database on the same
// file shares one SQLite connection (so a reader never meets a writer's lock).
// Writes collect in one lazy transaction, committed on close, before Execute,
// before compaction and every so many rows (a run may hold its writes in one
// transaction instead: RunTransaction). After close (or CloseAllDatabases)
// every use of the handle throws OrvenilError 3420. A database that neither
// a handle nor an open recordset refers to any more is closed by itself.
#include <QString>
#include <QStringList>
#include <memory>

#include "platform/db/Recordset.h"
#include "platform/db/TableDef.h"

namespace orv {

class DatabaseState;

// What has been written to a database file so far. Two equal marks taken at
// two times mean that no row and no table of the file changed in between,
// through this program's connection or any other.
struct WriteMark {
  quint64 epoch = 0;         // the file opened again after it was replaced
  quint64 generation = 0;    // inserts, deletes and SQL run by the layer
  qint64 rowChanges = 0;     // every row written through the connection
  qint64 dataVersion = 0;    // commits of other connections
  qint64 schemaVersion = 0;  // tables and indexes made, changed or dropped
  bool operator==(const WriteMark&) const = default;
};

class Database {
 public:
  Database() = default;
  explicit Database(std::shared_ptr<DatabaseState> state) : d_(std::move(state)) {}

  // True when the handle refers to a database, open or closed.
  bool isSet() const { return static_cast<bool>(d_); }
  // True when the handle refers to a database that is still open.
  bool isOpen() const;
  // Path of the file, as it was opened.
  QString name() const;

  // Runs one or more SQL statements (after committing pending writes).
  // Returns the number of rows the last statement changed.
  int execute(const QString& sql);

  // Table-type recordset on a table: insertion order, Seek through indexes.
  Recordset openTable(const QString& table);
  // Recordset on a SELECT statement. A plain "SELECT * FROM table [WHERE …]
  // [ORDER BY …]" keeps only the row ids and fetches rows on demand and can be
  // edited; any other query (DISTINCT, joins, expressions) is read at once
  // and is read-only.
  Recordset openSql(const QString& sql);
  // Table name → openTable, anything starting with SELECT → openSql.
  Recordset openRecordset(const QString& source);

  // Names of the program's tables (the engine's own tables excluded), in creation order.
  QStringList tableNames() const;
  bool hasTable(const QString& table) const;
  // Definition of an existing table; OrvenilError 3265 when there is none.
  TableDef tableDef(const QString& table) const;
  // A plan for a new table; appendTableDef creates it (3010 when it exists).
  TableDef createTableDef(const QString& table) const;
  void appendTableDef(TableDef& def);

  // Commits the pending writes now.
  void commit();
  // The mark of what has been written to the file up to now.
  WriteMark writeMark() const;
  // Closes this database's recordsets (last opened first), then the database.
  // Closing a closed or unset handle does nothing.
  void close();

  const std::shared_ptr<DatabaseState>& state() const { return d_; }
  bool operator==(const Database& other) const { return d_ == other.d_; }

 private:
  DatabaseState& checked() const;
  std::shared_ptr<DatabaseState> d_;
};

}  // namespace orv
