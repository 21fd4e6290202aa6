// The geoid height run with the real geoid program and the EGM96 grid of the
// default database folder, checked against an interpolation of its own.
#include <cmath>

#include "HeightsTestSupport.h"
#include "foundation/NumberText.h"
#include "platform/ui/VbCheckBox.h"
#include "platform/ui/VbComboBox.h"
#include "support/TestGrids.h"

namespace {

struct GeoPoint {
  double lat, lon, h;
};

class GeoidHeightRunTest : public LoadedJobTest {
 protected:
  void SetUp() override {
    LoadedJobTest::SetUp();
    putAllTables();
    putDefaultGeoidFiles();
    records = orv::test::ReadRecords(orv::test::DefaultGridPath());
  }

  void loadGeographicJob(const std::vector<GeoPoint>& pts) {
    start();
    loadJob({});
    orv::Recordset rs = orv::State().KooDb.openTable(QStringLiteral("Daten"));
    int id = 0;
    for (const GeoPoint& p : pts) {
      rs.addNew();
      rs.setValue(QStringLiteral("id"), ++id);
      rs.setValue(QStringLiteral("Punkt"), QString::number(id).rightJustified(20));
      rs.setValue(QStringLiteral("radBg"), QString::number(orv::test::Rad(p.lat), 'g', 17));
      rs.setValue(QStringLiteral("radLg"), QString::number(orv::test::Rad(p.lon), 'g', 17));
      rs.setValue(QStringLiteral("sZe"), orv::FormatNumber(p.h, "0.0000"));
      rs.update();
    }
    rs.close();
    form->GridKooDb->BindQuery(orv::State().KooDb, QStringLiteral("SELECT * FROM Daten ORDER BY Punkt"));
    form->cmbGeoidmodell->SetListIndex(1);
    ASSERT_TRUE(orv::State().GeoidBereit);
  }

  // EGM96 by cubic convolution on the grid's nodes (55.5 N, 5.5 E, 15' apart).
  double Undulation(double lat, double lon) const {
    const auto node = [this](int r, int c) { return records.at(17 + (r - 1) * 41 + c) * 0.0001; };
    return orv::test::CatmullRom(1 + (55.5 - lat) / 0.25, 1 + (lon - 5.5) / 0.25, node);
  }

  std::vector<std::int32_t> records;
};

const std::vector<GeoPoint> kPoints = {{51.1, 10.3, 100.0}, {48.7, 9.1, 250.5}, {53.5, 13.9, 0.0}, {60.0, 10.0, 5.0}};

TEST_F(GeoidHeightRunTest, HeightsAreStartHeightPlusOrMinusTheUndulation) {
  loadGeographicJob(kPoints);
  for (int minus : {0, 1}) {
    form->chkUndulationMinus->SetValue(minus);
    form->ConvertHeightsWithGeoid();
    const QStringList n = column("Geoidundulation");
    const QStringList z = column("sZeZiel");
    for (int i = 0; i < 3; ++i) {
      const double expectedN = Undulation(kPoints[i].lat, kPoints[i].lon);
      EXPECT_NEAR(n[i].toDouble(), expectedN, 0.001) << i;
      EXPECT_NEAR(z[i].toDouble(), kPoints[i].h + (minus ? -expectedN : expectedN), 0.001) << i;
    }
    // North of the model's grid.
    EXPECT_EQ(n[3], "Fehler");
    EXPECT_EQ(z[3], "Fehler");
  }
  EXPECT_FALSE(QFile::exists(dbFile("INPUT.USR")));
  EXPECT_FALSE(orv::State().KooDbDaten.isSet());
}

// A row without a start height (empty, or "Fehler" from the import) gets
// no target height made of the undulation alone.
TEST_F(GeoidHeightRunTest, RowWithoutStartHeightGetsFehlerAsTargetHeight) {
  loadGeographicJob(kPoints);
  orv::State().KooDb.execute("UPDATE Daten SET sZe = '' WHERE id = 1");
  orv::State().KooDb.execute("UPDATE Daten SET sZe = 'Fehler' WHERE id = 2");
  form->ConvertHeightsWithGeoid();
  const QStringList z = column("sZeZiel");
  EXPECT_EQ(z[0], "Fehler");
  EXPECT_EQ(z[1], "Fehler");
  EXPECT_NEAR(z[2].toDouble(), Undulation(kPoints[2].lat, kPoints[2].lon), 0.001);
  EXPECT_NEAR(column("Geoidundulation")[0].toDouble(), Undulation(kPoints[0].lat, kPoints[0].lon), 0.001);
}

TEST_F(GeoidHeightRunTest, MissingProgramIsNamedAndEveryTargetHeightIsFehler) {
  loadGeographicJob(kPoints);
  form->ConvertHeightsWithGeoid();
  QFile::remove(dbFile("saphtel.exe"));
  dialogs->expectMessage("saphtel.exe' fehlt!");
  form->ConvertHeightsWithGeoid();
  EXPECT_TRUE(dialogs->allDone());
  // No target height of the earlier run may pass for one of this run.
  const QStringList fehler(kPoints.size(), QStringLiteral("Fehler"));
  EXPECT_EQ(column("sZeZiel"), fehler);
  EXPECT_EQ(column("Geoidundulation"), fehler);
  EXPECT_TRUE(form->GridKooDb->Redraw());
}

}  // namespace

