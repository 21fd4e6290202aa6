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

// Writes a height model as an outside tool would: table SchwerpktH (X, Y, Z),
// with or without an index on Y.
void WriteModel(const QString& path, const std::vector<ModelPoint>& points, bool indexed) {
  QFile::remove(path);
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
  sqlite3_exec(db, "CREATE TABLE SchwerpktH (X REAL, Y REAL, Z REAL, Herkunft TEXT)", nullptr, nullptr, nullptr);
  if (indexed) sqlite3_exec(db, "CREATE INDEX sy ON SchwerpktH (Y)", nullptr, nullptr, nullptr);
  sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  for (const ModelPoint& p : points) {
    char* sql = sqlite3_mprintf("INSERT INTO SchwerpktH VALUES (%.17g, %.17g, %.17g, 'm')", p.x, p.y, p.z);
    sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    sqlite3_free(sql);
  }
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(db);
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
    {"4", "90000.000", "90000.000", "1", "bleibt"},   // outside every window
    {"5", "Fehler", "Fehler", "1", "bleibt"},          // no coordinates: outside
    {"6", "", "", "", "bleibt"},
};

class HeightDatabaseRunTest : public LoadedJobTest, public ::testing::WithParamInterface<bool> {};

TEST_P(HeightDatabaseRunTest, MeansOfTheWindowWithAndWithoutModelIndex) {
  startWithJob(kJob);
  WriteModel(dbFile("DGM200.mdb"), kModel, GetParam());
  WriteModel(dbFile("hoetra2016.mdb"), kModel, GetParam());

  form->HeightFromModel(4);
  EXPECT_EQ(column("sZeZiel"), QStringList({"10.0", "0.1", "0.2", "bleibt", "bleibt", "bleibt"}));
  EXPECT_EQ(form->xpStatusBar1->PanelText(10), "Punkte ausserhalb Modell: 3");

  form->HeightFromModel(5);
  EXPECT_EQ(column("sZeZiel"), QStringList({"110.533", "0.062", "0.188", "bleibt", "bleibt", "bleibt"}));
  EXPECT_TRUE(form->GridKooDb->Redraw());
  EXPECT_FALSE(orv::State().KooDbDaten.isSet());
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
