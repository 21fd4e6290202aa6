// Point-file import against raw SQLite: writes a projected Geograf file
// (GK42/83, one zone) and a geographic file (ETRS89, decimal degrees),
// imports each through ImportCoordinateFile of a headless main window, then
// inserts the same final rows into a Daten table of the same schema through
// one raw sqlite3 prepared statement in one transaction (UTF-8 texts ready to
// bind, no connection mutex: the floor the database benchmark uses too). Prints lines per
// second and, per file, the ratio import/raw.
//
//   bench_import [lines] [rounds]     (default 1,000,000 lines, 1 round)
//
// With several rounds the best time of each phase counts, so that other load
// on the machine disturbs the ratios as little as possible.
#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "shell/ProgramState.h"
#include "platform/db/DatabaseHelpers.h"
#include "platform/ui/OptionArray.h"
#include "platform/ui/ScriptedDialogService.h"
#include "shell/CoordinateDatabase.h"
#include "shell/FormOrvenil.h"
#include "bench/BenchSupport.h"

using namespace orv;
using orv::bench::Check;
using orv::bench::Seconds;

namespace {

void WriteLines(const QString& path, long lines, bool geographic) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::exit(1);
  QByteArray buf;
  char line[160];
  for (long i = 0; i < lines; ++i) {
    int n;
    if (geographic)
      n = std::snprintf(line, sizeof line, "P%ld K%ld %.8f %.8f %.3f\r\n", i + 1, i % 7, 50.0 + (i % 100000) * 1e-5,
                        12.0 + (i / 100000) * 0.05 + (i % 997) * 1e-5, 100.0 + (i % 500) * 0.1);
    else
      n = std::snprintf(line, sizeof line, "P%ld K%ld %.3f %.3f %.3f\r\n", i + 1, i % 7, 4500000.0 + (i % 50000) * 1.25,
                        5600000.0 + (i / 50000) * 100.0 + (i % 13) * 0.5, 100.0 + (i % 500) * 0.1);
    buf.append(line, n);
    if (buf.size() > (1 << 20)) {
      f.write(buf);
      buf.clear();
    }
  }
  f.write(buf);
}

