#include "platform/db/DatabaseHelpers.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <fcntl.h>

#include "foundation/DialogService.h"
#include "foundation/OrvenilError.h"
#include "foundation/TextTokens.h"
#include "platform/db/DatabaseState.h"

namespace orv {

namespace {

// The engine's code for a compaction the user cancelled: no message for it.
constexpr int kErrCompactCancelled = 32755;

void RemoveFileOrThrow(const QString& path) {
  if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink()) return;
  if (!QFile::remove(path))
    throw OrvenilError(kErrPermissionDenied, QStringLiteral("Zugriff verweigert: '%1'.").arg(path));
}

// Writes the file's data to the disk before it replaces another file.
void SyncFile(const QString& path) {
  QByteArray name = QFile::encodeName(path);
  int fd = ::open(name.constData(), O_RDONLY);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

}  // namespace

void CloseAllDatabases(bool doClose) {
  if (doClose) DBEngine::closeAll();
}

bool TableExists(const Database& db, const QString& table) {
  try {
    return db.hasTable(table);
  } catch (...) {
    return false;
  }
}

bool CreateTableWithField(Database& db, const QString& table, const QString& field, int type) {
  if (TableExists(db, table)) return false;
  try {
    TableDef def = db.createTableDef(table);
    if (IsKnownFieldType(type)) def.appendField(TableDef::createField(field, type));
    db.appendTableDef(def);
    return true;
  } catch (const OrvenilError& e) {
    Dialogs().messageBox(QStringLiteral("Fehler ") + QString::number(e.number()) + QStringLiteral(": ") +
                             e.description() + QStringLiteral(", Tabellenname: ") + table +
                             QStringLiteral(", Feldname: ") + field,
                         MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("modKap02.DAO_CreatedNewTable"));
    return false;
  }
}

bool AddTableField(Database& db, const QString& table, const QString& field, int type, int size) {
  bool ok = false;
  try {
    TableDef def = db.tableDef(table);
    def.appendField(TableDef::createField(field, type, type == dbText ? size : 0));
    ok = true;
  } catch (const OrvenilError&) {
    ok = false;
  }
  Dialogs().processEvents();
  return ok;
}

bool CreateTableIndex(Database& db, const QString& table, const QString& field, bool primary, bool unique,
                      const QString& indexName) {
  try {
    TableDef def = db.tableDef(table);
    def.appendIndex(TableDef::createIndex(indexName.isEmpty() ? field : indexName, field, primary, unique));
    def.refresh();
    return true;
  } catch (const OrvenilError& e) {
    Dialogs().messageBox(QStringLiteral("DAO_CreateIndex: Fehler ") + QString::number(e.number()) +
                             QStringLiteral(": ") + e.description(),
                         MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("modKap03.DAO_CreateIndex"));
    return false;
  }
}

void CreateDatabaseFile(Database& db, const QString& path, bool keepOthersOpen) {
  if (!keepOthersOpen) CloseAllDatabases(true);
  // A database still open on this very file would go on writing into the
  // deleted file; close it, so its handles fail instead.
  if (DBEngine::isOpen(path)) {
    QString canonical = QFileInfo(path).canonicalFilePath();
    for (Database& open : DBEngine::databases())
      if (QFileInfo(open.name()).canonicalFilePath() == canonical) open.close();
  }
  RemoveFileOrThrow(path);
  // A journal left beside an old file must not be applied to the new one.
  for (const char* suffix : {"-journal", "-wal", "-shm"}) RemoveFileOrThrow(path + QLatin1String(suffix));
  db = DBEngine::createDatabase(path, QString::fromLatin1(DBEngine::kLocaleGeneral));
}

QString SeekFieldValues(Recordset& rs, const QString& indexName, const QString& fieldNames, const QString& key) {
  QString result;
  if (key.trimmed().isEmpty()) return result;
  try {
    rs.setIndex(indexName);
    rs.seek(QStringLiteral("="), FieldValue(key));
    if (rs.noMatch()) return QStringLiteral("-1");
    if (!fieldNames.contains(QLatin1Char('#'))) {
      result = rs.value(fieldNames.trimmed()).toText();
      return result;
    }
    const QStringList names = fieldNames.split(QLatin1Char('#'));
    for (const QString& name : names) result += QLatin1Char('#') + rs.value(name.trimmed()).textOrEmpty();
    result.remove(0, 1);
    return result;
  } catch (const std::exception&) {
    return result;
  }
}

bool CompactDatabaseFile(const QString& path) {
  QFileInfo info(path);
  if (!info.isFile()) {
    Dialogs().messageBox(QStringLiteral("Datenbank ") + path + QStringLiteral(" nicht gefunden!"), MsgButtons::Ok,
                         MsgIcon::Critical, QStringLiteral("Fehler"));
    return false;
  }
  Dialogs().setBusy(true);
  // The work file sits beside the database, named after its file name.
  const QString work = info.absolutePath() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".$$$");
  bool workMade = false;
  try {
    RemoveFileOrThrow(work);  // a leftover of an earlier, failed compaction
    workMade = true;
    DBEngine::compactDatabase(path, work);
    SyncFile(work);
    // rename() replaces the database file in one step: at every moment either the
    // old or the compacted database stands under the name.
    QByteArray from = QFile::encodeName(work);
    QByteArray to = QFile::encodeName(info.absoluteFilePath());
    if (std::rename(from.constData(), to.constData()) != 0)
      throw OrvenilError(kErrPermissionDenied,
                         QStringLiteral("Die komprimierte Datenbank kann nicht umbenannt werden: %1")
                             .arg(QString::fromLocal8Bit(std::strerror(errno))));
    workMade = false;
    DBEngine::reopenReplacedFile(path);
    Dialogs().setBusy(false);
    return true;
  } catch (const OrvenilError& e) {
    if (workMade) QFile::remove(work);
    Dialogs().setBusy(false);
    if (e.number() != kErrCompactCancelled)
      Dialogs().messageBox(e.description() + QStringLiteral(" (") + QString::number(e.number()) +
                               QStringLiteral(")"),
                           MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Fehler"));
    return false;
  }
}

int CountDigitNamedTables(const Database& db) {
  int count = 0;
  for (const QString& name : db.tableNames())
    if (IsDigitText(name)) ++count;
  return count;
}

}  // namespace orv
