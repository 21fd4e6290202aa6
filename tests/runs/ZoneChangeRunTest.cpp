// The zone-change run: fixed, automatic and per-row zones across the 6°
// boundary on the start side, and the target side on its own copies.
#include <cmath>
#include <functional>

#include "foundation/NumberText.h"
#include "geodesy/GeocentricConversion.h"
#include "geodesy/GeodesyConstants.h"
#include "geodesy/ProjectedEllipsoid.h"
#include "geodesy/TransverseMercator.h"
#include "ntv2/Ntv2GridFiles.h"
#include "platform/ui/VbCheckBox.h"
#include "platform/ui/VbStatusBar.h"
#include "runs/RunFixture.h"

using namespace orv;

namespace {

// A start row at latitude 50° and the given longitude, as an import writes it.
RunTest::Row StartRow(double longitude) {
  return {{"radBg", NumberText(50 * kPi / 180)},
          {"radLg", NumberText(longitude * kPi / 180)},
          {"LgDez", NumberText(longitude)}};
}

// An ETRS89 row at latitude 50° and the given longitude, geocentric, height 100.
RunTest::Row GeocentricRow(double longitude) {
  const double f = 1 / 298.257222101, e = std::sqrt(2 * f - f * f);
  const GeocentricPoint p = EllToGeoZent(50 * kPi / 180, longitude * kPi / 180, 100, 6378137, e);
  return {{"sXz", NumberText(p.X)}, {"sYz", NumberText(p.Y)}, {"sZz", NumberText(p.Z)}, {"sZe", "100"}};
}

QStringList Column(const QList<RunTest::Row>& rows, const QString& key) {
  QStringList values;
  for (const RunTest::Row& row : rows) values << row[key];
  return values;
}

}  // namespace

class ZoneChangeRunTest : public RunTest {};

TEST_F(ZoneChangeRunTest, StartSideFixedAutomaticAndPerRowZones) {
  FormOrvenil& f = startJob(0, {StartRow(5.9), StartRow(6.1)});
  // A fixed zone: every row in it, the zone digit 2 before the easting.
  f.zielZone->SetListIndex(2);  // "09/32"
  f.cmdZoneÄndern_Click();
  QList<Row> rows = rowsOfDaten();
  EXPECT_EQ(Column(rows, "Zone"), (QStringList{"9", "9"}));
  EXPECT_EQ(Column(rows, "EllipsKO"), (QStringList{"500000", "500000"}));
  for (const Row& row : rows) EXPECT_TRUE(row["sYe"].startsWith("2")) << row["sYe"].toStdString();
  EXPECT_EQ(f.xpStatusBar1->PanelText(3), "Automatisch: Start-Zone: 9  ");
  EXPECT_EQ(f.xpStatusBar1->PanelText(5), "Start-K0: 500000m  ");

  // "automatisch": the first row's zone serves all rows.
  f.zielZone->SetListIndex(0);
  f.cmdZoneÄndern_Click();
  EXPECT_EQ(Column(rowsOfDaten(), "Zone"), (QStringList{"3", "3"}));

  // Per row: each row in its own zone, with its own digit.
  f.chkZoneIndividuell->SetValue(1);
  f.cmdZoneÄndern_Click();
  rows = rowsOfDaten();
  EXPECT_EQ(Column(rows, "Zone"), (QStringList{"3", "9"}));
  EXPECT_TRUE(rows[0]["sYe"].startsWith("1"));
  EXPECT_TRUE(rows[1]["sYe"].startsWith("2"));
  EXPECT_EQ(f.xpStatusBar1->PanelText(3), "Individuell: Start-Zone: 3  ");
  EXPECT_TRUE(dialogs->messages().isEmpty()) << dialogs->messageTexts().join("\n").toStdString();
}

