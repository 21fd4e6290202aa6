// Database layer against raw SQLite: inserts rows of Daten through
// AddNew/Update and through a prepared INSERT, then rewrites the 15 target
// columns of every row both ways (Edit/Update while walking, and a prepared
// UPDATE by row id while stepping a SELECT). Prints both ratios layer/raw.
//
//   bench_db [rows] [rounds]     (default 1,000,000 rows, 3 rounds)
//
// Each round runs all four phases on fresh files; the best time of each
// phase over the rounds counts, so that other load on the machine disturbs
// the ratios as little as possible.
#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "platform/db/DatabaseHelpers.h"
#include "shell/CoordinateDatabase.h"

using namespace orv;

namespace {

constexpr int kPool = 1024;        // distinct value rows, reused cyclically
constexpr int kFirstTarget = 17;   // sYeZiel, 0-based
constexpr int kTargets = 15;       // sYeZiel … LgDezSekZiel

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Values as the import writes them: formatted coordinates, degree texts, radians.
std::vector<std::vector<QString>> MakePool(int salt) {
  std::vector<std::vector<QString>> pool(kPool);
  for (int p = 0; p < kPool; ++p) {
    auto& row = pool[p];
    row.resize(40);
    double e = 4512345.6789 + p * 1.25 + salt, n = 5712345.1234 + p * 0.75 + salt;
    row[0] = QString("%1").arg(p, 20);
    row[1] = "PP";
    for (int c = 2; c < 38; ++c) {
      switch (c % 4) {
        case 0: row[c] = QString::number(e + c, 'f', 4); break;
        case 1: row[c] = QString::number(n + c, 'f', 5); break;
        case 2: row[c] = QString("%1°%2'%3\"").arg(51 + c % 3).arg(p % 60, 2, 10, QChar('0')).arg(12.123456 + c, 0, 'f', 6); break;
        default: row[c] = QString::number(0.9012345678912 + p * 1e-7 + c, 'g', 15); break;
      }
    }
    row[39] = QString();
  }
  return pool;
}

void Check(int rc, sqlite3* db, int expected = SQLITE_OK) {
  if (rc != expected) {
    std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db));
    std::exit(1);
  }
}

}  // namespace

struct Times {
  double layerInsert, layerUpdate, rawInsert, rawUpdate;
};

