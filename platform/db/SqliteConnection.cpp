#include "platform/db/SqliteConnection.h"

#include <sqlite3.h>

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <sys/stat.h>

#include "foundation/FileErrorReason.h"
#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "platform/db/FieldType.h"
#include "platform/db/LostCommitReport.h"

namespace orv {

namespace {

// Rows stored between two commits of the lazy transaction.
constexpr int kRowsPerCommit = 200000;

// Never destroyed: databases held in static variables are closed during the
// program's exit, possibly after this registry's own destructor would have run.
QHash<QString, std::weak_ptr<SqliteConnection>>& Registry() {
  static auto* registry = new QHash<QString, std::weak_ptr<SqliteConnection>>();
  return *registry;
}

QString RegistryKey(const QString& path) {
  QFileInfo info(path);
  QString canonical = info.canonicalFilePath();
  return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

bool IsTemporaryDatabase(const QString& path) {
  return QFileInfo(path).fileName().startsWith(QStringLiteral("tmp_dao_orvenil"), Qt::CaseInsensitive);
}

const QString kIndexPrefix = QStringLiteral("orvidx:");

}  // namespace

[[noreturn]] void ThrowDbError(int number, const QString& description) {
  throw OrvenilError(number, description);
}

void ThrowIfHeldByAnotherProgram(int rc, const QString& path) {
  if ((rc & 0xff) != SQLITE_BUSY && (rc & 0xff) != SQLITE_LOCKED) return;
  // The program's own temporary databases are its work databases.
  ThrowDbError(kDbErrInUse, (IsTemporaryDatabase(path) ? QStringLiteral("Die Arbeitsdatenbank '")
                                                       : QStringLiteral("Die Datenbank '")) +
                                path + QStringLiteral("' wird von einem anderen Programm benutzt."));
}

// ---- TableSchema ----

int TableSchema::fieldIndex(const QString& fieldName) const {
  auto it = fieldByName.constFind(fieldName);
  if (it != fieldByName.constEnd()) return it.value();
  for (size_t i = 0; i < fields.size(); ++i)
    if (fields[i].name.compare(fieldName, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
  return -1;
}

int TableSchema::requireField(const QString& fieldName) const {
  const int f = fieldIndex(fieldName);
  if (f < 0)
    ThrowDbError(kDbErrItemNotFound, QStringLiteral("Feld '%1' in dieser Auflistung nicht gefunden.").arg(fieldName));
  return f;
}

int TableSchema::indexByName(const QString& indexName) const {
  for (size_t i = 0; i < indexes.size(); ++i)
    if (indexes[i].name.compare(indexName, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
  return -1;
}

// ---- CachedStatement ----

CachedStatement::~CachedStatement() { finalize(); }

CachedStatement::CachedStatement(CachedStatement&& other) noexcept
    : sql_(std::move(other.sql_)), stmt_(other.stmt_), epoch_(other.epoch_) {
  other.stmt_ = nullptr;
}

CachedStatement& CachedStatement::operator=(CachedStatement&& other) noexcept {
  if (this != &other) {
    finalize();
    sql_ = std::move(other.sql_);
    stmt_ = other.stmt_;
    epoch_ = other.epoch_;
    other.stmt_ = nullptr;
  }
  return *this;
}

void CachedStatement::setSql(QByteArray sql) {
  if (sql == sql_) return;
  finalize();
  sql_ = std::move(sql);
}

void CachedStatement::finalize() {
  if (stmt_) sqlite3_finalize(stmt_);
  stmt_ = nullptr;
}

sqlite3_stmt* CachedStatement::get(SqliteConnection& conn) {
  if (stmt_ && epoch_ != conn.epoch()) finalize();
  if (!stmt_) {
    int rc = sqlite3_prepare_v3(conn.handle(), sql_.constData(), static_cast<int>(sql_.size()),
                                SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr);
    if (rc != SQLITE_OK) {
      stmt_ = nullptr;
      conn.fail(rc);
    }
    epoch_ = conn.epoch();
  }
  return stmt_;
}

StatementUse::~StatementUse() {
  if (s_) {
    sqlite3_reset(s_);
    sqlite3_clear_bindings(s_);
  }
}

// ---- SqliteConnection ----

std::shared_ptr<SqliteConnection> SqliteConnection::registered(const QString& path) {
  return Registry().value(RegistryKey(path)).lock();
}

std::shared_ptr<SqliteConnection> SqliteConnection::find(const QString& path) {
  // A file deleted and made anew under the same name is another file: the
  // connection to the old one must not serve it.
  auto live = registered(path);
  return live && live->stillAtPath() ? live : nullptr;
}

std::shared_ptr<SqliteConnection> SqliteConnection::open(const QString& path, bool create) {
  QFileInfo info(path);
  if (create) {
    if (info.exists())
      ThrowDbError(kDbErrDatabaseExists, QStringLiteral("Datenbank '%1' ist bereits vorhanden.").arg(path));
  } else {
    if (!info.isFile())
      ThrowDbError(kDbErrFileNotFound, QStringLiteral("Datei '%1' nicht gefunden.").arg(path));
    if (auto live = find(path)) return live;
  }
  std::shared_ptr<SqliteConnection> conn(new SqliteConnection());
  conn->path_ = path;
  conn->openHandle(create);
  conn->key_ = RegistryKey(path);
  Registry().insert(conn->key_, conn);
  return conn;
}

void SqliteConnection::openHandle(bool create) {
  int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
  QByteArray file = path_.toUtf8();
  int rc = sqlite3_open_v2(file.constData(), &db_, flags, nullptr);
  if (rc != SQLITE_OK) {
    QString message = db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QString();
    sqlite3_close_v2(db_);
    db_ = nullptr;
    ThrowDbError(kDbErrFileNotFound,
                 QStringLiteral("Datei '%1' kann nicht geöffnet werden (%2).").arg(path_, message));
  }
  sqlite3_extended_result_codes(db_, 1);
  struct stat st {};
  if (::stat(QFile::encodeName(path_).constData(), &st) == 0) {
    device_ = st.st_dev;
    inode_ = st.st_ino;
  }
  try {
    applySettings();
  } catch (...) {
    sqlite3_close_v2(db_);
    db_ = nullptr;
    throw;
  }
}

void SqliteConnection::applySettings() {
  // Reading the schema proves that the file is a database at all.
  int rc = sqlite3_exec(db_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) fail(rc);
  sqlite3_busy_timeout(db_, 5000);
  exec("PRAGMA cache_size=-65536");
  if (IsTemporaryDatabase(path_)) {
    exec("PRAGMA synchronous=OFF");
    // A run is one transaction over every row of a job: the copy of each
    // page it changes, which undoes the run, goes to a journal file beside
    // the database, not into memory (a 2,000,000-point job would hold a
    // gigabyte of them).
    exec("PRAGMA journal_mode=DELETE");
  }
}

SqliteConnection::~SqliteConnection() {
  if (db_) {
    try {
      commit();
    } catch (const std::exception& e) {
      NoteLostCommit(path_, e);
    }
    sqlite3_close_v2(db_);
  }
  auto& registry = Registry();
  auto it = registry.find(key_);
  if (it != registry.end() && it.value().expired()) registry.erase(it);
}

bool SqliteConnection::stillAtPath() const {
  struct stat st {};
  if (::stat(QFile::encodeName(path_).constData(), &st) != 0) return false;
  return st.st_dev == device_ && st.st_ino == inode_;
}

void SqliteConnection::exec(const QByteArray& sql) {
  char* error = nullptr;
  int rc = sqlite3_exec(db_, sql.constData(), nullptr, nullptr, &error);
  if (error) sqlite3_free(error);
  if (rc != SQLITE_OK) fail(rc);
}

sqlite3_stmt* SqliteConnection::prepareLasting(const QByteArray& sql) {
  sqlite3_stmt* stmt = nullptr;
  const int rc = sqlite3_prepare_v3(db_, sql.constData(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT,
                                    &stmt, nullptr);
  if (rc != SQLITE_OK) {
    sqlite3_finalize(stmt);
    fail(rc);
  }
  return stmt;
}

void SqliteConnection::beginWrite() {
  if (sqlite3_get_autocommit(db_)) exec("BEGIN");
}

void SqliteConnection::rowWritten() {
  if (++pendingRows_ >= kRowsPerCommit && holds_ == 0) commit();
}

void SqliteConnection::commit() {
  pendingRows_ = 0;
  if (db_ && !sqlite3_get_autocommit(db_)) exec("COMMIT");
}

void SqliteConnection::rollback() {
  pendingRows_ = 0;
  if (db_ && !sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

void SqliteConnection::reopen() {
  commit();
  sqlite3_close_v2(db_);
  db_ = nullptr;
  openHandle(false);
  ++epoch_;
  ++changes_;
  schemas_.clear();
}

void SqliteConnection::fail(int rc, const QString& context) const {
  QString message = db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QString::fromUtf8(sqlite3_errstr(rc));
  if (!context.isEmpty()) message = context + QStringLiteral(": ") + message;
  ThrowIfHeldByAnotherProgram(rc, path_);
  switch (rc) {
    case SQLITE_CONSTRAINT_UNIQUE:
    case SQLITE_CONSTRAINT_PRIMARYKEY:
      ThrowDbError(kDbErrDuplicateKey,
                   QStringLiteral("Die Änderungen an der Tabelle konnten nicht vorgenommen werden, da der "
                                  "Index oder Primärschlüssel mehrfach vorkommende Werte enthalten würde."));
    case SQLITE_NOTADB:
      ThrowDbError(kDbErrNotADatabase, QStringLiteral("Nicht erkanntes Datenbankformat '%1'.").arg(path_));
    case SQLITE_CANTOPEN:
      ThrowDbError(kDbErrFileNotFound, QStringLiteral("Datei '%1' kann nicht geöffnet werden.").arg(path_));
    case SQLITE_FULL:
      ThrowDbError(kErrDiskFull, FullFolderText(QFileInfo(path_).absolutePath()));
    default:
      break;
  }
  if ((rc & 0xff) == SQLITE_ERROR) {
    if (message.contains(QStringLiteral("no such table")) || message.contains(QStringLiteral("no such column")))
      ThrowDbError(kDbErrItemNotFound, message);
    if (message.contains(QStringLiteral("syntax error")))
      ThrowDbError(kDbErrSyntax, QStringLiteral("Syntaxfehler in der Abfrage: ") + message);
  }
  ThrowDbError(kDbErrGeneral, QStringLiteral("Datenbankfehler: ") + message);
}

bool SqliteConnection::hasTable(const QString& table) {
  if (schemas_.contains(table.toLower())) return true;
  CachedStatement s("SELECT 1 FROM sqlite_master WHERE type='table' AND name=?1 COLLATE NOCASE");
  StatementUse use(s.get(*this));
  QByteArray name = table.toUtf8();
  sqlite3_bind_text(use.get(), 1, name.constData(), static_cast<int>(name.size()), SQLITE_STATIC);
  return sqlite3_step(use.get()) == SQLITE_ROW;
}

QStringList SqliteConnection::tableNames() {
  QStringList names;
  CachedStatement s(
      "SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' "
      "ORDER BY rowid");
  StatementUse use(s.get(*this));
  int rc;
  while ((rc = sqlite3_step(use.get())) == SQLITE_ROW)
    names << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(use.get(), 0)));
  if (rc != SQLITE_DONE) fail(rc);
  return names;
}

std::shared_ptr<const TableSchema> SqliteConnection::schema(const QString& table) {
  QString key = table.toLower();
  auto it = schemas_.constFind(key);
  if (it != schemas_.constEnd()) return it.value();
  auto loaded = loadSchema(table);
  schemas_.insert(key, loaded);
  return loaded;
}

std::shared_ptr<TableSchema> SqliteConnection::loadSchema(const QString& table) {
  auto schema = std::make_shared<TableSchema>();
  {
    CachedStatement s("SELECT name FROM sqlite_master WHERE type='table' AND name=?1 COLLATE NOCASE");
    StatementUse use(s.get(*this));
    QByteArray name = table.toUtf8();
    sqlite3_bind_text(use.get(), 1, name.constData(), static_cast<int>(name.size()), SQLITE_STATIC);
    if (sqlite3_step(use.get()) != SQLITE_ROW)
      ThrowDbError(kDbErrItemNotFound, QStringLiteral("Tabelle '%1' nicht gefunden.").arg(table));
    schema->name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(use.get(), 0)));
  }
  schema->quotedName = QuoteIdentifier(schema->name);
  {
    CachedStatement s("PRAGMA table_info(" + schema->quotedName + ")");
    StatementUse use(s.get(*this));
    while (sqlite3_step(use.get()) == SQLITE_ROW) {
      Field f;
      f.name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(use.get(), 1)));
      const char* declared = reinterpret_cast<const char*>(sqlite3_column_text(use.get(), 2));
      f.type = FieldTypeFromDeclared(QString::fromUtf8(declared ? declared : ""), &f.size);
      f.allowZeroLength = true;
      schema->fieldByName.insert(f.name, static_cast<int>(schema->fields.size()));
      schema->quotedFields.push_back(QuoteIdentifier(f.name));
      schema->fields.push_back(f);
    }
  }
  schema->indexed.assign(schema->fields.size(), 0);
  {
    CachedStatement s("PRAGMA index_list(" + schema->quotedName + ")");
    StatementUse use(s.get(*this));
    std::vector<std::pair<QString, bool>> list;
    while (sqlite3_step(use.get()) == SQLITE_ROW)
      list.emplace_back(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(use.get(), 1))),
                        sqlite3_column_int(use.get(), 2) != 0);
    // index_list gives the newest first; keep creation order.
    for (auto it = list.rbegin(); it != list.rend(); ++it) {
      const QString& sqliteName = it->first;
      CachedStatement info("PRAGMA index_info(" + QuoteIdentifier(sqliteName) + ")");
      StatementUse infoUse(info.get(*this));
      QStringList columns;
      while (sqlite3_step(infoUse.get()) == SQLITE_ROW) {
        const unsigned char* c = sqlite3_column_text(infoUse.get(), 2);
        columns << (c ? QString::fromUtf8(reinterpret_cast<const char*>(c)) : QString());
      }
      if (columns.size() != 1 || columns[0].isEmpty()) continue;  // only one-field indexes are ours
      Index index;
      index.field = columns[0];
      index.unique = it->second;
      index.name = sqliteName;
      for (const char* flag : {"P", "U", "N"}) {
        QString prefix = kIndexPrefix + QLatin1String(flag) + QLatin1Char(':') + schema->name + QLatin1Char(':');
        if (sqliteName.startsWith(prefix)) {
          index.name = sqliteName.mid(prefix.size());
          index.primary = flag[0] == 'P';
          break;
        }
      }
      int fieldPos = schema->fieldIndex(index.field);
      if (fieldPos < 0) continue;
      schema->indexed[fieldPos] = 1;
      if (index.primary) schema->primaryFields.push_back(fieldPos);
      schema->indexes.push_back(index);
      schema->sqliteIndexNames.push_back(sqliteName);
    }
  }
  return schema;
}

// ---- helpers ----

QByteArray QuoteIdentifier(const QString& name) {
  QByteArray q = name.toUtf8();
  q.replace('"', "\"\"");
  return '"' + q + '"';
}

QByteArray ColumnDefinition(const Field& field) {
  QByteArray type;
  switch (field.type) {
    case dbLong: type = "INTEGER"; break;
    case dbSingle: type = "FLOAT"; break;
    case dbDouble: type = "DOUBLE"; break;
    case dbDate: type = "DATE REAL"; break;
    case dbMemo: type = "LONGTEXT COLLATE NOCASE"; break;
    default:
      type = field.size > 0 ? "TEXT(" + QByteArray::number(field.size) + ") COLLATE NOCASE"
                            : QByteArray("TEXT COLLATE NOCASE");
      break;
  }
  return QuoteIdentifier(field.name) + ' ' + type;
}

int FieldTypeFromDeclared(const QString& declared, int* size) {
  QString t = declared.trimmed().toUpper();
  if (size) {
    *size = 0;
    static const QRegularExpression sizeRe(QStringLiteral("\\((\\d+)\\)"));
    auto m = sizeRe.match(t);
    if (m.hasMatch()) *size = m.captured(1).toInt();
  }
  if (t.startsWith(QLatin1String("LONGTEXT")) || t.startsWith(QLatin1String("MEMO"))) return dbMemo;
  if (t.startsWith(QLatin1String("TEXT"))) return dbText;
  if (t == QLatin1String("INTEGER") || t.startsWith(QLatin1String("LONG"))) return dbLong;
  if (t.startsWith(QLatin1String("FLOAT")) || t.startsWith(QLatin1String("SINGLE"))) return dbSingle;
  if (t.startsWith(QLatin1String("DOUBLE"))) return dbDouble;
  if (t.startsWith(QLatin1String("DATE"))) return dbDate;
  // Files made by other tools: SQLite's affinity rules.
  if (t.contains(QLatin1String("INT"))) return dbLong;
  if (t.contains(QLatin1String("CHAR")) || t.contains(QLatin1String("CLOB")) || t.contains(QLatin1String("TEXT")))
    return dbText;
  if (t.contains(QLatin1String("REAL")) || t.contains(QLatin1String("FLOA")) || t.contains(QLatin1String("DOUB")))
    return dbDouble;
  return 0;  // no declared type: values come back as stored
}

QString SqliteIndexName(const QString& table, const QString& name, bool primary, bool unique) {
  QString flag = primary ? QStringLiteral("P") : unique ? QStringLiteral("U") : QStringLiteral("N");
  return kIndexPrefix + flag + QLatin1Char(':') + table + QLatin1Char(':') + name;
}

namespace {
[[noreturn]] void ConversionError() {
  ThrowDbError(kDbErrConversion, QStringLiteral("Datentypkonvertierungsfehler."));
}

double NumberForField(const FieldValue& value) {
  double x = 0;
  if (value.kind() == FieldValue::Kind::Long) {
    x = static_cast<double>(value.longValue());
  } else if (value.kind() == FieldValue::Kind::Double) {
    x = value.doubleValue();
  } else {
    try {
      x = ToDoubleStrict(value.text());
    } catch (const OrvenilError&) {
      ConversionError();
    }
  }
  if (!std::isfinite(x)) ConversionError();
  return x;
}
}  // namespace

FieldValue ConvertForField(int type, const FieldValue& value) {
  if (value.isNull()) return value;
  switch (type) {
    case dbText:
    case dbMemo:
      if (value.isText()) return value;
      if (value.kind() == FieldValue::Kind::Long) return FieldValue(QString::number(value.longValue()));
      return FieldValue(NumberText(value.doubleValue()));
    case dbLong: {
      if (value.kind() == FieldValue::Kind::Long) return value;
      double x = std::nearbyint(NumberForField(value));  // halves to even, as CLng does
      if (x < -2147483648.0 || x > 2147483647.0)
        ThrowDbError(kErrOverflow, QStringLiteral("Überlauf."));
      return FieldValue(static_cast<qint64>(x));
    }
    case dbSingle:
      return FieldValue(static_cast<double>(static_cast<float>(NumberForField(value))));
    case dbDouble:
    case dbDate:
      return FieldValue(NumberForField(value));
    default:
      return value;
  }
}

void BindValue(sqlite3_stmt* s, int position, const FieldValue& value) {
  switch (value.kind()) {
    case FieldValue::Kind::Null:
      sqlite3_bind_null(s, position);
      break;
    case FieldValue::Kind::Text: {
      const QString& t = value.text();
      // The value outlives the statement's step: callers bind from buffers that
      // stay untouched until the statement is reset.
      sqlite3_bind_text16(s, position, t.utf16(), static_cast<int>(t.size() * 2), SQLITE_STATIC);
      break;
    }
    case FieldValue::Kind::Long:
      sqlite3_bind_int64(s, position, value.longValue());
      break;
    case FieldValue::Kind::Double:
      sqlite3_bind_double(s, position, value.doubleValue());
      break;
  }
}

qsizetype EncodeUtf8(const char16_t* in, qsizetype n, char* out) {
  char* o = out;
  qsizetype i = 0;
  while (i < n) {
    // Runs of plain ASCII four units at a time.
    while (i + 4 <= n) {
      quint64 four;
      std::memcpy(&four, in + i, sizeof four);
      if (four & 0xFF80FF80FF80FF80ull) break;
      o[0] = static_cast<char>(in[i]);
      o[1] = static_cast<char>(in[i + 1]);
      o[2] = static_cast<char>(in[i + 2]);
      o[3] = static_cast<char>(in[i + 3]);
      o += 4;
      i += 4;
    }
    if (i >= n) break;
    const char16_t c = in[i++];
    if (c < 0x80) {
      *o++ = static_cast<char>(c);
    } else if (c < 0x800) {
      *o++ = static_cast<char>(0xC0 | (c >> 6));
      *o++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c >= 0xD800 && c < 0xE000) {
      return -1;
    } else {
      *o++ = static_cast<char>(0xE0 | (c >> 12));
      *o++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      *o++ = static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return o - out;
}

namespace {

bool IsAscii(const unsigned char* p, int n) {
  unsigned char any = 0;
  for (int i = 0; i < n; ++i) any |= p[i];
  return any < 0x80;
}

}  // namespace

void Utf8Binder::start(qsizetype units) {
  const size_t needed = static_cast<size_t>(units) * 3;
  // A very long text once must not keep its room for the recordset's life.
  constexpr size_t kKept = 1 << 20;
  if (bytes_.size() < needed) {
    bytes_.resize(std::max(needed, bytes_.size() * 2));
  } else if (bytes_.size() > kKept && needed <= kKept) {
    bytes_.resize(kKept);
    bytes_.shrink_to_fit();
  }
  used_ = 0;
}

void Utf8Binder::bind(sqlite3_stmt* s, int position, const FieldValue& value) {
  if (!value.isText()) {
    BindValue(s, position, value);
    return;
  }
  const QString& t = value.text();
  if (static_cast<size_t>(t.size()) * 3 > bytes_.size() - used_) {
    BindValue(s, position, value);  // start() was told too little; bind as before
    return;
  }
  char* out = bytes_.data() + used_;
  const qsizetype n = EncodeUtf8(reinterpret_cast<const char16_t*>(t.constData()), t.size(), out);
  if (n < 0) {
    BindValue(s, position, value);
    return;
  }
  used_ += static_cast<size_t>(n);
  // The empty text is a text, never Null (SQLite takes a null pointer for Null).
  sqlite3_bind_text(s, position, n ? out : "", static_cast<int>(n), SQLITE_STATIC);
}

bool AsciiTextColumn(sqlite3_stmt* s, int column, const char*& bytes, int& size) {
  if (sqlite3_column_type(s, column) != SQLITE_TEXT) return false;
  const unsigned char* p = sqlite3_column_text(s, column);
  size = sqlite3_column_bytes(s, column);
  if (!p || !IsAscii(p, size)) return false;
  bytes = reinterpret_cast<const char*>(p);
  return true;
}

FieldValue ColumnValue(sqlite3_stmt* s, int column, int type) {
  int stored = sqlite3_column_type(s, column);
  if (stored == SQLITE_NULL) return FieldValue();
  auto asText = [&]() {
    // Plain ASCII as stored needs no decoding; anything else is decoded by
    // SQLite itself, as it always was.
    const char* ascii = nullptr;
    int size = 0;
    if (stored == SQLITE_TEXT && AsciiTextColumn(s, column, ascii, size)) return QString::fromLatin1(ascii, size);
    const void* p = sqlite3_column_text16(s, column);
    int bytes = sqlite3_column_bytes16(s, column);
    return QString(reinterpret_cast<const QChar*>(p), bytes / 2);
  };
  switch (type) {
    case dbText:
    case dbMemo:
      return FieldValue(asText());
    case dbLong:
      if (stored == SQLITE_INTEGER) return FieldValue(static_cast<qint64>(sqlite3_column_int64(s, column)));
      break;
    case dbSingle:
    case dbDouble:
    case dbDate:
      if (stored == SQLITE_INTEGER || stored == SQLITE_FLOAT) return FieldValue(sqlite3_column_double(s, column));
      break;
    default:
      break;
  }
  switch (stored) {
    case SQLITE_INTEGER: return FieldValue(static_cast<qint64>(sqlite3_column_int64(s, column)));
    case SQLITE_FLOAT: return FieldValue(sqlite3_column_double(s, column));
    default: return FieldValue(asText());
  }
}

}  // namespace orv
