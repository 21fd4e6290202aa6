// The coordinate database, the scratch databases and the temporary-file rules.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include "db/DbTestSupport.h"
#include "platform/db/TemporaryFolder.h"
#include "shell/CoordinateDatabase.h"
#include "shell/ProgramState.h"

namespace orv::test {
namespace {

class CoordinateDatabaseTest : public DbTest {
 protected:
  void SetUp() override {
    DbTest::SetUp();
    ResetProgramState();
    folder = dir.path() + "/temp/";
    ASSERT_TRUE(lock.acquire(folder));
    State().TempVerzeichnis = folder;
  }
  void TearDown() override {
    DbTest::TearDown();
    ResetProgramState();
  }
  // The databases, without the journals SQLite keeps beside them while they
  // have writes pending.
  QStringList databaseFiles() const {
    QStringList files = QDir(folder).entryList({"tmp_dao_orvenil*"}, QDir::Files, QDir::Name);
    files.removeIf([](const QString& name) { return name.endsWith("-journal"); });
    return files;
  }
  static void addPoint(Recordset& rs, const QString& punkt, const FieldValue& id) {
    rs.addNew();
    rs.setValue("Punkt", punkt);
    rs.setValue("id", id);
    rs.update();
  }

  QString folder;
  TemporaryFolderLock lock;
};

TEST_F(CoordinateDatabaseTest, TemporaryNamesCarryKindAndTimeStamp) {
  EXPECT_EQ(TemporaryDatabasePath("/t/", "", "08122026191903"), "/t/tmp_dao_orvenil_08122026191903.mdb");
  EXPECT_EQ(TemporaryDatabasePath("/t/", kKindSonderfunktionDb, "1"), "/t/tmp_dao_orvenil_h_1.mdb");
  EXPECT_EQ(TemporaryDatabasePath("/t/", kKindNtv2Build, "1"), "/t/tmp_dao_orvenil_ntv2_1.mdb");
  // A name made now carries the stamp and this instance's mark.
  QString now = TemporaryDatabasePath("/t/", kKindGsaDb);
  EXPECT_TRUE(now.startsWith("/t/tmp_dao_orvenil_gsa_"));
  EXPECT_TRUE(now.endsWith("_" + InstanceMark() + ".mdb"));
  EXPECT_EQ(now.size(), QString("/t/tmp_dao_orvenil_gsa_").size() + 14 + 1 + InstanceMark().size() + 4);
  EXPECT_EQ(InstanceOfFileName(QFileInfo(now).fileName()), QCoreApplication::applicationPid());
  EXPECT_EQ(InstanceOfFileName("tmp_dao_orvenil_import_08122026191903_77_20230501.txt"), 77);
  EXPECT_EQ(InstanceOfFileName("tmp_dao_orvenil_08122026191903.mdb"), 0);
}

TEST_F(CoordinateDatabaseTest, StartupMakesThreeDatabasesAndLeavesOnlyTheLastOpen) {
  CreateStartupDatabases(State());
  EXPECT_EQ(databaseFiles().size(), 3);
  for (const QString& path : {State().KooDbPfad, State().GsaDbPfad, State().GeoidDbPfad}) {
    EXPECT_TRUE(path.startsWith(folder + "tmp_dao_orvenil_"));
    EXPECT_TRUE(QFileInfo::exists(path)) << path.toStdString();
  }
  EXPECT_TRUE(QFileInfo(State().GsaDbPfad).fileName().startsWith("tmp_dao_orvenil_gsa_"));
  EXPECT_TRUE(QFileInfo(State().GeoidDbPfad).fileName().startsWith("tmp_dao_orvenil_geoid_"));
  EXPECT_FALSE(State().KooDb.isOpen());
  EXPECT_FALSE(State().GsaDb.isOpen());
  EXPECT_TRUE(State().GeoidDb.isOpen());
  TableDef scratch = State().GeoidDb.tableDef("Daten");
  ASSERT_EQ(scratch.fields().size(), 2u);
  EXPECT_EQ(scratch.fields()[0].name, "id");
  EXPECT_EQ(scratch.fields()[0].type, dbText);
  EXPECT_EQ(scratch.fields()[1].name, "Zeile");
  ASSERT_EQ(scratch.indexes().size(), 1u);
  EXPECT_FALSE(scratch.indexes()[0].unique);
}

TEST_F(CoordinateDatabaseTest, DatenHasItsFortyColumnsInOrderAndTwoIndexes) {
  CreateStartupDatabases(State());
  Database koo = DBEngine::openDatabase(State().KooDbPfad);
  TableDef daten = koo.tableDef("Daten");
  ASSERT_EQ(daten.fields().size(), 40u);
  const QStringList expected = {
      "Punkt", "C", "sYe", "sXe", "sZe", "sXz", "sYz", "sZz", "sBg", "sLg", "BgDez", "LgDez", "BgDezSek",
      "LgDezSek", "sHg", "radBg", "radLg", "sYeZiel", "sXeZiel", "sZeZiel", "sXzZiel", "sYzZiel", "sZzZiel",
      "sBgZiel", "sLgZiel", "sHgZiel", "radBgZiel", "radLgZiel", "BgDezZiel", "LgDezZiel", "BgDezSekZiel",
      "LgDezSekZiel", "Geoidundulation", "Zone", "EllipsKO", "sYori", "sXori", "sZori", "id", "Zeile"};
  EXPECT_EQ(DatenColumnNames(), expected);
  for (int i = 0; i < 40; ++i) {
    EXPECT_EQ(daten.fields()[i].name, expected[i]);
    int type = i == 38 ? dbLong : i == 39 ? dbMemo : dbText;
    EXPECT_EQ(daten.fields()[i].type, type) << expected[i].toStdString();
  }
  ASSERT_EQ(daten.indexes().size(), 2u);
  EXPECT_EQ(daten.indexes()[0].name, "id");
  EXPECT_TRUE(daten.indexes()[0].primary);
  EXPECT_TRUE(daten.indexes()[0].unique);
  EXPECT_EQ(daten.indexes()[1].name, "Punkt");
  EXPECT_FALSE(daten.indexes()[1].primary);
  EXPECT_FALSE(daten.indexes()[1].unique);
  EXPECT_EQ(koo.openTable("Daten").recordCount(), 0);
}

TEST_F(CoordinateDatabaseTest, PointNumbersRepeatButIdsDoNot) {
  CreateStartupDatabases(State());
  State().KooDb = DBEngine::openDatabase(State().KooDbPfad);
  State().KooDbDaten = State().KooDb.openTable("Daten");
  Recordset& rs = State().KooDbDaten;
  addPoint(rs, "   0815", 1);
  addPoint(rs, "   0815", 2);
  EXPECT_EQ(errorOf([&] { addPoint(rs, "other", 2); }), 3022);
  EXPECT_EQ(errorOf([&] { addPoint(rs, "no id", FieldValue()); }), 3058);
  EXPECT_EQ(rs.recordCount(), 2);
  rs.setIndex("Punkt");
  rs.seek("=", FieldValue("   0815"));
  ASSERT_FALSE(rs.noMatch());
  EXPECT_EQ(rs.value("id").toLong(), 1);
  EXPECT_EQ(rs.value("Punkt").text(), "   0815");
  EXPECT_TRUE(rs.value("sYe").isNull());
}

TEST_F(CoordinateDatabaseTest, ANewDatabaseReplacesAFileOfTheSameName) {
  const QString path = TemporaryDatabasePath(folder, "", "1");
  QFile old(path);
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("kein SQLite");
  old.close();
  Database db;
  CreateCoordinateDatabase(db, path);
  EXPECT_EQ(db.openTable("Daten").recordCount(), 0);
}

TEST_F(CoordinateDatabaseTest, StartupCleanupSparesOtherWordsAndOtherRunningInstances) {
  auto touch = [&](const QString& name, qint64 secondsAgo) {
    QFile f(folder + name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
    f.flush();
    ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(-secondsAgo), QFileDevice::FileModificationTime));
  };
  touch("tmp_dao_orvenil_01012020120000.mdb", 3600);
  touch("tmp_dao_orvenil_h_01012020120000.mdb", 3600);
  touch("tmp_dao_anders.mdb", 3600);
  EXPECT_EQ(DeleteOldTemporaryDatabases(folder, lock), 2);
  EXPECT_EQ(databaseFiles(), QStringList());
  EXPECT_TRUE(QFileInfo::exists(folder + "tmp_dao_anders.mdb"));

