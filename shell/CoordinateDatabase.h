#pragma once
// The temporary coordinate database with its table Daten, the two scratch
// databases made beside it at start-up, the names of all temporary databases
// and the rules by which they are deleted.
#include <QString>
#include <QStringList>

#include "platform/db/Database.h"

namespace orv {

struct ProgramState;
class TemporaryFolderLock;

// Prefix of every temporary database's file name.
inline constexpr const char* kTempDatabasePrefix = "tmp_dao_orvenil_";

// Kind words of the temporary databases.
inline constexpr const char* kKindKooDb = "";
inline constexpr const char* kKindGsaDb = "gsa_";
inline constexpr const char* kKindGeoidDb = "geoid_";
inline constexpr const char* kKindSonderfunktionDb = "h_";
inline constexpr const char* kKindNtv2Build = "ntv2_";

// folder + "tmp_dao_orvenil_" + kind + time stamp + ".mdb"; folder ends with "/".
// Without a given stamp, the current time stamp followed by "_" and this
// instance's mark, so no other running instance can hold the name.
QString TemporaryDatabasePath(const QString& folder, const QString& kind);
QString TemporaryDatabasePath(const QString& folder, const QString& kind, const QString& timeStamp);

// Working folders of the geoid program in the temporary folder: a template
// for QTemporaryDir made of folder + "Geoidprogramm_" + time stamp + "_" +
// this instance's mark + "_XXXXXX"; folder ends with "/".
inline constexpr const char* kGeoidWorkFolderPrefix = "Geoidprogramm_";
QString GeoidWorkFolderTemplate(const QString& folder);

// The 40 columns of Daten in their fixed order (column 1 is Punkt) and their type codes.
const QStringList& DatenColumnNames();
int DatenColumnType(int position);  // 0-based position

// Creates the coordinate database at path: table Daten with its 40 columns and
// the indexes "id" (primary, unique) and "Punkt" (plain). Closes every other
// open database first. Errors are thrown.
void CreateCoordinateDatabase(Database& db, const QString& path);
// Creates a scratch database: table Daten with the text columns id and Zeile
// and a plain index "id". Closes every other open database first.
void CreateScratchDatabase(Database& db, const QString& path);

// Start-up creation, in this order: GsaDb, KooDb, GeoidDb in state.TempVerzeichnis,
// their paths set in the state. A failing step is skipped and the next one
// runs. Afterwards only GeoidDb is open.
void CreateStartupDatabases(ProgramState& state);

// Start-up cleanup: deletes the files named "tmp_dao_orvenil*" and the
// working folders of the geoid program (with what they hold) in the folder
// that belong to no running instance but this one (see
// TemporaryFolderLock::mayDelete): those of instances that ended, also
// killed during a run. Returns how many files and folders were deleted.
int DeleteOldTemporaryDatabases(const QString& folder, const TemporaryFolderLock& lock);

// Shown when the folder of temporary databases cannot be created or locked:
// the program then runs without temporary databases.
QString TemporaryFolderUnusableMessage(const QString& folder);

// End command: deletes, each when it exists, the NTv2 build file, the
// coordinate database, GsaDb, the merge database and GeoidDb of this run
// (their databases are closed first when open).
void DeleteRunTemporaryDatabases(ProgramState& state);

}  // namespace orv
