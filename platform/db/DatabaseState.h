#pragma once
// Internal to the database layer: what a Database handle refers to.
#include <QString>
#include <memory>
#include <vector>

#include "platform/db/SqliteConnection.h"

namespace orv {

class RecordsetState;

class DatabaseState {
 public:
  DatabaseState(std::shared_ptr<SqliteConnection> conn, QString path)
      : conn_(std::move(conn)), path_(std::move(path)) {}
  ~DatabaseState();
  DatabaseState(const DatabaseState&) = delete;
  DatabaseState& operator=(const DatabaseState&) = delete;

  bool isOpen() const { return static_cast<bool>(conn_); }
  const QString& path() const { return path_; }
  SqliteConnection& conn() const { return *conn_; }
  const std::shared_ptr<SqliteConnection>& connPtr() const { return conn_; }

  void addRecordset(const std::shared_ptr<RecordsetState>& rs);
  // Closes the recordsets (last opened first), commits and lets go of the connection.
  void close();

 private:
  std::shared_ptr<SqliteConnection> conn_;
  QString path_;
  std::vector<std::weak_ptr<RecordsetState>> recordsets_;
};

// Objects closed or never set.
[[noreturn]] void ThrowObjectInvalid();

}  // namespace orv