  touch("tmp_dao_orvenil_alt.mdb", 3600);
  QLockFile running(folder + "orvenil-instance-1.lock");
  ASSERT_TRUE(running.tryLock(0));
  touch("tmp_dao_orvenil_laufend.mdb", -5);
  // Marked files go by their instance, whatever their age.
  touch("tmp_dao_orvenil_01012020120000_1.mdb", 3600);
  touch("tmp_dao_orvenil_01012020120000_4000000.mdb", -5);
  EXPECT_EQ(DeleteOldTemporaryDatabases(folder, lock), 2);
  EXPECT_EQ(databaseFiles(), QStringList({"tmp_dao_orvenil_01012020120000_1.mdb", "tmp_dao_orvenil_laufend.mdb"}));
  EXPECT_EQ(DeleteOldTemporaryDatabases(dir.path() + "/fehlt/", lock), 0);
}

TEST_F(CoordinateDatabaseTest, EndCommandDeletesThisRunsDatabases) {
  CreateStartupDatabases(State());
  State().KooDb = DBEngine::openDatabase(State().KooDbPfad);
  State().SonderfunktionDbPfad = TemporaryDatabasePath(folder, kKindSonderfunktionDb, "2");
  CreateDatabaseFile(State().SonderfunktionDb, State().SonderfunktionDbPfad, true);
  State().NTv2TempPfad = TemporaryDatabasePath(folder, kKindNtv2Build, "3");  // never made
  ASSERT_EQ(databaseFiles().size(), 4);
  DeleteRunTemporaryDatabases(State());
  EXPECT_TRUE(databaseFiles().isEmpty());
  EXPECT_FALSE(State().KooDb.isOpen());
}

}  // namespace
}  // namespace orv::test
