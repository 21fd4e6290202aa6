// The seven-parameter run against an independent pipeline (PROJ's cct), its
// refusals and its error path.
#include <QFile>
#include <QTextStream>

#include "foundation/NumberText.h"
#include "foundation/TypedNumber.h"
#include "geodesy/AngleFormats.h"
#include "platform/ui/VbFrame.h"
#include "platform/ui/VbStatusBar.h"
#include "platform/ui/VbTextBox.h"
#include "platform/ui/VbToolBar.h"
#include "runs/RunFixture.h"

using namespace orv;

namespace {

struct Reference {
  QString kase;
  QString X, Y, Z;
  int meridian = 0;
  double easting = 0, northing = 0, h = 0;
};

QList<Reference> ReferencePoints(const QString& kase) {
  QFile file(QStringLiteral(ORV_TEST_DATA_DIR) + "/runs/seven_parameter_reference.txt");
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  QList<Reference> points;
  QTextStream in(&file);
  while (!in.atEnd()) {
    const QStringList f = in.readLine().split(' ', Qt::SkipEmptyParts);
    if (f.size() != 8 || f[0] != kase) continue;
    points << Reference{f[0],           f[1], f[2], f[3], f[4].toInt(), f[5].toDouble(), f[6].toDouble(),
                        f[7].toDouble()};
  }
  EXPECT_FALSE(points.isEmpty());
  return points;
}

}  // namespace

class SevenParameterRunTest : public RunTest {
 protected:
  // The database refuses to change the row with this id.
  static void refuseUpdateOfRow(int id) {
    State().KooDb.execute(QString("CREATE TRIGGER refuse BEFORE UPDATE ON Daten WHEN OLD.id = %1"
                                  " BEGIN SELECT RAISE(ABORT, 'refused'); END")
                              .arg(id));
  }

  // Runs one case of the reference file and compares every row to 0.1 mm.
  void checkAgainstReference(const QString& kase, int startIndex, int setPosition, int direction,
                             bool zoneDigit) {
    const QList<Reference> ref = ReferencePoints(kase);
    QList<Row> rows;
    for (const Reference& r : ref)
      rows << Row{{"sXz", r.X}, {"sYz", r.Y}, {"sZz", r.Z}, {"sZe", "100.0000"}, {"Geoidundulation", "47.11"}};
    FormOrvenil& f = startJob(startIndex, rows);
    chooseSet(f, setPosition, direction);
    // The default sets name ETRS89 by its own ellipsoid and still fit ETRS89 data.
    ASSERT_TRUE(f.cmdTrafoStart->isEnabled()) << f.txtTrafoParaStart->Text().toStdString();
    dialogs->setAcceptOkMessages(true);  // the notice of points in two zones
    f.cmdTrafoStart_Click();
    const QList<Row> out = rowsOfDaten();
    ASSERT_EQ(out.size(), ref.size());
    for (int i = 0; i < ref.size(); ++i) {
      const Row& row = out[i];
      const double digit = zoneDigit ? (ref[i].meridian + 3) / 6 * 1000000.0 : 0;
      EXPECT_EQ(row["Zone"], QString::number(ref[i].meridian));
      EXPECT_NEAR(Val(row["sYeZiel"]) - digit, ref[i].easting, 1e-4) << kase.toStdString() << " row " << i;
      EXPECT_NEAR(Val(row["sXeZiel"]), ref[i].northing, 1e-4) << kase.toStdString() << " row " << i;
      EXPECT_NEAR(Val(row["sHgZiel"]), ref[i].h, 1e-4) << kase.toStdString() << " row " << i;
      EXPECT_EQ(row["sZeZiel"], row["sHgZiel"]);
      EXPECT_EQ(row["Geoidundulation"], "47.11");
      // The degree texts (with their "°") arrive as written.
      EXPECT_EQ(row["sBgZiel"], RadInGrad(Val(row["radBgZiel"])));
      EXPECT_EQ(row["sLgZiel"], RadInGrad(Val(row["radLgZiel"])));
    }
    EXPECT_FALSE(dialogs->isBusy());
    EXPECT_TRUE(f.frameZone->isEnabled());
  }
};

