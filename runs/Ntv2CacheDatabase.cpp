#include "runs/Ntv2CacheDatabase.h"

#include <cmath>
#include <cstdio>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "foundation/RegularFile.h"
#include "foundation/TextLineReader.h"
#include "foundation/TextTokens.h"
#include "geodesy/Ntv2GridCache.h"
#include "platform/db/DBEngine.h"
#include "platform/db/DatabaseHelpers.h"
#include "platform/db/FieldType.h"
#include "platform/db/Recordset.h"
#include "platform/db/TableDef.h"
#include "shell/CoordinateDatabase.h"

namespace orv {

namespace {

// Layout version of the cache, kept in the database's user version. It is
// written last, so a file that carries it was built to its end.
constexpr int kCacheLayoutVersion = 2;

// The table that names the grid file a cache was built from: its size and
// modification time. Its name holds no digit only, so it is no sub-grid table.
const QString kSourceTable = QStringLiteral("Gitterdatei");

// Number of lines of the NTv2 overview and of each sub-grid header.
constexpr int kHeaderRecords = 11;

QString FileName(const QString& path) { return QFileInfo(path).fileName(); }

[[noreturn]] void Corrupt(const QString& gridPath, qint64 line, const QString& what) {
  throw OrvenilError(
      kErrTypeMismatch,
      QStringLiteral("Gitterdatei %1, Zeile %2: %3").arg(FileName(gridPath)).arg(line).arg(what));
}

bool IsNumber(const QString& text, double* value) {
  try {
    *value = ToDoubleStrict(TrimBlanks(text));
    return true;
  } catch (const OrvenilError&) {
    return false;
  }
}

// Reads the grid file line by line and counts the lines.
class GridReader {
 public:
  explicit GridReader(const QString& path) : path_(path), reader_(path) {
    if (!QFileInfo(path).isFile() || !reader_.isOpen())
      throw OrvenilError(kErrFileNotFound,
                         QStringLiteral("Gitterdatei %1 fehlt oder ist nicht lesbar").arg(path));
  }
  bool next(QString& line) {
    if (!reader_.readLine(line)) return false;
    ++number_;
    return true;
  }
  // The next line, which must be there.
  QString required(const QString& what) {
    QString line;
    if (!next(line)) Corrupt(path_, number_ + 1, what + QStringLiteral(" fehlt (Dateiende)"));
    return line;
  }
  qint64 number() const { return number_; }
  const QString& path() const { return path_; }

