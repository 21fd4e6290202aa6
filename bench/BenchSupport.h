#pragma once
// What the window benchmarks share: wall time, the check of a raw sqlite3
// call, and the folders of a main window started in a temporary directory.
#include <sqlite3.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <initializer_list>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include "io/FormOrvenilSystemAuswahl.h"
#include "platform/ui/OptionArray.h"
#include "platform/ui/ScriptedDialogService.h"
#include "platform/ui/VbToolBar.h"
#include "shell/FormOrvenil.h"

namespace orv::bench {

inline double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// CPU time of the calling thread so far: what a thread did itself, whatever
// else the machine runs.
inline double ThreadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// CPU time of all threads of the process so far.
inline double ProcessCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Ends the benchmark with SQLite's message when a raw call did not give what it should.
inline void Check(int rc, sqlite3* db, int expected = SQLITE_OK) {
  if (rc != expected) {
    std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db));
    std::exit(1);
  }
}

// The process's peak resident memory so far, in MB (Linux: VmHWM).
inline long PeakMegabytes() {
  std::FILE* f = std::fopen("/proc/self/status", "r");
  if (!f) return -1;
  char line[256];
  long kb = -1;
  while (std::fgets(line, sizeof line, f))
    if (std::sscanf(line, "VmHWM: %ld kB", &kb) == 1) break;
  std::fclose(f);
  return kb < 0 ? -1 : kb / 1024;
}

// Program, database and temporary folder of a window under root.
inline FormOrvenilFolders WindowFolders(const QTemporaryDir& root) {
  QDir(root.path()).mkpath(QStringLiteral("Programm/Orvenil-Datenbanken"));
  QDir(root.path()).mkpath(QStringLiteral("Temp"));
  return FormOrvenilFolders{root.path() + QStringLiteral("/Programm/"),
                            root.path() + QStringLiteral("/Programm/Orvenil-Datenbanken/"),
                            root.path() + QStringLiteral("/Temp/")};
}

// Copies files of the default database folder that the build places beside
// the programs (system tables, grids) into the window's database folder.
inline void CopyDefaultDatabaseFiles(const FormOrvenilFolders& folders, std::initializer_list<const char*> names) {
  const QString defaults = QCoreApplication::applicationDirPath() + QStringLiteral("/../Orvenil-Datenbanken/");
  for (const char* name : names) QFile::copy(defaults + name, folders.databaseFolder + name);
}

// The pragmas of the program's temporary databases, which the raw floors
// use as well.
inline constexpr const char* kRawPragmas =
    "PRAGMA synchronous=OFF; PRAGMA journal_mode=DELETE; PRAGMA cache_size=-65536";

// A Gauss-Krüger point file as a surveyor's job has it: one line per point
// (point number, code, easting, northing, height), the points of a block
// 63 km wide in strip 4 on both sides of 12° east, so that their UTM zones
// are 32 and 33. In random point order (a fixed seed) the target zone
// changes from row to row as in a job collected over two zones; sorted,
// the points come in easting order. The point numbers follow the lines.
inline void WriteGkPointFile(const QString& path, int n, bool randomOrder) {
  std::vector<int> order(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) order[static_cast<size_t>(i)] = i;
  if (randomOrder) std::shuffle(order.begin(), order.end(), std::mt19937(20261209));
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly)) std::exit(1);
  QByteArray text;
  char line[96];
  for (int k = 0; k < n; ++k) {
    const int i = order[static_cast<size_t>(k)];
    const int len = std::snprintf(line, sizeof line, "%d K %.3f %.3f %.3f\r\n", k + 1, 4468500 + (i / 1000) * 31.7,
                                  5600000 + (i % 1000) * 97.3, 100 + (i % 500) * 0.37);
    text.append(line, len);
    if (text.size() > (1 << 22)) {
      f.write(text);
      text.clear();
    }
  }
  f.write(text);
}

// Imports a point file through the toolbar key as a user does: the open
// dialog answered with the file, the start-data dialog with the start
// system at startOption (1: GK42/83). Wall time.
inline double ImportThroughToolbar(FormOrvenil& form, ScriptedDialogService& dialogs, const QString& file,
                                   int startOption) {
  dialogs.expectOpenFile(file, 1);
  dialogs.expectModal([startOption](QDialog* d) {
    auto* dlg = static_cast<FormOrvenilSystemAuswahl*>(d);
    if (dlg->Timer1->isActive()) dlg->Timer1_Timer();
    dlg->Startsys->select(startOption);
    dlg->cmdLaden_Click();
    return 1;
  });
  const auto t0 = std::chrono::steady_clock::now();
  form.Coolbar2_ButtonClick(kKeyDbOeffnen);
  return Seconds(t0);
}

