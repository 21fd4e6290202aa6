// A whole job headless through the main window's operations: a GK42/83 file
// of Gauss-Krüger points imported through the toolbar, transformed with the default set
// "ETRS89 - GK42/83" in reverse (GK42/83 -> ETRS89) into UTM, exported as
// ASCII; wall time of each phase. Then, in the same run, the raw sqlite3
// floor for the same rows: a prepared INSERT of the imported rows, a
// prepared UPDATE of the target columns, a SELECT of the exported columns
// written with buffered output. Prints the job's time over the floor's.
//
// Then a zone change of the target side over the same rows, against raw
// sqlite3 reading and updating the same columns.
//
//   bench_job [points]     (default 1,000,000)
#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "foundation/NumberText.h"
#include "geodesy/GeocentricConversion.h"
#include "geodesy/TransverseMercator.h"
#include "io/FormOrvenilSystemAuswahl.h"
#include "platform/db/DBEngine.h"
#include "platform/db/DatabaseHelpers.h"
#include "platform/db/ForwardQuery.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/OptionArray.h"
#include "platform/ui/ScriptedDialogService.h"
#include "platform/ui/VbComboBox.h"
#include "platform/ui/VbToolBar.h"
#include "shell/CoordinateDatabase.h"
#include "shell/FormOrvenil.h"
#include "bench/BenchSupport.h"
#include "shell/ProgramState.h"

using namespace orv;
using orv::bench::Seconds;

namespace {

// The columns the seven-parameter run writes.
const char* const kTargetColumns[] = {"sXzZiel",   "sYzZiel",   "sZzZiel",   "sHgZiel",      "radBgZiel",
                                      "radLgZiel", "BgDezZiel", "LgDezZiel", "BgDezSekZiel", "LgDezSekZiel",
                                      "sBgZiel",   "sLgZiel",   "Zone",      "EllipsKO",     "sXeZiel",
                                      "sYeZiel",   "sZeZiel"};

struct RawTimes {
  double insert = 0;
  double update = 0;
  double exportRows = 0;
};

void Check(int rc, sqlite3* db) {
  if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
    std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db));
    std::exit(1);
  }
}

