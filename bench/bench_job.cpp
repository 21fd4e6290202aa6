// A whole surveyor's job headless through the main window, as a user runs
// it: a Gauss-Krüger file (GK42/83) in random point order over UTM zones 32
// and 33 imported through the toolbar, transformed with the default set
// "ETRS89 - GK42/83" in reverse into UTM, the target side changed into the
// zone of meridian 9, the geoid heights from the geoid program, the target coordinates
// exported as ASCII; wall time of each run and the peak memory of the job.
// Then, in the same run, the raw sqlite3 floor of the same table work: the
// imported rows inserted with one prepared INSERT, and for every run the
// columns it reads read in row order and those it wrote updated with one
// prepared UPDATE, with the texts that run wrote (the geoid floor also
// writes the geoid program's input, runs the program and reads its output),
// the exported columns selected and written with buffered output.
//
// An export is short beside the runs, so one round would be decided by
// whatever else the machine does at that moment: after the floor the export
// is timed again in kExportRounds rounds, each the window's export and its
// floor back to back (which goes first alternates), and the export's ratio
// is the median of the rounds' ratios.
//
// Then the seven-parameter run once more on the same points sorted by
// easting (one change of zone), against its own floor: with the points in
// random order the zone changes at almost every row.
//
//   bench_job [points]     (default 2,000,000)
#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "platform/db/DBEngine.h"
#include "platform/db/DatabaseHelpers.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/OptionArray.h"
#include "platform/ui/ScriptedDialogService.h"
#include "platform/ui/VbComboBox.h"
#include "shell/CoordinateDatabase.h"
#include "shell/FormOrvenil.h"
#include "shell/ProgramState.h"

using namespace orv;
using orv::bench::Check;
using orv::bench::Seconds;

namespace {

// What each run reads and writes.
const QStringList kSevenRead{"sXz", "sYz", "sZz"};
const QStringList kSevenWrite{"sXzZiel",   "sYzZiel",   "sZzZiel",      "sHgZiel",      "radBgZiel", "radLgZiel",
                              "BgDezZiel", "LgDezZiel", "BgDezSekZiel", "LgDezSekZiel", "sBgZiel",   "sLgZiel",
                              "Zone",      "EllipsKO",  "sXeZiel",      "sYeZiel",      "sZeZiel"};
const QStringList kZoneRead{"radBgZiel", "radLgZiel", "LgDezZiel", "sYeZiel", "Punkt"};
const QStringList kZoneWrite{"Zone", "EllipsKO", "sYeZiel", "sXeZiel"};
const QStringList kGeoidRead{"radBg", "radLg", "sZe"};
const QStringList kGeoidWrite{"Geoidundulation", "sZeZiel"};

constexpr int kExportRounds = 3;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

struct Times {
  double import = 0, seven = 0, zone = 0, geoid = 0, exportRows = 0;
  double total() const { return import + seven + zone + geoid + exportRows; }
};

sqlite3* OpenRaw(const QString& path) {
  sqlite3* db = nullptr;
  Check(sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr), db);
  Check(sqlite3_exec(db, bench::kRawPragmas, nullptr, nullptr, nullptr), db);
  return db;
}

// The columns an import fills: all but those the runs write.
QStringList ImportedColumns() {
  QStringList imported;
  for (const QString& c : DatenColumnNames())
    if (!kSevenWrite.contains(c) && !kGeoidWrite.contains(c)) imported << c;
  return imported;
}

// The raw import: the imported columns of the job's rows (texts read from
// the job's file before each timed block) inserted into a table of the same
// schema with one prepared INSERT, in one transaction.
double RawInsert(sqlite3* db, sqlite3* job) {
  const QStringList imported = ImportedColumns();
  QString insert = "INSERT INTO Daten (" + imported.join(", ") + ") VALUES (";
  for (int c = 0; c < imported.size(); ++c) insert += c ? ", ?" : "?";
  insert += ")";
  sqlite3_stmt* ins = nullptr;
  sqlite3_stmt* texts = nullptr;
  Check(sqlite3_prepare_v2(db, insert.toUtf8().constData(), -1, &ins, nullptr), db);
  Check(sqlite3_prepare_v2(job,
                           ("SELECT " + imported.join(", ") + " FROM Daten WHERE rowid >= ?1 AND rowid < ?2 "
                                                              "ORDER BY rowid")
                               .toUtf8()
                               .constData(),
                           -1, &texts, nullptr),
        job);
  const int columns = static_cast<int>(imported.size());
  double timed = 0;
  sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  constexpr int kBlock = 50000;
  for (qint64 first = 1;; first += kBlock) {
    std::vector<std::string> block;
    std::vector<char> isNull;
    sqlite3_bind_int64(texts, 1, first);
    sqlite3_bind_int64(texts, 2, first + kBlock);
    while (sqlite3_step(texts) == SQLITE_ROW)
      for (int c = 0; c < columns; ++c) {
        const unsigned char* t = sqlite3_column_text(texts, c);
        isNull.push_back(t == nullptr);
        block.emplace_back(t ? reinterpret_cast<const char*>(t) : "");
      }
    sqlite3_reset(texts);
    if (block.empty()) break;
    const auto start = std::chrono::steady_clock::now();
    for (size_t r = 0; r * columns < block.size(); ++r) {
      for (int c = 0; c < columns; ++c) {
        const size_t k = r * columns + c;
        if (isNull[k])
          sqlite3_bind_null(ins, c + 1);
        else
          sqlite3_bind_text(ins, c + 1, block[k].data(), static_cast<int>(block[k].size()), SQLITE_STATIC);
      }
      if (sqlite3_step(ins) != SQLITE_DONE) Check(SQLITE_ERROR, db);
      sqlite3_reset(ins);
    }
    timed += Seconds(start);
  }
  const auto start = std::chrono::steady_clock::now();
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  timed += Seconds(start);
  sqlite3_finalize(ins);
  sqlite3_finalize(texts);
  return timed;
}

