// Export against raw SQLite: fills Daten with rows as an import leaves them,
// then exports five columns as ASCII and as .xls through the main window's
// ExportCoordinateTable (save dialog answered by script, progress window
// drawn offscreen), and reads the same rows with a raw prepared SELECT in
// the same order, writing them with plain buffered output. Prints rows per
// second and the ratio export/raw for each format.
//
//   bench_export [rows] [rounds]     (default 1,000,000 rows, 7 rounds)
//
// Each round times every export beside its raw floor, back to back (which
// of the two goes first alternates from round to round); the printed ratio
// is the median of the per-round ratios, so that load on the machine that
// hits one round does not decide the result.
#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

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

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const long rows = argc > 1 ? std::atol(argv[1]) : 1000000;
  const int rounds = std::max(argc > 2 ? std::atoi(argv[2]) : 7, 1);

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

  std::vector<double> ascii, rawAscii, xls, rawXls, asciiRatios, xlsRatios;
  for (int round = 0; round < rounds; ++round) {
    const QString out = root.path() + "/out" + QString::number(round);
    const bool oursFirst = round % 2 == 0;
    long n = 0;
    auto timeExport = [&](const QString& path, int filter) {
      const auto t0 = std::chrono::steady_clock::now();
      dialogs->expectSaveFile(path, filter);
      form.ExportCoordinateTable();
      return Seconds(t0);
    };
    auto pair = [&](std::vector<double>& ours, std::vector<double>& raw, const QString& path, int filter,
                    const QString& rawPath, const char* order) {
      if (oursFirst) ours.push_back(timeExport(path, filter));
      raw.push_back(RawExport(state.KooDbPfad, rawPath, order, n));
      if (!oursFirst) ours.push_back(timeExport(path, filter));
    };
    pair(ascii, rawAscii, out + ".pkt", 1, out + "_raw.pkt", "rowid");
    pair(xls, rawXls, out + ".xls", 3, out + "_raw.txt", "Punkt");
    asciiRatios.push_back(ascii.back() / rawAscii.back());
    xlsRatios.push_back(xls.back() / rawXls.back());
    std::printf("round %d: ascii %.3f s raw %.3f s (x%.3f); xls %.3f s raw %.3f s (x%.3f)\n", round + 1,
                ascii.back(), rawAscii.back(), asciiRatios.back(), xls.back(), rawXls.back(), xlsRatios.back());
    std::fflush(stdout);
    for (const char* suffix : {".pkt", "_raw.pkt", ".xls", "_raw.txt"}) QFile::remove(out + suffix);
  }
  if (!dialogs->allDone()) {
    std::fprintf(stderr, "unexpected dialogs: %s\n", qPrintable(dialogs->failures().join("; ")));
    return 1;
  }
  std::printf("rows %ld, rounds %d (medians)\n", rows, rounds);
  std::printf("ascii export %.0f rows/s, raw %.0f rows/s\n", rows / Median(ascii), rows / Median(rawAscii));
  std::printf("xls export %.0f rows/s, raw %.0f rows/s\n", rows / Median(xls), rows / Median(rawXls));
  std::printf("ascii ratio %.2f\n", Median(asciiRatios));
  std::printf("xls ratio %.2f\n", Median(xlsRatios));
  form.GridKooDb->ClearRows();
  CloseAllDatabases(true);
  return 0;
}
