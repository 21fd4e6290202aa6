// Throughput of the height runs. The height-database run: 100,000 job points
// against a synthetic model of 2,000,000 points (table SchwerpktH with an
// index on Y, and once without any index), through the window's run, beside
// the same box queries and row updates done with raw sqlite3 prepared
// statements in the same run. The geoid height run: 1,000,000 geographic
// points, on rows with every column filled as an import fills them, through
// the geoid program of the build and the EGM96 grid, beside the same rows
// read and updated with raw sqlite3.
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

#include "bench/BenchSupport.h"
#include "shell/CoordinateDatabase.h"
#include "shell/ProgramState.h"
#include "platform/db/RowInsert.h"
#include "platform/db/DBEngine.h"
#include "platform/db/DatabaseHelpers.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/ScriptedDialogService.h"
#include "platform/ui/VbComboBox.h"
#include "shell/FormOrvenil.h"

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

void LoadJob(const std::vector<JobPoint>& pts) {
  ProgramState& s = State();
  if (!s.KooDb.isOpen()) s.KooDb = DBEngine::openDatabase(s.KooDbPfad);
  s.KooDb.execute(QStringLiteral("DELETE FROM Daten"));
  Recordset rs = s.KooDb.openTable(QStringLiteral("Daten"));
  for (int i = 0; i < static_cast<int>(pts.size()); ++i) {
    rs.addNew();
    rs.setValue(QStringLiteral("id"), QString::number(i + 1));
    rs.setValue(QStringLiteral("Punkt"), QString::number(i + 1).rightJustified(20));
    rs.setValue(QStringLiteral("sYe"), QString::number(pts[i].y, 'f', 3));
    rs.setValue(QStringLiteral("sXe"), QString::number(pts[i].x, 'f', 3));
    rs.setValue(QStringLiteral("sZe"), QStringLiteral("10.000"));
    rs.update();
  }
  rs.close();
  s.KooDb.commit();
}

// The same box queries and row updates with raw prepared statements.
double RawRun(const QString& modelPath, const QString& jobPath, const std::vector<JobPoint>& pts, double d) {
  const auto t0 = std::chrono::steady_clock::now();
  sqlite3* model = nullptr;
  sqlite3* job = nullptr;
  sqlite3_open(modelPath.toUtf8().constData(), &model);
  sqlite3_open(jobPath.toUtf8().constData(), &job);
  Exec(job, "PRAGMA synchronous=OFF; PRAGMA journal_mode=MEMORY; BEGIN");
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
  LoadJob(pts);
  form->GridKooDb->BindQuery(State().KooDb, QStringLiteral("SELECT * FROM Daten ORDER BY Punkt"));
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
      if (!indexed) continue;
      State().KooDb.commit();
      QFile::remove(rawJob);
      QFile::copy(State().KooDbPfad, rawJob);
      const double raw = RawRun(modelPath, rawJob, pts, 200.0);
      std::printf("raw sqlite3 box queries and updates: %.2f s, %.0f points/s\n", raw, kJobPoints / raw);
      ratios.push_back(ours / raw);
    }
  }
  // The geoid height run on 1,000,000 geographic points in Germany.
  {
    constexpr int kGeoidPoints = 1000000;
    for (const char* name : {"saphtel.exe", "EGM96_Deutschland.grd", "Quasigeoidmodell.dat"}) {
      QFile::remove(dbFolder + QLatin1String(name));
      QFile::copy(QStringLiteral(ORV_DATABASE_FOLDER "/") + QLatin1String(name), dbFolder + QLatin1String(name));
      QFile::setPermissions(dbFolder + QLatin1String(name),
                            QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    form->LoadSystemTable(SystemTable::Geoidmodell, true);
    form->FillGeoidModelList();
    ProgramState& s = State();
    s.KooDb.execute(QStringLiteral("DELETE FROM Daten"));
    // Rows as an import fills them: every column holds a text of the
    // length the import writes there.
    {
      const QStringList& columns = DatenColumnNames();
      RowInsert insert(s.KooDb, QStringLiteral("Daten"), columns, 64);
      std::vector<std::string> texts(static_cast<size_t>(columns.size()));
      std::vector<std::vector<std::string>> held(64, texts);
      for (int i = 0; i < kGeoidPoints; ++i) {
        std::vector<std::string>& t = held[static_cast<size_t>(i % 64)];
        for (int c = 0; c < columns.size(); ++c) {
          const QString& name = columns[c];
          QString text;
          if (name == QLatin1String("Punkt"))
            text = QString::number(i + 1).rightJustified(20);
          else if (name == QLatin1String("radBg"))
            text = QString::number((47.5 + std::fmod(i * 0.00731, 7.5)) / 57.29577951, 'g', 15);
          else if (name == QLatin1String("radLg"))
            text = QString::number((6.0 + std::fmod(i * 0.01373, 9.0)) / 57.29577951, 'g', 15);
          else if (name == QLatin1String("sZe"))
            text = QStringLiteral("100.0000");
          else if (name == QLatin1String("C") || name == QLatin1String("Zone"))
            text = QStringLiteral("K");
          else if (name == QLatin1String("Zeile"))
            text = QStringLiteral("%1 K 32512345.678 5712345.678 100.0").arg(i + 1);
          else if (name != QLatin1String("id"))
            text = QString::number(1000.0 * c + i * 0.731, 'g', 15);
          t[static_cast<size_t>(c)] = text.toStdString();
          if (name == QLatin1String("id"))
            insert.bindInteger(c, i + 1);
          else
            insert.bindText(c, QByteArrayView(t[static_cast<size_t>(c)].data(),
                                              static_cast<qsizetype>(t[static_cast<size_t>(c)].size())));
        }
        insert.add();
      }
      insert.flush();
    }
    s.KooDb.commit();
    form->GridKooDb->BindQuery(s.KooDb, QStringLiteral("SELECT * FROM Daten ORDER BY Punkt"));
    form->cmbGeoidmodell->SetListIndex(1);
    // The raw floor starts from the rows as the run finds them.
    const QString startCopy = root.path() + QStringLiteral("/rawgeoid.mdb");
    QFile::copy(s.KooDbPfad, startCopy);
    const auto t0 = std::chrono::steady_clock::now();
    form->ConvertHeightsWithGeoid();
    s.KooDb.commit();
    const double t = Seconds(std::chrono::steady_clock::now() - t0);
    std::printf("geoid height run through the geoid program: %d points in %.2f s, %.0f points/s\n", kGeoidPoints, t,
                kGeoidPoints / t);
    for (const QString& m : dialogs.messageTexts()) std::printf("  message: %s\n", qPrintable(m));
    const double raw = bench::RawReadAndUpdate(s.KooDbPfad, startCopy, {"radBg", "radLg", "sZe"},
                                               {"Geoidundulation", "sZeZiel"});
    std::printf("raw sqlite3: read and update %.2f s\n", raw);
    std::printf("geoid height run over raw sqlite3: ratio %.2f\n", t / raw);
  }

  std::sort(ratios.begin(), ratios.end());
  std::printf("height-database run ratio %.2f (ours/raw over %zu round)\n", ratios[ratios.size() / 2],
              ratios.size());

  form.reset();
  CloseAllDatabases(true);
  SetDialogService(nullptr);
  return 0;
}
