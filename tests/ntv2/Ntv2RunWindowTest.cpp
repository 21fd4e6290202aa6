// The NTv2 run behind the transformation start, on the shipped BETA2007 grid:
// forward on RD83 (Bessel) data and back on ETRS89 data against PROJ, a
// point outside the grid, and a refused direction.
#include <QDir>
#include <QFile>
#include <QTextStream>
#include <cmath>
#include <tuple>

#include "foundation/NumberText.h"
#include "ntv2/Ntv2GridFiles.h"
#include "platform/ui/VbTabStrip.h"
#include "runs/RunFixture.h"

using namespace orv;

namespace {

struct CctPoint {
  double lon, lat, lonEtrs, latEtrs;
};

QList<CctPoint> CctPoints(int count) {
  QFile file(QStringLiteral(ORV_TEST_DATA_DIR "/ntv2/beta2007_cct.txt"));
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  QTextStream in(&file);
  QList<CctPoint> points;
  while (!in.atEnd() && points.size() < count) {
    const QStringList v = in.readLine().split(' ', Qt::SkipEmptyParts);
    if (v.size() == 6 && !v[0].startsWith('#'))
      points << CctPoint{v[0].toDouble(), v[1].toDouble(), v[2].toDouble(), v[3].toDouble()};
  }
  return points;
}

RunTest::Row Geographic(double lat, double lon) {
  return {{"BgDez", NumberText(lat)},
          {"LgDez", NumberText(lon)},
          {"BgDezSek", NumberText(lat * 3600)},
          {"LgDezSek", NumberText(lon * 3600)},
          {"sZe", "100"}};
}

}  // namespace

class Ntv2RunWindowTest : public RunTest {
 protected:
  // A job on the start ellipsoid option (0 GRS1980, 2 Bessel), the BETA2007
  // set chosen in the direction given (0 Hin, 1 Rück), run from the start button.
  QList<Row> run(int startIndex, int direction, const QList<Row>& rows) {
    QFile::remove(dbFile("BETA2007.gsa"));
    EXPECT_TRUE(QFile::copy(QStringLiteral(ORV_SOURCE_DIR "/data/Orvenil-Datenbanken/BETA2007.gsa"),
                            dbFile("BETA2007.gsa")));
    FormOrvenil& f = startJob(startIndex, rows);
    f.AuswahlTrafoTyp->select(2);
    f.AuswahlTrafoRichtung->select(direction);
    f.ComboTrafoPara->SetListIndex(0);
    dialogs->setAcceptOkMessages(true);
    f.cmdTrafoStart_Click();
    return rowsOfDaten();
  }
};

TEST_F(Ntv2RunWindowTest, Beta2007BothWaysAgreesWithProj) {
  const QList<CctPoint> ref = CctPoints(20);
  QList<Row> rows;
  for (const CctPoint& p : ref) rows << Geographic(p.lat, p.lon);
  rows << Geographic(45.0, 10.0);  // south of the grid
  QList<Row> out = run(2, 0, rows);
  ASSERT_EQ(out.size(), ref.size() + 1);
  for (int i = 0; i < ref.size(); ++i) {
    EXPECT_NEAR(Val(out[i]["BgDezZiel"]), ref[i].latEtrs, 1e-9) << i;
    EXPECT_NEAR(Val(out[i]["LgDezZiel"]), ref[i].lonEtrs, 1e-9) << i;
    EXPECT_EQ(out[i]["sHgZiel"], "100.0000");
    EXPECT_FALSE(out[i]["sXeZiel"].isEmpty());
  }
  EXPECT_EQ(out.last()["BgDezZiel"], "");
  EXPECT_EQ(out.last()["sYeZiel"], "");
  EXPECT_TRUE(QFile::exists(dbFile("BETA2007.mdb")));
  for (const RecordedMessage& m : dialogs->messages())
    EXPECT_NE(m.title, "Umrechnung NTv2") << m.text.toStdString();

  // Back from ETRS89 to RD83 in a new window.
  TearDown();
  SetUp();
  rows.clear();
  for (const CctPoint& p : ref) rows << Geographic(p.latEtrs, p.lonEtrs);
  out = run(0, 1, rows);
  ASSERT_EQ(out.size(), ref.size());
  for (int i = 0; i < ref.size(); ++i) {
    EXPECT_NEAR(Val(out[i]["BgDezZiel"]), ref[i].lat, 1e-9) << i;
    EXPECT_NEAR(Val(out[i]["LgDezZiel"]), ref[i].lon, 1e-9) << i;
  }
}