// The exchange with the geoid program, raw: the latitudes and longitudes of
// all rows written to INPUT.USR in folder, the program run there, its
// OUTPUT.USR read line by line.
double RawGeoidExchange(sqlite3* db, const QString& folder) {
  const auto start = std::chrono::steady_clock::now();
  sqlite3_stmt* sel = nullptr;
  Check(sqlite3_prepare_v2(db, "SELECT radBg, radLg FROM Daten ORDER BY rowid", -1, &sel, nullptr), db);
  std::FILE* in = std::fopen((folder + "INPUT.USR").toUtf8().constData(), "wb");
  static char buffer[1 << 16];
  std::setvbuf(in, buffer, _IOFBF, sizeof buffer);
  while (sqlite3_step(sel) == SQLITE_ROW) {
    const unsigned char* lat = sqlite3_column_text(sel, 0);
    const unsigned char* lon = sqlite3_column_text(sel, 1);
    std::fprintf(in, "%s %s\r\n", lat ? reinterpret_cast<const char*>(lat) : "",
                 lon ? reinterpret_cast<const char*>(lon) : "");
  }
  std::fclose(in);
  sqlite3_finalize(sel);
  QProcess program;
  program.setWorkingDirectory(folder);
  program.start(folder + "saphtel.exe", {});
  program.waitForFinished(-1);
  std::FILE* out = std::fopen((folder + "OUTPUT.USR").toUtf8().constData(), "rb");
  std::vector<std::string> lines;
  char line[256];
  while (out && std::fgets(line, sizeof line, out)) lines.emplace_back(line);
  if (out) std::fclose(out);
  QFile::remove(folder + "INPUT.USR");
  QFile::remove(folder + "OUTPUT.USR");
  return Seconds(start);
}

// The raw export: the exported columns, written with buffered output.
double RawExport(sqlite3* db, const QString& path) {
  const auto start = std::chrono::steady_clock::now();
  sqlite3_stmt* sel = nullptr;
  Check(sqlite3_prepare_v2(db, "SELECT Punkt, C, sYeZiel, sXeZiel, sZeZiel FROM Daten", -1, &sel, nullptr), db);
  std::FILE* out = std::fopen(path.toUtf8().constData(), "wb");
  static char buffer[1 << 16];
  std::setvbuf(out, buffer, _IOFBF, sizeof buffer);
  while (sqlite3_step(sel) == SQLITE_ROW) {
    for (int c = 0; c < 5; ++c) {
      const unsigned char* text = sqlite3_column_text(sel, c);
      if (c) std::fputc(' ', out);
      if (text) std::fputs(reinterpret_cast<const char*>(text), out);
    }
    std::fputs("\r\n", out);
  }
  std::fclose(out);
  sqlite3_finalize(sel);
  return Seconds(start);
}

// A fresh Daten table of the job's schema for the floor.
QString FreshRawTable(const QString& path) {
  QFile::remove(path);
  {
    Database db;
    CreateCoordinateDatabase(db, path);
    db.close();
  }
  CloseAllDatabases(true);
  return path;
}