TEST_F(ZoneChangeRunTest, TargetSideLeavesTheStartSystemAndSkipsRowsWithoutTarget) {
  Row untransformed = StartRow(12.5);
  Row transformed = StartRow(12.5);
  transformed["radBgZiel"] = NumberText(52.5 * kPi / 180);
  transformed["radLgZiel"] = NumberText(13.4 * kPi / 180);
  transformed["LgDezZiel"] = "13.4";
  transformed["sYeZiel"] = "1";
  FormOrvenil& f = startJob(1, {untransformed, transformed, transformed});
  ProgramState& s = State();
  const ProgramState before = s;
  // The target system as a run leaves it: ETRS89.
  s.ZielA = 6378137;
  s.ZielF = 1 / 298.25722210088;
  s.ZielK0 = 0.9996;
  s.ZonenEllipsoidZiel = "GRS1980";
  RecordTargetPositionsSystem(s);
  f.BtZone->preset(1);
  f.cmdZoneÄndern_Click();

  const QList<Row> rows = rowsOfDaten();
  // The first row has no target longitude: it decides nothing.
  EXPECT_EQ(rows[0]["Zone"], "0");
  EXPECT_EQ(rows[0]["sYeZiel"], "");
  EXPECT_EQ(Column(rows, "Zone").mid(1), (QStringList{"15", "15"}));
  EXPECT_EQ(rows[1]["sYeZiel"], "3391390.7313");
  EXPECT_EQ(rows[1]["sXeZiel"], "5817855.2407");
  EXPECT_EQ(f.xpStatusBar1->PanelText(3), "Automatisch: Ziel-Zone: 15  ");
  EXPECT_EQ(s.StartA, before.StartA);
  EXPECT_EQ(s.StartF, before.StartF);
  EXPECT_EQ(s.StartK0, before.StartK0);
  EXPECT_EQ(s.ZonenEllipsoidStart, before.ZonenEllipsoidStart);
  EXPECT_EQ(s.ZonenEllipsoidStart, "Krassowski");
  EXPECT_TRUE(dialogs->messages().isEmpty()) << dialogs->messageTexts().join("\n").toStdString();
}

TEST_F(ZoneChangeRunTest, GaussKruegerStripWithoutZoneDigit) {
  FormOrvenil& f = startJob(1, {StartRow(11.2), StartRow(13.4)});
  f.zielZone->SetListIndex(4);  // "12/45"
  f.cmdZoneÄndern_Click();
  const QList<Row> rows = rowsOfDaten();
  EXPECT_EQ(Column(rows, "EllipsKO"), (QStringList{"4500000", "4500000"}));
  for (const Row& row : rows) EXPECT_NEAR(Val(row["sYe"]), 4500000, 110000) << row["sYe"].toStdString();
  EXPECT_LT(Val(rows[0]["sYe"]), 4500000);
}

TEST_F(ZoneChangeRunTest, StartSideRefusedWhileTheSetStartsInAnotherSystem) {
  Row gk = StartRow(12.5);
  gk["sYe"] = "4535000.0000";
  gk["sXe"] = "5540000.0000";
  FormOrvenil& f = startJob(1, {gk, gk});  // GK42/83
  f.AuswahlTrafoTyp->select(1);
  f.AuswahlTrafoRichtung->select(0);
  f.ComboTrafoPara->SetListIndex(0);  // starts in ETRS89: the start box is red
  ASSERT_FALSE(f.cmdTrafoStart->isEnabled());
  f.BtZone->select(1);
  f.BtZone->select(0);  // the start side again, as the user clicks it
  dialogs->expectMessage("Zone-Start wird nicht umgerechnet");
  f.cmdZoneÄndern_Click();
  // Back to no transformation: the box says "ohne", but the start values
  // loaded meanwhile are still those of the set's ellipsoid.
  f.AuswahlTrafoTyp->select(0);
  f.BtZone->select(1);
  f.BtZone->select(0);
  dialogs->expectMessage("Zone-Start wird nicht umgerechnet");
  f.cmdZoneÄndern_Click();
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("\n").toStdString();
  for (const Row& row : rowsOfDaten()) {
    EXPECT_EQ(row["sYe"], "4535000.0000");
    EXPECT_EQ(row["sXe"], "5540000.0000");
  }
}

