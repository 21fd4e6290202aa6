#include <sqlite3.h>

#include <QTemporaryDir>
#include <random>

#include "HeightsTestSupport.h"
#include "platform/ui/VbStatusBar.h"
#include "runs/HeightModelLookup.h"

namespace {

struct ModelPoint {
  double x, y, z;
};

// Writes a height model as an outside tool would: table SchwerpktH with the
// given columns, with or without an index on Y, and rows given as SQL values.
void WriteModelRows(const QString& path, const char* columns, const QStringList& rows, bool indexed) {
  QFile::remove(path);
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
  sqlite3_exec(db, (QByteArray("CREATE TABLE SchwerpktH (") + columns + ")").constData(), nullptr, nullptr, nullptr);
  if (indexed) sqlite3_exec(db, "CREATE INDEX sy ON SchwerpktH (Y)", nullptr, nullptr, nullptr);
  sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  for (const QString& row : rows)
    ASSERT_EQ(sqlite3_exec(db, ("INSERT INTO SchwerpktH VALUES (" + row + ")").toUtf8().constData(), nullptr,
                           nullptr, nullptr),
              SQLITE_OK)
        << row.toStdString();
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(db);
}

// A model of numbers (X, Y, Z REAL) with a text column beside them.
void WriteModel(const QString& path, const std::vector<ModelPoint>& points, bool indexed) {
  QStringList rows;
  for (const ModelPoint& p : points) rows << QString::asprintf("%.17g, %.17g, %.17g, 'm'", p.x, p.y, p.z);
  WriteModelRows(path, "X REAL, Y REAL, Z REAL, Herkunft TEXT", rows, indexed);
}

const std::vector<ModelPoint> kModel = {
    // Three points around (y 1000, x 5000): mean 10.033.
    {5000, 1000, 10.0}, {5100, 1100, 10.0}, {4900, 1200, 10.1},
    // The same row twice counts once.
    {4900, 1200, 10.1},
    // Exactly 200 m east of the second job point, and a half on the third decimal.
    {8000, 3200, 0.0625},
    {20000, 20000, 0.1875},
};

const std::vector<JobRow> kJob = {
    {"1", "1000.000", "5000.000", "100.5", "alt"},
    {"2", "3000.000", "8000.000", "0", "alt"},
    {"3", "20000.000", "20000.000", "0", "alt"},
    {"4", "90000.000", "90000.000", "1", "alt"},     // outside every window
    {"5", "Fehler", "Fehler", "1", "alt"},           // no coordinates: outside
    {"6", "", "", "", "alt"},
    {"7", "1000.000", "5000.000", "Fehler", "alt"},  // no start height for a difference
};

class HeightDatabaseRunTest : public LoadedJobTest, public ::testing::WithParamInterface<bool> {};

// A row outside the model gets "Fehler", never the height an earlier run left.
TEST_P(HeightDatabaseRunTest, MeansOfTheWindowAndFehlerOutsideTheModel) {
  startWithJob(kJob);
  WriteModel(dbFile("DGM200.mdb"), kModel, GetParam());
  WriteModel(dbFile("hoetra2016.mdb"), kModel, GetParam());

  form->HeightFromModel(4);
  EXPECT_EQ(column("sZeZiel"), QStringList({"10.0", "0.1", "0.2", "Fehler", "Fehler", "Fehler", "10.0"}));
  EXPECT_EQ(form->xpStatusBar1->PanelText(10), "Punkte ausserhalb Modell: 3");

  form->HeightFromModel(5);
  EXPECT_EQ(column("sZeZiel"), QStringList({"110.533", "0.062", "0.188", "Fehler", "Fehler", "Fehler", "Fehler"}));
  EXPECT_EQ(form->xpStatusBar1->PanelText(10), "Punkte ausserhalb Modell: 4");
  EXPECT_TRUE(form->GridKooDb->Redraw());
  EXPECT_FALSE(orv::State().KooDbDaten.isSet());
}

// A model point whose Z is no number (a text, the empty text, a blob, Null)
// is left out of its windows and counted once; the run goes on to the last row.
TEST_P(HeightDatabaseRunTest, ModelPointsWithoutANumberInZAreSkippedAndCounted) {
  startWithJob(kJob);
  WriteModelRows(dbFile("DGM200.mdb"), "X REAL, Y REAL, Z REAL",
                 {"5000, 1000, 10.0", "5050, 1050, 'abc'", "5060, 1060, ''", "5070, 1070, x'3132'",
                  "5080, 1080, NULL", "8000, 3000, 'abc'", "20000, 20000, '7.5'"},
                 GetParam());
  dialogs->expectMessage(QStringLiteral("5 Modellpunkte"));
  form->HeightFromModel(4);
  EXPECT_EQ(column("sZeZiel"), QStringList({"10.0", "Fehler", "7.5", "Fehler", "Fehler", "Fehler", "10.0"}));
  EXPECT_EQ(form->xpStatusBar1->PanelText(10), "Punkte ausserhalb Modell: 4");

  // Asked through the model's index, such a point is left out and counted once as well.
  orv::Database model = orv::DBEngine::openDatabase(dbFile("DGM200.mdb"));
  orv::HeightModelLookup lookup(model, 200.0, 0);
  ASSERT_EQ(lookup.usesModelIndex(), GetParam());
  double sum = 0;
  for (int i = 0; i < 2; ++i) EXPECT_EQ(lookup.sumWindow(800, 1200, 4800, 5200, sum), 1);
  EXPECT_EQ(sum, 10.0);
  EXPECT_EQ(lookup.skippedPoints(), 4);
  model.close();
}

// A model whose X, Y and Z are texts, as a CSV import into a new table
// stores them, gives the means of the same model stored as numbers; a
// coordinate that is no number (a text, a blob, Null) makes no point.
TEST_P(HeightDatabaseRunTest, NumbersStoredAsTextAreReadAsNumbers) {
  startWithJob(kJob);
  QStringList rows;
  for (const ModelPoint& p : kModel) rows << QString::asprintf("'%.17g', '%.17g', '%.17g'", p.x, p.y, p.z);
  rows << "'abc', '1000', '50'" << "NULL, '1000', '50'" << "x'35303030', '1000', '50'" << "'5000', NULL, '50'"
       << "'5000', x'31303030', '50'";
  WriteModelRows(dbFile("DGM200.mdb"), "X TEXT, Y TEXT, Z TEXT", rows, GetParam());
  form->HeightFromModel(4);
  EXPECT_EQ(column("sZeZiel"), QStringList({"10.0", "0.1", "0.2", "Fehler", "Fehler", "Fehler", "10.0"}));

  // A model too large for memory is asked through its index only when its
  // coordinates are stored as numbers: a text index orders "999" after "1200".
  orv::Database model = orv::DBEngine::openDatabase(dbFile("DGM200.mdb"));
  orv::HeightModelLookup lookup(model, 200.0, 0);
  double sum = 0;
  EXPECT_EQ(lookup.sumWindow(800, 1200, 4800, 5200, sum), 3);
  EXPECT_DOUBLE_EQ(sum, 30.1);
  model.close();
}

INSTANTIATE_TEST_SUITE_P(Model, HeightDatabaseRunTest, ::testing::Values(false, true));

// A model with an index read into memory gives the sums of its index query
// to the last bit: the values of a window are added in the query's order.
TEST(HeightModelLookupTest, IndexedModelInMemoryGivesTheQuerySums) {
  QTemporaryDir dir;
  std::mt19937 random(26);
  std::uniform_real_distribution<double> place(0, 5000), height(-50, 900);
  std::vector<ModelPoint> points;
  for (int i = 0; i < 3000; ++i) points.push_back({place(random), place(random), height(random)});
  const QString path = dir.filePath(QStringLiteral("model.mdb"));
  WriteModel(path, points, true);
  orv::Database model = orv::DBEngine::openDatabase(path);
  orv::HeightModelLookup query(model, 200.0, 0), memory(model, 200.0);
  ASSERT_TRUE(query.usesModelIndex());
  ASSERT_FALSE(memory.usesModelIndex());
  for (int i = 0; i < 400; ++i) {
    const double y = place(random), x = place(random);
    double byQuery = 0, inMemory = 0;
    const qint64 n = query.sumWindow(y - 200, y + 200, x - 200, x + 200, byQuery);
    EXPECT_EQ(memory.sumWindow(y - 200, y + 200, x - 200, x + 200, inMemory), n);
    EXPECT_EQ(inMemory, byQuery) << "window at " << y << ", " << x;
  }
  model.close();
}

TEST_F(LoadedJobTest, HeightRunMissingOrBrokenModel) {
  startWithJob(kJob);
  dialogs->expectMessage(QStringLiteral("Höhendatenbank: \"") + dbFile("DGM200.mdb") +
                         QStringLiteral("\" fehlt! Abbruch!   "));
  form->HeightFromModel(4);
  EXPECT_EQ(column("sZeZiel")[0], "alt");

  // A model without the table ends the run with its message; the grid is
  // drawn again and the recordset released, so the next run can start.
  sqlite3* db = nullptr;
  sqlite3_open(dbFile("hoetra2016.mdb").toUtf8().constData(), &db);
  sqlite3_exec(db, "CREATE TABLE Anderes (A TEXT)", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  dialogs->expectMessage(QStringLiteral("Abbruch!"));
  form->HeightFromModel(5);
  EXPECT_TRUE(form->GridKooDb->Redraw());
  EXPECT_FALSE(orv::State().KooDbDaten.isSet());
  EXPECT_EQ(column("sZeZiel")[0], "alt");
}

}  // namespace