// The raw floor of one run over Daten, on an open raw copy db of the table
// as the run found it: the rows are read in rowid order (readColumns) and
// the columns the run wrote (writeColumns) updated by rowid with the texts
// it wrote, read from the job's file (job) before each timed block, in one
// transaction. Returns the timed seconds; readBytes counts what was read.
inline double RawPhase(sqlite3* db, sqlite3* job, const QStringList& readColumns, const QStringList& writeColumns,
                       size_t& readBytes, double& cpu) {
  sqlite3_stmt* texts = nullptr;
  sqlite3_stmt* sel = nullptr;
  sqlite3_stmt* upd = nullptr;
  const QByteArray textsSql =
      ("SELECT " + writeColumns.join(", ") + " FROM Daten WHERE rowid >= ?1 AND rowid < ?2 ORDER BY rowid").toUtf8();
  const QByteArray selSql = ("SELECT rowid, " + readColumns.join(", ") + " FROM Daten ORDER BY rowid").toUtf8();
  QString updSql = "UPDATE Daten SET ";
  for (int c = 0; c < writeColumns.size(); ++c) updSql += (c ? ", " : "") + writeColumns[c] + " = ?";
  updSql += " WHERE rowid = ?";
  Check(sqlite3_prepare_v2(job, textsSql.constData(), -1, &texts, nullptr), job);
  Check(sqlite3_prepare_v2(db, selSql.constData(), -1, &sel, nullptr), db);
  Check(sqlite3_prepare_v2(db, updSql.toUtf8().constData(), -1, &upd, nullptr), db);
  const int nWrite = static_cast<int>(writeColumns.size());
  double timed = 0;
  sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  constexpr int kBlock = 50000;
  bool more = true;
  for (qint64 first = 1; more; first += kBlock) {
    std::vector<std::string> block;
    sqlite3_bind_int64(texts, 1, first);
    sqlite3_bind_int64(texts, 2, first + kBlock);
    while (sqlite3_step(texts) == SQLITE_ROW)
      for (int c = 0; c < nWrite; ++c) {
        const unsigned char* t = sqlite3_column_text(texts, c);
        block.emplace_back(t ? reinterpret_cast<const char*>(t) : "");
      }
    sqlite3_reset(texts);
    const auto start = std::chrono::steady_clock::now();
    const double cpu0 = ThreadCpuSeconds();
    for (size_t r = 0; r * nWrite < block.size(); ++r) {
      if (sqlite3_step(sel) != SQLITE_ROW) {
        more = false;
        break;
      }
      for (int c = 1; c <= readColumns.size(); ++c) readBytes += sqlite3_column_bytes(sel, c);
      for (int c = 0; c < nWrite; ++c) {
        const std::string& t = block[r * nWrite + c];
        sqlite3_bind_text(upd, c + 1, t.data(), static_cast<int>(t.size()), SQLITE_STATIC);
      }
      sqlite3_bind_int64(upd, nWrite + 1, sqlite3_column_int64(sel, 0));
      if (sqlite3_step(upd) != SQLITE_DONE) Check(SQLITE_ERROR, db);
      sqlite3_reset(upd);
    }
    timed += Seconds(start);
    cpu += ThreadCpuSeconds() - cpu0;
    if (block.size() < static_cast<size_t>(kBlock) * nWrite) more = false;
  }
  const auto start = std::chrono::steady_clock::now();
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  timed += Seconds(start);
  sqlite3_finalize(texts);
  sqlite3_finalize(sel);
  sqlite3_finalize(upd);
  return timed;
}

// The raw floor of a run over Daten: on startCopy, a copy of the job's file
// as it was before the run, the rows are read (readColumns) and the columns
// the run wrote (writeColumns) updated with the texts it wrote (read from
// the job's file at jobPath before each timed block), through sqlite3 alone,
// in one transaction.
inline double RawReadAndUpdate(const QString& jobPath, const QString& startCopy, const QStringList& readColumns,
                               const QStringList& writeColumns) {
  sqlite3* db = nullptr;
  Check(sqlite3_open(startCopy.toUtf8().constData(), &db), db);
  sqlite3* job = nullptr;
  Check(sqlite3_open_v2(jobPath.toUtf8().constData(), &job, SQLITE_OPEN_READONLY, nullptr), job);
  sqlite3_exec(db, kRawPragmas, nullptr, nullptr, nullptr);
  size_t readBytes = 0;
  double cpu = 0;
  const double timed = RawPhase(db, job, readColumns, writeColumns, readBytes, cpu);
  sqlite3_close(db);
  sqlite3_close(job);
  std::printf("raw sqlite3: %zu bytes of the read columns read, thread busy %.2f s\n", readBytes, cpu);
  return timed;
}

}  // namespace orv::bench
