// Database layer against raw SQLite: inserts rows of Daten through
// AddNew/Update and through a prepared INSERT, then rewrites the 15 target
// columns of every row both ways (Edit/Update while walking, and a prepared
// UPDATE by row id while stepping a SELECT).
//
//   bench_db [rows] [rounds]     (default 200,000 rows, 5 rounds)
//
// The raw side is the tightest honest floor: the same schema, indexes,
// pragmas and connection mode (no mutex), and the texts already in UTF-8 (the
// database's own encoding), bound without any conversion. Each round runs layer and raw back to back on fresh
// files, taking turns every few thousand rows; the printed ratio of a phase is
// the median of the per-round ratios, so that load on the machine that hits
// one round does not decide the result.
#include <sqlite3.h>

#include <QApplication>
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
constexpr int kColumns = 40;
constexpr long kSlice = 5000;      // rows per turn of each side

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// Values as the import writes them: formatted coordinates, degree texts, radians.
std::vector<std::vector<QString>> MakePool(int salt) {
  std::vector<std::vector<QString>> pool(kPool);
  for (int p = 0; p < kPool; ++p) {
    auto& row = pool[p];
    row.resize(kColumns);
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

// The same pool as the raw side binds it: UTF-8 made once, before any timing.
std::vector<std::vector<QByteArray>> Utf8(const std::vector<std::vector<QString>>& pool) {
  std::vector<std::vector<QByteArray>> out(pool.size());
  for (size_t p = 0; p < pool.size(); ++p)
    for (const QString& s : pool[p]) out[p].push_back(s.toUtf8());
  return out;
}

void Check(int rc, sqlite3* db, int expected = SQLITE_OK) {
  if (rc != expected) {
    std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db));
    std::exit(1);
  }
}

void BindUtf8(sqlite3_stmt* s, int position, const QByteArray& text) {
  sqlite3_bind_text(s, position, text.constData(), static_cast<int>(text.size()), SQLITE_STATIC);
}

struct Pools {
  std::vector<std::vector<QString>> insert, change;
  std::vector<std::vector<QByteArray>> insert8, change8;
};

struct Phases {
  double insert = 0, update = 0;
};

// The layer's side: AddNew/Update, then Edit/Update while walking.
class LayerSide {
 public:
  explicit LayerSide(const QString& path)
      : names_(DatenColumnNames()), db_(DBEngine::openDatabase(path)), rs_(db_.openTable("Daten")) {}

  void insert(long first, long count, const Pools& pools) {
    for (long i = first; i < first + count; ++i) {
      const auto& v = pools.insert[i % kPool];
      rs_.addNew();
      for (int c = 0; c < 38; ++c) rs_.setValue(names_[c], v[c]);
      rs_.setValue(names_[38], static_cast<qint64>(i + 1));
      rs_.setValue(names_[39], v[39]);
      rs_.update();
    }
  }
  void startWalk() { rs_.moveFirst(); }
  void update(long count, const Pools& pools) {
    for (long k = 0; k < count && !rs_.eof(); ++k, rs_.moveNext(), ++walked_) {
      const auto& v = pools.change[walked_ % kPool];
      rs_.edit();
      for (int c = kFirstTarget; c < kFirstTarget + kTargets; ++c) rs_.setValue(names_[c], v[c]);
      rs_.update();
    }
  }
  void commit() { db_.commit(); }
  long walked() const { return walked_; }
  void close() {
    rs_.close();
    db_.close();
  }

 private:
  const QStringList& names_;
  Database db_;
  Recordset rs_;
  long walked_ = 0;
};

// The raw side: a prepared INSERT, then a prepared UPDATE by row id while
// stepping a SELECT of the row ids; one transaction per phase.
class RawSide {
 public:
  explicit RawSide(const QString& path) {
    const QStringList& names = DatenColumnNames();
    Check(sqlite3_open_v2(path.toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr), db_);
    Check(sqlite3_exec(db_, "PRAGMA cache_size=-65536; PRAGMA synchronous=OFF; PRAGMA journal_mode=DELETE;",
                       nullptr, nullptr, nullptr), db_);
    QByteArray cols, params, set;
    for (int c = 0; c < kColumns; ++c) {
      cols += (c ? ",\"" : "\"") + names[c].toUtf8() + "\"";
      params += c ? ",?" : "?";
    }
    for (int c = kFirstTarget; c < kFirstTarget + kTargets; ++c)
      set += (c > kFirstTarget ? ",\"" : "\"") + names[c].toUtf8() + "\"=?";
    Check(sqlite3_prepare_v2(db_, "INSERT INTO Daten (" + cols + ") VALUES (" + params + ")", -1, &ins_, nullptr), db_);
    Check(sqlite3_prepare_v2(db_, "SELECT rowid FROM Daten ORDER BY rowid", -1, &walk_, nullptr), db_);
    Check(sqlite3_prepare_v2(db_, "UPDATE Daten SET " + set + " WHERE rowid=?", -1, &upd_, nullptr), db_);
  }