Times RunRound(long rows) {
  QTemporaryDir dir;
  const QString layerPath = dir.path() + "/tmp_dao_orvenil_bench_layer.mdb";
  const QString rawPath = dir.path() + "/tmp_dao_orvenil_bench_raw.mdb";
  const QStringList& names = DatenColumnNames();
  const auto pool = MakePool(0);
  const auto changed = MakePool(7);

  // Same schema in both files, made through the layer.
  {
    Database db;
    CreateCoordinateDatabase(db, rawPath);
    CreateCoordinateDatabase(db, layerPath);
    CloseAllDatabases(true);
  }

  // ---- layer ----
  Database db = DBEngine::openDatabase(layerPath);
  Recordset rs = db.openTable("Daten");
  auto t0 = std::chrono::steady_clock::now();
  for (long i = 0; i < rows; ++i) {
    const auto& v = pool[i % kPool];
    rs.addNew();
    for (int c = 0; c < 38; ++c) rs.setValue(names[c], v[c]);
    rs.setValue(names[38], static_cast<qint64>(i + 1));
    rs.setValue(names[39], v[39]);
    rs.update();
  }
  db.commit();
  const double layerInsert = Seconds(t0);

  t0 = std::chrono::steady_clock::now();
  long i = 0;
  for (rs.moveFirst(); !rs.eof(); rs.moveNext(), ++i) {
    const auto& v = changed[i % kPool];
    rs.edit();
    for (int c = kFirstTarget; c < kFirstTarget + kTargets; ++c) rs.setValue(names[c], v[c]);
    rs.update();
  }
  db.commit();
  const double layerUpdate = Seconds(t0);
  rs.close();
  db.close();

  // ---- raw sqlite3 ----
  sqlite3* raw = nullptr;
  Check(sqlite3_open_v2(rawPath.toUtf8().constData(), &raw, SQLITE_OPEN_READWRITE, nullptr), raw);
  Check(sqlite3_exec(raw, "PRAGMA cache_size=-65536; PRAGMA synchronous=OFF; PRAGMA journal_mode=MEMORY;",
                     nullptr, nullptr, nullptr), raw);
  QByteArray cols, params;
  for (int c = 0; c < 40; ++c) {
    cols += (c ? ",\"" : "\"") + names[c].toUtf8() + "\"";
    params += c ? ",?" : "?";
  }
  sqlite3_stmt* ins = nullptr;
  Check(sqlite3_prepare_v2(raw, "INSERT INTO Daten (" + cols + ") VALUES (" + params + ")", -1, &ins, nullptr), raw);
  t0 = std::chrono::steady_clock::now();
  Check(sqlite3_exec(raw, "BEGIN", nullptr, nullptr, nullptr), raw);
  for (long r = 0; r < rows; ++r) {
    const auto& v = pool[r % kPool];
    for (int c = 0; c < 38; ++c)
      sqlite3_bind_text16(ins, c + 1, v[c].utf16(), static_cast<int>(v[c].size() * 2), SQLITE_STATIC);
    sqlite3_bind_int64(ins, 39, r + 1);
    sqlite3_bind_text16(ins, 40, v[39].utf16(), static_cast<int>(v[39].size() * 2), SQLITE_STATIC);
    Check(sqlite3_step(ins), raw, SQLITE_DONE);
    sqlite3_reset(ins);
  }
  Check(sqlite3_exec(raw, "COMMIT", nullptr, nullptr, nullptr), raw);
  const double rawInsert = Seconds(t0);
  sqlite3_finalize(ins);

  QByteArray set;
  for (int c = kFirstTarget; c < kFirstTarget + kTargets; ++c)
    set += (c > kFirstTarget ? ",\"" : "\"") + names[c].toUtf8() + "\"=?";
  sqlite3_stmt* walk = nullptr;
  sqlite3_stmt* upd = nullptr;
  Check(sqlite3_prepare_v2(raw, "SELECT rowid FROM Daten ORDER BY rowid", -1, &walk, nullptr), raw);
  Check(sqlite3_prepare_v2(raw, "UPDATE Daten SET " + set + " WHERE rowid=?", -1, &upd, nullptr), raw);
  t0 = std::chrono::steady_clock::now();
  Check(sqlite3_exec(raw, "BEGIN", nullptr, nullptr, nullptr), raw);
  long r = 0;
  while (sqlite3_step(walk) == SQLITE_ROW) {
    const auto& v = changed[r++ % kPool];
    for (int c = 0; c < kTargets; ++c) {
      const QString& s = v[kFirstTarget + c];
      sqlite3_bind_text16(upd, c + 1, s.utf16(), static_cast<int>(s.size() * 2), SQLITE_STATIC);
    }
    sqlite3_bind_int64(upd, kTargets + 1, sqlite3_column_int64(walk, 0));
    Check(sqlite3_step(upd), raw, SQLITE_DONE);
    sqlite3_reset(upd);
  }
  Check(sqlite3_exec(raw, "COMMIT", nullptr, nullptr, nullptr), raw);
  const double rawUpdate = Seconds(t0);
  sqlite3_finalize(walk);
  sqlite3_finalize(upd);
  sqlite3_close(raw);

  if (i != rows || r != rows) {
    std::fprintf(stderr, "walked %ld and %ld rows instead of %ld\n", i, r, rows);
    std::exit(1);
  }
  return {layerInsert, layerUpdate, rawInsert, rawUpdate};
}

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const long rows = argc > 1 ? std::atol(argv[1]) : 1000000;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
  Times best{1e30, 1e30, 1e30, 1e30};
  for (int k = 0; k < rounds; ++k) {
    Times t = RunRound(rows);
    std::printf("round %d: insert layer %.2f s raw %.2f s; update layer %.2f s raw %.2f s\n", k + 1,
                t.layerInsert, t.rawInsert, t.layerUpdate, t.rawUpdate);
    best = {std::min(best.layerInsert, t.layerInsert), std::min(best.layerUpdate, t.layerUpdate),
            std::min(best.rawInsert, t.rawInsert), std::min(best.rawUpdate, t.rawUpdate)};
  }
  std::printf("rows: %ld, rounds: %d (best of each phase)\n", rows, rounds);
  std::printf("insert (AddNew/Update vs prepared INSERT): layer %.2f s, raw %.2f s, ratio layer/raw %.3f\n",
              best.layerInsert, best.rawInsert, best.layerInsert / best.rawInsert);
  std::printf("update 15 columns (Edit/Update vs prepared UPDATE): layer %.2f s, raw %.2f s, ratio layer/raw %.3f\n",
              best.layerUpdate, best.rawUpdate, best.layerUpdate / best.rawUpdate);
  return 0;
}
