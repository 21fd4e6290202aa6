#pragma once
// The NTv2 grid cache database: a database copy of an NTv2 ASCII grid file
// (.gsa) beside it, one table per sub-grid ("1", "2", … in file order) with
// the fields Kopfdaten (the sub-grid's 11 header records, each followed by
// ";", on the row with id 1), Zeile1 (latitude shift), Zeile2 (longitude
// shift, positive west), id (node number from 1, index "id"); the last table
// also holds a row for the END record. Table "Gitterdatei" holds the size
// and modification time of the grid file the cache was built from. The cache
// is built once per grid file and reused until the grid file's size or
// modification time differs from those, or the cache is no valid cache of
// this layout, cannot be read, or its sub-grids do not read whole.
#include <QString>
#include <functional>

#include "geodesy/Ntv2GridCache.h"
#include "platform/db/Database.h"
#include "shell/ProgramState.h"

namespace orv {

// The overview header of a grid file and its number of sub-grids.
struct Ntv2Overview {
  NTv2KopfDaten header;
  int subGridCount = 0;  // leading number of NUM_FILE
};

// The open cache of a grid file and its sub-grids read into memory.
struct Ntv2OpenCache {
  Ntv2Overview overview;
  Database database;
  int tableCount = 0;  // sub-grid tables found in the open cache
  QString buildPath;   // build file of a cache built by this call, else ""
  Ntv2GridCache grid;  // every node of every sub-grid, checked as read
};

// Progress of a build: lines read so far and the line count of the grid file.
using Ntv2BuildProgress = std::function<void(int line, int total)>;

// The cache path of a grid file: a final ".gsa" (any case) replaced by
// ".mdb", otherwise ".mdb" appended, so it is never the grid file itself.
QString Ntv2CachePath(const QString& gridPath);

// Reads the 11 overview records of the grid file. A missing or unreadable
// file, fewer than 11 lines or a numeric value that is no number throws
// OrvenilError naming the file and line, as does a GS_TYPE other than SECONDS.
// A SYSTEM_F of "PD83" is held as "RD-83".
Ntv2Overview ReadNtv2Overview(const QString& gridPath);

// True when cachePath holds a complete cache of this layout with
// subGridCount tables, built from the grid file as it is now (same size and
// modification time), whose pages all read well (a damaged cache is built
// again).
bool Ntv2CacheIsCurrent(const QString& gridPath, const QString& cachePath, int subGridCount);

// Builds the cache of the grid file in a new database at buildPath, in one
// transaction, and moves it to cachePath (across file systems by copy and
// delete). A grid file that is corrupt or cut short throws OrvenilError
// naming the line; the build file is then deleted and cachePath untouched.
// When a valid cache appears at cachePath meanwhile (another instance), it
// is kept and the build file left in the temporary folder.
void BuildNtv2GridCache(const QString& gridPath, const QString& cachePath, const QString& buildPath,
                        int subGridCount, const Ntv2BuildProgress& progress = {});

// The cache stage of an NTv2 run: reads the overview, builds the cache when it
// is missing, built from another state of the grid file or not a valid cache (its build file
// named by tempFolder), opens it and reads its sub-grids. A cache whose
// sub-grids do not read whole (rows missing, shifts Null or text, a table
// empty) is built again from the grid file; when that fails too, or a cache
// just built does not read, the OrvenilError names the cache file.
// closeFirst is closed before an old cache is replaced (the program's cache
// of the previous run).
Ntv2OpenCache OpenNtv2GridCache(const QString& gridPath, const QString& tempFolder, Database closeFirst,
                                const Ntv2BuildProgress& progress = {});

// Moves a file; where renaming fails (another file system) the file is copied
// beside the target, renamed into place and the source deleted. An existing
// target is replaced. False when the file could not be moved.
bool MoveFileAcrossFileSystems(const QString& source, const QString& target);

}  // namespace orv
