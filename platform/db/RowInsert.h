#pragma once
// One prepared INSERT of fixed columns of a table: a run that adds many rows
// of the same shape binds their values and writes the rows, without a
// recordset's row buffer. Rows may go to SQLite in groups, several in one
// statement, which saves much of the cost of a statement per row. Texts go
// to SQLite as the UTF-8 bytes the layer stores for them and are not copied:
// they must stay unchanged until their row is stored. Rows are stored as a
// table recordset's AddNew/Update stores them: an unbound column is Null,
// the empty text stays a text, the indexes are kept, and walks of the table
// see the new rows.
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
  // Prepares "INSERT INTO table (c1, …) VALUES (?, …)", and one for
  // rowsPerGroup rows. OrvenilError 3265 when the table or a column is
  // missing, 3421 when a column is neither a text nor a Long column, 3420
  // when the database is closed.
  RowInsert(const Database& db, const QString& table, const QStringList& columns, int rowsPerGroup = 1);
  ~RowInsert();
  RowInsert(const RowInsert&) = delete;
  RowInsert& operator=(const RowInsert&) = delete;

  // The value of column i (0-based, in the order given) of the row being
  // bound. Texts only into text columns, whole numbers only into Long
  // columns (3421 otherwise).
  void bindText(int i, QByteArrayView utf8);
  // A text that AppendStoredUtf8 refused; not copied either.
  void bindText16(int i, const QString& text);
  void bindInteger(int i, qint64 value);
  void bindNull(int i);
  // The bound row joins the group; a full group is stored at once. 3058
  // when a field of the primary key is Null (the row is dropped). Throws on
  // failure: a group the database refuses is stored again row by row, so the
  // rows before the refused one are stored, and refusedRow() tells which.
  void add();
  // Stores the rows added and not stored yet, as add() stores a group.
  void flush();
  // The rows added and not stored yet.
  int pendingRows() const { return added_; }
  // After add() or flush() threw: the position of the refused row among the
  // rows it was storing (the rows before it are stored, those after it not).
  int refusedRow() const { return refused_; }
  // Stores the bound row now (after the rows added before it); its id.
  qint64 execute();

  // Appends the UTF-8 bytes the layer stores for text to out; False (and
  // nothing appended) for a text with surrogates, which goes as UTF-16.
  static bool AppendStoredUtf8(const QString& text, std::string& out);

 private:
  struct Value {
    enum class Kind : char { Null, Text, Text16, Integer } kind = Kind::Null;
    const void* data = nullptr;
    qint64 number = 0;  // the integer, or the length of a text in bytes
  };
  Value& slot(int i, bool text);
  // Binds the pending rows first … first + rows − 1 and steps the statement.
  void store(sqlite3_stmt* s, int first, int rows);

  Database db_;  // keeps the connection open while the statements live
  std::shared_ptr<SqliteConnection> conn_;
  sqlite3_stmt* one_ = nullptr;    // one row
  sqlite3_stmt* group_ = nullptr;  // rowsPerGroup rows (null for groups of one)
  int columns_ = 0;
  int rowsPerGroup_ = 1;
  std::vector<char> isText_;      // per column
  std::vector<int> primary_;      // columns of the primary key
  bool primaryOutside_ = false;   // a primary key field is not among the columns
  std::vector<Value> pending_;    // the rows added and the row being bound, column by column
  int added_ = 0;
  int refused_ = 0;
};

}  // namespace orv
