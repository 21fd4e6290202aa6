#pragma once
// Reads the rows of one SELECT once, from the first to the last, without
// keeping them: the walk of an export over a table of millions of rows. The
// statement runs on the database's shared connection, so it sees what the
// program has written and not yet committed.
#include <QByteArrayView>
#include <QString>

#include "platform/db/Database.h"

struct sqlite3_stmt;

namespace orv {

class ForwardQuery {
 public:
  // Prepares the statement; throws OrvenilError when the database is closed
  // or the statement is not valid.
  ForwardQuery(const Database& db, const QString& sql);
  ~ForwardQuery();
  ForwardQuery(const ForwardQuery&) = delete;
  ForwardQuery& operator=(const ForwardQuery&) = delete;

  // Steps to the next row; False after the last one. Throws on a read error.
  bool next();
  int columnCount() const;
  QString columnName(int column) const;
  // The value of a column of the current row as text ("" for Null), and its
  // UTF-8 bytes (valid until the next step).
  QString text(int column) const;
  QByteArrayView utf8(int column) const;
  bool isNull(int column) const;

 private:
  Database db_;  // keeps the connection open while the statement lives
  sqlite3_stmt* stmt_ = nullptr;
};

}  // namespace orv