TEST_F(Ntv2RunWindowTest, DataOnAnotherEllipsoidIsRefusedAndUntouched) {
  const QList<Row> out = run(0, 0, {Geographic(50.0, 10.0)});  // GRS1980 data, forward needs Bessel
  EXPECT_EQ(out.first()["BgDezZiel"], "<null>");
  bool refused = false;
  for (const RecordedMessage& m : dialogs->messages())
    refused = refused || m.text.startsWith("Die Transformationsrichtung \"Hin\" mit ");
  EXPECT_TRUE(refused);
}

// With Zone-Ziel chosen the run closes with the zone change of the target
// side, done within its own walk: the rows end as the run without it
// followed by the zone change on its own leaves them.
TEST_F(Ntv2RunWindowTest, ZoneZielWithinTheRunEndsAsTheZoneChangeAfterIt) {
  const QList<CctPoint> ref = CctPoints(300);
  QList<Row> rows;
  for (int i = 0; i < ref.size(); i += 7) rows << Geographic(ref[i].lat, ref[i].lon);  // zones 3, 9 and 15
  rows.insert(3, Geographic(45.0, 10.0));                                              // outside
  rows.insert(0, Row{{"sYe", "111.0"}, {"sXe", "211.0"}});  // no start point: keeps its "Fehler"
  QFile::remove(dbFile("BETA2007.gsa"));
  ASSERT_TRUE(QFile::copy(QStringLiteral(ORV_SOURCE_DIR "/data/Orvenil-Datenbanken/BETA2007.gsa"),
                          dbFile("BETA2007.gsa")));
  const auto runWith = [&](bool zoneWithin) {
    FormOrvenil& f = startJob(2, rows);
    f.AuswahlTrafoTyp->select(2);
    f.AuswahlTrafoRichtung->select(0);
    f.ComboTrafoPara->SetListIndex(0);
    dialogs->setAcceptOkMessages(true);
    State().ImportDateiGewaehlt = zoneWithin;
    f.cmdTrafoStart_Click();
    if (!zoneWithin) {
      State().ImportDateiGewaehlt = true;
      f.BtZone->preset(1);
      f.cmdZoneÄndern_Click();
    }
    return rowsOfDaten();
  };
  const QList<Row> within = runWith(true);
  TearDown();
  SetUp();
  const QList<Row> after = runWith(false);
  ASSERT_EQ(within.size(), after.size());
  for (int i = 0; i < within.size(); ++i)
    for (auto it = within[i].begin(); it != within[i].end(); ++it)
      EXPECT_EQ(it.value().toStdString(), after[i][it.key()].toStdString()) << i << " " << it.key().toStdString();
  // The first row chose the zone also of rows whose own zone is another.
  EXPECT_GT(Val(within.last()["LgDezZiel"]), 12.0);
  EXPECT_EQ(within.last()["Zone"], within[1]["Zone"]);
  EXPECT_EQ(within[0]["sYeZiel"].toStdString(), "Fehler");
}

// A row that stops the run leaves the rows before it as the run alone
// leaves them: the zone change, which follows only a complete run, has not
// touched them.
TEST_F(Ntv2RunWindowTest, ARowThatStopsTheRunLeavesTheZonesUntouched) {
  const QList<CctPoint> ref = CctPoints(3);
  QList<Row> rows;
  for (const CctPoint& p : ref) rows << Geographic(p.lat, p.lon);
  rows[1]["BgDez"] = "1E+999";  // too large for a number
  QFile::remove(dbFile("BETA2007.gsa"));
  ASSERT_TRUE(QFile::copy(QStringLiteral(ORV_SOURCE_DIR "/data/Orvenil-Datenbanken/BETA2007.gsa"),
                          dbFile("BETA2007.gsa")));
  FormOrvenil& f = startJob(2, rows);
  f.AuswahlTrafoTyp->select(2);
  f.AuswahlTrafoRichtung->select(0);
  f.ComboTrafoPara->SetListIndex(0);
  dialogs->setAcceptOkMessages(true);
  f.cmdTrafoStart_Click();
  const QList<Row> out = rowsOfDaten();
  EXPECT_FALSE(out[0]["sYeZiel"].isEmpty());
  EXPECT_EQ(out[0]["Zone"], "<null>");
  EXPECT_EQ(out[1]["BgDezZiel"], "<null>");
  EXPECT_EQ(out[2]["BgDezZiel"], "<null>");
  bool stopped = false;
  for (const RecordedMessage& m : dialogs->messages())
    stopped = stopped || (m.title == "Umrechnung NTv2" && m.text.contains("Punkt 2: "));
  EXPECT_TRUE(stopped);
}