// The floor of the whole job, from the job's file as the job left it and
// its copy as the seven-parameter run left it: each run's columns are
// written with the texts that run wrote, so that the zone change turns the
// seven-parameter run's zone texts into its own as the window's run does
// (with the job's final texts the floor's zone change would write every row
// unchanged, in place).
Times RawJob(const QString& jobPath, const QString& afterSevenPath, const QString& rawPath,
             const QString& databaseFolder) {
  Times t;
  FreshRawTable(rawPath);
  sqlite3* db = OpenRaw(rawPath);
  sqlite3* job = nullptr;
  Check(sqlite3_open_v2(jobPath.toUtf8().constData(), &job, SQLITE_OPEN_READONLY, nullptr), job);
  sqlite3* afterSeven = nullptr;
  Check(sqlite3_open_v2(afterSevenPath.toUtf8().constData(), &afterSeven, SQLITE_OPEN_READONLY, nullptr),
        afterSeven);
  size_t readBytes = 0;
  double cpu = 0;
  t.import = RawInsert(db, job);
  t.seven = bench::RawPhase(db, afterSeven, kSevenRead, kSevenWrite, readBytes, cpu);
  sqlite3_close(afterSeven);
  QFile::remove(afterSevenPath);
  t.zone = bench::RawPhase(db, job, kZoneRead, kZoneWrite, readBytes, cpu);
  t.geoid = RawGeoidExchange(db, databaseFolder) + bench::RawPhase(db, job, kGeoidRead, kGeoidWrite, readBytes, cpu);
  t.exportRows = RawExport(db, rawPath + ".txt");
  sqlite3_close(db);
  sqlite3_close(job);
  return t;
}

// The seven-parameter run from the start button: GK42/83 -> ETRS89 (UTM).
double SevenParameterRun(FormOrvenil& form) {
  form.AuswahlTrafoTyp->select(1);
  form.AuswahlTrafoRichtung->select(1);
  form.ComboTrafoPara->SetListIndex(0);
  const auto t0 = std::chrono::steady_clock::now();
  const double cpu0 = bench::ThreadCpuSeconds(), all0 = bench::ProcessCpuSeconds();
  form.cmdTrafoStart_Click();
  State().KooDb.commit();
  const double wall = Seconds(t0);
  const double windowCpu = bench::ThreadCpuSeconds() - cpu0;
  std::printf("seven-parameter run %.2f s: window thread busy %.2f s, other threads %.2f s\n", wall, windowCpu,
              bench::ProcessCpuSeconds() - all0 - windowCpu);
  return wall;
}