 private:
  QString path_;
  TextLineReader reader_;
  qint64 number_ = 0;
};

Ntv2Overview ReadOverview(GridReader& in) {
  Ntv2Overview o;
  NTv2KopfDaten& h = o.header;
  for (int i = 0; i < kHeaderRecords; ++i) {
    const QString line = in.required(QStringLiteral("Kopfdatensatz"));
    const auto value = [&](const char* key) { return GetToken(line, 2, QLatin1String(key)); };
    const auto integer = [&](const char* key, qint32& target) {
      double v = 0;
      if (!IsNumber(value(key), &v) || v != Fix(v) || v < 0 || v > 2147483647.0)
        Corrupt(in.path(), in.number(), QStringLiteral("%1 ist keine ganze Zahl").arg(QLatin1String(key)));
      target = static_cast<qint32>(v);
    };
    const auto real = [&](const char* key, double& target) {
      if (!IsNumber(value(key), &target))
        Corrupt(in.path(), in.number(), QStringLiteral("%1 ist keine Zahl").arg(QLatin1String(key)));
    };
    if (line.contains(QLatin1String("NUM_OREC"))) integer("NUM_OREC", h.NUM_OREC);
    if (line.contains(QLatin1String("NUM_SREC"))) integer("NUM_SREC", h.NUM_SREC);
    if (line.contains(QLatin1String("NUM_FILE"))) {
      integer("NUM_FILE", h.NUM_FILE);
      o.subGridCount = h.NUM_FILE;
    }
    if (line.contains(QLatin1String("GS_TYPE"))) {
      h.GS_TYPE = value("GS_TYPE");
      // The shifts are read as arc-seconds: a grid in other units would
      // shift every point by a wrong amount or put it outside.
      if (h.GS_TYPE.compare(QLatin1String("SECONDS"), Qt::CaseInsensitive) != 0)
        Corrupt(in.path(), in.number(),
                QStringLiteral("GS_TYPE %1 wird nicht unterstützt, nur SECONDS").arg(h.GS_TYPE));
    }
    if (line.contains(QLatin1String("VERSION"))) h.VERSION = value("VERSION");
    if (line.contains(QLatin1String("SYSTEM_F"))) h.SYSTEM_F = value("SYSTEM_F");
    if (line.contains(QLatin1String("SYSTEM_T"))) h.SYSTEM_T = value("SYSTEM_T");
    if (line.contains(QLatin1String("MAJOR_F"))) real("MAJOR_F", h.MAJOR_F);
    if (line.contains(QLatin1String("MINOR_F"))) real("MINOR_F", h.MINOR_F);
    if (line.contains(QLatin1String("MAJOR_T"))) real("MAJOR_T", h.MAJOR_T);
    if (line.contains(QLatin1String("MINOR_T"))) real("MINOR_T", h.MINOR_T);
    if (h.SYSTEM_F == QLatin1String("PD83")) h.SYSTEM_F = QStringLiteral("RD-83");
  }
  return o;
}

void CreateSubGridTable(Database& db, int tableNumber) {
  TableDef def = db.createTableDef(QString::number(tableNumber));
  def.appendField(TableDef::createField(QStringLiteral("Kopfdaten"), dbText));
  def.appendField(TableDef::createField(QStringLiteral("Zeile1"), dbSingle));
  def.appendField(TableDef::createField(QStringLiteral("Zeile2"), dbSingle));
  def.appendField(TableDef::createField(QStringLiteral("id"), dbLong));
  def.appendIndex(TableDef::createIndex(QStringLiteral("id"), QStringLiteral("id"), false, false));
  db.appendTableDef(def);
}

void AddRow(Recordset& rs, const QString& kopfdaten, double zeile1, double zeile2, qint64 id) {
  rs.addNew();
  rs.setValue(0, FieldValue(kopfdaten));
  rs.setValue(1, FieldValue(zeile1));
  rs.setValue(2, FieldValue(zeile2));
  rs.setValue(3, FieldValue(id));
  rs.update();
}

// The shifts of a shift record: its first two numbers, each within what a
// datum shift can be (kNtv2MaxShiftSeconds), so that also the cache's 32-bit
// numbers hold them.
void SplitShift(const GridReader& in, const QString& line, double* dLat, double* dLonW) {
  const QStringList parts = SplitFields(TrimSpaces(line), QStringLiteral(" "));
  if (parts.size() < 2 || parts[0].isEmpty())
    Corrupt(in.path(), in.number(), QStringLiteral("Verschiebungsdatensatz unvollständig"));
  if (!IsNumber(parts[0], dLat) || !IsNumber(parts[1], dLonW))
    Corrupt(in.path(), in.number(), QStringLiteral("Verschiebung ist keine Zahl"));
  for (int i : {0, 1})
    if (!(std::abs(i == 0 ? *dLat : *dLonW) <= kNtv2MaxShiftSeconds))
      Corrupt(in.path(), in.number(),
              QStringLiteral("Verschiebung %1 liegt außerhalb von ±%2 Bogensekunden (1°) und ist keine "
                             "Datumsverschiebung")
                  .arg(parts[i].left(40))
                  .arg(kNtv2MaxShiftSeconds));
}

// Checks the numeric values of a sub-grid header; returns its GS_COUNT.
// Node positions are computed from the extent, so a GS_COUNT that is not
// rows × columns of it would leave nodes without shifts.
qint64 CheckSubGridHeader(const GridReader& in, const QStringList& records, int tableNumber) {
  static const char* const keys[] = {"SUB_NAME", "PARENT", "CREATED", "UPDATED",  "S_LAT",   "N_LAT",
                                     "E_LONG",   "W_LONG", "LAT_INC", "LONG_INC", "GS_COUNT"};
  double values[kHeaderRecords] = {};
  const qint64 first = in.number() - kHeaderRecords + 1;
  for (int i = 0; i < kHeaderRecords; ++i) {
    const QString key = QLatin1String(keys[i]);
    if (!records[i].startsWith(key)) Corrupt(in.path(), first + i, QStringLiteral("%1 erwartet").arg(key));
    if (i >= 4 && !IsNumber(records[i].mid(key.size()), &values[i]))
      Corrupt(in.path(), first + i, QStringLiteral("%1 ist keine Zahl").arg(key));
  }
  if (!(values[8] > 0)) Corrupt(in.path(), first + 8, QStringLiteral("LAT_INC ist nicht größer als 0"));
  if (!(values[9] > 0)) Corrupt(in.path(), first + 9, QStringLiteral("LONG_INC ist nicht größer als 0"));
  if (values[10] != Fix(values[10]) || values[10] < 1 || values[10] > 2147483647.0)
    Corrupt(in.path(), first + 10, QStringLiteral("GS_COUNT ist keine ganze Zahl über 0"));
  const double nodes = Ntv2NodeRows(values[4], values[5], values[8]) * Ntv2NodeColumns(values[6], values[7], values[9]);
  if (nodes != values[10])
    Corrupt(in.path(), first + 10,
            QStringLiteral("Teilgitter %1 (%2): GS_COUNT %3 passt nicht zu den %4 Knoten seiner Ausdehnung")
                .arg(TrimBlanks(records[0].mid(8)), QString::number(tableNumber), NumberText(values[10]),
                     NumberText(nodes)));
  return static_cast<qint64>(values[10]);
}

// Writes the sub-grids of the grid file (after its overview) into db.
void ReadSubGrids(GridReader& in, Database& db, int subGridCount, const Ntv2BuildProgress& progress,
                  int total) {
  Recordset table;
  int tableNumber = 0;
  qint64 node = 0;      // shift records of the current sub-grid so far
  qint64 expected = 0;  // its GS_COUNT
  bool ended = false;
  const auto closeSubGrid = [&](qint64 line) {
    if (tableNumber > 0 && node != expected)
      Corrupt(in.path(), line,
              QStringLiteral("Teilgitter %1 hat %2 statt %3 Verschiebungsdatensätze")
                  .arg(tableNumber)
                  .arg(node)
                  .arg(expected));
  };
  QString line;
  while (in.next(line)) {
    if (progress) progress(int(std::min<qint64>(in.number(), 2147483647)), total);
    if (ended) {
      if (!TrimBlanks(line).isEmpty()) Corrupt(in.path(), in.number(), QStringLiteral("Text nach END"));
      continue;
    }
    if (line.startsWith(QLatin1String("SUB_NAME"))) {
      closeSubGrid(in.number());
      if (++tableNumber > subGridCount)
        Corrupt(in.path(), in.number(), QStringLiteral("mehr Teilgitter als NUM_FILE angibt"));
      QStringList records{line};
      for (int i = 1; i < kHeaderRecords; ++i) records << in.required(QStringLiteral("Kopfdatensatz"));
      expected = CheckSubGridHeader(in, records, tableNumber);
      if (table.isSet()) table.close();
      table = db.openTable(QString::number(tableNumber));
      double dLat = 0, dLonW = 0;
      SplitShift(in, in.required(QStringLiteral("Verschiebungsdatensatz")), &dLat, &dLonW);
      node = 1;
      AddRow(table, records.join(QLatin1Char(';')) + QLatin1Char(';'), dLat, dLonW, node);
    } else if (TrimBlanks(line).startsWith(QLatin1String("END"))) {
      closeSubGrid(in.number());
      if (tableNumber == 0) Corrupt(in.path(), in.number(), QStringLiteral("END vor dem ersten Teilgitter"));
      AddRow(table, line, 0, 0, ++node);
      ended = true;
    } else {
      if (tableNumber == 0)
        Corrupt(in.path(), in.number(), QStringLiteral("Verschiebung vor dem ersten SUB_NAME"));
      double dLat = 0, dLonW = 0;
      SplitShift(in, line, &dLat, &dLonW);
      AddRow(table, QString(), dLat, dLonW, ++node);
    }
  }
  if (!ended) {
    closeSubGrid(in.number() + 1);
    Corrupt(in.path(), in.number() + 1, QStringLiteral("END fehlt (Dateiende)"));
  }
  if (tableNumber < subGridCount)
    Corrupt(in.path(), in.number(),
            QStringLiteral("%1 von %2 Teilgittern vorhanden").arg(tableNumber).arg(subGridCount));
  table.close();
}

// Lines of a grid file and the sub-grids it holds (lines that begin with
// "SUB_NAME"), counted in one pass over its bytes.
struct GridFileCounts {
  int lines = 0;
  qint64 subGrids = 0;
};

GridFileCounts CountGridFile(const QString& path) {
  static constexpr char kKey[] = "SUB_NAME";
  constexpr int kKeySize = sizeof kKey - 1;
  GridFileCounts counts;
  QFile f;
  if (!OpenRegularFile(f, path).isEmpty()) return counts;
  qint64 lines = 0;
  int matched = 0;  // characters of kKey matched at the start of the line; -1: none
  char buffer[1 << 16];
  for (qint64 n; (n = f.read(buffer, sizeof buffer)) > 0;)
    for (qint64 i = 0; i < n; ++i) {
      const char c = buffer[i];
      if (c == '\n') {
        ++lines;
        matched = 0;
      } else if (matched >= 0) {
        matched = c == kKey[matched] ? matched + 1 : -1;
        if (matched == kKeySize) {
          ++counts.subGrids;
          matched = -1;
        }
      }
    }
  counts.lines = int(std::min<qint64>(lines + 1, 2147483647));
  return counts;
}

// What identifies the grid file a cache stands for: a grid replaced by
// another one, of whatever date, differs in size or modification time.
struct GridIdentity {
  QString size;
  QString modified;  // milliseconds since the epoch
  bool operator==(const GridIdentity&) const = default;
};

GridIdentity IdentityOfFile(const QString& gridPath) {
  const QFileInfo info(gridPath);
  return {QString::number(info.size()), QString::number(info.lastModified().toMSecsSinceEpoch())};
}

void WriteIdentity(Database& db, const GridIdentity& id) {
  db.execute(QStringLiteral("CREATE TABLE [%1] (Groesse TEXT, Geaendert TEXT)").arg(kSourceTable));
  db.execute(QStringLiteral("INSERT INTO [%1] VALUES ('%2', '%3')").arg(kSourceTable, id.size, id.modified));
}

GridIdentity IdentityInCache(Database& db) {
  Recordset rs = db.openSql(QStringLiteral("SELECT Groesse, Geaendert FROM [%1]").arg(kSourceTable));
  GridIdentity id;
  if (!rs.eof()) id = {rs.value(0).textOrEmpty(), rs.value(1).textOrEmpty()};
  rs.close();
  return id;
}

int UserVersion(Database& db) {
  Recordset rs = db.openSql(QStringLiteral("SELECT user_version FROM pragma_user_version"));
  const int v = rs.eof() ? 0 : int(rs.value(0).toLong());
  rs.close();
  return v;
}

// The database engine's check of every page of the file: damaged pages pass
// the tests of layout and identity, and would fail every run that reads them.
bool PagesReadWell(Database& db) {
  Recordset rs = db.openSql(QStringLiteral("SELECT * FROM pragma_quick_check(1)"));
  const bool ok = !rs.eof() && rs.value(0).textOrEmpty() == QLatin1String("ok");
  rs.close();
  return ok;
}

}  // namespace

QString Ntv2CachePath(const QString& gridPath) {
  if (gridPath.endsWith(QLatin1String(".gsa"), Qt::CaseInsensitive))
    return gridPath.left(gridPath.size() - 4) + QStringLiteral(".mdb");
  return gridPath + QStringLiteral(".mdb");
}

Ntv2Overview ReadNtv2Overview(const QString& gridPath) {
  GridReader in(gridPath);
  return ReadOverview(in);
}

bool Ntv2CacheIsCurrent(const QString& gridPath, const QString& cachePath, int subGridCount) {
  const QFileInfo cache(cachePath), grid(gridPath);
  if (!cache.isFile() || cache.canonicalFilePath() == grid.canonicalFilePath()) return false;
  try {
    Database db = DBEngine::openDatabase(cachePath);
    bool ok = UserVersion(db) == kCacheLayoutVersion && CountDigitNamedTables(db) == subGridCount &&
              IdentityInCache(db) == IdentityOfFile(gridPath);
    for (int t = 1; ok && t <= subGridCount; ++t) {
      const TableDef def = db.tableDef(QString::number(t));
      for (const char* field : {"Kopfdaten", "Zeile1", "Zeile2", "id"})
        ok = ok && def.fieldIndex(QLatin1String(field)) >= 0;
    }
    ok = ok && PagesReadWell(db);
    db.close();
    return ok;
  } catch (const OrvenilError&) {
    return false;
  }
}

void BuildNtv2GridCache(const QString& gridPath, const QString& cachePath, const QString& buildPath,
                        int subGridCount, const Ntv2BuildProgress& progress) {
  if (QFileInfo(cachePath).absoluteFilePath() == QFileInfo(gridPath).absoluteFilePath())
    throw OrvenilError(kErrBadFileName, QStringLiteral("Gitterdatei und Cache haben denselben Namen"));
  if (subGridCount < 1)
    throw OrvenilError(
        kErrTypeMismatch,
        QStringLiteral("Gitterdatei %1: NUM_FILE nennt kein Teilgitter").arg(FileName(gridPath)));
  // A NUM_FILE that does not match the file is refused before any table is
  // made: a typo of a large number would otherwise create tables for hours.
  const GridIdentity identity = IdentityOfFile(gridPath);  // before reading: a later change rebuilds
  const GridFileCounts counts = CountGridFile(gridPath);
  if (counts.subGrids != subGridCount)
    throw OrvenilError(kErrTypeMismatch, QStringLiteral("Gitterdatei %1: NUM_FILE nennt %2 Teilgitter, die "
                                                        "Datei enthält %3")
                                             .arg(FileName(gridPath))
                                             .arg(subGridCount)
                                             .arg(counts.subGrids));
  const int total = counts.lines;
  QFile::remove(buildPath);
  Database db = DBEngine::createDatabase(buildPath);
  try {
    for (int t = 1; t <= subGridCount; ++t) CreateSubGridTable(db, t);
    GridReader in(gridPath);
    ReadOverview(in);
    ReadSubGrids(in, db, subGridCount, progress, total);
    WriteIdentity(db, identity);
    db.execute(QStringLiteral("PRAGMA user_version=%1").arg(kCacheLayoutVersion));
    db.close();
  } catch (...) {
    db.close();
    QFile::remove(buildPath);
    throw;
  }
  // Another instance may have put a cache in place meanwhile: it is used.
  if (Ntv2CacheIsCurrent(gridPath, cachePath, subGridCount)) return;
  if (!MoveFileAcrossFileSystems(buildPath, cachePath))
    throw OrvenilError(kErrPathFileAccess,
                       QStringLiteral("NTv2-Cache %1 kann nicht angelegt werden").arg(cachePath));
}

namespace {

// Opens the cache and reads its sub-grids; the database is closed again when
// they do not read.
void LoadCache(Ntv2OpenCache& open, const QString& cachePath) {
  open.database = DBEngine::openDatabase(cachePath);
  try {
    open.tableCount = CountDigitNamedTables(open.database);
    open.grid = Ntv2GridCache(open.database, open.tableCount);
  } catch (...) {
    open.database.close();
    open.database = Database();
    throw;
  }
}

[[noreturn]] void CacheUnusable(const QString& cachePath, const QString& why, const OrvenilError& cause) {
  throw OrvenilError(cause.number(), QStringLiteral("NTv2-Cache %1 %2: %3").arg(cachePath, why, cause.description()));
}

}  // namespace

Ntv2OpenCache OpenNtv2GridCache(const QString& gridPath, const QString& tempFolder, Database closeFirst,
                                const Ntv2BuildProgress& progress) {
  Ntv2OpenCache open;
  open.overview = ReadNtv2Overview(gridPath);
  const QString cachePath = Ntv2CachePath(gridPath);
  if (closeFirst.isSet()) closeFirst.close();
  const auto build = [&] {
    open.buildPath = TemporaryDatabasePath(tempFolder, QLatin1String(kKindNtv2Build));
    BuildNtv2GridCache(gridPath, cachePath, open.buildPath, open.overview.subGridCount, progress);
  };
  const bool built = !Ntv2CacheIsCurrent(gridPath, cachePath, open.overview.subGridCount);
  if (built) build();
  try {
    LoadCache(open, cachePath);
    return open;
  } catch (const OrvenilError& e) {
    if (built) CacheUnusable(cachePath, QStringLiteral("ist unbrauchbar"), e);
  }
  // Its pages read well, but not what the run reads: built again from the
  // grid file, as a cache with damaged pages is.
  QFile::remove(cachePath);
  try {
    build();
    LoadCache(open, cachePath);
  } catch (const OrvenilError& e) {
    CacheUnusable(cachePath, QStringLiteral("ist unbrauchbar und lässt sich nicht neu erstellen"), e);
  }
  return open;
}

bool MoveFileAcrossFileSystems(const QString& source, const QString& target) {
  // rename() replaces the target in one step; it fails across file systems.
  if (std::rename(QFile::encodeName(source).constData(), QFile::encodeName(target).constData()) == 0)
    return true;
  if (!QFileInfo(source).isFile()) return false;
  const QString part = target + QStringLiteral(".part");
  QFile::remove(part);
  if (!QFile::copy(source, part) ||
      std::rename(QFile::encodeName(part).constData(), QFile::encodeName(target).constData()) != 0) {
    QFile::remove(part);
    return false;
  }
  QFile::remove(source);
  return true;
}

}  // namespace orv