TEST_F(ZoneChangeRunTest, RowsWithoutLatitudeAndLongitudeKeepTheirCoordinates) {
  // The second row as "nur fehlende Punkte ergänzen" appends it: no geographic values.
  const Row appended{{"sYe", "4505000.000"}, {"sXe", "5655000.000"}};
  Row empty = StartRow(12.5);
  empty["radBg"] = "";
  empty["sYe"] = "4535000.000";
  FormOrvenil& f = startJob(1, {StartRow(11.2), appended, empty, StartRow(13.4)});
  f.zielZone->SetListIndex(4);  // "12/45"
  dialogs->expectMessage("2 Zeilen ohne Breite und Länge");
  f.cmdZoneÄndern_Click();
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("\n").toStdString();
  QList<Row> rows = rowsOfDaten();
  EXPECT_EQ(rows[1]["sYe"], "4505000.000");
  EXPECT_EQ(rows[1]["sXe"], "5655000.000");
  EXPECT_EQ(rows[1]["Zone"], "<null>");
  EXPECT_EQ(rows[2]["sYe"], "4535000.000");
  for (int i : {0, 3}) EXPECT_NEAR(Val(rows[i]["sYe"]), 4500000, 110000) << i;

  // A value that overflows stops the run and names its point.
  State().KooDb.execute("UPDATE Daten SET radBg = '1e308' WHERE Punkt = '4'");
  dialogs->expectMessage("Punkt 4");
  f.cmdZoneÄndern_Click();
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("\n").toStdString();
  // So does a latitude beyond the pole: its figures would be invented.
  State().KooDb.execute("UPDATE Daten SET radBg = '1e300' WHERE Punkt = '4'");
  dialogs->expectMessage("Punkt 4");
  f.cmdZoneÄndern_Click();
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("\n").toStdString();
}

// The rows are computed on worker threads, block by block, ahead of the
// choice of the zone: rows of later blocks in another zone still get the
// zone the first row chose, with eastings of that zone.
TEST_F(ZoneChangeRunTest, TheFirstRowsZoneServesRowsOfEveryBlock) {
  QList<Row> rows;
  for (int i = 0; i < 20000; ++i) rows << StartRow(i < 10000 ? 5.9 : 6.1);
  FormOrvenil& f = startJob(0, rows);
  f.zielZone->SetListIndex(0);  // "automatisch"
  f.cmdZoneÄndern_Click();
  const QList<Row> out = rowsOfDaten();
  ASSERT_EQ(out.size(), rows.size());
  EXPECT_EQ(out.last()["Zone"], "3");
  EXPECT_EQ(out.last()["sYe"].left(2), "17");  // 3.1° east of 3°: zone digit 1, easting 7…
}