// A point appended by its number has no start latitude and longitude: it
// gets "Fehler", takes no part in the choice of the zone, and the other
// rows end as in a job without it.
TEST_F(Ntv2RunWindowTest, RowWithoutStartCoordinatesGetsFehlerAndTheRunGoesOn) {
  const QList<CctPoint> ref = CctPoints(3);
  QList<Row> rows;
  for (int i = 0; i < ref.size(); ++i) {
    rows << Geographic(ref[i].lat, ref[i].lon);
    rows.last()["Punkt"] = QString::number(i + 1);
  }
  const QList<Row> without = run(2, 0, rows);
  TearDown();
  SetUp();
  rows.insert(0, Row{{"Punkt", "9"}, {"sYe", "111.0"}, {"sXe", "211.0"}, {"sZe", "6"}});
  const QList<Row> out = run(2, 0, rows);
  ASSERT_EQ(out.size(), 4);
  EXPECT_EQ(out[0]["sYeZiel"].toStdString(), "Fehler");
  EXPECT_EQ(out[0]["BgDezZiel"].toStdString(), "Fehler");
  EXPECT_EQ(out[0]["sZeZiel"].toStdString(), "Fehler");
  for (int i = 0; i < 3; ++i)
    for (auto it = without[i].begin(); it != without[i].end(); ++it)
      if (it.key() != "id") {
        EXPECT_EQ(out[i + 1][it.key()].toStdString(), it.value().toStdString()) << it.key().toStdString();
      }
  int counted = 0;
  for (const RecordedMessage& m : dialogs->messages())
    counted += m.title == "Umrechnung NTv2" && m.text.startsWith("1 Zeilen ohne gültige Startkoordinaten");
  EXPECT_EQ(counted, 1) << dialogs->messageTexts().join("\n").toStdString();
}

// A row without a start height (outside the geoid model at the import)
// keeps the shifted position; what needs the height says "Fehler", and
// the end message counts such rows. The seven-parameter run does the same.
TEST_F(Ntv2RunWindowTest, RowWithoutStartHeightKeepsItsPositionAndGetsFehlerHeights) {
  const QList<CctPoint> ref = CctPoints(1);
  QList<Row> rows{Geographic(ref[0].lat, ref[0].lon), Geographic(ref[0].lat, ref[0].lon),
                  Geographic(ref[0].lat, ref[0].lon)};
  rows[1]["sZe"] = "Fehler";
  rows[2]["sZe"] = "";
  const char* heightColumns[] = {"sHgZiel", "sZeZiel", "sXzZiel", "sYzZiel", "sZzZiel"};
  QList<Row> out = run(2, 0, rows);
  for (int i : {1, 2}) {
    for (const char* c : {"BgDezZiel", "LgDezZiel", "radBgZiel", "sBgZiel", "sLgZiel", "sYeZiel", "sXeZiel"})
      EXPECT_EQ(out[i][c], out[0][c]) << i << c;
    for (const char* c : heightColumns) EXPECT_EQ(out[i][c].toStdString(), "Fehler") << i << c;
  }
  EXPECT_EQ(out[0]["sZeZiel"], "100.0000");
  EXPECT_EQ(dialogs->messageTexts().filter("2 Zeilen ohne Starthöhe (sZe)").size(), 1)
      << dialogs->messageTexts().join("\n").toStdString();

  TearDown();
  SetUp();
  const Row point{{"sXz", "3934386.8"}, {"sYz", "881289.7"}, {"sZz", "4925822.4"}, {"sZe", "100.0000"}};
  Row noHeight = point;
  noHeight["sZe"] = "Fehler";
  FormOrvenil& f = startJob(0, {point, noHeight});
  chooseSet(f, 0, 0);
  dialogs->expectMessage("1 Zeilen ohne Starthöhe (sZe)");
  f.cmdTrafoStart_Click();
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("\n").toStdString();
  out = rowsOfDaten();
  for (const char* c : {"BgDezZiel", "sBgZiel", "sYeZiel", "sXeZiel", "Zone"})
    EXPECT_EQ(out[1][c], out[0][c]) << c;
  for (const char* c : heightColumns) EXPECT_EQ(out[1][c].toStdString(), "Fehler") << c;
  EXPECT_NE(out[0]["sZeZiel"], "Fehler");
}