// Inserts the rows of the imported Daten into a fresh file of the same schema.
double RawInsert(const QString& importedPath, const QString& rawPath) {
  {
    Database db;
    CreateCoordinateDatabase(db, rawPath);
    CloseAllDatabases(true);
  }
  sqlite3* src = nullptr;
  sqlite3* raw = nullptr;
  Check(sqlite3_open_v2(importedPath.toUtf8().constData(), &src, SQLITE_OPEN_READONLY, nullptr), src);
  Check(sqlite3_open_v2(rawPath.toUtf8().constData(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr),
        raw);
  Check(sqlite3_exec(raw, "PRAGMA cache_size=-65536; PRAGMA synchronous=OFF; PRAGMA journal_mode=DELETE;", nullptr,
                     nullptr, nullptr),
        raw);
  const QStringList& names = DatenColumnNames();
  QByteArray cols, params;
  for (int c = 0; c < names.size(); ++c) {
    cols += (c ? ",\"" : "\"") + names[c].toUtf8() + "\"";
    params += c ? ",?" : "?";
  }
  sqlite3_stmt* sel = nullptr;
  sqlite3_stmt* ins = nullptr;
  Check(sqlite3_prepare_v2(src, "SELECT " + cols + " FROM Daten ORDER BY rowid", -1, &sel, nullptr), src);
  Check(sqlite3_prepare_v2(raw, "INSERT INTO Daten (" + cols + ") VALUES (" + params + ")", -1, &ins, nullptr), raw);
  const int n = static_cast<int>(names.size());
  // The rows are read in blocks (not timed) and inserted (timed) as UTF-8
  // texts ready to bind, the fastest form SQLite takes them in.
  constexpr int kBlock = 4096;
  std::vector<std::vector<QByteArray>> block(kBlock, std::vector<QByteArray>(n));
  std::vector<std::vector<bool>> isNull(kBlock, std::vector<bool>(n));
  std::vector<qint64> ids(kBlock);
  double timed = 0;
  auto t0 = std::chrono::steady_clock::now();
  Check(sqlite3_exec(raw, "BEGIN", nullptr, nullptr, nullptr), raw);
  timed += Seconds(t0);
  for (bool more = true; more;) {
    int filled = 0;
    while (filled < kBlock) {
      const int rc = sqlite3_step(sel);
      if (rc != SQLITE_ROW) {
        more = false;
        break;
      }
      for (int c = 0; c < n; ++c) {
        isNull[filled][c] = sqlite3_column_type(sel, c) == SQLITE_NULL;
        if (names[c] == QLatin1String("id"))
          ids[filled] = sqlite3_column_int64(sel, c);
        else
          block[filled][c] = QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(sel, c)),
                                        sqlite3_column_bytes(sel, c));
      }
      ++filled;
    }
    t0 = std::chrono::steady_clock::now();
    for (int r = 0; r < filled; ++r) {
      for (int c = 0; c < n; ++c) {
        if (isNull[r][c])
          sqlite3_bind_null(ins, c + 1);
        else if (names[c] == QLatin1String("id"))
          sqlite3_bind_int64(ins, c + 1, ids[r]);
        else
          sqlite3_bind_text(ins, c + 1, block[r][c].constData(), static_cast<int>(block[r][c].size()), SQLITE_STATIC);
      }
      Check(sqlite3_step(ins), raw, SQLITE_DONE);
      sqlite3_reset(ins);
    }
    timed += Seconds(t0);
  }
  t0 = std::chrono::steady_clock::now();
  Check(sqlite3_exec(raw, "COMMIT", nullptr, nullptr, nullptr), raw);
  timed += Seconds(t0);
  sqlite3_finalize(sel);
  sqlite3_finalize(ins);
  sqlite3_close(src);
  sqlite3_close(raw);
  return timed;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  setlocale(LC_NUMERIC, "C");
  const long lines = argc > 1 ? std::atol(argv[1]) : 1000000;
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1;
  QTemporaryDir dir;
  const FormOrvenilFolders folders = bench::WindowFolders(dir);
  // Empty system tables: the window starts without reporting missing ones.
  for (const char* table : {"sys_7Parameter.dat", "sys_NTv2.dat", "Quasigeoidmodell.dat"}) {
    QFile f(folders.databaseFolder + table);
    if (!f.open(QIODevice::WriteOnly)) return 1;
  }
  ScopedScriptedDialogs dialogs;
  dialogs->setAcceptOkMessages(true);
  FormOrvenil form(folders, QString());
  form.Form_Load();

  struct Case {
    const char* name;
    bool geographic;
    int startsys;
  };
  for (const Case& c : {Case{"Geograf GK42/83", false, 1}, Case{"geographic ETRS89", true, 0}}) {
    const QString file = dir.path() + (c.geographic ? "/punkte_geo.txt" : "/punkte_gk.txt");
    WriteLines(file, lines, c.geographic);
    ProgramState& state = State();
    form.Startsys->select(c.startsys);
    state.ImportDatei = file;
    state.ImportDateiGewaehlt = true;
    state.StartAbbildungIndex = c.geographic ? 2 : 0;
    state.StartAbbildungName = c.geographic ? "geographisch" : "verebnet";
    state.FormatEingabeGeographischIndex = 1;
    state.GeoidBereit = false;
    form.CommonDialog1.FilterIndex = 1;
    double importSeconds = 1e300, rawSeconds = 1e300;
    for (int round = 0; round < rounds; ++round) {
      auto t0 = std::chrono::steady_clock::now();
      form.ImportCoordinateFile();
      importSeconds = std::min(importSeconds, Seconds(t0));
      CloseAllDatabases(true);
      rawSeconds = std::min(rawSeconds, RawInsert(state.KooDbPfad, dir.path() + "/raw.mdb"));
      QFile::remove(dir.path() + "/raw.mdb");
    }
    QFile::remove(file);
    std::printf("%s: %ld lines, import %.2f s (%.0f lines/s), raw insert %.2f s\n", c.name, lines, importSeconds,
                lines / importSeconds, rawSeconds);
    std::printf("%s import/raw ratio %.2f\n", c.name, importSeconds / rawSeconds);
    if (!dialogs->messageTexts().isEmpty())
      std::printf("messages: %s\n", dialogs->messageTexts().join(" | ").toUtf8().constData());
    dialogs->clearRecords();
  }
  return 0;
}
