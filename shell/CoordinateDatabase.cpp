#include "shell/CoordinateDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "foundation/LocaleSwitch.h"
#include "platform/db/DatabaseHelpers.h"
#include "platform/db/TemporaryFolder.h"
#include "shell/ProgramState.h"

namespace orv {

namespace {

struct DatenColumn {
  const char* name;
  int type;
};

// The column order is the grid's column order and the numbering of the
// export column lists, so it must never change.
constexpr DatenColumn kDatenColumns[] = {
    {"Punkt", dbText},        {"C", dbText},           {"sYe", dbText},          {"sXe", dbText},
    {"sZe", dbText},          {"sXz", dbText},         {"sYz", dbText},          {"sZz", dbText},
    {"sBg", dbText},          {"sLg", dbText},         {"BgDez", dbText},        {"LgDez", dbText},
    {"BgDezSek", dbText},     {"LgDezSek", dbText},    {"sHg", dbText},          {"radBg", dbText},
    {"radLg", dbText},        {"sYeZiel", dbText},     {"sXeZiel", dbText},      {"sZeZiel", dbText},
    {"sXzZiel", dbText},      {"sYzZiel", dbText},     {"sZzZiel", dbText},      {"sBgZiel", dbText},
    {"sLgZiel", dbText},      {"sHgZiel", dbText},     {"radBgZiel", dbText},    {"radLgZiel", dbText},
    {"BgDezZiel", dbText},    {"LgDezZiel", dbText},   {"BgDezSekZiel", dbText}, {"LgDezSekZiel", dbText},
    {"Geoidundulation", dbText}, {"Zone", dbText},     {"EllipsKO", dbText},     {"sYori", dbText},
    {"sXori", dbText},        {"sZori", dbText},       {"id", dbLong},           {"Zeile", dbMemo},
};
static_assert(std::size(kDatenColumns) == 40);

const QString kDaten = QStringLiteral("Daten");

void DeleteIfExists(const QString& path) {
  if (!path.isEmpty() && QFileInfo::exists(path)) QFile::remove(path);
}

}  // namespace

QString TemporaryDatabasePath(const QString& folder, const QString& kind, const QString& timeStamp) {
  return folder + QLatin1String(kTempDatabasePrefix) + kind + timeStamp + QStringLiteral(".mdb");
}

QString TemporaryDatabasePath(const QString& folder, const QString& kind) {
  // Two instances started within one second get the same time stamp; the
  // instance's mark keeps their files apart.
  return TemporaryDatabasePath(folder, kind, TimeStampString() + QLatin1Char('_') + InstanceMark());
}

QString GeoidWorkFolderTemplate(const QString& folder) {
  return folder + QLatin1String(kGeoidWorkFolderPrefix) + TimeStampString() + QLatin1Char('_') + InstanceMark() +
         QStringLiteral("_XXXXXX");
}

const QStringList& DatenColumnNames() {
  static const QStringList names = [] {
    QStringList list;
    for (const DatenColumn& c : kDatenColumns) list << QString::fromLatin1(c.name);
    return list;
  }();
  return names;
}

int DatenColumnType(int position) {
  if (position < 0 || position >= static_cast<int>(std::size(kDatenColumns))) return 0;
  return kDatenColumns[position].type;
}

void CreateCoordinateDatabase(Database& db, const QString& path) {
  CreateDatabaseFile(db, path, false);
  const QStringList& names = DatenColumnNames();
  CreateTableWithField(db, kDaten, names[0], DatenColumnType(0));
  for (int i = 1; i < names.size(); ++i) AddTableField(db, kDaten, names[i], DatenColumnType(i), 0);
  CreateTableIndex(db, kDaten, QStringLiteral("id"), true, true, QString());
  CreateTableIndex(db, kDaten, QStringLiteral("Punkt"), false, false, QString());
}

void CreateScratchDatabase(Database& db, const QString& path) {
  CreateDatabaseFile(db, path, false);
  CreateTableWithField(db, kDaten, QStringLiteral("id"), dbText);
  AddTableField(db, kDaten, QStringLiteral("Zeile"), dbText, 0);
  CreateTableIndex(db, kDaten, QStringLiteral("id"), false, false, QString());
}

void CreateStartupDatabases(ProgramState& state) {
  // Start-up goes on after a failing step; a missing database shows later,
  // when an operation opens it by its path.
  const QString& folder = state.TempVerzeichnis;
  try {
    state.GsaDbPfad = TemporaryDatabasePath(folder, QLatin1String(kKindGsaDb));
    CreateScratchDatabase(state.GsaDb, state.GsaDbPfad);
  } catch (const std::exception&) {
  }
  try {
    state.KooDbPfad = TemporaryDatabasePath(folder, QLatin1String(kKindKooDb));
    CreateCoordinateDatabase(state.KooDb, state.KooDbPfad);
  } catch (const std::exception&) {
  }
  try {
    state.GeoidDbPfad = TemporaryDatabasePath(folder, QLatin1String(kKindGeoidDb));
    CreateScratchDatabase(state.GeoidDb, state.GeoidDbPfad);
  } catch (const std::exception&) {
  }
}

int DeleteOldTemporaryDatabases(const QString& folder, const TemporaryFolderLock& lock) {
  QDir dir(folder);
  if (!dir.exists()) return 0;
  const QFileInfoList files = dir.entryInfoList({QStringLiteral("tmp_dao_orvenil*")}, QDir::Files | QDir::Hidden);
  int deleted = 0;
  for (const QFileInfo& info : files) {
    if (!info.fileName().startsWith(QStringLiteral("tmp_dao_orvenil"), Qt::CaseInsensitive)) continue;
    // Another running instance's databases stay.
    if (!lock.mayDelete(info.absoluteFilePath())) continue;
    if (QFile::remove(info.absoluteFilePath())) ++deleted;
  }
  const QFileInfoList folders = dir.entryInfoList({QLatin1String(kGeoidWorkFolderPrefix) + QLatin1Char('*')},
                                                  QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
  for (const QFileInfo& info : folders) {
    // A link is never followed into a folder elsewhere.
    if (info.isSymLink() || !lock.mayDelete(info.absoluteFilePath())) continue;
    if (QDir(info.absoluteFilePath()).removeRecursively()) ++deleted;
  }
  return deleted;
}

QString TemporaryFolderUnusableMessage(const QString& folder) {
  return QStringLiteral("Der Ordner für temporäre Datenbanken ") + folder +
         QStringLiteral(" kann nicht angelegt oder gesperrt werden. Ohne ihn werden keine temporären Datenbanken "
                        "angelegt, und Punktdateien können nicht eingelesen werden.");
}

void DeleteRunTemporaryDatabases(ProgramState& state) {
  for (Database* db : {&state.NTv2Gitterdatenbank, &state.KooDb, &state.GsaDb, &state.SonderfunktionDb,
                       &state.GeoidDb})
    db->close();
  for (const QString& path : {state.NTv2TempPfad, state.KooDbPfad, state.GsaDbPfad, state.SonderfunktionDbPfad,
                              state.GeoidDbPfad}) {
    if (DBEngine::isOpen(path))
      for (Database& open : DBEngine::databases())
        if (QFileInfo(open.name()).absoluteFilePath() == QFileInfo(path).absoluteFilePath()) open.close();
    DeleteIfExists(path);
    // A journal that a failed last commit left has no database any more.
    if (!path.isEmpty()) DeleteIfExists(path + QStringLiteral("-journal"));
  }
}

}  // namespace orv
