#pragma once
// One prepared UPDATE of fixed text columns of a table, row by row id: a run
// that writes the same columns of every row binds their texts and writes the
// row, without a recordset's row buffer. The texts go to SQLite as UTF-8 and
// are not copied: they must stay unchanged until execute() returns.
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "platform/db/Database.h"

struct sqlite3_stmt;

namespace orv {

class SqliteConnection;

class RowUpdate {
 public:
  // Prepares "UPDATE table SET c1=?, … WHERE rowid=?". OrvenilError 3265
  // when the table or a column is missing, 3421 when a column is not a text
  // column, 3420 when the database is closed.
  RowUpdate(const Database& db, const QString& table, const QStringList& columns);
  ~RowUpdate();
  RowUpdate(const RowUpdate&) = delete;
  RowUpdate& operator=(const RowUpdate&) = delete;

  // The value of column i (0-based, in the order given) for the next execute.
  void bindText(int i, QByteArrayView utf8);
  void bindNull(int i);
  // Writes the bound values into the row and clears them (an unbound column
  // is written as Null). False when no row has that id. Throws on failure.
  bool execute(qint64 rowId);

 private:
  Database db_;  // keeps the connection open while the statement lives
  std::shared_ptr<SqliteConnection> conn_;
  sqlite3_stmt* stmt_ = nullptr;
  int columns_ = 0;
  std::vector<char> bound_;  // columns bound since the last execute
  bool touchesIndex_ = false;
};

}  // namespace orv
