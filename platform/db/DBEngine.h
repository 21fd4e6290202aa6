#pragma once
// The one database engine of the program: the registry of open databases,
// opening and creating database files, and compaction.
#include <QString>
#include <vector>

#include "platform/db/Database.h"

namespace orv {

class DBEngine {
 public:
  // The locale argument the program passes when it creates files; kept for
  // its callers, the files are SQLite with UTF-8 text either way.
  static constexpr const char* kLocaleGeneral = ";LANGID=0x0409;CP=1252;COUNTRY=0";

  // Opens an existing database file; never creates one. 3024 when the file
  // is missing, 3343 when it is not a database.
  static Database openDatabase(const QString& path);
  // Creates a new, empty database file; 3204 when the file exists already.
  static Database createDatabase(const QString& path, const QString& locale = kLocaleGeneral);
  // Copies the database at source into a new, compacted file at target
  // (3204 when target exists, 3024 when source is missing). A source that is
  // open in this program has its pending writes committed first.
  static void compactDatabase(const QString& source, const QString& target);

  // The open databases, in the order they were opened.
  static std::vector<Database> databases();
  // Closes every open database, last opened first, each with its recordsets.
  static void closeAll();
  // True when the file at path is open in this program.
  static bool isOpen(const QString& path);
  // After a file was replaced on disk under its open path (compaction), open
  // connections to it are pointed at the new file. Internal to the layer.
  static void reopenReplacedFile(const QString& path);
};

}  // namespace orv
