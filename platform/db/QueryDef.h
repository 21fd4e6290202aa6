#pragma once
// A stored query with parameters: prepared once, run many times with new
// parameter values, its rows read forward only. For runs that ask the same
// question of a database once per point (a box query of a height model).
// Parameters are "?1", "?2", … in the SQL text.
#include <QString>
#include <QtGlobal>

#include "platform/db/Database.h"
#include "platform/db/FieldValue.h"

struct sqlite3_stmt;

namespace orv {

class QueryDef {
 public:
  // Prepares sql on the open database; the engine's error (3075 for SQL it
  // does not understand) is thrown.
  QueryDef(const Database& db, const QString& sql);
  ~QueryDef();
  QueryDef(const QueryDef&) = delete;
  QueryDef& operator=(const QueryDef&) = delete;

  // Starts the query afresh: the rows of an earlier run are dropped.
  void setParameter(int position, double value);  // position from 1
  // Moves to the next row of the current run (the first after the
  // parameters were set); false when there is none.
  bool next();
  int columnCount() const;
  // Position of a result column by name, case-insensitive; -1 when none.
  int columnIndex(const QString& name) const;
  // The column of the current row as a number: Null and text that is not a
  // number throw errors 94 and 13, as the field conversions do.
  double number(int column) const;
  FieldValue value(int column) const;

 private:
  void restart();
  Database db_;
  sqlite3_stmt* stmt_ = nullptr;
  bool running_ = false;
};

}  // namespace orv
