#pragma once
// Internal to the database layer: one shared SQLite connection per file, its
// lazy write transaction, the cached table schemas and the prepared
// statements that survive a reopening of the file.
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "platform/db/FieldValue.h"
#include "platform/db/TableDef.h"

struct sqlite3;
struct sqlite3_stmt;

namespace orv {

class SqliteConnection;

// What the layer knows of one table: its fields in creation order with their
// type codes, its indexes under the program's names, and the quoted SQL names.
struct TableSchema {
  QString name;
  QByteArray quotedName;
  std::vector<Field> fields;
  std::vector<Index> indexes;
  std::vector<QString> sqliteIndexNames;  // parallel to indexes
  std::vector<QByteArray> quotedFields;
  QHash<QString, int> fieldByName;        // exact names
  std::vector<int> primaryFields;         // fields that must not stay Null
  std::vector<char> indexed;              // per field: covered by an index

  int fieldIndex(const QString& fieldName) const;
  // The field's position; OrvenilError 3265 when there is none.
  int requireField(const QString& fieldName) const;
  int indexByName(const QString& indexName) const;  // case-insensitive, -1 when none
};

// A prepared statement, prepared again when its connection was reopened.
class CachedStatement {
 public:
  CachedStatement() = default;
  explicit CachedStatement(QByteArray sql) : sql_(std::move(sql)) {}
  ~CachedStatement();
  CachedStatement(const CachedStatement&) = delete;
  CachedStatement& operator=(const CachedStatement&) = delete;
  CachedStatement(CachedStatement&& other) noexcept;
  CachedStatement& operator=(CachedStatement&& other) noexcept;

  void setSql(QByteArray sql);
  const QByteArray& sql() const { return sql_; }
  // The statement ready to bind (reset, bindings cleared).
  sqlite3_stmt* get(SqliteConnection& conn);
  void finalize();

 private:
  QByteArray sql_;
  sqlite3_stmt* stmt_ = nullptr;
  quint64 epoch_ = 0;
};

// Resets a statement when the scope ends, also on an exception.
class StatementUse {
 public:
  explicit StatementUse(sqlite3_stmt* s) : s_(s) {}
  ~StatementUse();
  StatementUse(const StatementUse&) = delete;
  StatementUse& operator=(const StatementUse&) = delete;
  sqlite3_stmt* get() const { return s_; }

 private:
  sqlite3_stmt* s_;
};

class SqliteConnection {
 public:
  // The connection of the file at path, shared with every other user of that
  // file. create: make a new file (error 3204 when it exists); otherwise the
  // file must exist (3024).
  static std::shared_ptr<SqliteConnection> open(const QString& path, bool create);
  // The live connection of the file now at path, or null.
  static std::shared_ptr<SqliteConnection> find(const QString& path);
  // The live connection registered under path, also when the file there has
  // been replaced since it was opened.
  static std::shared_ptr<SqliteConnection> registered(const QString& path);

  ~SqliteConnection();
  SqliteConnection(const SqliteConnection&) = delete;
  SqliteConnection& operator=(const SqliteConnection&) = delete;

  sqlite3* handle() const { return db_; }
  quint64 epoch() const { return epoch_; }
  const QString& path() const { return path_; }

  // Called before every write: begins the lazy transaction when none runs.
  void beginWrite();
  // Called after every stored row: commits every so many rows, unless a run
  // holds its writes in one transaction (holdCommits).
  void rowWritten();
  // While held (calls nest), rowWritten commits nothing.
  void holdCommits(bool on) { holds_ += on ? 1 : -1; }
  void commit();
  // Drops the pending writes (after a commit that failed).
  void rollback();

  // Changes that can move rows in or out of a walk (insert, delete, SQL).
  quint64 changeGeneration() const { return changes_; }
  void noteStructuralChange() { ++changes_; }

  std::shared_ptr<const TableSchema> schema(const QString& table);  // 3265 when missing
  bool hasTable(const QString& table);
  QStringList tableNames();
  void invalidateSchema() { schemas_.clear(); }

  // Runs SQL without results (after a prepare); throws on failure.
  void exec(const QByteArray& sql);
  // A statement kept for a run, prepared once; the caller finalizes it.
  // Throws on failure.
  sqlite3_stmt* prepareLasting(const QByteArray& sql);
  // After the file was replaced on disk: closes and opens it again.
  void reopen();

  // Throws the OrvenilError for an SQLite result code.
  [[noreturn]] void fail(int rc, const QString& context = QString()) const;

 private:
  SqliteConnection() = default;
  void openHandle(bool create);
  // True while the path still names the file this connection has open.
  bool stillAtPath() const;
  void applySettings();
  std::shared_ptr<TableSchema> loadSchema(const QString& table);

  sqlite3* db_ = nullptr;
  QString path_;
  QString key_;
  quint64 epoch_ = 1;
  quint64 changes_ = 0;
  quint64 device_ = 0;
  quint64 inode_ = 0;
  int pendingRows_ = 0;
  int holds_ = 0;
  QHash<QString, std::shared_ptr<const TableSchema>> schemas_;
};

// SQL helpers.
QByteArray QuoteIdentifier(const QString& name);
// Declared SQL column definition and the type code read back from a declared type.
QByteArray ColumnDefinition(const Field& field);
int FieldTypeFromDeclared(const QString& declared, int* size);
// The SQLite name of an index the program calls name on table.
QString SqliteIndexName(const QString& table, const QString& name, bool primary, bool unique);
// A value made fit for storing into a field of the type (3421 when it cannot be).
FieldValue ConvertForField(int type, const FieldValue& value);
// Binds without copying: value must stay unchanged until the statement is reset.
// Texts go to SQLite as UTF-16 (it converts them itself).
void BindValue(sqlite3_stmt* s, int position, const FieldValue& value);

// Binds the values of one statement with their texts as UTF-8, the files' own
// encoding, so that SQLite stores them without converting or copying them
// first. The bytes live in a buffer that is reused from statement to
// statement; they must stay put until the statement is reset.
class Utf8Binder {
 public:
  // Makes room for texts of this many UTF-16 code units in all; the bytes of
  // the statement bound before are given up.
  void start(qsizetype units);
  // Binds like BindValue; a text with surrogates goes as UTF-16, as always,
  // so that its stored bytes are SQLite's own conversion.
  void bind(sqlite3_stmt* s, int position, const FieldValue& value);

 private:
  std::vector<char> bytes_;
  size_t used_ = 0;
};
// UTF-8 of the code units in[0 .. n-1] into out (room for 3 bytes per unit);
// the number of bytes, or -1 for a text with surrogates (those go to SQLite
// as UTF-16, so that their stored bytes are SQLite's own conversion).
qsizetype EncodeUtf8(const char16_t* in, qsizetype n, char* out);
// Reads a result column as the field type says (type 0: as stored).
FieldValue ColumnValue(sqlite3_stmt* s, int column, int type);
// True for a column stored as text of plain ASCII, whatever the field type:
// ColumnValue gives exactly that text. bytes stay valid until the statement
// moves on.
bool AsciiTextColumn(sqlite3_stmt* s, int column, const char*& bytes, int& size);

[[noreturn]] void ThrowDbError(int number, const QString& description);
// Throws kDbErrInUse naming the database at path when rc says that another
// program holds it (longer than the engine waits for it); returns otherwise.
void ThrowIfHeldByAnotherProgram(int rc, const QString& path);

}  // namespace orv