namespace {

// Every run reads the model's file as it is at that moment, byte for byte:
// a file replaced since the model was chosen is the one used, a file gone
// is missed.
TEST_F(GeoidHeightRunTest, EachRunReadsTheModelFileAsItIsThen) {
  loadGeographicJob(kPoints);
  std::vector<std::int32_t> higher = records;
  for (size_t i = 18; i < higher.size(); ++i) higher[i] += 100000;  // every node 10 m higher
  orv::test::WriteRecords(dbFile("EGM96_Deutschland.grd").toStdString(), higher);
  form->ConvertHeightsWithGeoid();
  const QStringList n = column("Geoidundulation");
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(n[i].toDouble(), Undulation(kPoints[i].lat, kPoints[i].lon) + 10, 0.001) << i;

  // A model file gone since: said, and no height of the run before stays.
  ASSERT_TRUE(QFile::remove(dbFile("EGM96_Deutschland.grd")));
  dialogs->expectMessage("Die Geoidfelddatei '" + dbFile("EGM96_Deutschland.grd") + "' fehlt! Abbruch!");
  form->ConvertHeightsWithGeoid();
  EXPECT_TRUE(dialogs->allDone());
  EXPECT_EQ(column("sZeZiel"), QStringList(kPoints.size(), QStringLiteral("Fehler")));

  // A program that keeps the grid it was given.
  QFile script(dbFile("saphtel.exe"));
  ASSERT_TRUE(script.open(QIODevice::WriteOnly | QIODevice::Truncate));
  script.write(("#!/bin/sh\ncp saphtel '" + dbFile("gelesen") + "'\n").toUtf8());
  script.close();
  QByteArray odd;
  for (int i = 0; i < 4096; ++i) odd.append(static_cast<char>((i * 37) & 0xFF));
  odd.append("\r\n\n\r\x1a");
  QFile model(dbFile("EGM96_Deutschland.grd"));
  ASSERT_TRUE(model.open(QIODevice::WriteOnly | QIODevice::Truncate));
  model.write(odd);
  model.close();
  dialogs->expectMessage("hat keine Ausgabedatei OUTPUT.USR geschrieben!");
  form->ConvertHeightsWithGeoid();
  EXPECT_TRUE(dialogs->allDone());
  EXPECT_EQ(bytesOf(dbFile("gelesen")), odd);
  // The run's working folder is gone with it.
  EXPECT_EQ(QDir(folders.tempFolder).entryList({"Geoidprogramm_*"}, QDir::AllEntries), QStringList());
}

}  // namespace

