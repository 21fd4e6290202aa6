// NTv2 on BETA2007: builds the grid cache from the shipped .gsa, then runs
// 1,000,000 points through the NTv2 run's per-point work (start values read
// from text, forward shift with extent test, target column texts) and, in
// the same run, PROJ's cct on the same points when it is installed. Then the
// whole NTv2 run as the window runs it, with its closing zone pass, over a
// job of 1,000,000 points, against raw sqlite3 reading the same rows and
// updating the same columns in one transaction.
#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "bench/BenchSupport.h"
#include "foundation/NumberText.h"
#include "geodesy/Ntv2GridCache.h"
#include "platform/db/DBEngine.h"
#include "platform/db/DatabaseHelpers.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/OptionArray.h"
#include "platform/ui/ScriptedDialogService.h"
#include "platform/ui/VbComboBox.h"
#include "runs/Ntv2CacheDatabase.h"
#include "runs/Ntv2Run.h"
#include "shell/FormOrvenil.h"
#include "shell/ProgramState.h"

using namespace orv;

namespace {

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

constexpr int kJobPoints = 1000000;

// The job: a Gauss-Krüger file on RD83 (DHDN) in random point order over
// UTM zones 32 and 33, imported through the toolbar, so that the rows are
// those an import fills, in the order of the file.
void ImportJob(FormOrvenil& form, ScriptedDialogService& dialogs, const QString& path) {
  bench::WriteGkPointFile(path, kJobPoints, true);
  bench::ImportThroughToolbar(form, dialogs, path, 2);
  if (form.GridKooDb->RowCount() != kJobPoints) {
    std::printf("import failed: %d rows\n", form.GridKooDb->RowCount());
    std::exit(1);
  }
}

// The NTv2 run from the start button, forward on BETA2007, with the closing
// zone pass on the target side; against its raw floor.
void WholeRun() {
  QTemporaryDir root;
  const FormOrvenilFolders folders = bench::WindowFolders(root);
  bench::CopyDefaultDatabaseFiles(folders,
                                  {"sys_7Parameter.dat", "sys_NTv2.dat", "Quasigeoidmodell.dat", "BETA2007.gsa"});
  ScriptedDialogService dialogs;
  dialogs.setAcceptOkMessages(true);
  SetDialogService(&dialogs);
  {
    FormOrvenil form(folders, QString());
    form.Form_Load();
    // The cache is built once, as before the first run of a grid.
    OpenNtv2GridCache(folders.databaseFolder + "BETA2007.gsa", folders.tempFolder, Database()).database.close();
    ImportJob(form, dialogs, root.path() + "/job.txt");
    form.AuswahlTrafoTyp->select(2);
    form.AuswahlTrafoRichtung->select(0);
    form.ComboTrafoPara->SetListIndex(0);

    ProgramState& s = State();
    // The raw floor starts from the rows as the run finds them.
    const QString startCopy = folders.tempFolder + "raw.sqlite";
    s.KooDb.commit();
    QFile::copy(s.KooDbPfad, startCopy);
    const auto start = std::chrono::steady_clock::now();
    const double cpu0 = bench::ThreadCpuSeconds();
    const double all0 = bench::ProcessCpuSeconds();
    form.cmdTrafoStart_Click();
    s.KooDb.commit();
    const double job = Seconds(std::chrono::steady_clock::now() - start);
    const double windowCpu = bench::ThreadCpuSeconds() - cpu0;
    std::printf("ntv2 job: window thread busy %.2f s, other threads %.2f s\n", windowCpu,
                bench::ProcessCpuSeconds() - all0 - windowCpu);
    std::printf("ntv2 job: %d points, NTv2 run with zone pass %.2f s (%.0f points/s)\n", kJobPoints, job,
                kJobPoints / job);
    for (const QString& m : dialogs.messageTexts()) std::printf("  message: %s\n", qPrintable(m));
    const QStringList read{"BgDez", "LgDez", "BgDezSek", "LgDezSek", "sZe"};
    QStringList write = Ntv2TargetColumnNames();
    write << "Zone" << "EllipsKO";
    const double raw = bench::RawReadAndUpdate(s.KooDbPfad, startCopy, read, write);
    std::printf("raw sqlite3: read and update %.2f s\n", raw);
    std::printf("ntv2 job over raw sqlite3: ratio %.2f\n", job / raw);
  }
  CloseAllDatabases(true);
  SetDialogService(nullptr);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  setlocale(LC_NUMERIC, "C");
  if (argc > 1 && QByteArray(argv[1]) == "--job") {
    WholeRun();
    return 0;
  }
  QTemporaryDir dir;
  const QString grid = dir.filePath("BETA2007.gsa");
  if (!QFile::copy(QStringLiteral(ORV_SOURCE_DIR "/data/Orvenil-Datenbanken/BETA2007.gsa"), grid)) {
    std::fprintf(stderr, "BETA2007.gsa missing\n");
    return 1;
  }

  auto start = std::chrono::steady_clock::now();
  Ntv2OpenCache open = OpenNtv2GridCache(grid, dir.path() + "/", Database());
  const double buildTime = Seconds(std::chrono::steady_clock::now() - start);
  const Ntv2GridCache& cache = open.grid;
  std::printf("BETA2007 cache build: %.3f s\n", buildTime);
  {
    // What a run start costs on a current cache: the cache stage with its
    // tests, and within it the reading of every node with its check.
    std::vector<double> stage, nodes;
    for (int i = 0; i < 51; ++i) {
      auto t0 = std::chrono::steady_clock::now();
      Ntv2OpenCache again = OpenNtv2GridCache(grid, dir.path() + "/", Database());
      stage.push_back(Seconds(std::chrono::steady_clock::now() - t0) * 1000);
      t0 = std::chrono::steady_clock::now();
      const Ntv2GridCache read(again.database, again.tableCount);
      nodes.push_back(Seconds(std::chrono::steady_clock::now() - t0) * 1000);
      again.database.close();
    }
    std::sort(stage.begin(), stage.end());
    std::sort(nodes.begin(), nodes.end());
    std::printf("BETA2007 run start on a current cache: cache stage %.2f ms, node read and check %.2f ms (medians)\n",
                stage[stage.size() / 2], nodes[nodes.size() / 2]);
  }

  const int n = 1000000;
  std::vector<QString> lat(n), lon(n);
  QByteArray cctInput;
  cctInput.reserve(n * 32);
  for (int i = 0; i < n; ++i) {
    lat[i] = NumberText(47.1 + (i % 1000) * 0.0081);
    lon[i] = NumberText(5.6 + (i / 1000) * 0.0095);
    cctInput += lon[i].toLatin1() + ' ' + lat[i].toLatin1() + " 0 0\n";
  }
  const ProjectedEllipsoid target = MakeProjectedEllipsoid(6378137, 1 / 298.257222101, 0.9996);

  // The shift as cct does it: start values read from text, the shifted
  // point (with the run's extent test) written as text.
  start = std::chrono::steady_clock::now();
  double checksum = 0;
  int inside = 0;
  for (int i = 0; i < n; ++i) {
    const double phi = ToDoubleStrict(lat[i]), lambda = ToDoubleStrict(lon[i]);
    const Ntv2TargetPoint p = Ntv2ShiftPoint(cache, phi, lambda, true, phi * 3600, lambda * 3600);
    if (!p.inside) continue;
    ++inside;
    checksum += NumberText(p.latitude).size() + NumberText(p.longitude).size();
  }
  const double ours = Seconds(std::chrono::steady_clock::now() - start);
  std::printf("NTv2 shift, text in and out: %d points (%d inside) in %.2f s, %.0f points/s (checksum %.3f)\n",
              n, inside, ours, n / ours, checksum / n);

  // The whole per-point work of the run: also radians, degree texts,
  // geocentric and projected target coordinates.
  start = std::chrono::steady_clock::now();
  checksum = 0;
  for (int i = 0; i < n; ++i) {
    const double phi = ToDoubleStrict(lat[i]), lambda = ToDoubleStrict(lon[i]);
    const Ntv2TargetPoint p = Ntv2ShiftPoint(cache, phi, lambda, true, phi * 3600, lambda * 3600);
    if (!p.inside) continue;
    const Ntv2TargetColumns t = Ntv2TargetColumnTexts(p.latitude, p.longitude, 100, target, "GRS1980");
    checksum += t.columns.size();
  }
  const double whole = Seconds(std::chrono::steady_clock::now() - start);
  std::printf("NTv2 run per-point work with all 16 target columns: %.2f s, %.0f points/s\n", whole,
              n / whole);

  const QString cct = QStandardPaths::findExecutable(QStringLiteral("cct"));
  if (cct.isEmpty() || !QFile::exists(QStringLiteral("/usr/share/proj/BETA2007.gsb"))) {
    std::printf("cct or BETA2007.gsb not installed: no comparison\n");
  } else {
    const QString in = dir.filePath("points.txt");
    QFile f(in);
    f.open(QIODevice::WriteOnly);
    f.write(cctInput);
    f.close();
    QProcess proc;
    proc.setStandardInputFile(in);
    proc.setStandardOutputFile(dir.filePath("out.txt"));
    start = std::chrono::steady_clock::now();
    proc.start(cct, {"+proj=hgridshift", "+grids=BETA2007.gsb"});
    proc.waitForFinished(-1);
    const double theirs = Seconds(std::chrono::steady_clock::now() - start);
    std::printf("cct +proj=hgridshift +grids=BETA2007.gsb: %d points in %.2f s, %.0f points/s\n", n, theirs,
                n / theirs);
    std::printf("ntv2 shift vs cct time ratio %.3f\n", ours / theirs);
    std::printf("ntv2 run with all target columns vs cct time ratio %.3f\n", whole / theirs);
  }
  CloseAllDatabases(true);
  WholeRun();
  return 0;
}