// A row 500 km or more from its zone's false easting would carry the
// digit of a neighbouring zone: its easting and northing stay empty and
// the hint counts it, on both sides, in strips and in 6° zones; the
// seven-parameter and NTv2 runs leave a point beyond their last zone so too.
TEST_F(ZoneChangeRunTest, RowsBeyondTheirZoneAreEmptiedAndCounted) {
  const QString beyond = "1 Punkte liegen 500 km oder mehr vom Mittelmeridian ihrer Zone entfernt";
  // Gauss-Krüger start side, "automatisch": the first row chooses strip 2;
  // 6.5° east of it the easting still reads as strip 2, 9° east it would
  // read as strip 3.
  FormOrvenil& f = startJob(1, {StartRow(6.5), StartRow(12.5), StartRow(15.0)});
  f.zielZone->SetListIndex(0);
  dialogs->expectMessage(beyond);
  f.cmdZoneÄndern_Click();
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("\n").toStdString();
  QList<Row> rows = rowsOfDaten();
  EXPECT_EQ(Column(rows, "Zone"), (QStringList{"6", "6", "6"}));
  EXPECT_TRUE(rows[1]["sYe"].startsWith("29")) << rows[1]["sYe"].toStdString();
  EXPECT_EQ(rows[2]["sYe"], "");
  EXPECT_EQ(rows[2]["sXe"], "");

  // UTM target side: zone 31 chosen by the first row; 9.5° east of its
  // meridian the easting would read as zone 32.
  Row first = StartRow(3.5), far = StartRow(12.5);
  for (Row* r : {&first, &far}) {
    (*r)["radBgZiel"] = (*r)["radBg"];
    (*r)["radLgZiel"] = (*r)["radLg"];
    (*r)["LgDezZiel"] = (*r)["LgDez"];
    (*r)["sYeZiel"] = "1";
  }
  TearDown();
  SetUp();
  FormOrvenil& g = startJob(1, {first, far});
  State().ZielA = 6378137;
  State().ZielF = 1 / 298.25722210088;
  State().ZielK0 = 0.9996;
  State().ZonenEllipsoidZiel = "GRS1980";
  RecordTargetPositionsSystem(State());
  g.BtZone->preset(1);
  dialogs->expectMessage(beyond);
  g.cmdZoneÄndern_Click();
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("\n").toStdString();
  rows = rowsOfDaten();
  EXPECT_TRUE(rows[0]["sYeZiel"].startsWith("1")) << rows[0]["sYeZiel"].toStdString();
  EXPECT_EQ(rows[1]["sYeZiel"], "");
  EXPECT_EQ(rows[1]["sXeZiel"], "");

  // Seven parameters from ETRS89 to GK42/83: a point at 30° E is 9° from
  // the last strip's meridian 21.
  TearDown();
  SetUp();
  FormOrvenil& h = startJob(0, {GeocentricRow(20.5), GeocentricRow(30.0)});
  chooseSet(h, 0, 0);
  dialogs->setAcceptOkMessages(true);
  h.cmdTrafoStart_Click();
  rows = rowsOfDaten();
  EXPECT_TRUE(rows[0]["sYeZiel"].startsWith("7")) << rows[0]["sYeZiel"].toStdString();
  EXPECT_EQ(rows[1]["Zone"], "21");
  EXPECT_EQ(rows[1]["sYeZiel"], "");
  EXPECT_EQ(rows[1]["sXeZiel"], "");
  EXPECT_FALSE(rows[1]["sHgZiel"].isEmpty());
  EXPECT_EQ(dialogs->messageTexts().filter(beyond).size(), 1)
      << dialogs->messageTexts().join("\n").toStdString();

  // NTv2 into GRS1980 with a grid around 30° E: 9° from zone 34's meridian,
  // but a GRS1980 target easting carries no zone digit: it is computed.
  // Without an import file no zone change follows, the run's own eastings stay.
  TearDown();
  SetUp();
  test::WriteBytes(dbFile("BETA2007.gsa"),
                   test::GsaText({178200, 181800, -109800, -106200, 1800, 1800,
                                  [](double, double) { return 0.0; }, [](double, double) { return 0.0; }})
                       .toLatin1());
  const Row east{
      {"BgDez", "50"}, {"LgDez", "30"}, {"BgDezSek", "180000"}, {"LgDezSek", "108000"}, {"sZe", "100"}};
  FormOrvenil& n = startJob(2, {east});
  n.AuswahlTrafoTyp->select(2);
  n.AuswahlTrafoRichtung->select(0);
  n.ComboTrafoPara->SetListIndex(0);
  State().ImportDateiGewaehlt = false;
  dialogs->setAcceptOkMessages(true);
  n.cmdTrafoStart_Click();
  rows = rowsOfDaten();
  EXPECT_EQ(rows[0]["BgDezZiel"], "50");
  const ProjectedEllipsoid grs = MakeProjectedEllipsoid(6378137, 1 / 298.25722210088, 0.9996);
  const GridCoordinates g30 = GeographischInVerebnet(50 * kPi / 180, 30 * kPi / 180, grs, 500000, 21);
  EXPECT_NEAR(Val(rows[0]["sYeZiel"]), g30.easting, 0.0005) << rows[0]["sYeZiel"].toStdString();
  EXPECT_NEAR(Val(rows[0]["sXeZiel"]), g30.northing, 0.0005);
  EXPECT_EQ(rows[0]["Zone"], "<null>");
  EXPECT_TRUE(dialogs->messageTexts().filter("500 km").isEmpty())
      << dialogs->messageTexts().join("\n").toStdString();
}

