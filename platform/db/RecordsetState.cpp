#include "platform/db/RecordsetState.h"

#include <sqlite3.h>

#include <QRegularExpression>
#include <algorithm>
#include <bit>
#include <cstring>
#include <numeric>
#include <utility>

#include "foundation/OrvenilError.h"
#include "platform/db/DatabaseState.h"
#include "platform/db/FieldType.h"

namespace orv {

namespace {

[[noreturn]] void NoCurrentRecord() {
  ThrowDbError(kDbErrNoCurrentRecord, QStringLiteral("Kein aktueller Datensatz."));
}

[[noreturn]] void NotSupported() {
  ThrowDbError(kDbErrNotSupported, QStringLiteral("Die Operation wird für diesen Objekttyp nicht unterstützt."));
}

qint64 RowIdOf(sqlite3_stmt* s) { return sqlite3_column_int64(s, 0); }

// "SELECT * FROM table [WHERE …] [ORDER BY …]": such a query can keep only
// row ids and stay editable.
const QRegularExpression& PlainSelect() {
  static const QRegularExpression re(
      QStringLiteral("^\\s*SELECT\\s+\\*\\s+FROM\\s+(\\[[^\\]]+\\]|\"[^\"]+\"|[\\w]+)\\s*((?:WHERE|ORDER\\s+BY)\\b.*)?$"),
      QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
  return re;
}

const QRegularExpression& OrderBy() {
  static const QRegularExpression re(QStringLiteral("\\bORDER\\s+BY\\b"), QRegularExpression::CaseInsensitiveOption);
  return re;
}

// Row ids into ascending order (insertion order). They are often in order
// already; dense ones are sorted through a bitmap.
void SortRowIds(std::vector<qint64>& ids) {
  if (std::is_sorted(ids.begin(), ids.end())) return;
  const auto [lo, hi] = std::minmax_element(ids.begin(), ids.end());
  const qint64 low = *lo;
  const quint64 span = static_cast<quint64>(*hi) - static_cast<quint64>(low) + 1;
  if (span / 16 > ids.size()) {
    std::sort(ids.begin(), ids.end());
    return;
  }
  std::vector<quint64> bits((span + 63) / 64, 0);
  for (qint64 id : ids) {
    const quint64 k = static_cast<quint64>(id - low);
    bits[k / 64] |= quint64(1) << (k % 64);
  }
  size_t out = 0;
  for (size_t w = 0; w < bits.size(); ++w)
    for (quint64 word = bits[w]; word; word &= word - 1)
      ids[out++] = low + static_cast<qint64>(w * 64 + static_cast<size_t>(std::countr_zero(word)));
  ids.resize(out);
}

// The row ids a SELECT of row ids gives, in its order.
std::vector<qint64> ReadRowIds(SqliteConnection& conn, const QByteArray& sql, size_t expected = 0) {
  std::vector<qint64> ids;
  ids.reserve(expected);
  CachedStatement s(sql);
  StatementUse use(s.get(conn));
  int rc;
  while ((rc = sqlite3_step(use.get())) == SQLITE_ROW) ids.push_back(RowIdOf(use.get()));
  if (rc != SQLITE_DONE) conn.fail(rc);
  return ids;
}

qint64 ReadNumber(SqliteConnection& conn, const QByteArray& sql) {
  CachedStatement s(sql);
  StatementUse use(s.get(conn));
  const int rc = sqlite3_step(use.get());
  if (rc != SQLITE_ROW) conn.fail(rc);
  return sqlite3_column_int64(use.get(), 0);
}

// Room for the row ids of a whole table, read at the two ends of its row-id
// tree: the span from the lowest to the highest (at most 16M, so that a table
// with far-apart ids asks for no more), so that millions of ids are read
// without the vector moving as it grows.
size_t RowIdSpan(SqliteConnection& conn, const TableSchema& table) {
  const qint64 first = ReadNumber(conn, "SELECT min(rowid) FROM " + table.quotedName);
  const qint64 last = ReadNumber(conn, "SELECT max(rowid) FROM " + table.quotedName);
  constexpr qint64 kMost = qint64(1) << 24;
  return last >= first ? static_cast<size_t>(std::min(last - first + 1, kMost)) : 0;
}

// All row ids of a table (matching a condition, when given) in insertion
// order. Asked without an order, SQLite reads them from the smallest index
// that has them all instead of walking the whole table; sorting them
// afterwards costs far less than that walk. A whole indexed table without
// gaps in its row ids (a job as it was imported) needs no reading at all: its
// rows are counted in the index. (Without an index, counting would walk the
// table as well.)
std::vector<qint64> RowIdsInInsertionOrder(SqliteConnection& conn, const TableSchema& table, const QByteArray& where) {
  const QByteArray& name = table.quotedName;
  if (where.isEmpty() && !table.indexes.empty()) {
    const qint64 count = ReadNumber(conn, "SELECT count(*) FROM " + name);
    if (count == 0) return {};
    const qint64 first = ReadNumber(conn, "SELECT min(rowid) FROM " + name);
    const qint64 last = ReadNumber(conn, "SELECT max(rowid) FROM " + name);
    if (last - first + 1 == count) {
      std::vector<qint64> ids(static_cast<size_t>(count));
      std::iota(ids.begin(), ids.end(), first);
      return ids;
    }
  }
  std::vector<qint64> ids = ReadRowIds(conn, "SELECT rowid FROM " + name + (where.isEmpty() ? "" : " " + where));
  SortRowIds(ids);
  return ids;
}

}  // namespace

RecordsetState::RecordsetState(std::shared_ptr<SqliteConnection> conn, const QString& table)
    : conn_(std::move(conn)) {
  type = Recordset::Type::Table;
  schema_ = conn_->schema(table);
  initFromSchema();
  const QByteArray& t = schema_->quotedName;
  count_.setSql("SELECT count(*) FROM " + t);
  setIndex(QString());
}

RecordsetState::RecordsetState(std::shared_ptr<SqliteConnection> conn, const QString& sqlText, bool)
    : conn_(std::move(conn)) {
  QString sql = sqlText.trimmed();
  while (sql.endsWith(QLatin1Char(';'))) sql.chop(1);
  auto m = PlainSelect().match(sql);
  QString table;
  if (m.hasMatch()) {
    table = m.captured(1);
    if (table.startsWith(QLatin1Char('[')) || table.startsWith(QLatin1Char('"'))) table = table.mid(1, table.size() - 2);
    if (!conn_->hasTable(table)) table.clear();
  }
  if (!table.isEmpty()) {
    // Keyset: the row ids in the query's order; rows are read when visited.
    type = Recordset::Type::Dynaset;
    schema_ = conn_->schema(table);
    initFromSchema();
    QString rest = m.captured(2).trimmed();
    if (OrderBy().match(rest).hasMatch())
      keys_ = std::make_shared<std::vector<qint64>>(
          ReadRowIds(*conn_, "SELECT rowid FROM " + schema_->quotedName + ' ' + rest.toUtf8() + ", rowid",
                     RowIdSpan(*conn_, *schema_)));
    else
      keys_ = std::make_shared<std::vector<qint64>>(RowIdsInInsertionOrder(*conn_, *schema_, rest.toUtf8()));
  } else {
    // Snapshot: anything else is read at once and stays read-only.
    type = Recordset::Type::Snapshot;
    CachedStatement s(sql.toUtf8());
    StatementUse use(s.get(*conn_));
    int columns = sqlite3_column_count(use.get());
    for (int i = 0; i < columns; ++i) {
      names_ << QString::fromUtf8(sqlite3_column_name(use.get(), i));
      const char* declared = sqlite3_column_decltype(use.get(), i);
      types_.push_back(FieldTypeFromDeclared(QString::fromUtf8(declared ? declared : ""), nullptr));
      nameLookup_.insert(names_.back(), i);
    }
    int rc;
    while ((rc = sqlite3_step(use.get())) == SQLITE_ROW) {
      std::vector<FieldValue> row;
      row.reserve(columns);
      for (int i = 0; i < columns; ++i) row.push_back(ColumnValue(use.get(), i, types_[i]));
      rows_.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE) conn_->fail(rc);
  }
  if (recordCount() > 0) {
    pos_ = 0;
    afterKeysetMove();
  } else {
    where_ = Where::Eof;
  }
}

void RecordsetState::initFromSchema() {
  table_ = schema_->name;
  for (const Field& f : schema_->fields) {
    nameLookup_.insert(f.name, static_cast<int>(names_.size()));
    names_ << f.name;
    types_.push_back(f.type);
  }
  const QByteArray& t = schema_->quotedName;
  fetch_.setSql("SELECT * FROM " + t + " WHERE rowid=?1");
  delete_.setSql("DELETE FROM " + t + " WHERE rowid=?1");
  QByteArray cols, params;
  for (size_t i = 0; i < schema_->quotedFields.size(); ++i) {
    if (i) {
      cols += ',';
      params += ',';
    }
    cols += schema_->quotedFields[i];
    params += '?' + QByteArray::number(static_cast<int>(i) + 1);
  }
  insert_.setSql("INSERT INTO " + t + " (" + cols + ") VALUES (" + params + ")");
}

void RecordsetState::close() {
  if (!open) return;
  open = false;
  edit_ = Edit::None;
  buffer_.clear();
  row_.clear();
  rowAscii_.clear();
  rowBytes_.clear();
  for (CachedStatement* s : {&first_, &last_, &next_, &nextGreaterKey_, &nextNullKey_, &firstNonNull_, &fetch_, &count_, &insert_,
                             &delete_, &seekStmt_, &aheadStmt_})
    s->finalize();
  lastUpdate_ = nullptr;
  updates_.clear();
  keys_ = std::make_shared<std::vector<qint64>>();
  rows_.clear();
}

void RecordsetState::commit() { conn_->commit(); }

int RecordsetState::fieldIndex(const QString& name) const {
  auto it = nameLookup_.constFind(name);
  if (it != nameLookup_.constEnd()) return it.value();
  for (int i = 0; i < names_.size(); ++i)
    if (names_[i].compare(name, Qt::CaseInsensitive) == 0) return i;
  return -1;
}

int RecordsetState::checkedField(const QString& name) const {
  int i = fieldIndex(name);
  if (i < 0) ThrowDbError(kDbErrItemNotFound, QStringLiteral("Feld '%1' in dieser Auflistung nicht gefunden.").arg(name));
  return i;
}

int RecordsetState::resolve(const QString& name, std::vector<int>& next, int& last) const {
  if (next.size() != static_cast<size_t>(names_.size()) + 1) next.assign(names_.size() + 1, -1);
  int& expected = next[static_cast<size_t>(last + 1)];
  int i;
  if (expected >= 0 && names_[expected] == name) {
    i = expected;
  } else {
    i = checkedField(name);
    // Only an exact name is remembered: it is the one lookup that the name
    // comparison above repeats exactly.
    if (names_[i] == name) expected = i;
  }
  last = i;
  return i;
}

void RecordsetState::checkPosition(int i) const {
  if (i < 0 || i >= fieldCount())
    ThrowDbError(kDbErrItemNotFound, QStringLiteral("Feld Nr. %1 in dieser Auflistung nicht gefunden.").arg(i));
}

void RecordsetState::requireCurrent() const {
  if (where_ != Where::Row) NoCurrentRecord();
}

void RecordsetState::requireTableType() const {
  if (type != Recordset::Type::Table) NotSupported();
}

void RecordsetState::requireEditable() const {
  if (type == Recordset::Type::Snapshot) NotSupported();
}

// ---- navigation ----

QByteArray RecordsetState::orderClause(bool descending) const {
  QByteArray dir = descending ? " DESC" : "";
  if (indexField_ < 0) return " ORDER BY rowid" + dir;
  return " ORDER BY " + schema_->quotedFields[indexField_] + dir + ", rowid" + dir;
}

void RecordsetState::landOn(qint64 rowId, const FieldValue& key) {
  where_ = Where::Row;
  rowId_ = rowId;
  key_ = key;
  rowLoaded_ = false;
}

bool RecordsetState::stepTo(CachedStatement& st, const FieldValue* key, qint64 rowId, bool bindKey, bool bindRow) {
  StatementUse use(st.get(*conn_));
  sqlite3_stmt* s = use.get();
  if (bindKey) {
    binder_.start(key->isText() ? key->text().size() : 0);
    binder_.bind(s, 1, *key);
  }
  if (bindRow) sqlite3_bind_int64(s, 2, rowId);
  int rc = sqlite3_step(s);
  if (rc == SQLITE_ROW) {
    landOn(RowIdOf(s), indexField_ >= 0 ? ColumnValue(s, 1, types_[indexField_]) : FieldValue());
    return true;
  }
  if (rc != SQLITE_DONE) conn_->fail(rc);
  return false;
}

void RecordsetState::afterKeysetMove() {
  if (pos_ < 0) {
    where_ = Where::Bof;
  } else if (pos_ >= static_cast<qint64>(type == Recordset::Type::Snapshot ? rows_.size() : keys_->size())) {
    where_ = Where::Eof;
  } else {
    where_ = Where::Row;
    rowId_ = type == Recordset::Type::Snapshot ? pos_ : (*keys_)[pos_];
    rowLoaded_ = false;
  }
}

void RecordsetState::moveToEnd(bool last) {
  edit_ = Edit::None;
  noMatch_ = false;
  if (type == Recordset::Type::Table) {
    if (!stepTo(last ? last_ : first_, nullptr, 0, false, false)) {
      where_ = Where::Eof;
      NoCurrentRecord();
    }
    return;
  }
  pos_ = last ? recordCount() - 1 : 0;
  afterKeysetMove();
  if (where_ != Where::Row) {
    where_ = Where::Eof;
    NoCurrentRecord();
  }
}

void RecordsetState::moveFirst() { moveToEnd(false); }

void RecordsetState::moveLast() { moveToEnd(true); }

void RecordsetState::moveNext() {
  if (where_ == Where::Eof || where_ == Where::Lost) NoCurrentRecord();
  edit_ = Edit::None;
  noMatch_ = false;
  if (type != Recordset::Type::Table) {
    if (where_ == Where::Bof) pos_ = 0;
    else if (where_ != Where::Deleted) ++pos_;
    afterKeysetMove();
    return;
  }
  bool found;
  if (where_ == Where::Bof) {
    found = stepTo(first_, nullptr, 0, false, false);
  } else if (indexField_ < 0) {
    found = nextInInsertionOrder();
  } else if (key_.isNull()) {
    found = stepTo(nextNullKey_, nullptr, rowId_, false, true) || stepTo(firstNonNull_, nullptr, 0, false, false);
  } else {
    FieldValue key = key_;
    found = stepTo(next_, &key, rowId_, true, true) || stepTo(nextGreaterKey_, &key, 0, true, false);
  }
  if (!found) where_ = Where::Eof;
}

bool RecordsetState::nextInInsertionOrder() {
  constexpr int kAhead = 512;
  bool valid = aheadAfter_ == rowId_ && aheadGeneration_ == conn_->changeGeneration();
  if (!valid || aheadPos_ >= ahead_.size()) {
    if (aheadStmt_.sql().isEmpty())
      aheadStmt_.setSql("SELECT rowid FROM " + schema_->quotedName + " WHERE rowid>?1 ORDER BY rowid LIMIT " +
                        QByteArray::number(kAhead));
    ahead_.clear();
    aheadPos_ = 0;
    StatementUse use(aheadStmt_.get(*conn_));
    sqlite3_bind_int64(use.get(), 1, rowId_);
    int rc;
    while ((rc = sqlite3_step(use.get())) == SQLITE_ROW) ahead_.push_back(RowIdOf(use.get()));
    if (rc != SQLITE_DONE) conn_->fail(rc);
    aheadGeneration_ = conn_->changeGeneration();
  }
  if (ahead_.empty() || aheadPos_ >= ahead_.size()) {
    aheadAfter_ = -1;
    return false;
  }
  landOn(ahead_[aheadPos_++], FieldValue());
  aheadAfter_ = rowId_;
  return true;
}

qint64 RecordsetState::recordCount() {
  if (type == Recordset::Type::Snapshot) return static_cast<qint64>(rows_.size());
  if (type == Recordset::Type::Dynaset) return static_cast<qint64>(keys_->size());
  StatementUse use(count_.get(*conn_));
  int rc = sqlite3_step(use.get());
  if (rc != SQLITE_ROW) conn_->fail(rc);
  return sqlite3_column_int64(use.get(), 0);
}

void RecordsetState::setIndex(const QString& indexName) {
  requireTableType();
  int pos = -1;
  if (!indexName.isEmpty()) {
    pos = schema_->indexByName(indexName);
    if (pos < 0)
      ThrowDbError(kDbErrNotAnIndex, QStringLiteral("'%1' ist kein Index in dieser Tabelle.").arg(indexName));
  }
  edit_ = Edit::None;
  noMatch_ = false;
  indexPos_ = pos;
  indexField_ = pos < 0 ? -1 : schema_->fieldIndex(schema_->indexes[pos].field);
  const QByteArray& t = schema_->quotedName;
  if (indexField_ < 0) {
    first_.setSql("SELECT rowid FROM " + t + orderClause(false) + " LIMIT 1");
    last_.setSql("SELECT rowid FROM " + t + orderClause(true) + " LIMIT 1");
    next_.setSql("SELECT rowid FROM " + t + " WHERE rowid>?2" + orderClause(false) + " LIMIT 1");
  } else {
    const QByteArray& c = schema_->quotedFields[indexField_];
    QByteArray select = "SELECT rowid, " + c + " FROM " + t;
    first_.setSql(select + orderClause(false) + " LIMIT 1");
    last_.setSql(select + orderClause(true) + " LIMIT 1");
    // The next row is the next one of the same key or else the first of the
    // next key; asked in two steps, each is a direct index lookup (a row-value
    // comparison would scan all rows of an often repeated key every time).
    next_.setSql(select + " WHERE " + c + "=?1 AND rowid>?2 ORDER BY rowid LIMIT 1");
    nextGreaterKey_.setSql(select + " WHERE " + c + ">?1" + orderClause(false) + " LIMIT 1");
    nextNullKey_.setSql(select + " WHERE " + c + " IS NULL AND rowid>?2 ORDER BY rowid LIMIT 1");
    firstNonNull_.setSql(select + " WHERE " + c + " IS NOT NULL" + orderClause(false) + " LIMIT 1");
  }
  // A new order starts at its first row.
  if (!stepTo(first_, nullptr, 0, false, false)) where_ = Where::Eof;
}

QString RecordsetState::index() const {
  return indexPos_ < 0 ? QString() : schema_->indexes[indexPos_].name;
}

void RecordsetState::seek(const QString& comparison, const FieldValue& key) {
  requireTableType();
  if (indexPos_ < 0) ThrowDbError(kDbErrNoIndex, QStringLiteral("Die Operation ist ohne aktuellen Index ungültig."));
  edit_ = Edit::None;
  QString op = comparison.trimmed();
  bool descending = op == QLatin1String("<") || op == QLatin1String("<=");
  if (!descending && op != QLatin1String("=") && op != QLatin1String(">=") && op != QLatin1String(">"))
    ThrowDbError(kDbErrInvalidArgument, QStringLiteral("Ungültiges Argument: '%1'.").arg(comparison));
  noMatch_ = true;
  where_ = Where::Lost;
  if (key.isNull()) return;
  FieldValue converted;
  try {
    converted = ConvertForField(types_[indexField_], key);
  } catch (const OrvenilError&) {
    ThrowDbError(kDbErrCriteriaMismatch, QStringLiteral("Datentypen im Kriterienausdruck unverträglich."));
  }
  const QByteArray& c = schema_->quotedFields[indexField_];
  seekStmt_.setSql("SELECT rowid, " + c + " FROM " + schema_->quotedName + " WHERE " + c + ' ' + op.toLatin1() +
                   " ?1" + orderClause(descending) + " LIMIT 1");
  if (stepTo(seekStmt_, &converted, 0, true, false)) noMatch_ = false;
  else where_ = Where::Lost;
}

// ---- values and editing ----

void RecordsetState::loadRow() {
  if (rowLoaded_) return;
  if (type == Recordset::Type::Snapshot) {
    row_ = rows_[pos_];
    rowAscii_.assign(row_.size(), AsciiBytes{-1, 0});
  } else {
    StatementUse use(fetch_.get(*conn_));
    sqlite3_stmt* s = use.get();
    sqlite3_bind_int64(s, 1, rowId_);
    int rc = sqlite3_step(s);
    if (rc == SQLITE_DONE) {
      where_ = Where::Deleted;  // removed behind this recordset's back
      NoCurrentRecord();
    }
    if (rc != SQLITE_ROW) conn_->fail(rc);
    const int n = fieldCount();
    row_.resize(n);
    rowAscii_.resize(n);
    rowBytes_.clear();
    for (int i = 0; i < n; ++i) {
      const char* bytes = nullptr;
      int size = 0;
      if (AsciiTextColumn(s, i, bytes, size)) {
        // Kept as bytes until asked for: a walk that reads a few fields makes no text of the others.
        rowAscii_[i] = {static_cast<qint64>(rowBytes_.size()), size};
        rowBytes_.insert(rowBytes_.end(), bytes, bytes + size);
        row_[i] = FieldValue();
      } else {
        rowAscii_[i] = {-1, 0};
        row_[i] = ColumnValue(s, i, types_[i]);
      }
    }
  }
  rowLoaded_ = true;
}

const FieldValue& RecordsetState::rowValue(int i) {
  auto& ascii = rowAscii_[i];
  if (ascii.offset >= 0) {
    // An empty text reads as the empty (not the null) string, as SQLite's own text does.
    row_[i] = FieldValue(QString::fromLatin1(ascii.size ? rowBytes_.data() + ascii.offset : "", ascii.size));
    ascii.offset = -1;
  }
  return row_[i];
}

FieldValue RecordsetState::value(int i) {
  checkPosition(i);
  if (edit_ != Edit::None) {
    if (dirty_[i] || edit_ == Edit::AddNew) return buffer_[i];
  }
  requireCurrent();
  loadRow();
  return rowValue(i);
}

void RecordsetState::clearBuffer() {
  const size_t n = static_cast<size_t>(fieldCount());
  if (buffer_.size() != n || dirty_.size() != n) {
    buffer_.assign(n, FieldValue());
    dirty_.assign(n, 0);
    return;
  }
  // Only the fields set since the last clearing hold values.
  for (size_t i = 0; i < n; ++i)
    if (dirty_[i]) {
      buffer_[i] = FieldValue();
      dirty_[i] = 0;
    }
}

void RecordsetState::addNew() {
  requireEditable();
  edit_ = Edit::AddNew;
  clearBuffer();
}

void RecordsetState::edit() {
  requireEditable();
  requireCurrent();
  edit_ = Edit::Edit;
  clearBuffer();
}

void RecordsetState::setValue(int i, FieldValue v) {
  checkPosition(i);
  if (edit_ == Edit::None)
    ThrowDbError(kDbErrUpdateWithoutEdit, QStringLiteral("Update oder CancelUpdate ohne AddNew oder Edit."));
  const int type = types_[i];
  if (v.isText() && (type == dbText || type == dbMemo)) buffer_[i] = std::move(v);  // a text stays as it is
  else buffer_[i] = ConvertForField(type, v);
  dirty_[i] = 1;
}

void RecordsetState::cancelUpdate() { edit_ = Edit::None; }

void RecordsetState::update() {
  if (edit_ == Edit::None)
    ThrowDbError(kDbErrUpdateWithoutEdit, QStringLiteral("Update oder CancelUpdate ohne AddNew oder Edit."));
  Edit mode = edit_;
  edit_ = Edit::None;  // whatever happens below, the buffer is used up
  // A stored row has its key already; only a new row or a changed key can lack it.
  for (int f : schema_->primaryFields) {
    bool isNull = dirty_[f] ? buffer_[f].isNull() : mode == Edit::AddNew;
    if (isNull)
      ThrowDbError(kDbErrNullInIndex, QStringLiteral("Index oder Primärschlüssel kann keinen Nullwert enthalten."));
  }
  const int n = fieldCount();
  qsizetype textUnits = 0;
  for (int i = 0; i < n; ++i)
    if (dirty_[i] && buffer_[i].isText()) textUnits += buffer_[i].text().size();
  binder_.start(textUnits);
  if (mode == Edit::AddNew) {
    conn_->beginWrite();
    StatementUse use(insert_.get(*conn_));
    sqlite3_stmt* s = use.get();
    for (int i = 0; i < n; ++i)
      if (dirty_[i]) binder_.bind(s, i + 1, buffer_[i]);
    int rc = sqlite3_step(s);
    if (rc != SQLITE_DONE) conn_->fail(rc);
    lastModified_ = sqlite3_last_insert_rowid(conn_->handle());
    conn_->noteStructuralChange();
    if (type == Recordset::Type::Dynaset) ownKeys().push_back(lastModified_);
    conn_->rowWritten();
    return;
  }
  int changed = 0;
  bool keyChanged = false;
  for (int i = 0; i < n; ++i)
    if (dirty_[i]) {
      ++changed;
      if (schema_->indexed[i]) keyChanged = true;
    }
  if (changed == 0) return;
  // A walk that changes the same fields in every row uses one statement.
  const bool sameFields = lastUpdate_ && updateMask_.size() == dirty_.size() &&
                          std::memcmp(updateMask_.data(), dirty_.data(), dirty_.size()) == 0;
  if (!sameFields) {
    updateMask_.assign(dirty_.begin(), dirty_.end());
    auto it = updates_.find(updateMask_);
    if (it == updates_.end()) {
      QByteArray sql = "UPDATE " + schema_->quotedName + " SET ";
      int param = 0;
      for (int i = 0; i < n; ++i)
        if (dirty_[i]) {
          if (param) sql += ',';
          sql += schema_->quotedFields[i] + "=?" + QByteArray::number(++param);
        }
      sql += " WHERE rowid=?" + QByteArray::number(param + 1);
      it = updates_.emplace(updateMask_, CachedStatement(sql)).first;
    }
    lastUpdate_ = &it->second;
  }
  conn_->beginWrite();
  StatementUse use(lastUpdate_->get(*conn_));
  sqlite3_stmt* s = use.get();
  int param = 0;
  for (int i = 0; i < n; ++i)
    if (dirty_[i]) binder_.bind(s, ++param, buffer_[i]);
  sqlite3_bind_int64(s, param + 1, rowId_);
  int rc = sqlite3_step(s);
  if (rc != SQLITE_DONE) conn_->fail(rc);
  if (sqlite3_changes(conn_->handle()) == 0) {
    where_ = Where::Deleted;  // removed behind this recordset's back
    NoCurrentRecord();
  }
  lastModified_ = rowId_;
  if (rowLoaded_)
    for (int i = 0; i < n; ++i)
      if (dirty_[i]) {
        row_[i] = buffer_[i];
        rowAscii_[i].offset = -1;
      }
  if (keyChanged) {
    conn_->noteStructuralChange();
    if (indexField_ >= 0 && dirty_[indexField_]) key_ = buffer_[indexField_];
  }
  conn_->rowWritten();
}

void RecordsetState::deleteCurrent() {
  requireEditable();
  requireCurrent();
  edit_ = Edit::None;
  conn_->beginWrite();
  StatementUse use(delete_.get(*conn_));
  sqlite3_bind_int64(use.get(), 1, rowId_);
  int rc = sqlite3_step(use.get());
  if (rc != SQLITE_DONE) conn_->fail(rc);
  where_ = Where::Deleted;
  rowLoaded_ = false;
  if (type == Recordset::Type::Dynaset) ownKeys().erase(ownKeys().begin() + pos_);
  conn_->noteStructuralChange();
  conn_->rowWritten();
}

// ---- row ids ----

qint64 RecordsetState::bookmark() const {
  requireCurrent();
  return rowId_;
}

void RecordsetState::setBookmark(qint64 rowId) {
  edit_ = Edit::None;
  auto invalid = [] { ThrowDbError(kDbErrInvalidBookmark, QStringLiteral("Keine gültige Textmarke.")); };
  if (type == Recordset::Type::Table) {
    StatementUse use(fetch_.get(*conn_));
    sqlite3_bind_int64(use.get(), 1, rowId);
    int rc = sqlite3_step(use.get());
    if (rc != SQLITE_ROW) invalid();
    landOn(rowId, indexField_ >= 0 ? ColumnValue(use.get(), indexField_, types_[indexField_]) : FieldValue());
    return;
  }
  qint64 count = recordCount();
  for (qint64 i = 0; i < count; ++i)
    if ((type == Recordset::Type::Snapshot ? i : (*keys_)[i]) == rowId) {
      pos_ = i;
      afterKeysetMove();
      return;
    }
  invalid();
}

std::vector<qint64>& RecordsetState::ownKeys() {
  // Ids handed out stay as they were when this recordset adds or deletes rows.
  if (keys_.use_count() > 1) keys_ = std::make_shared<std::vector<qint64>>(*keys_);
  return *keys_;
}

std::shared_ptr<const std::vector<qint64>> RecordsetState::sharedRowIds() {
  if (type == Recordset::Type::Dynaset) return keys_;
  return std::make_shared<const std::vector<qint64>>(orderedRowIds());
}

std::vector<qint64> RecordsetState::orderedRowIds() {
  if (type == Recordset::Type::Dynaset) return *keys_;
  std::vector<qint64> ids;
  if (type == Recordset::Type::Snapshot) {
    ids.reserve(rows_.size());
    for (size_t i = 0; i < rows_.size(); ++i) ids.push_back(static_cast<qint64>(i));
    return ids;
  }
  if (indexField_ < 0) return RowIdsInInsertionOrder(*conn_, *schema_, QByteArray());
  return ReadRowIds(*conn_, "SELECT rowid FROM " + schema_->quotedName + orderClause(false));
}

std::vector<FieldValue> RecordsetState::rowValues(qint64 rowId) {
  if (type == Recordset::Type::Snapshot) {
    if (rowId < 0 || rowId >= static_cast<qint64>(rows_.size())) return {};
    return rows_[rowId];
  }
  StatementUse use(fetch_.get(*conn_));
  sqlite3_stmt* s = use.get();
  sqlite3_bind_int64(s, 1, rowId);
  int rc = sqlite3_step(s);
  if (rc == SQLITE_DONE) return {};
  if (rc != SQLITE_ROW) conn_->fail(rc);
  std::vector<FieldValue> values(fieldCount());
  for (int i = 0; i < fieldCount(); ++i) values[i] = ColumnValue(s, i, types_[i]);
  return values;
}

}  // namespace orv
