#pragma once
// Reads the rows of one SELECT once, from the first to the last, without
// keeping them: the walk of an export over a table of millions of rows. The
// statement runs on the database's shared connection, so it sees what the
// program has written and not yet committed. A query with parameters ("?1",
// "?2", …) is prepared once and run again for every new set of values, as a
// run that asks a database once per point does.
#include <QByteArrayView>
#include <QString>

#include "platform/db/Database.h"
#include "platform/db/FieldValue.h"

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

  // Sets a parameter (position from 1) and starts the query afresh: the
  // rows of the run before are dropped.
  void setParameter(int position, double value);
  // Steps to the next row; False after the last one. Throws on a read error.
  bool next();
  int columnCount() const;
  QString columnName(int column) const;
  // Position of a result column by name, case-insensitive; -1 when none.
  int columnIndex(const QString& name) const;
  // The value of a column of the current row with its stored type.
  FieldValue value(int column) const;
  // The value as a number: Null and a text that is not a number throw
  // errors 94 and 13, as the field conversions do.
  double number(int column) const;
  // The value of a column of the current row as text ("" for Null), and its
  // UTF-8 bytes (valid until the next step).
  QString text(int column) const;
  QByteArrayView utf8(int column) const;
  bool isNull(int column) const;
  // True for a value stored as bytes (a blob), which value() gives as text.
  bool isBlob(int column) const;
  // The value as a whole number (0 for Null).
  qint64 integer(int column) const;

 private:
  Database db_;  // keeps the connection open while the statement lives
  sqlite3_stmt* stmt_ = nullptr;
  bool running_ = false;
};

}  // namespace orv
