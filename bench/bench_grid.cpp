// Binding a job of 2,000,000 points into the data grid, in Punkt order and
// unsorted ("SELECT * FROM Daten", as the merges bind), against the floor of
// one raw read of the ordered row ids on a connection of its own. The
// binding in Punkt order followed by a refresh, as the import does, is also
// set against that floor ("grid bind over raw sqlite3").
//
//   bench_grid [rows] [rounds] [file]    (default 2,000,000 rows, 5 rounds)
//
// The job is written through the database layer (AddNew/Update, then a run's
// Edit/Update over every row) into a temporary file, or taken from file when
// that exists (it is then kept).
// Each round reads the raw row ids and binds the grid both ways, back to
// back, each on a newly opened connection; a binding counts until the grid
// shows its first rows. The printed figures are medians over the rounds. The
// peak memory is the process's largest resident size while the job is
// written, bound and refreshed (with a file given, only the binding).
#include <sqlite3.h>
#include <sys/resource.h>

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "platform/db/DatabaseHelpers.h"
#include "platform/ui/DataGrid.h"
#include "shell/CoordinateDatabase.h"

using namespace orv;

namespace {

using Clock = std::chrono::steady_clock;

double Millis(Clock::time_point since) {
  return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// The job as an import writes it: 40 columns of texts and the point number.
void WriteJob(const QString& path, long rows) {
  const QStringList& names = DatenColumnNames();
  Database db;
  CreateCoordinateDatabase(db, path);
  Recordset rs = db.openTable(QStringLiteral("Daten"));
  std::vector<QString> row(38);
  for (long i = 0; i < rows; ++i) {
    // Point names in an order of their own, so that Punkt order is not insertion order.
    const long name = (i * 7919) % rows;
    row[0] = QStringLiteral("%1").arg(name, 12);
    row[1] = QStringLiteral("PP");
    const double e = 4512345.6789 + i * 0.25, n = 5712345.1234 + i * 0.125;
    for (int c = 2; c < 38; ++c) row[c] = QString::number(c % 2 ? n + c : e + c, 'f', 4);
    rs.addNew();
    for (int c = 0; c < 38; ++c) rs.setValue(names[c], row[c]);
    rs.setValue(names[38], static_cast<qint64>(i + 1));
    rs.update();
  }
  // A run: every row's target columns rewritten while walking.
  for (rs.moveFirst(); !rs.eof(); rs.moveNext()) {
    const double e = 4512345.6789 + rs.value(names[38]).toDouble() * 0.25;
    rs.edit();
    for (int c = 17; c < 32; ++c) rs.setValue(names[c], QString::number(e + c, 'f', 4));
    rs.update();
  }
  rs.close();
  db.close();
  CloseAllDatabases(true);
}

// The floor: one read of the ordered row ids, on a connection of its own.
class RawReader {
 public:
  explicit RawReader(const QString& path) {
    sqlite3_open_v2(path.toUtf8().constData(), &db_, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    sqlite3_exec(db_, "PRAGMA cache_size=-65536", nullptr, nullptr, nullptr);
    if (sqlite3_prepare_v2(db_, "SELECT rowid FROM Daten ORDER BY Punkt, rowid", -1, &s_, nullptr) != SQLITE_OK) {
      std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db_));
      std::exit(1);
    }
  }
  ~RawReader() {
    sqlite3_finalize(s_);
    sqlite3_close(db_);
  }
  std::vector<qint64> orderedIds() {
    std::vector<qint64> ids;
    while (sqlite3_step(s_) == SQLITE_ROW) ids.push_back(sqlite3_column_int64(s_, 0));
    sqlite3_reset(s_);
    return ids;
  }

 private:
  sqlite3* db_ = nullptr;
  sqlite3_stmt* s_ = nullptr;
};

// Binds and waits until the grid has drawn its first rows.
double Bind(DataGrid& grid, Database& db, const QString& sql, long rows) {
  auto t0 = Clock::now();
  grid.BindQuery(db, sql);
  const QString first = grid.CellText(1, QStringLiteral("Punkt"));
  QApplication::processEvents();
  const double ms = Millis(t0);
  if (grid.RowCount() != rows || first.isEmpty()) {
    std::fprintf(stderr, "%s: %d rows bound instead of %ld\n", qPrintable(sql), grid.RowCount(), rows);
    std::exit(1);
  }
  return ms;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const long rows = argc > 1 ? std::atol(argv[1]) : 2000000;
  const int rounds = std::max(argc > 2 ? std::atoi(argv[2]) : 5, 1);
  QTemporaryDir dir;
  QString path = argc > 3 ? QString::fromLocal8Bit(argv[3]) : dir.path() + "/tmp_dao_orvenil_bench_grid.mdb";
  if (!QFileInfo::exists(path)) {
    auto t0 = Clock::now();
    WriteJob(path, rows);
    std::printf("job of %ld rows written and rewritten through the layer in %.1f s, peak memory %.0f MB\n", rows,
                Millis(t0) / 1000, PeakMegabytes());
  }

  DataGrid grid;
  grid.resize(1000, 700);
  grid.show();
  {
    // The job's own memory: written through the layer, bound both ways and
    // refreshed, before any raw connection is opened.
    Database db = DBEngine::openDatabase(path);
    Bind(grid, db, QStringLiteral("SELECT * FROM Daten ORDER BY Punkt"), rows);
    grid.Refresh();
    Bind(grid, db, QStringLiteral("SELECT * FROM Daten"), rows);
    grid.ClearRows();
    db.close();
    std::printf("peak memory of the job (layer and grid): %.0f MB\n", PeakMegabytes());
    std::fflush(stdout);
  }

  // Both sides start each round on a connection of their own with an empty
  // cache (the file itself stays in the system's cache).
  std::vector<double> raw, ordered, unsorted, refresh, orderedRatios, unsortedRatios, importRatios;
  for (int k = 0; k < rounds; ++k) {
    auto t0 = Clock::now();
    const std::vector<qint64> ids = RawReader(path).orderedIds();
    raw.push_back(Millis(t0));
    if (static_cast<long>(ids.size()) != rows) {
      std::fprintf(stderr, "the file holds %zu rows, not %ld\n", ids.size(), rows);
      return 1;
    }
    Database db = DBEngine::openDatabase(path);
    ordered.push_back(Bind(grid, db, QStringLiteral("SELECT * FROM Daten ORDER BY Punkt"), rows));
    t0 = Clock::now();
    grid.Refresh();
    grid.CellText(1, QStringLiteral("Punkt"));
    QApplication::processEvents();
    refresh.push_back(Millis(t0));
    grid.ClearRows();
    db.close();
    db = DBEngine::openDatabase(path);
    unsorted.push_back(Bind(grid, db, QStringLiteral("SELECT * FROM Daten"), rows));
    grid.ClearRows();
    db.close();
    orderedRatios.push_back(ordered.back() / raw.back());
    importRatios.push_back((ordered.back() + refresh.back()) / raw.back());
    unsortedRatios.push_back(unsorted.back() / raw.back());
    std::printf("round %d: raw ordered ids %.0f ms; Punkt order %.0f ms, its refresh %.0f ms; unsorted %.0f ms\n",
                k + 1, raw.back(), ordered.back(), refresh.back(), unsorted.back());
    std::fflush(stdout);
  }
  std::printf("rows: %ld, rounds: %d (medians)\n", rows, rounds);
  std::printf("raw read of the ordered row ids: %.0f ms\n", Median(raw));
  std::printf("binding in Punkt order: %.0f ms, refresh %.0f ms\n", Median(ordered), Median(refresh));
  std::printf("binding unsorted: %.0f ms\n", Median(unsorted));
  std::printf("Punkt order against the raw read: ratio %.3f\n", Median(orderedRatios));
  std::printf("unsorted against the raw read: ratio %.3f\n", Median(unsortedRatios));
  std::printf("grid bind over raw sqlite3: ratio %.3f\n", Median(importRatios));
  return 0;
}
