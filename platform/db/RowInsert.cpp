#include "platform/db/RowInsert.h"

#include <sqlite3.h>

#include <algorithm>

#include "foundation/OrvenilError.h"
#include "platform/db/DatabaseState.h"
#include "platform/db/FieldType.h"

namespace orv {

RowInsert::RowInsert(const Database& db, const QString& table, const QStringList& columns, int rowsPerGroup)
    : db_(db) {
  if (!db_.isOpen()) ThrowObjectInvalid();
  conn_ = db_.state()->connPtr();
  const std::shared_ptr<const TableSchema> schema = conn_->schema(table);
  QByteArray sql = "INSERT INTO " + schema->quotedName + " (";
  QByteArray row = "(";
  std::vector<int> fields;
  for (int i = 0; i < columns.size(); ++i) {
    const int f = schema->requireField(columns[i]);
    const int type = schema->fields[static_cast<size_t>(f)].type;
    if (type != dbText && type != dbMemo && type != dbLong)
      ThrowDbError(kDbErrConversion, QStringLiteral("Feld '%1' ist weder Text- noch Long-Feld.").arg(columns[i]));
    isText_.push_back(type != dbLong);
    fields.push_back(f);
    if (i) {
      sql += ',';
      row += ',';
    }
    sql += schema->quotedFields[static_cast<size_t>(f)];
    row += '?';
  }
  row += ')';
  for (int f : schema->primaryFields) {
    const auto at = std::find(fields.begin(), fields.end(), f);
    if (at == fields.end()) primaryOutside_ = true;
    else primary_.push_back(static_cast<int>(at - fields.begin()));
  }
  columns_ = static_cast<int>(columns.size());
  // SQLite takes at most 32766 parameters in a statement.
  rowsPerGroup_ = std::clamp(rowsPerGroup, 1, std::max(1, 32766 / std::max(1, columns_)));
  sql += ") VALUES ";
  one_ = conn_->prepareLasting(sql + row);
  if (rowsPerGroup_ > 1) {
    QByteArray rows = row;
    for (int r = 1; r < rowsPerGroup_; ++r) rows += ',' + row;
    try {
      group_ = conn_->prepareLasting(sql + rows);
    } catch (...) {
      sqlite3_finalize(one_);
      throw;
    }
  }
  pending_.resize(static_cast<size_t>(columns_));
}

RowInsert::~RowInsert() {
  sqlite3_finalize(one_);
  sqlite3_finalize(group_);
}

RowInsert::Value& RowInsert::slot(int i, bool text) {
  if (i < 0 || i >= columns_)
    ThrowDbError(kDbErrItemNotFound, QStringLiteral("Feld Nr. %1 in dieser Auflistung nicht gefunden.").arg(i));
  if (static_cast<bool>(isText_[static_cast<size_t>(i)]) != text)
    ThrowDbError(kDbErrConversion, QStringLiteral("Datentypkonvertierungsfehler."));
  return pending_[static_cast<size_t>(added_) * static_cast<size_t>(columns_) + static_cast<size_t>(i)];
}

void RowInsert::bindText(int i, QByteArrayView utf8) {
  Value& v = slot(i, true);
  v.kind = Value::Kind::Text;
  // The empty text is a text, never Null (SQLite takes a null pointer for Null).
  v.data = utf8.data() ? utf8.data() : "";
  v.number = utf8.size();
}

void RowInsert::bindText16(int i, const QString& text) {
  Value& v = slot(i, true);
  v.kind = Value::Kind::Text16;
  v.data = text.utf16();
  v.number = text.size() * 2;
}

void RowInsert::bindInteger(int i, qint64 value) {
  Value& v = slot(i, false);
  v.kind = Value::Kind::Integer;
  v.number = value;
}

void RowInsert::bindNull(int i) {
  if (i < 0 || i >= columns_)
    ThrowDbError(kDbErrItemNotFound, QStringLiteral("Feld Nr. %1 in dieser Auflistung nicht gefunden.").arg(i));
  pending_[static_cast<size_t>(added_) * static_cast<size_t>(columns_) + static_cast<size_t>(i)] = Value();
}

void RowInsert::add() {
  const auto row = pending_.begin() + static_cast<std::ptrdiff_t>(added_) * columns_;
  bool nullKey = primaryOutside_;
  for (int c : primary_) nullKey = nullKey || row[c].kind == Value::Kind::Null;
  if (nullKey) {
    std::fill(row, row + columns_, Value());
    refused_ = added_;
    ThrowDbError(kDbErrNullInIndex, QStringLiteral("Index oder Primärschlüssel kann keinen Nullwert enthalten."));
  }
  ++added_;
  if (added_ < rowsPerGroup_)
    pending_.resize(static_cast<size_t>(added_ + 1) * static_cast<size_t>(columns_));
  else
    flush();
}

void RowInsert::flush() {
  // Whatever happens, the rows stored or refused are no longer pending.
  struct Clear {
    RowInsert& in;
    ~Clear() {
      in.added_ = 0;
      in.pending_.assign(static_cast<size_t>(in.columns_), Value());
    }
  } clear{*this};
  refused_ = 0;
  if (added_ == 0) return;
  if (!db_.isOpen()) ThrowObjectInvalid();
  conn_->beginWrite();
  if (group_ && added_ == rowsPerGroup_) {
    try {
      store(group_, 0, added_);
      return;
    } catch (const OrvenilError&) {
      // A refused statement is undone alone; when the database had to undo
      // the whole transaction instead, the rows are not stored one by one
      // outside it.
      if (sqlite3_get_autocommit(conn_->handle())) throw;
    }
  }
  // Fewer rows than a group, or a refused group: one statement each.
  for (; refused_ < added_; ++refused_) store(one_, refused_, 1);
}

qint64 RowInsert::execute() {
  add();
  flush();
  return sqlite3_last_insert_rowid(conn_->handle());
}

void RowInsert::store(sqlite3_stmt* s, int first, int rows) {
  int p = 1;
  for (int r = first; r < first + rows; ++r)
    for (int c = 0; c < columns_; ++c, ++p) {
      const Value& v = pending_[static_cast<size_t>(r) * static_cast<size_t>(columns_) + static_cast<size_t>(c)];
      switch (v.kind) {
        case Value::Kind::Null: sqlite3_bind_null(s, p); break;
        case Value::Kind::Text:
          sqlite3_bind_text(s, p, static_cast<const char*>(v.data), static_cast<int>(v.number), SQLITE_STATIC);
          break;
        case Value::Kind::Text16: sqlite3_bind_text16(s, p, v.data, static_cast<int>(v.number), SQLITE_STATIC); break;
        case Value::Kind::Integer: sqlite3_bind_int64(s, p, v.number); break;
      }
    }
  const int rc = sqlite3_step(s);
  sqlite3_reset(s);
  if (rc != SQLITE_DONE) conn_->fail(rc);
  conn_->noteStructuralChange();
  for (int r = 0; r < rows; ++r) conn_->rowWritten();
}

bool RowInsert::AppendStoredUtf8(const QString& text, std::string& out) {
  const size_t before = out.size();
  out.resize(before + static_cast<size_t>(text.size()) * 3);
  const qsizetype n = EncodeUtf8(reinterpret_cast<const char16_t*>(text.constData()), text.size(), out.data() + before);
  out.resize(n < 0 ? before : before + static_cast<size_t>(n));
  return n >= 0;
}

}  // namespace orv