// Texts of some columns of a block of rows of the job's table, read outside
// the timed parts.
std::vector<std::vector<std::string>> ReadBlock(Database& job, const QStringList& columns, qint64 firstId,
                                                int count) {
  std::vector<std::vector<std::string>> rows;
  ForwardQuery q(job, "SELECT " + columns.join(", ") + " FROM Daten WHERE id >= ?1 AND id < ?2 ORDER BY id");
  q.setParameter(1, static_cast<double>(firstId));
  q.setParameter(2, static_cast<double>(firstId + count));
  while (q.next()) {
    std::vector<std::string> row;
    for (int c = 0; c < columns.size(); ++c) {
      const QByteArrayView v = q.utf8(c);
      row.push_back(q.isNull(c) ? std::string("\x01") : std::string(v.data(), static_cast<size_t>(v.size())));
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

void BindText(sqlite3_stmt* st, int i, const std::string& t) {
  if (t == "\x01")
    sqlite3_bind_null(st, i);
  else
    sqlite3_bind_text(st, i, t.data(), static_cast<int>(t.size()), SQLITE_STATIC);
}

// The floor: the same rows through sqlite3 alone, in one transaction per phase.
RawTimes RawFloor(Database& job, const QString& path, int n) {
  RawTimes t;
  QFile::remove(path);
  sqlite3* db = nullptr;
  Check(sqlite3_open(path.toUtf8().constData(), &db), db);
  sqlite3_exec(db, "PRAGMA synchronous=OFF; PRAGMA journal_mode=MEMORY", nullptr, nullptr, nullptr);
  const QStringList all = DatenColumnNames();
  QStringList imported;  // the start columns the import fills
  QString create = "CREATE TABLE Daten (";
  for (int c = 0; c < all.size(); ++c) {
    create += (c ? ", " : "") + all[c] + (all[c] == "id" ? " INTEGER" : " TEXT");
    if (!QStringList(std::begin(kTargetColumns), std::end(kTargetColumns)).contains(all[c]))
      imported << all[c];
  }
  Check(sqlite3_exec(db,
                     (create + "); CREATE UNIQUE INDEX id ON Daten (id); CREATE INDEX Punkt ON Daten (Punkt)")
                         .toUtf8()
                         .constData(),
                     nullptr, nullptr, nullptr),
        db);
  QString insert = "INSERT INTO Daten (" + imported.join(", ") + ") VALUES (";
  for (int c = 0; c < imported.size(); ++c) insert += c ? ", ?" : "?";
  insert += ")";
  QString update = "UPDATE Daten SET ";
  for (int c = 0; c < 17; ++c) update += QString(c ? ", " : "") + kTargetColumns[c] + " = ?";
  update += " WHERE rowid = ?";
  sqlite3_stmt* ins = nullptr;
  sqlite3_stmt* upd = nullptr;
  Check(sqlite3_prepare_v2(db, insert.toUtf8().constData(), -1, &ins, nullptr), db);
  Check(sqlite3_prepare_v2(db, update.toUtf8().constData(), -1, &upd, nullptr), db);
  const QStringList targets(std::begin(kTargetColumns), std::end(kTargetColumns));
  constexpr int kBlock = 50000;
  for (int phase = 0; phase < 2; ++phase) {
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    for (int first = 1; first <= n; first += kBlock) {
      const auto rows = ReadBlock(job, phase == 0 ? imported : targets, first, kBlock);
      const auto start = std::chrono::steady_clock::now();
      qint64 rowId = first;
      for (const auto& row : rows) {
        sqlite3_stmt* st = phase == 0 ? ins : upd;
        for (size_t c = 0; c < row.size(); ++c) BindText(st, static_cast<int>(c) + 1, row[c]);
        if (phase == 1) sqlite3_bind_int64(st, static_cast<int>(row.size()) + 1, rowId++);
        Check(sqlite3_step(st), db);
        sqlite3_reset(st);
      }
      (phase == 0 ? t.insert : t.update) += Seconds(start);
    }
    const auto start = std::chrono::steady_clock::now();
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    (phase == 0 ? t.insert : t.update) += Seconds(start);
  }
  sqlite3_finalize(ins);
  sqlite3_finalize(upd);

  // Export: the exported columns, written with buffered output.
  const auto start = std::chrono::steady_clock::now();
  sqlite3_stmt* sel = nullptr;
  Check(sqlite3_prepare_v2(db, "SELECT Punkt, C, sYeZiel, sXeZiel, sZeZiel FROM Daten", -1, &sel, nullptr),
        db);
  const QByteArray outPath = (path + ".txt").toUtf8();
  std::FILE* out = std::fopen(outPath.constData(), "wb");
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
  t.exportRows = Seconds(start);
  sqlite3_close(db);
  return t;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  setlocale(LC_NUMERIC, "C");
  const int n = argc > 1 ? std::atoi(argv[1]) : 1000000;

  QTemporaryDir root;
  const FormOrvenilFolders folders = bench::WindowFolders(root);
  bench::CopyDefaultDatabaseFiles(folders, {"sys_7Parameter.dat", "sys_NTv2.dat", "Quasigeoidmodell.dat"});

  ScriptedDialogService dialogs;
  dialogs.setAcceptOkMessages(true);
  SetDialogService(&dialogs);
  FormOrvenil form(folders, QString());
  form.Form_Load();
  ProgramState& s = State();

  // The point file: a block of Gauss-Krüger points in strip 4, one line each
  // (point, code, easting, northing, height).
  const QString pointFile = root.path() + "/job.txt";
  {
    QFile f(pointFile);
    f.open(QIODevice::WriteOnly);
    QByteArray text;
    char line[96];
    for (int i = 0; i < n; ++i) {
      const int len =
          std::snprintf(line, sizeof line, "%d K %.3f %.3f %.3f\r\n", i + 1, 4480000 + (i / 1000) * 31.7,
                        5600000 + (i % 1000) * 97.3, 100 + (i % 500) * 0.37);
      text.append(line, len);
      if (text.size() > (1 << 22)) {
        f.write(text);
        text.clear();
      }
    }
    f.write(text);
  }

  // Import through the toolbar key: the open dialog and the start-data
  // dialog (GK42/83, projected) answered as a user would.
  dialogs.expectOpenFile(pointFile, 1);
  dialogs.expectModal([](QDialog* d) {
    auto* dlg = static_cast<FormOrvenilSystemAuswahl*>(d);
    if (dlg->Timer1->isActive()) dlg->Timer1_Timer();
    dlg->Startsys->select(1);
    dlg->cmdLaden_Click();
    return 1;
  });
  auto t0 = std::chrono::steady_clock::now();
  form.Coolbar2_ButtonClick(kKeyDbOeffnen);
  const double importTime = Seconds(t0);
  const long importPeak = bench::PeakMegabytes();
  if (form.GridKooDb->RowCount() != n) {
    std::printf("import failed: %d rows\n", form.GridKooDb->RowCount());
    return 1;
  }
  form.AuswahlTrafoTyp->select(1);
  form.AuswahlTrafoRichtung->select(1);
  form.ComboTrafoPara->SetListIndex(0);

  t0 = std::chrono::steady_clock::now();
  form.cmdTrafoStart_Click();
  s.KooDb.commit();
  const double transformTime = Seconds(t0);
  std::printf("peak memory: after import %ld MB, after transform %ld MB\n", importPeak, bench::PeakMegabytes());
  std::printf("job: %d points, import %.2f s, transform %.2f s (%.0f points/s)\n", n, importTime,
              transformTime, n / transformTime);
  for (const QString& m : dialogs.messageTexts()) std::printf("  message: %s\n", qPrintable(m));
  {
    Recordset rs = s.KooDb.openTable("Daten");
    rs.moveFirst();
    std::printf("  first row: %s %s %s zone %s\n", qPrintable(rs.value("sYeZiel").textOrEmpty()),
                qPrintable(rs.value("sXeZiel").textOrEmpty()), qPrintable(rs.value("sHgZiel").textOrEmpty()),
                qPrintable(rs.value("Zone").textOrEmpty()));
  }

  // Export as ASCII: point, code and the target's easting, northing and
  // height, as the vessel chain exports them.
  const QString exportFile = root.path() + "/job_utm";
  State().SpeichernSpaltenNr = QStringLiteral("1,2,18,19,20");
  dialogs.expectSaveFile(exportFile, 1);
  t0 = std::chrono::steady_clock::now();
  form.ExportCoordinateTable();
  const double exportTime = Seconds(t0);
  qint64 exported = 0;
  for (const QFileInfo& f : QDir(root.path()).entryInfoList({"job_utm*"}, QDir::Files)) exported += f.size();
  std::printf("job export %.2f s (%lld bytes)\n", exportTime, static_cast<long long>(exported));
  for (const QString& m : dialogs.messageTexts()) std::printf("  message: %s\n", qPrintable(m));
  const double job = importTime + transformTime + exportTime;
  const RawTimes raw = RawFloor(s.KooDb, folders.tempFolder + "raw.sqlite", n);
  std::printf("raw sqlite3: insert %.2f s, update %.2f s, export %.2f s\n", raw.insert, raw.update,
              raw.exportRows);
  std::printf("job over raw sqlite3: ratio %.2f\n", job / (raw.insert + raw.update + raw.exportRows));

  // A zone change of the target side into the fixed zone 09/32, from the
  // zone key, against raw sqlite3 reading the same rows and updating the
  // same columns in one transaction.
  form.BtZone->preset(1);
  form.zielZone->SetListIndex(2);
  const QString zoneStart = folders.tempFolder + "rawzone.sqlite";
  s.KooDb.commit();
  QFile::copy(s.KooDbPfad, zoneStart);
  t0 = std::chrono::steady_clock::now();
  const double cpu0 = bench::ThreadCpuSeconds(), all0 = bench::ProcessCpuSeconds();
  form.cmdZoneÄndern_Click();
  s.KooDb.commit();
  const double zoneTime = Seconds(t0);
  const double windowCpu = bench::ThreadCpuSeconds() - cpu0;
  std::printf("zone job: %d points, zone change %.2f s (%.0f points/s); window thread busy %.2f s, other threads "
              "%.2f s\n",
              n, zoneTime, n / zoneTime, windowCpu, bench::ProcessCpuSeconds() - all0 - windowCpu);
  for (const QString& m : dialogs.messageTexts()) std::printf("  message: %s\n", qPrintable(m));
  const double rawZone = bench::RawReadAndUpdate(s.KooDbPfad, zoneStart,
                                                 {"radBgZiel", "radLgZiel", "LgDezZiel", "sYeZiel"},
                                                 {"Zone", "EllipsKO", "sYeZiel", "sXeZiel"});
  std::printf("raw sqlite3: zone read and update %.2f s\n", rawZone);
  std::printf("zone job over raw sqlite3: ratio %.2f\n", zoneTime / rawZone);
  CloseAllDatabases(true);
  SetDialogService(nullptr);
  return 0;
}
