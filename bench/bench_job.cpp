// A whole job headless through the main window's operations: a GK42/83 file
// of Gauss-Krüger points imported, transformed with the default set
// "ETRS89 - GK42/83" in reverse (GK42/83 -> ETRS89) into UTM, exported as
// ASCII; wall time of each phase. Then, in the same run, the raw sqlite3
// floor for the same rows: a prepared INSERT of the imported rows, a
// prepared UPDATE of the target columns, a SELECT of the exported columns
// written with buffered output. Prints the job's time over the floor's.
//
//   bench_job [points]     (default 1,000,000)
#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "foundation/NumberText.h"
#include "foundation/ProgramState.h"
#include "geodesy/GeocentricConversion.h"
#include "geodesy/TransverseMercator.h"
#include "platform/db/DBEngine.h"
#include "platform/db/DatabaseHelpers.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/OptionArray.h"
#include "platform/ui/ScriptedDialogService.h"
#include "platform/ui/VbComboBox.h"
#include "shell/FormOrvenil.h"

using namespace orv;

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// The columns the seven-parameter run writes.
const char* const kTargetColumns[] = {"sXzZiel", "sYzZiel", "sZzZiel", "sHgZiel", "radBgZiel", "radLgZiel",
                                      "BgDezZiel", "LgDezZiel", "BgDezSekZiel", "LgDezSekZiel", "sBgZiel",
                                      "sLgZiel", "Zone", "EllipsKO", "sXeZiel", "sYeZiel", "sZeZiel"};

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  setlocale(LC_NUMERIC, "C");
  const int n = argc > 1 ? std::atoi(argv[1]) : 1000000;

  QTemporaryDir root;
  QDir(root.path()).mkpath("Programm/Orvenil-Datenbanken");
  QDir(root.path()).mkpath("Temp");
  FormOrvenilFolders folders;
  folders.programFolder = root.path() + "/Programm/";
  folders.databaseFolder = folders.programFolder + "Orvenil-Datenbanken/";
  folders.tempFolder = root.path() + "/Temp/";
  // The default database folder that the build places beside the programs.
  const QString defaults = QCoreApplication::applicationDirPath() + "/../Orvenil-Datenbanken/";
  for (const char* name : {"sys_7Parameter.dat", "sys_NTv2.dat", "Quasigeoidmodell.dat"})
    QFile::copy(defaults + name, folders.databaseFolder + name);

  ScriptedDialogService dialogs;
  dialogs.setAcceptOkMessages(true);
  SetDialogService(&dialogs);
  FormOrvenil form(folders, QString());
  form.Form_Load();
  ProgramState& s = State();

  // Import stand-in: the rows as the import leaves them (start columns).
  const double aK = 6378245, fK = 1 / 298.3, bK = aK * (1 - fK), eK = std::sqrt((aK * aK - bK * bK) / (aK * aK));
  auto t0 = std::chrono::steady_clock::now();
  s.KooDb = DBEngine::openDatabase(s.KooDbPfad);
  {
    Recordset rs = s.KooDb.openTable("Daten");
    const int pId = rs.fieldIndex("id"), pPunkt = rs.fieldIndex("Punkt"), pX = rs.fieldIndex("sXz"),
              pY = rs.fieldIndex("sYz"), pZ = rs.fieldIndex("sZz");
    for (int i = 0; i < n; ++i) {
      const double north = 5600000 + (i % 1000) * 97.3, east = 4480000 + (i / 1000) * 31.7 * 1000.0 / n * 1000;
      const GeographicAngles g = VerebnetInGeographisch(north, east, aK, eK, 1, 4500000, 12, QString(), bK);
      const GeocentricPoint p = EllToGeoZent(g.latitude, g.longitude, 100, aK, eK);
      rs.addNew();
      rs.setValue(pId, i + 1);
      rs.setValue(pPunkt, QString::number(i + 1));
      rs.setValue(pX, NumberText(p.X));
      rs.setValue(pY, NumberText(p.Y));
      rs.setValue(pZ, NumberText(p.Z));
      rs.update();
    }
    rs.close();
  }
  s.KooDb.commit();
  const double importTime = Seconds(t0);
  form.GridKooDb->BindRecordset(s.KooDb.openTable("Daten"));
  s.ImportDatei = folders.programFolder + "job.txt";
  s.ImportDateiGewaehlt = true;
  s.StartKoordinatensystem = "GK42/83";
  form.Startsys->preset(1);
  form.StartellipsoidWaehlen(1);
  s.EllipsoidImport = s.EllipsoidStart;
  form.AuswahlTrafoTyp->select(1);
  form.AuswahlTrafoRichtung->select(1);
  form.ComboTrafoPara->SetListIndex(0);

  t0 = std::chrono::steady_clock::now();
  form.cmdTrafoStart_Click();
  s.KooDb.commit();
  const double transformTime = Seconds(t0);
  std::printf("job: %d points, import %.2f s, transform %.2f s (%.0f points/s)\n", n, importTime, transformTime,
              n / transformTime);
  for (const QString& m : dialogs.messageTexts()) std::printf("  message: %s\n", qPrintable(m));
  {
    Recordset rs = s.KooDb.openTable("Daten");
    rs.moveFirst();
    std::printf("  first row: %s %s %s zone %s\n", qPrintable(rs.value("sYeZiel").textOrEmpty()),
                qPrintable(rs.value("sXeZiel").textOrEmpty()), qPrintable(rs.value("sHgZiel").textOrEmpty()),
                qPrintable(rs.value("Zone").textOrEmpty()));
  }

  // Raw floor: the same rows through sqlite3 directly.
  std::vector<std::string> texts[17];
  {
    Recordset rs = s.KooDb.openTable("Daten");
    rs.moveFirst();
    for (int i = 0; i < n; ++i, rs.moveNext())
      for (int c = 0; c < 17; ++c) texts[c].push_back(rs.value(kTargetColumns[c]).textOrEmpty().toStdString());
  }
  CloseAllDatabases(true);
  SetDialogService(nullptr);
  return 0;
}