namespace {

// Each row takes the answer line that repeats its own point wherever it
// stands: lines doubled, missing, swapped, moved or put in front give no row
// another point's undulation; rows without their line, or without an
// undulation in it (fields may be parted by TABs), get "Fehler" and are counted.
TEST_F(GeoidHeightRunTest, RowsTakeOnlyTheLineOfTheirOwnPoint) {
  std::vector<GeoPoint> job;
  for (int i = 0; i < 50; ++i) job.push_back({47.6 + i * 0.14, 6.1 + std::fmod(i * 2.37, 8.8), 10.0 * i});
  loadGeographicJob(job);
  putAlteringGeoidProgram();
  form->ConvertHeightsWithGeoid();
  const QStringList reference = column("Geoidundulation");
  for (int i = 0; i < 50; ++i)
    EXPECT_NEAR(reference[i].toDouble(), Undulation(job[i].lat, job[i].lon), 0.001) << i;

  QByteArray inFront, grid;
  for (int i = 0; i < 17; ++i) inFront += "1i\\\n   12.3456  50.000000   8.000000\n";
  for (int i = 0; i < 200; ++i)
    grid += "1i\\\n   12.3456  " + QByteArray::number(40 + i * 0.01, 'f', 6) + "   8.000000\n";
  struct Case {
    const char* name;
    QByteArray sed;
    int firstMissing, missing;  // rows (from 0) without a line, or without an undulation in it
    bool noUndulation = false;
  } cases[] = {
      {"doppelt", "2p\n", 0, 0},
      {"fehlt", "3d\n", 2, 1},
      {"vertauscht", "4{h;d}\n5G\n", 0, 0},
      {"Leerzeile", "1G\n", 0, 0},
      {"fehlt und vertauscht", "1d\n2{h;d}\n3G\n", 0, 1},
      {"17 fehlen", "2,18d\n", 1, 17},
      {"17 davor", inFront, 0, 0},
      {"20 ans Ende", "1,20{H;d}\n${G}\n", 0, 0},
      {"ungerade, dann gerade", "2~2{H;$!d}\n${x;s/^\\n//}\n", 0, 0},
      {"200 andere davor", grid, 0, 0},
      {"Tabulatoren", "s/ \\+/\\t/g\n3s/^\\t[^\\t]*/\\t*******/\n", 2, 1, true},
  };
  for (const Case& c : cases) {
    alterGeoidAnswer(c.sed);
    if (c.missing > 0)
      dialogs->expectMessage(QString::number(c.missing) +
                             (c.noUndulation ? " Zeilen mit einer Zeile ohne lesbare Geoidundulation"
                                             : " Zeilen ohne Zeile mit ihrer Breite und Länge"));
    form->ConvertHeightsWithGeoid();
    EXPECT_TRUE(dialogs->allDone()) << c.name << dialogs->messageTexts().join('|').toStdString();
    QStringList expected = reference;
    for (int i = c.firstMissing; i < c.firstMissing + c.missing; ++i) expected[i] = "Fehler";
    EXPECT_EQ(column("Geoidundulation").join(' ').toStdString(), expected.join(' ').toStdString()) << c.name;
  }
}

// The geoid program is started under a database folder and a temporary
// folder whose names hold a double quote and blanks.
TEST_F(GeoidHeightRunTest, FoldersWithADoubleQuoteInTheirNames) {
  folders.programFolder = root.path() + "/Vermessung \"Nord\"/";
  folders.databaseFolder = folders.programFolder + "Orvenil-Datenbanken/";
  folders.tempFolder = root.path() + "/Temp \"2\"/";
  ASSERT_TRUE(QDir().mkpath(folders.databaseFolder) && QDir().mkpath(folders.tempFolder));
  putAllTables();
  putDefaultGeoidFiles();
  loadGeographicJob(kPoints);
  form->ConvertHeightsWithGeoid();
  EXPECT_TRUE(dialogs->allDone());
  const QStringList n = column("Geoidundulation");
  for (int i = 0; i < 3; ++i) EXPECT_NEAR(n[i].toDouble(), Undulation(kPoints[i].lat, kPoints[i].lon), 0.001) << i;
}

}  // namespace
