#pragma once
// One prepared INSERT of fixed columns of a table: a run that adds many rows
// of the same shape binds their values and writes each row, without a
// recordset's row buffer. Texts go to SQLite as the UTF-8 bytes the layer
// stores for them and are not copied: they must stay unchanged until
// execute() returns. Rows are stored as a table recordset's AddNew/Update
// stores them: an unbound column is Null, the empty text stays a text, the
// indexes are kept, and walks of the table see the new rows.
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "platform/db/Database.h"

struct sqlite3_stmt;

namespace orv {

class SqliteConnection;

class RowInsert {
 public:
  // Prepares "INSERT INTO table (c1, …) VALUES (?, …)". OrvenilError 3265
  // when the table or a column is missing, 3421 when a column is neither a
  // text nor a Long column, 3420 when the database is closed.
  RowInsert(const Database& db, const QString& table, const QStringList& columns);
  ~RowInsert();
  RowInsert(const RowInsert&) = delete;
  RowInsert& operator=(const RowInsert&) = delete;

  // The value of column i (0-based, in the order given) for the next execute.
  // Texts only into text columns, whole numbers only into Long columns
  // (3421 otherwise).
  void bindText(int i, QByteArrayView utf8);
  // A text that AppendStoredUtf8 refused; not copied either.
  void bindText16(int i, const QString& text);
  void bindInteger(int i, qint64 value);
  void bindNull(int i);
  // Stores a new row with the bound values and clears them; the new row's
  // id. 3058 when a field of the primary key is Null. Throws on failure.
  qint64 execute();

  // Appends the UTF-8 bytes the layer stores for text to out; False (and
  // nothing appended) for a text with surrogates, which goes as UTF-16.
  static bool AppendStoredUtf8(const QString& text, std::string& out);

 private:
  void requireType(int i, bool text) const;
  // The values bound for the row just stored (or refused) become stale.
  void endRow();

  Database db_;  // keeps the connection open while the statement lives
  std::shared_ptr<SqliteConnection> conn_;
  sqlite3_stmt* stmt_ = nullptr;
  std::vector<char> isText_;      // per column
  std::vector<int> primary_;      // columns of the primary key
  // Per column: Null, bound to a value since the last execute, or still
  // holding the value of an earlier row (stale: made Null unless bound again).
  enum : char { kNull, kValue, kStale };
  std::vector<char> bound_;
  bool primaryOutside_ = false;   // a primary key field is not among the columns
};

}  // namespace orv