// Two grids written under the same name ("NTv2.gsa") and added one after the
// other: each set runs with the grid of the file it was added from, and the
// message says under which name the second one was kept.
TEST_F(Ntv2RunWindowTest, GridFilesOfTheSameNameEachRunWithTheirOwnShifts) {
  const auto gridFile = [&](const QString& folder, double dLat, double dLonW) {
    const auto constant = [](double v) { return [v](double, double) { return v; }; };
    QByteArray grid = test::GsaText({50 * 3600.0, 51 * 3600.0, -11 * 3600.0, -10 * 3600.0, 1800, 1800,
                                     constant(dLat), constant(dLonW)})
                          .toLatin1();
    grid.replace("SYSTEM_FTEST    ", "SYSTEM_FRD-83   ");
    QDir(root.path()).mkpath(folder);
    test::WriteBytes(root.path() + "/" + folder + "/NTv2.gsa", grid);
    return root.path() + "/" + folder + "/NTv2.gsa";
  };
  const QString gridA = gridFile("A", 1, 2);
  const QString gridB = gridFile("B", 3, 5);
  FormOrvenil& f = startJob(2, {Geographic(50.5, 10.5)});
  State().StartKoordinatensystem = "RD83";
  const auto add = [&](const QString& path, const QString& said) {
    f.sevTabStrip1->SelectTab(4);
    dialogs->expectOpenFile(path);
    dialogs->expectMessage("hinzugefügt werden?", MsgResult::Yes);
    dialogs->expectMessage(said);
    f.mnuPopUp_Click(3);
  };
  add(gridA, "\"NTv2.gsa\" wurde vorgefunden und der Datenbank zugefügt.");
  add(gridB, "\"NTv2.gsa\" wurde vorgefunden und der Datenbank als \"NTv2_2.gsa\" zugefügt");
  add(gridA, "\"NTv2.gsa\" wurde vorgefunden und der Datenbank zugefügt.");  // the copy there is the same grid
  EXPECT_TRUE(dialogs->allDone());
  EXPECT_EQ(bytesOf(dbFile("NTv2.gsa")), bytesOf(gridA));
  EXPECT_EQ(bytesOf(dbFile("NTv2_2.gsa")), bytesOf(gridB));
  EXPECT_FALSE(QFile::exists(dbFile("NTv2_3.gsa")));
  ASSERT_EQ(f.GridNTv2Sys->RowCount(), 5);

  // The sets of rows 4 (B) and 3 (A), both named after the grid's sub-grid.
  dialogs->setAcceptOkMessages(true);
  for (const auto& [item, dLat, dLonW] : {std::tuple{3, 3.0, 5.0}, std::tuple{2, 1.0, 2.0}}) {
    f.AuswahlTrafoTyp->select(2);
    f.AuswahlTrafoRichtung->select(0);
    f.ComboTrafoPara->SetListIndex(item);
    f.cmdTrafoStart_Click();
    const QList<Row> out = rowsOfDaten();
    EXPECT_NEAR(Val(out[0]["BgDezZiel"]), 50.5 + dLat / 3600, 1e-9) << item;
    EXPECT_NEAR(Val(out[0]["LgDezZiel"]), 10.5 - dLonW / 3600, 1e-9) << item;
  }
}