void PrintMessages(ScriptedDialogService& dialogs) {
  for (const QString& m : dialogs.messageTexts()) std::printf("  message: %s\n", qPrintable(m));
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  setlocale(LC_NUMERIC, "C");
  const int n = argc > 1 ? std::atoi(argv[1]) : 2000000;

  QTemporaryDir root;
  const FormOrvenilFolders folders = bench::WindowFolders(root);
  bench::CopyDefaultDatabaseFiles(folders, {"sys_7Parameter.dat", "sys_NTv2.dat", "Quasigeoidmodell.dat",
                                            "saphtel.exe", "EGM96_Deutschland.grd"});
  QFile::setPermissions(folders.databaseFolder + "saphtel.exe",
                        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

  ScriptedDialogService dialogs;
  dialogs.setAcceptOkMessages(true);
  SetDialogService(&dialogs);
  FormOrvenil form(folders, QString());
  form.Form_Load();
  ProgramState& s = State();

  const QString randomFile = root.path() + "/job_random.txt";
  bench::WriteGkPointFile(randomFile, n, true);

  Times ours;
  ours.import = bench::ImportThroughToolbar(form, dialogs, randomFile, 1);
  const long importPeak = bench::PeakMegabytes();
  if (form.GridKooDb->RowCount() != n) {
    std::printf("import failed: %d rows\n", form.GridKooDb->RowCount());
    return 1;
  }
  ours.seven = SevenParameterRun(form);
  const long sevenPeak = bench::PeakMegabytes();
  PrintMessages(dialogs);
  const QString afterSeven = folders.tempFolder + "raw_after_seven.sqlite";
  QFile::remove(afterSeven);
  QFile::copy(s.KooDbPfad, afterSeven);

  // The target side into the fixed zone of meridian 9, from the zone key.
  form.BtZone->preset(1);
  for (int i = 0; i < form.zielZone->ListCount(); ++i)
    if (form.zielZone->List(i).startsWith("09/")) form.zielZone->SetListIndex(i);
  std::printf("zone change into %s\n", qPrintable(form.zielZone->Text()));
  auto t0 = std::chrono::steady_clock::now();
  form.cmdZoneÄndern_Click();
  s.KooDb.commit();
  ours.zone = Seconds(t0);
  const long zonePeak = bench::PeakMegabytes();
  PrintMessages(dialogs);

  // The geoid heights with the EGM96 model through the geoid program.
  form.LoadSystemTable(SystemTable::Geoidmodell, true);
  form.FillGeoidModelList();
  form.cmbGeoidmodell->SetListIndex(1);
  t0 = std::chrono::steady_clock::now();
  form.ConvertHeightsWithGeoid();
  s.KooDb.commit();
  ours.geoid = Seconds(t0);
  const long geoidPeak = bench::PeakMegabytes();
  PrintMessages(dialogs);

  // Point, code and the target's easting, northing and height as ASCII.
  State().SpeichernSpaltenNr = QStringLiteral("1,2,18,19,20");
  const auto exportThroughWindow = [&](const QString& name) {
    dialogs.expectSaveFile(root.path() + "/" + name, 1);
    const auto start = std::chrono::steady_clock::now();
    form.ExportCoordinateTable();
    return Seconds(start);
  };
  ours.exportRows = exportThroughWindow("job_utm");
  const long jobPeak = bench::PeakMegabytes();
  PrintMessages(dialogs);
  {
    Recordset rs = s.KooDb.openTable("Daten");
    rs.moveFirst();
    std::printf("first row: %s %s zone %s, N %s, height %s\n", qPrintable(rs.value("sYeZiel").textOrEmpty()),
                qPrintable(rs.value("sXeZiel").textOrEmpty()), qPrintable(rs.value("Zone").textOrEmpty()),
                qPrintable(rs.value("Geoidundulation").textOrEmpty()), qPrintable(rs.value("sZeZiel").textOrEmpty()));
  }
  s.KooDb.commit();

  const Times raw = RawJob(s.KooDbPfad, afterSeven, folders.tempFolder + "raw.sqlite", folders.databaseFolder);
  std::printf("job: %d points in random order over two zones\n", n);
  std::printf("peak memory in MB: after import %ld, seven-parameter %ld, zone change %ld, geoid %ld, export %ld\n",
              importPeak, sevenPeak, zonePeak, geoidPeak, jobPeak);
  const auto line = [](const char* what, double window, double floor) {
    std::printf("%s: window %.2f s, raw sqlite3 %.2f s, over raw ratio %.2f\n", what, window, floor, window / floor);
  };
  line("import", ours.import, raw.import);
  line("seven-parameter run, alternating zones", ours.seven, raw.seven);
  line("zone change", ours.zone, raw.zone);
  line("geoid run", ours.geoid, raw.geoid);
  std::printf("export in the job: window %.2f s, raw sqlite3 %.2f s\n", ours.exportRows, raw.exportRows);
  {
    sqlite3* rawDb = OpenRaw(folders.tempFolder + "raw.sqlite");
    std::vector<double> windowRounds, rawRounds, ratios;
    for (int round = 0; round < kExportRounds; ++round) {
      const QString name = "job_utm_" + QString::number(round);
      double window = 0, floor = 0;
      if (round % 2) floor = RawExport(rawDb, folders.tempFolder + "raw.sqlite.txt");
      window = exportThroughWindow(name);
      if (!(round % 2)) floor = RawExport(rawDb, folders.tempFolder + "raw.sqlite.txt");
      std::printf("export round %d: window %.2f s, raw sqlite3 %.2f s\n", round + 1, window, floor);
      windowRounds.push_back(window);
      rawRounds.push_back(floor);
      ratios.push_back(window / floor);
    }
    sqlite3_close(rawDb);
    std::printf("export: window %.2f s, raw sqlite3 %.2f s (medians), over raw ratio %.2f (median of %d rounds)\n",
                Median(windowRounds), Median(rawRounds), Median(ratios), kExportRounds);
  }
  std::printf("whole job over raw ratio %.2f\n", ours.total() / raw.total());
  std::printf("whole job peak memory: %ld MB\n", jobPeak);
  std::fflush(stdout);

  // The same points sorted by easting: the seven-parameter run against its
  // floor, on the rows as the import of that file leaves them.
  const QString sortedFile = root.path() + "/job_sorted.txt";
  bench::WriteGkPointFile(sortedFile, n, false);
  bench::ImportThroughToolbar(form, dialogs, sortedFile, 1);
  s.KooDb.commit();
  const QString startCopy = folders.tempFolder + "raw_sorted.sqlite";
  QFile::remove(startCopy);
  QFile::copy(s.KooDbPfad, startCopy);
  const double sortedSeven = SevenParameterRun(form);
  PrintMessages(dialogs);
  const double sortedRaw = bench::RawReadAndUpdate(s.KooDbPfad, startCopy, kSevenRead, kSevenWrite);
  line("seven-parameter run, sorted points", sortedSeven, sortedRaw);
  std::printf("seven-parameter run, alternating zones over sorted points: ratio %.2f\n",
              (ours.seven / raw.seven) / (sortedSeven / sortedRaw));
  CloseAllDatabases(true);
  SetDialogService(nullptr);
  return 0;
}