TEST_F(SevenParameterRunTest, GaussKruegerToUtmInReverseMatchesIndependentPipeline) {
  checkAgainstReference("gk_reverse", 1, 0, 1, true);
  // The rows alternate between zones 32 and 33: one notice, for the first pair.
  QStringList notices;
  for (const RecordedMessage& m : dialogs->messages())
    if (m.title == "unterschiedlichen Zonen/Meridianstreifen") notices << m.text;
  EXPECT_EQ(notices,
            QStringList{"Die Zielkoordinaten befinden sich in unterschiedlichen Zonen/Meridianstreifen: "
                        "[9] und [15] !   "});
  EXPECT_EQ(State().ZonenEllipsoidZiel, "GRS1980");
  EXPECT_EQ(form->xpStatusBar1->PanelText(9), "Startsystem: Krassowski > Zielsystem: GRS1980  ");
  // The zone panels end on the last row's zone (15), not the first row's.
  EXPECT_EQ(form->xpStatusBar1->PanelText(6), "Ziel-Zone: 15  ");
  EXPECT_EQ(form->xpStatusBar1->PanelText(7), "Ziel-Maßstab: 0.9996  ");
  EXPECT_EQ(form->xpStatusBar1->PanelText(8), "Ziel-K0: 500000m  ");
  EXPECT_TRUE(form->Coolbar2->IsEnabled(kKeyDbSpeichernUnter));
}

TEST_F(SevenParameterRunTest, EtrsToGaussKruegerForwardMatchesIndependentPipeline) {
  checkAgainstReference("etrs_forward", 0, 0, 0, false);
}

TEST_F(SevenParameterRunTest, MolodenskyBadekasMatchesIndependentPipeline) {
  checkAgainstReference("molodensky", 0, 1, 0, false);
}

TEST_F(SevenParameterRunTest, BadSetsStopBeforeAnyRowChanges) {
  const Row point{{"sXz", "3934386.8"}, {"sYz", "881289.7"}, {"sZz", "4925822.4"}, {"sZe", "100.0000"}};
  FormOrvenil& f = startJob(0, {point, point});
  // An unknown model, a parameter that is no number, a target ellipsoid the
  // coordinate-system table does not hold.
  const QList<QStringList> expected{
      {"Das Modell \"Bursa-Wolf\""},
      {"Der Parameter dy des Parametersatzes \"Parameter falsch\" ist keine Zahl: \"2,5,1\""},
      {"Koordinatensystem B mit den angegebenen Kriterien nicht gefunden!", "Systemparameter fehlen! Abbruch!"}};
  for (int position : {2, 3, 4}) {
    chooseSet(f, position, 0);
    for (const QString& text : expected[position - 2]) dialogs->expectMessage(text);
    f.cmdTrafoStart_Click();
    EXPECT_EQ(f.ComboTrafoPara->Text(), "ohne");
  }
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("\n").toStdString();
  for (const Row& row : rowsOfDaten()) EXPECT_EQ(row["sXzZiel"], "<null>");
  EXPECT_EQ(State().ZielA, 0);
}

// Parameters typed into the table with a decimal comma are the numbers typed:
// the run gives the same rows as with decimal points.
TEST_F(SevenParameterRunTest, ParameterCellsReadADecimalComma) {
  const Row point{{"sXz", "3934386.8"}, {"sYz", "881289.7"}, {"sZz", "4925822.4"}, {"sZe", "100.0000"}};
  FormOrvenil& f = startJob(0, {point});
  const auto run = [&] {
    chooseSet(f, 0, 0);
    f.cmdTrafoStart_Click();
    EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("\n").toStdString();
    return rowsOfDaten();
  };
  const QList<Row> withPoints = run();
  ASSERT_NE(withPoints[0]["sYeZiel"], "<null>");
  State().KooDb.execute("UPDATE Daten SET sYeZiel = NULL, sXeZiel = NULL, sHgZiel = NULL");
  for (const auto& [key, typed] : {std::pair{"dx", "-24,9"}, {"Rx", "-0,063"}, {"MF", " -1,01 "}}) {
    ASSERT_EQ(f.GridTrafoSys->CellText(1, key), TypedNumberWithPoint(typed)) << key;
    f.GridTrafoSys->SetCellText(1, key, typed);
  }
  EXPECT_EQ(run(), withPoints);
}

TEST_F(SevenParameterRunTest, ErrorKeepsTheRowsStoredBefore) {
  const Row point{{"sXz", "3934386.8"}, {"sYz", "881289.7"}, {"sZz", "4925822.4"}, {"sZe", "100.0000"}};
  FormOrvenil& f = startJob(0, {point, point, point, point});
  refuseUpdateOfRow(3);
  chooseSet(f, 0, 0);
  dialogs->expectMessage("Einlesefehler! Abbruch!");
  f.cmdTrafoStart_Click();
  EXPECT_TRUE(dialogs->allDone());
  const QList<Row> out = rowsOfDaten();
  EXPECT_NE(out[0]["sYeZiel"], "<null>");
  EXPECT_NE(out[1]["sYeZiel"], "<null>");
  EXPECT_EQ(out[2]["sYeZiel"], "<null>");
  EXPECT_EQ(out[3]["sYeZiel"], "<null>");
  EXPECT_FALSE(State().KooDbDaten.isSet());
  EXPECT_TRUE(f.GridKooDb->Redraw());
  EXPECT_FALSE(dialogs->isBusy());
  EXPECT_TRUE(f.frameParaTrafo->isEnabled());
}