  void begin() { Check(sqlite3_exec(db_, "BEGIN", nullptr, nullptr, nullptr), db_); }
  void commit() { Check(sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr), db_); }
  void insert(long first, long count, const Pools& pools) {
    for (long r = first; r < first + count; ++r) {
      const auto& v = pools.insert8[r % kPool];
      for (int c = 0; c < 38; ++c) BindUtf8(ins_, c + 1, v[c]);
      sqlite3_bind_int64(ins_, 39, r + 1);
      BindUtf8(ins_, 40, v[39]);
      Check(sqlite3_step(ins_), db_, SQLITE_DONE);
      sqlite3_reset(ins_);
    }
  }
  void update(long count, const Pools& pools) {
    for (long k = 0; k < count && sqlite3_step(walk_) == SQLITE_ROW; ++k) {
      const auto& v = pools.change8[walked_++ % kPool];
      for (int c = 0; c < kTargets; ++c) BindUtf8(upd_, c + 1, v[kFirstTarget + c]);
      sqlite3_bind_int64(upd_, kTargets + 1, sqlite3_column_int64(walk_, 0));
      Check(sqlite3_step(upd_), db_, SQLITE_DONE);
      sqlite3_reset(upd_);
    }
  }
  long walked() const { return walked_; }
  void close() {
    for (sqlite3_stmt* s : {ins_, walk_, upd_}) sqlite3_finalize(s);
    sqlite3_close(db_);
  }

 private:
  sqlite3* db_ = nullptr;
  sqlite3_stmt* ins_ = nullptr;
  sqlite3_stmt* walk_ = nullptr;
  sqlite3_stmt* upd_ = nullptr;
  long walked_ = 0;
};

// Adds the time f takes to total.
template <typename F>
void Timed(double& total, F&& f) {
  const auto t0 = Clock::now();
  f();
  total += Seconds(t0);
}

// One round on fresh files. Both sides work in slices taken in turn (which
// side goes first alternates), so that load on the machine meets both alike.
Phases RunRound(long rows, long slice, const Pools& pools, Phases& raw) {
  QTemporaryDir dir;
  const QString layerPath = dir.path() + "/tmp_dao_orvenil_bench_layer.mdb";
  const QString rawPath = dir.path() + "/tmp_dao_orvenil_bench_raw.mdb";
  {
    // Same schema in both files, made through the layer.
    Database db;
    CreateCoordinateDatabase(db, rawPath);
    CreateCoordinateDatabase(db, layerPath);
    CloseAllDatabases(true);
  }
  Phases layer;
  raw = Phases();
  LayerSide l(layerPath);
  RawSide r(rawPath);

  Timed(raw.insert, [&] { r.begin(); });
  for (long first = 0, k = 0; first < rows; first += slice, ++k) {
    const long count = std::min(slice, rows - first);
    auto layerSlice = [&] { Timed(layer.insert, [&] { l.insert(first, count, pools); }); };
    auto rawSlice = [&] { Timed(raw.insert, [&] { r.insert(first, count, pools); }); };
    if (k % 2 == 0) layerSlice(), rawSlice();
    else rawSlice(), layerSlice();
  }
  Timed(layer.insert, [&] { l.commit(); });
  Timed(raw.insert, [&] { r.commit(); });

  Timed(layer.update, [&] { l.startWalk(); });
  Timed(raw.update, [&] { r.begin(); });
  for (long done = 0, k = 0; done < rows; done += slice, ++k) {
    auto layerSlice = [&] { Timed(layer.update, [&] { l.update(slice, pools); }); };
    auto rawSlice = [&] { Timed(raw.update, [&] { r.update(slice, pools); }); };
    if (k % 2 == 0) layerSlice(), rawSlice();
    else rawSlice(), layerSlice();
  }
  Timed(layer.update, [&] { l.commit(); });
  Timed(raw.update, [&] { r.commit(); });

  if (l.walked() != rows || r.walked() != rows) {
    std::fprintf(stderr, "walked %ld and %ld rows instead of %ld\n", l.walked(), r.walked(), rows);
    std::exit(1);
  }
  l.close();
  r.close();
  return layer;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const long rows = argc > 1 ? std::atol(argv[1]) : 200000;
  const int rounds = std::max(argc > 2 ? std::atoi(argv[2]) : 5, 1);
  Pools pools;
  pools.insert = MakePool(0);
  pools.change = MakePool(7);
  pools.insert8 = Utf8(pools.insert);
  pools.change8 = Utf8(pools.change);

  std::vector<double> insertRatios, updateRatios;
  for (int k = 0; k < rounds; ++k) {
    Phases raw;
    const Phases layer = RunRound(rows, kSlice, pools, raw);
    insertRatios.push_back(layer.insert / raw.insert);
    updateRatios.push_back(layer.update / raw.update);
    std::printf("round %d: insert layer %.3f s raw %.3f s (x%.3f); update layer %.3f s raw %.3f s (x%.3f)\n", k + 1,
                layer.insert, raw.insert, insertRatios.back(), layer.update, raw.update, updateRatios.back());
    std::fflush(stdout);
  }
  std::printf("rows: %ld, rounds: %d (median of the per-round ratios; raw binds UTF-8)\n", rows, rounds);
  std::printf("insert (AddNew/Update vs prepared INSERT) ratio %.3f\n", Median(insertRatios));
  std::printf("update of 15 columns (Edit/Update vs prepared UPDATE) ratio %.3f\n", Median(updateRatios));
  return 0;
}
