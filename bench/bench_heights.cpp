// Throughput of the height-database run: 100,000 job points, imported
// through the toolbar from a Gauss-Krüger file in scattered point order over
// two strips (so that the rows are those an import fills), against a
// synthetic model of 2,000,000 points (table SchwerpktH with an index on Y,
// and once without any index), through the window's run, beside the same box
// queries and row updates done with raw sqlite3 prepared statements in the
// same run. The geoid height run is timed with the whole job (bench_job).
#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <vector>

#include "shell/ProgramState.h"
#include "platform/db/DBEngine.h"
#include "platform/db/DatabaseHelpers.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/ScriptedDialogService.h"
#include "platform/ui/VbComboBox.h"
#include "platform/ui/VbStatusBar.h"
#include "shell/FormOrvenil.h"
#include "bench/BenchSupport.h"

using namespace orv;

namespace {

constexpr int kJobPoints = 100000;
// 2,000,000 model points 50 m apart along a corridor: 20,000 rows along Y
// (1,000 km) and 100 across (5 km), so that a box query on the index of Y
// meets about 900 rows, as on a corridor model, not a whole country's band.
constexpr int kModelRowsY = 20000;
constexpr int kModelRowsX = 100;
constexpr double kSpacing = 50.0;
constexpr double kY0 = 4500000.0, kX0 = 5600000.0;

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

void Exec(sqlite3* db, const char* sql) {
  char* err = nullptr;
  if (sqlite3_exec(db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
    std::fprintf(stderr, "sqlite: %s\n", err ? err : "?");
    std::exit(1);
  }
}

void WriteModel(const QString& path, bool indexed) {
  QFile::remove(path);
  sqlite3* db = nullptr;
  sqlite3_open(path.toUtf8().constData(), &db);
  Exec(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN");
  Exec(db, "CREATE TABLE SchwerpktH (X REAL, Y REAL, Z REAL)");
  sqlite3_stmt* ins = nullptr;
  sqlite3_prepare_v2(db, "INSERT INTO SchwerpktH VALUES (?1, ?2, ?3)", -1, &ins, nullptr);
  for (int i = 0; i < kModelRowsX; ++i) {
    for (int j = 0; j < kModelRowsY; ++j) {
      sqlite3_bind_double(ins, 1, kX0 + i * kSpacing);
      sqlite3_bind_double(ins, 2, kY0 + j * kSpacing);
      sqlite3_bind_double(ins, 3, 100.0 + 0.001 * ((i * 7 + j * 13) % 1000));
      sqlite3_step(ins);
      sqlite3_reset(ins);
    }
  }
  sqlite3_finalize(ins);
  if (indexed) Exec(db, "CREATE INDEX SchwerpktH_Y ON SchwerpktH (Y)");
  Exec(db, "COMMIT");
  sqlite3_close(db);
}

struct JobPoint {
  double y, x;
};

std::vector<JobPoint> JobPoints() {
  std::vector<JobPoint> pts;
  pts.reserve(kJobPoints);
  const double sideY = (kModelRowsY - 1) * kSpacing, sideX = (kModelRowsX - 1) * kSpacing;
  for (int i = 0; i < kJobPoints; ++i) {
    pts.push_back({kY0 + std::fmod(i * 7919.37, sideY), kX0 + std::fmod(i * 104.729 * 31, sideX)});
  }
  return pts;
}

// The job's points as a Gauss-Krüger file (point, code, easting, northing,
// height), imported through the toolbar as a user does.
void ImportJob(FormOrvenil& form, ScriptedDialogService& dialogs, const std::vector<JobPoint>& pts,
               const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly)) std::exit(1);
  QByteArray text;
  char line[96];
  for (size_t i = 0; i < pts.size(); ++i)
    text.append(line, std::snprintf(line, sizeof line, "%zu K %.3f %.3f 10.000\r\n", i + 1, pts[i].y, pts[i].x));
  f.write(text);
  f.close();
  bench::ImportThroughToolbar(form, dialogs, path, 1);
  if (form.GridKooDb->RowCount() != static_cast<int>(pts.size())) {
    std::printf("import failed: %d rows\n", form.GridKooDb->RowCount());
    std::exit(1);
  }
  State().KooDb.commit();
}

// The same box queries and row updates with raw prepared statements.
double RawRun(const QString& modelPath, const QString& jobPath, const std::vector<JobPoint>& pts, double d) {
  const auto t0 = std::chrono::steady_clock::now();
  sqlite3* model = nullptr;
  sqlite3* job = nullptr;
  sqlite3_open(modelPath.toUtf8().constData(), &model);
  sqlite3_open(jobPath.toUtf8().constData(), &job);
  Exec(job, "PRAGMA synchronous=OFF; PRAGMA journal_mode=DELETE; PRAGMA cache_size=-65536; BEGIN");
  sqlite3_stmt* q = nullptr;
  sqlite3_prepare_v2(model,
                     "SELECT DISTINCT * FROM SchwerpktH WHERE Y >= ?1 And Y <= ?2 And X >= ?3 And X <= ?4",
                     -1, &q, nullptr);
  sqlite3_stmt* up = nullptr;
  sqlite3_prepare_v2(job, "UPDATE Daten SET sZeZiel = ?1 WHERE rowid = ?2", -1, &up, nullptr);
  char text[64];
  for (size_t i = 0; i < pts.size(); ++i) {
    sqlite3_bind_double(q, 1, pts[i].y - d);
    sqlite3_bind_double(q, 2, pts[i].y + d);
    sqlite3_bind_double(q, 3, pts[i].x - d);
    sqlite3_bind_double(q, 4, pts[i].x + d);
    double sum = 0;
    int n = 0;
    while (sqlite3_step(q) == SQLITE_ROW) {
      sum += sqlite3_column_double(q, 2);
      ++n;
    }
    sqlite3_reset(q);
    if (n > 0) {
      const int len = std::snprintf(text, sizeof text, "%.1f", sum / n);
      sqlite3_bind_text(up, 1, text, len, SQLITE_STATIC);
      sqlite3_bind_int64(up, 2, static_cast<sqlite3_int64>(i + 1));
      sqlite3_step(up);
      sqlite3_reset(up);
    }
  }
  sqlite3_finalize(q);
  sqlite3_finalize(up);
  Exec(job, "COMMIT");
  sqlite3_close(model);
  sqlite3_close(job);
  return Seconds(std::chrono::steady_clock::now() - t0);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  ScriptedDialogService dialogs;
  dialogs.setAcceptOkMessages(true);
  SetDialogService(&dialogs);

  QTemporaryDir root;
  QDir(root.path()).mkpath(QStringLiteral("Programm/Orvenil-Datenbanken"));
  QDir(root.path()).mkpath(QStringLiteral("Temp"));
  const QString dbFolder = root.path() + QStringLiteral("/Programm/Orvenil-Datenbanken/");
  for (const char* name : {"sys_7Parameter.dat", "sys_NTv2.dat", "Quasigeoidmodell.dat"})
    QFile::copy(QStringLiteral(ORV_DATABASE_FOLDER "/") + QLatin1String(name), dbFolder + QLatin1String(name));
  FormOrvenilFolders folders{root.path() + QStringLiteral("/Programm/"), dbFolder, root.path() + QStringLiteral("/Temp/")};
  auto form = std::make_unique<FormOrvenil>(folders, QString());
  form->Form_Load();

  const std::vector<JobPoint> pts = JobPoints();
  ImportJob(*form, dialogs, pts, root.path() + QStringLiteral("/job.txt"));
  const QString modelPath = dbFolder + QStringLiteral("DGM200.mdb");
  const QString rawJob = root.path() + QStringLiteral("/rawjob.mdb");

  std::vector<double> ratios;
  for (bool indexed : {true, false}) {
    WriteModel(modelPath, indexed);
    for (int round = 0; round < 1; ++round) {
      const auto t0 = std::chrono::steady_clock::now();
      form->HeightFromModel(4);
      const double ours = Seconds(std::chrono::steady_clock::now() - t0);
      std::printf("height-database run, model %s: %d points in %.2f s, %.0f points/s\n",
                  indexed ? "with index on Y" : "without index", kJobPoints, ours, kJobPoints / ours);
      std::printf("  %s\n", qPrintable(form->xpStatusBar1->PanelText(10)));
      if (!indexed) continue;
      State().KooDb.commit();
      QFile::remove(rawJob);
      QFile::copy(State().KooDbPfad, rawJob);
      const double raw = RawRun(modelPath, rawJob, pts, 200.0);
      std::printf("raw sqlite3 box queries and updates: %.2f s, %.0f points/s\n", raw, kJobPoints / raw);
      ratios.push_back(ours / raw);
    }
  }
  std::sort(ratios.begin(), ratios.end());
  std::printf("height-database run ratio %.2f (ours/raw over %zu round)\n", ratios[ratios.size() / 2],
              ratios.size());

  form.reset();
  CloseAllDatabases(true);
  SetDialogService(nullptr);
  return 0;
}