// Where no zone digit is written with the easting (WGS1984 start
// coordinates), a point far from its zone's meridian keeps a computed
// easting. Where one is (ETRS89 start), the row is emptied, and the hint
// counts negative eastings and eastings beyond the zone each as what they are.
TEST_F(ZoneChangeRunTest, EastingsWithoutZoneDigitAreComputedAndEachHintCountsItsKind) {
  // WGS1984 start, "automatisch": the first row chooses zone 32 (9° E).
  FormOrvenil& f = startJob(3, {StartRow(8.0), StartRow(16.2)});
  State().StartKoordinatensystem = "WGS1984";
  f.cmdZoneÄndern_Click();
  QList<Row> rows = rowsOfDaten();
  EXPECT_EQ(Column(rows, "Zone"), (QStringList{"9", "9"}));
  const ProjectedEllipsoid wgs = MakeProjectedEllipsoid(6378137, 0.00335281066474, 0.9996);
  const GridCoordinates far = GeographischInVerebnet(50 * kPi / 180, 16.2 * kPi / 180, wgs, 500000, 9);
  EXPECT_GT(far.easting, 1000000);
  EXPECT_NEAR(Val(rows[1]["sYe"]), far.easting, 0.0005) << rows[1]["sYe"].toStdString();
  EXPECT_NEAR(Val(rows[1]["sXe"]), far.northing, 0.0005) << rows[1]["sXe"].toStdString();
  EXPECT_TRUE(dialogs->messages().isEmpty()) << dialogs->messageTexts().join("\n").toStdString();

  // ETRS89 start: the zone digit 2 goes in front; the row at 16.2° E is
  // beyond its zone, the one at 0.5° W has a negative easting.
  TearDown();
  SetUp();
  FormOrvenil& g = startJob(0, {StartRow(8.0), StartRow(16.2), StartRow(-0.5)});
  dialogs->expectMessage(
      "1 Hinweise! Abstand zum Mittelmeridian > 3.5°!\nEs werden eventuell ungültige Ergebnisse berechnet!   \n"
      "1 Punkte mit negativem Rechtswert: ihre Rechts- und Hochwerte bleiben leer!   \n"
      "1 Punkte liegen 500 km oder mehr vom Mittelmeridian ihrer Zone entfernt");
  g.cmdZoneÄndern_Click();
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("\n").toStdString();
  rows = rowsOfDaten();
  EXPECT_TRUE(rows[0]["sYe"].startsWith("2")) << rows[0]["sYe"].toStdString();
  EXPECT_EQ(Column(rows, "sYe").mid(1), (QStringList{"", ""}));
}

// The target side projects the target columns in the system their run
// computed them in (Krassowski), whatever set or direction the panel shows
// since; where no run of this job computed them it refuses and leaves the
// rows as they are.
TEST_F(ZoneChangeRunTest, TargetSideProjectsInTheSystemOfItsRun) {
  QList<Row> job{GeocentricRow(13.8), GeocentricRow(14.6)};
  // "ETRS89 - GK42/83" forward (where run), then `between`, then
  // "Zone-Ziel", zone 15/55, "Zone ändern": the rows before and after.
  const auto zoneChange = [&](bool run, const std::function<void(FormOrvenil&)>& between) {
    TearDown();
    SetUp();
    FormOrvenil& f = startJob(0, job);
    chooseSet(f, 0, 0);
    dialogs->setAcceptOkMessages(true);
    if (run) f.cmdTrafoStart_Click();
    if (between) between(f);
    f.FormVisible(true);
    f.BtZoneZiel->click();
    EXPECT_EQ(f.zielZone->List(f.zielZone->ListCount() - 1), "21/75");  // the strips of GK42/83
    f.zielZone->SetText("15/55");
    const QList<Row> before = rowsOfDaten();
    f.cmdZoneÄndern_Click();
    EXPECT_EQ(dialogs->messageTexts()
                  .filter("Die Zielkoordinaten stammen aus keiner vollständigen "
                          "Transformation: Zone-Ziel wird nicht umgerechnet! Abbruch!")
                  .size(),
              run ? 0 : 1);
    return std::make_pair(before, rowsOfDaten());
  };
  const auto [ran, right] = zoneChange(true, nullptr);
  EXPECT_EQ(Column(right, "EllipsKO"), (QStringList{"5500000", "5500000"}));
  // The run's target values in a job that no run of this window computed.
  job.clear();
  for (Row row : ran) {
    row.removeIf([](const auto& cell) { return cell.value() == "<null>" || cell.key() == "id"; });
    job << row;
  }
  const struct {
    const char* name;
    bool run;
    std::function<void(FormOrvenil&)> between;
  } cases[] = {
      {"Bessel-Satz", true, [](FormOrvenil& f) { f.ComboTrafoPara->SetListIndex(1); }},
      {"Rück", true, [](FormOrvenil& f) { f.AuswahlTrafoRichtung->select(1); }},
      {"ohne Lauf", false, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto [before, after] = zoneChange(c.run, c.between);
    const QList<Row>& expected = c.run ? right : before;
    ASSERT_EQ(after.size(), expected.size());
    for (int i = 0; i < after.size(); ++i)
      for (auto it = expected[i].begin(); it != expected[i].end(); ++it)
        EXPECT_EQ(after[i][it.key()].toStdString(), it.value().toStdString())
            << i << " " << it.key().toStdString();
  }
}
