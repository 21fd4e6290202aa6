#include "platform/db/RowInsert.h"

#include <sqlite3.h>

#include <algorithm>

#include "platform/db/DatabaseState.h"
#include "platform/db/FieldType.h"

namespace orv {

RowInsert::RowInsert(const Database& db, const QString& table, const QStringList& columns) : db_(db) {
  if (!db_.isOpen()) ThrowObjectInvalid();
  conn_ = db_.state()->connPtr();
  const std::shared_ptr<const TableSchema> schema = conn_->schema(table);
  QByteArray sql = "INSERT INTO " + schema->quotedName + " (";
  QByteArray params;
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
      params += ',';
    }
    sql += schema->quotedFields[static_cast<size_t>(f)];
    params += '?' + QByteArray::number(i + 1);
  }
  for (int f : schema->primaryFields) {
    const auto at = std::find(fields.begin(), fields.end(), f);
    if (at == fields.end()) primaryOutside_ = true;
    else primary_.push_back(static_cast<int>(at - fields.begin()));
  }
  bound_.assign(fields.size(), kNull);
  sql += ") VALUES (" + params + ')';
  stmt_ = conn_->prepareLasting(sql);
}

RowInsert::~RowInsert() { sqlite3_finalize(stmt_); }

void RowInsert::requireType(int i, bool text) const {
  if (static_cast<bool>(isText_[static_cast<size_t>(i)]) != text)
    ThrowDbError(kDbErrConversion, QStringLiteral("Datentypkonvertierungsfehler."));
}

void RowInsert::bindText(int i, QByteArrayView utf8) {
  requireType(i, true);
  // The empty text is a text, never Null (SQLite takes a null pointer for Null).
  sqlite3_bind_text(stmt_, i + 1, utf8.data() ? utf8.data() : "", static_cast<int>(utf8.size()), SQLITE_STATIC);
  bound_[static_cast<size_t>(i)] = kValue;
}

void RowInsert::bindText16(int i, const QString& text) {
  requireType(i, true);
  sqlite3_bind_text16(stmt_, i + 1, text.utf16(), static_cast<int>(text.size() * 2), SQLITE_STATIC);
  bound_[static_cast<size_t>(i)] = kValue;
}

void RowInsert::bindInteger(int i, qint64 value) {
  requireType(i, false);
  sqlite3_bind_int64(stmt_, i + 1, value);
  bound_[static_cast<size_t>(i)] = kValue;
}

void RowInsert::bindNull(int i) {
  sqlite3_bind_null(stmt_, i + 1);
  bound_[static_cast<size_t>(i)] = kNull;
}

void RowInsert::endRow() {
  for (char& b : bound_)
    if (b == kValue) b = kStale;
}

qint64 RowInsert::execute() {
  bool nullKey = primaryOutside_;
  for (int c : primary_) nullKey = nullKey || bound_[static_cast<size_t>(c)] != kValue;
  if (nullKey || !db_.isOpen()) {
    endRow();
    if (nullKey)
      ThrowDbError(kDbErrNullInIndex, QStringLiteral("Index oder Primärschlüssel kann keinen Nullwert enthalten."));
    ThrowObjectInvalid();
  }
  // A column bound for an earlier row only is Null in this one. A run that
  // binds the same columns every row clears nothing.
  for (size_t i = 0; i < bound_.size(); ++i)
    if (bound_[i] == kStale) {
      sqlite3_bind_null(stmt_, static_cast<int>(i) + 1);
      bound_[i] = kNull;
    }
  conn_->beginWrite();
  const int rc = sqlite3_step(stmt_);
  sqlite3_reset(stmt_);
  endRow();
  if (rc != SQLITE_DONE) conn_->fail(rc);
  const qint64 id = sqlite3_last_insert_rowid(conn_->handle());
  conn_->noteStructuralChange();
  conn_->rowWritten();
  return id;
}

bool RowInsert::AppendStoredUtf8(const QString& text, std::string& out) {
  const size_t before = out.size();
  out.resize(before + static_cast<size_t>(text.size()) * 3);
  const qsizetype n = EncodeUtf8(reinterpret_cast<const char16_t*>(text.constData()), text.size(), out.data() + before);
  out.resize(n < 0 ? before : before + static_cast<size_t>(n));
  return n >= 0;
}

}  // namespace orv