TEST_F(SevenParameterRunTest, RowsWithoutStartCoordinatesGetFehlerAndTheRunGoesOn) {
  const Row point{{"sXz", "3934386.8"}, {"sYz", "881289.7"}, {"sZz", "4925822.4"}, {"sZe", "100.0000"}};
  const Row empty{{"sXz", ""}, {"sYz", ""}, {"sZz", ""}};
  const Row text{{"sXz", "3934386.8"}, {"sYz", "881289,7"}, {"sZz", "4925822.4"}, {"sZe", "100.0000"}};
  FormOrvenil& f = startJob(0, {point, empty, text, point});
  chooseSet(f, 0, 0);
  dialogs->expectMessage("2 Zeilen ohne gültige Startkoordinaten");
  f.cmdTrafoStart_Click();
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("\n").toStdString();
  const QList<Row> out = rowsOfDaten();
  for (int i : {1, 2})
    for (const char* column : {"sXzZiel", "sHgZiel", "radBgZiel", "sYeZiel", "sXeZiel", "sZeZiel"})
      EXPECT_EQ(out[i][column], "Fehler") << i << column;
  EXPECT_EQ(out[3]["sYeZiel"], out[0]["sYeZiel"]);
  EXPECT_EQ(out[3]["sZeZiel"], out[0]["sZeZiel"]);
  EXPECT_NE(out[0]["sYeZiel"], "Fehler");
}

TEST_F(SevenParameterRunTest, AppendedPointWithoutStartCoordinatesGetsFehler) {
  // A point appended to the job has only its target-side values; its start
  // columns were never written.
  const Row point{{"sXz", "3934386.8"}, {"sYz", "881289.7"}, {"sZz", "4925822.4"}, {"sZe", "100.0000"}};
  const Row appended{{"sYe", "111.0"}, {"sXe", "211.0"}, {"sZe", "6"}};
  FormOrvenil& f = startJob(0, {point, appended, point});
  chooseSet(f, 0, 0);
  dialogs->expectMessage("1 Zeilen ohne gültige Startkoordinaten");
  f.cmdTrafoStart_Click();
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("\n").toStdString();
  const QList<Row> out = rowsOfDaten();
  EXPECT_EQ(out[1]["sYeZiel"], "Fehler");
  EXPECT_EQ(out[1]["sHgZiel"], "Fehler");
  EXPECT_NE(out[0]["sYeZiel"], "Fehler");
  EXPECT_EQ(out[2]["sYeZiel"], out[0]["sYeZiel"]);
}

TEST_F(SevenParameterRunTest, RowsOverSeveralBlocksLandInTheirOwnRows) {
  // Rows are read, computed and stored block by block; two points
  // alternate, and a row far into the third block is refused by the
  // database and stops the run.
  const Row a{{"sXz", "3934386.8"}, {"sYz", "881289.7"}, {"sZz", "4925822.4"}, {"sZe", "100.0000"}};
  const Row b{{"sXz", "3899112.3"}, {"sYz", "1012054.9"}, {"sZz", "4939001.2"}, {"sZe", "100.0000"}};
  QList<Row> rows;
  for (int i = 0; i < 20000; ++i) rows << (i % 2 ? b : a);
  FormOrvenil& f = startJob(0, rows);
  refuseUpdateOfRow(17001);
  chooseSet(f, 0, 0);
  dialogs->setAcceptOkMessages(true);  // the notice of points in two zones, if any
  dialogs->expectMessage("Einlesefehler! Abbruch!");
  f.cmdTrafoStart_Click();
  const QList<Row> out = rowsOfDaten();
  ASSERT_EQ(out.size(), 20000);
  ASSERT_NE(out[0]["sYeZiel"], out[1]["sYeZiel"]);
  for (int i = 0; i < 20000; ++i) {
    const QString expected = i < 17000 ? out[i % 2]["sYeZiel"] : QStringLiteral("<null>");
    ASSERT_EQ(out[i]["sYeZiel"], expected) << "row " << i;
    ASSERT_EQ(out[i]["sXzZiel"], i < 17000 ? out[i % 2]["sXzZiel"] : QStringLiteral("<null>")) << "row " << i;
  }
}
