// Export against raw SQLite: fills Daten with rows as an import leaves them,
// then exports five columns as ASCII and as .xls through the main window's
// ExportCoordinateTable (save dialog answered by script, progress window
// drawn offscreen), and reads the same rows with a raw prepared SELECT in
// the same order, writing them with plain buffered output. Prints rows per
// second and the ratio export/raw for each format.
//
//   bench_export [rows] [rounds]     (default 1,000,000 rows, 5 rounds)
//
// The best time of each phase over the rounds counts.
#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "platform/db/DBEngine.h"
#include "platform/db/DatabaseHelpers.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/ScriptedDialogService.h"
#include "shell/CoordinateDatabase.h"
#include "shell/FormOrvenil.h"
#include "bench/BenchSupport.h"
#include "shell/ProgramState.h"

using namespace orv;
using orv::bench::Check;
using orv::bench::Seconds;

namespace {

constexpr const char* kColumns = "1,2,18,19,20";
constexpr const char* kRawColumns = "Punkt,C,sYeZiel,sXeZiel,sZeZiel";

void Fill(const QString& path, long rows) {
  sqlite3* db = nullptr;
  Check(sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr), db);
  Check(sqlite3_exec(db, "PRAGMA synchronous=OFF; PRAGMA journal_mode=MEMORY; BEGIN", nullptr, nullptr,
                     nullptr),
        db);
  const QStringList& names = DatenColumnNames();
  QByteArray cols, params;
  for (int c = 0; c < 40; ++c) {
    cols += (c ? ",\"" : "\"") + names[c].toUtf8() + "\"";
    params += c ? ",?" : "?";
  }
  sqlite3_stmt* ins = nullptr;
  Check(sqlite3_prepare_v2(db, "INSERT INTO Daten (" + cols + ") VALUES (" + params + ")", -1, &ins, nullptr),
        db);
  for (long r = 0; r < rows; ++r) {
    std::vector<QByteArray> v(40);
    v[0] = QString("P%1").arg(r, 19).toUtf8();
    v[1] = "Baum";
    for (int c = 2; c < 38; ++c)
      v[c] = QByteArray::number((c % 2 ? 5712345.1234 : 4512345.6789) + r * 0.001 + c, 'f', 4);
    v[38] = QByteArray::number(qlonglong(r + 1));
    for (int c = 0; c < 40; ++c)
      sqlite3_bind_text(ins, c + 1, v[c].constData(), int(v[c].size()), SQLITE_TRANSIENT);
    Check(sqlite3_step(ins), db, SQLITE_DONE);
    sqlite3_reset(ins);
  }
  sqlite3_finalize(ins);
  Check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
  sqlite3_close(db);
}

// The raw floor: one prepared SELECT, values joined by blanks, CR LF, fwrite.
double RawExport(const QString& dbPath, const QString& out, const char* order, long& rows) {
  auto t0 = std::chrono::steady_clock::now();
  sqlite3* db = nullptr;
  Check(sqlite3_open_v2(dbPath.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr), db);
  sqlite3_stmt* s = nullptr;
  const QByteArray sql = QByteArray("SELECT ") + kRawColumns + ",sYe FROM Daten ORDER BY " + order;
  Check(sqlite3_prepare_v2(db, sql.constData(), -1, &s, nullptr), db);
  FILE* f = std::fopen(out.toUtf8().constData(), "wb");
  static char buffer[1 << 16];
  std::setvbuf(f, buffer, _IOFBF, sizeof buffer);
  rows = 0;
  while (sqlite3_step(s) == SQLITE_ROW) {
    for (int c = 0; c < 5; ++c) {
      if (c) std::fputc(' ', f);
      std::fwrite(sqlite3_column_text(s, c), 1, size_t(sqlite3_column_bytes(s, c)), f);
    }
    std::fwrite("\r\n", 1, 2, f);
    ++rows;
  }
  std::fclose(f);
  sqlite3_finalize(s);
  sqlite3_close(db);
  return Seconds(t0);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const long rows = argc > 1 ? std::atol(argv[1]) : 1000000;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;

  QTemporaryDir root;
  const FormOrvenilFolders folders = bench::WindowFolders(root);
  ScopedScriptedDialogs dialogs;
  dialogs->setAcceptOkMessages(true);
  FormOrvenil form(folders, QString());
  form.Form_Load();
  ProgramState& state = State();
  CloseAllDatabases(true);
  Fill(state.KooDbPfad, rows);
  state.KooDb = DBEngine::openDatabase(state.KooDbPfad);
  form.GridKooDb->BindQuery(state.KooDb, "SELECT * FROM Daten ORDER BY Punkt");
  state.SpeichernSpaltenNr = kColumns;
  state.SpeichernSpalten = kRawColumns;

  double best[4] = {1e9, 1e9, 1e9, 1e9};  // ascii, raw ascii, xls, raw xls
  for (int round = 0; round < rounds; ++round) {
    const QString out = root.path() + "/out" + QString::number(round);
    auto t0 = std::chrono::steady_clock::now();
    dialogs->expectSaveFile(out + ".pkt", 1);
    form.ExportCoordinateTable();
    best[0] = std::min(best[0], Seconds(t0));
    long n = 0;
    best[1] = std::min(best[1], RawExport(state.KooDbPfad, out + "_raw.pkt", "rowid", n));

    t0 = std::chrono::steady_clock::now();
    dialogs->expectSaveFile(out + ".xls", 3);
    form.ExportCoordinateTable();
    best[2] = std::min(best[2], Seconds(t0));
    best[3] = std::min(best[3], RawExport(state.KooDbPfad, out + "_raw.txt", "Punkt", n));
  }
  if (!dialogs->allDone()) {
    std::fprintf(stderr, "unexpected dialogs: %s\n", qPrintable(dialogs->failures().join("; ")));
    return 1;
  }
  std::printf("rows %ld\n", rows);
  std::printf("ascii export %.0f rows/s, raw %.0f rows/s\n", rows / best[0], rows / best[1]);
  std::printf("xls export %.0f rows/s, raw %.0f rows/s\n", rows / best[2], rows / best[3]);
  std::printf("ascii ratio %.2f\n", best[0] / best[1]);
  std::printf("xls ratio %.2f\n", best[2] / best[3]);
  form.GridKooDb->ClearRows();
  CloseAllDatabases(true);
  return 0;
}