// A cache whose pages read well but which lacks what the run reads (a third
// of the rows, shifts Null or text, an empty sub-grid table) is built again
// from the grid file, and both points get their targets; one that cannot be
// built again stops the run naming the cache.
TEST_F(Ntv2RunWindowTest, CacheWithoutItsRowsOrNumbersIsBuiltAgainOrNamed) {
  const QList<CctPoint> ref = CctPoints(2);
  const QList<Row> good = run(2, 0, {Geographic(ref[0].lat, ref[0].lon), Geographic(ref[1].lat, ref[1].lon)});
  ASSERT_FALSE(good[1]["sYeZiel"].isEmpty());
  FormOrvenil& f = *form;
  const auto damage = [&](const QString& sql) {
    State().NTv2Gitterdatenbank.close();
    Database cache = DBEngine::openDatabase(dbFile("BETA2007.mdb"));
    cache.execute(sql);
    cache.close();
    dialogs->clearRecords();
  };
  for (const char* sql : {"DELETE FROM \"1\" WHERE id % 3 = 2", "UPDATE \"1\" SET Zeile1 = NULL, Zeile2 = NULL",
                          "UPDATE \"1\" SET Zeile1 = 'x', Zeile2 = 'y'", "DELETE FROM \"1\""}) {
    damage(sql);
    f.cmdTrafoStart_Click();
    const QList<Row> out = rowsOfDaten();
    for (int i = 0; i < 2; ++i)
      for (const char* c : {"BgDezZiel", "LgDezZiel", "sYeZiel", "sXeZiel"})
        EXPECT_EQ(out[i][c].toStdString(), good[i][c].toStdString()) << sql << " " << i << c;
    for (const RecordedMessage& m : dialogs->messages())
      EXPECT_NE(m.title.toStdString(), "Umrechnung NTv2") << sql << m.text.toStdString();
  }

  damage("DELETE FROM \"1\" WHERE id > 100");
  State().TempVerzeichnis = dbFile("BETA2007.gsa") + "/";  // no folder: nothing can be built
  f.cmdTrafoStart_Click();
  const QStringList named = dialogs->messageTexts().filter("Fehler: NTv2-Cache " + dbFile("BETA2007.mdb"));
  EXPECT_EQ(named.size(), 1) << dialogs->messageTexts().join("\n").toStdString();
}

// A grid file's header names the job's systems: the start system offered is
// the job's, and a grid whose targets a run computed in another system than
// ETRS89, or whose start system is answered as another than the job's, is
// refused before anything is written.
TEST_F(Ntv2RunWindowTest, GsaExportNamesTheJobsSystemsOrRefuses) {
  // An ETRS89 point grid (south-east and north-west corner, four nodes)
  // taken back to RD83 with BETA2007.
  QList<Row> rows{Geographic(50, 10), Geographic(50 + 1 / 60.0, 10 - 1.5 / 60.0)};
  for (int i = 0; i <= 1; ++i)
    for (int j = 0; j <= 1; ++j) rows << Geographic(50 + i / 60.0, 10 - j * 1.5 / 60.0);
  ASSERT_FALSE(run(0, 1, rows).first()["BgDezZiel"].isEmpty());
  dialogs->setAcceptOkMessages(false);
  dialogs->clearRecords();
  dialogs->expectMessage("Die Zielkoordinaten der Daten sind in \"RD40/83\" berechnet");
  form->Coolbar2_ButtonMenuClick("btnNTv2Export");
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
  EXPECT_TRUE(dialogs->inputPrompts().isEmpty());

  // Targets from a target file name no system; the start system offered is
  // the job's, and only the job's is taken.
  QFile targets(root.filePath("ziel.bl"));
  ASSERT_TRUE(targets.open(QIODevice::WriteOnly));
  for (int k = 0; k < rows.size(); ++k)
    targets.write(QString("%1 0 %2 %3\r\n")
                      .arg(k + 1)
                      .arg(NumberText(Val(rows[k]["BgDez"]) + 0.0001))
                      .arg(NumberText(Val(rows[k]["LgDez"]) + 0.0002))
                      .toLatin1());
  targets.close();
  dialogs->expectMessage("Zieldatei aus identischen Startdaten");
  dialogs->expectOpenFile(targets.fileName());
  form->Coolbar2_ButtonMenuClick("btnNTv2Ziel");
  dialogs->expectInput("Gitterabstand", "60; 90");
  dialogs->expectInput("Startsystem", "RD40/83");
  dialogs->expectMessage("Das Startsystem \"RD40/83\" ist nicht das der Daten (\"ETRS89\")");
  form->Coolbar2_ButtonMenuClick("btnNTv2Export");
  EXPECT_EQ(dialogs->inputDefaults().value(1).toStdString(), "ETRS89");
  dialogs->expectInput("Gitterabstand", "60; 90");
  dialogs->expectInput("Startsystem", "ETRS89");
  dialogs->expectMessage("Prüfen Sie bitte die Kopf-Daten");
  form->Coolbar2_ButtonMenuClick("btnNTv2Export");
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
  const QString gsa = QString::fromLatin1(bytesOf(State().ExportDatei));
  EXPECT_TRUE(gsa.contains("SYSTEM_FETRS89  \r\nSYSTEM_TETRS89  \r\n")) << gsa.left(300).toStdString();
  EXPECT_TRUE(gsa.contains(" 0.360000  -0.720000  0.000000  0.000000")) << gsa.toStdString();
}
