// Database files: opening, creating, sharing, closing and compacting.
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <csignal>
#include <sys/resource.h>

#include "DbTestSupport.h"

namespace orv::test {
namespace {

class DatabaseFileTest : public DbTest {
 protected:
  void fill(Database& db, int rows) {
    Recordset rs = db.openTable(QStringLiteral("T"));
    for (int i = 1; i <= rows; ++i) {
      rs.addNew();
      rs.setValue(QStringLiteral("Name"), QStringLiteral("P%1").arg(i));
      rs.setValue(QStringLiteral("Nr"), i);
      rs.update();
    }
    rs.close();
  }
};

TEST_F(DatabaseFileTest, MissingFileIsReportedNotCreated) {
  const QString missing = path(QStringLiteral("fehlt.mdb"));
  EXPECT_EQ(errorOf([&] { DBEngine::openDatabase(missing); }), 3024);
  EXPECT_FALSE(QFileInfo::exists(missing));
  QFile junk(path(QStringLiteral("junk.mdb")));
  ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
  junk.write(QByteArray(4096, 'j'));
  junk.close();
  EXPECT_EQ(errorOf([&] { DBEngine::openDatabase(junk.fileName()); }), 3343);
}

TEST_F(DatabaseFileTest, CreateDatabaseFileReplacesAnOldFileAndKeepsOthersOnlyWhenAsked) {
  Database first = makeTable(QStringLiteral("a.mdb"));
  fill(first, 3);
  Database second;
  CreateDatabaseFile(second, path(QStringLiteral("b.mdb")), true);
  EXPECT_TRUE(first.isOpen());
  Database replaced;
  CreateDatabaseFile(replaced, path(QStringLiteral("a.mdb")), false);
  EXPECT_FALSE(first.isOpen());
  EXPECT_FALSE(second.isOpen());
  EXPECT_TRUE(replaced.tableNames().isEmpty());
  EXPECT_EQ(errorOf([&] { DBEngine::createDatabase(path(QStringLiteral("a.mdb"))); }), 3204);
}

TEST_F(DatabaseFileTest, CloseAllDatabasesInvalidatesEveryHandle) {
  Database db = makeTable(QStringLiteral("c.mdb"));
  fill(db, 2);
  Recordset rs = db.openTable(QStringLiteral("T"));
  Database copy = db;
  CloseAllDatabases(false);
  EXPECT_TRUE(rs.isOpen());
  CloseAllDatabases(true);
  EXPECT_FALSE(db.isOpen());
  EXPECT_FALSE(copy.isOpen());
  EXPECT_FALSE(rs.isOpen());
  EXPECT_EQ(errorOf([&] { rs.moveNext(); }), 3420);
  EXPECT_EQ(errorOf([&] { rs.value(0); }), 3420);
  EXPECT_EQ(errorOf([&] { db.execute(QStringLiteral("DELETE FROM T")); }), 3420);
  EXPECT_EQ(errorOf([&] { db.openTable(QStringLiteral("T")); }), 3420);
  EXPECT_EQ(errorOf([] { Recordset().moveFirst(); }), 3420);
  EXPECT_FALSE(TableExists(db, QStringLiteral("T")));
  EXPECT_TRUE(DBEngine::databases().empty());
  rs.close();  // closing twice is harmless
  db.close();
  // Everything written before is in the file.
  Database again = DBEngine::openDatabase(path(QStringLiteral("c.mdb")));
  EXPECT_EQ(again.openTable(QStringLiteral("T")).recordCount(), 2);
}

TEST_F(DatabaseFileTest, ARecordsetKeepsItsDatabaseOpenUntilClosedExplicitly) {
  makeTable(QStringLiteral("k.mdb")).close();
  Recordset rs = DBEngine::openDatabase(path(QStringLiteral("k.mdb"))).openTable(QStringLiteral("T"));
  EXPECT_TRUE(rs.isOpen());
  rs.addNew();
  rs.setValue(QStringLiteral("Nr"), 1);
  rs.update();
  EXPECT_EQ(rs.recordCount(), 1);
  CloseAllDatabases(true);
  EXPECT_FALSE(rs.isOpen());
}

TEST_F(DatabaseFileTest, DatabasesOnOneFileShareTheirConnection) {
  Database writer = makeTable(QStringLiteral("s.mdb"));
  Database reader = DBEngine::openDatabase(path(QStringLiteral("s.mdb")));
  Recordset grid = reader.openSql(QStringLiteral("SELECT * FROM T"));
  Recordset run = writer.openTable(QStringLiteral("T"));
  run.addNew();
  run.setValue(QStringLiteral("Nr"), 1);
  run.update();
  // The reader sees the uncommitted row and is never locked out.
  EXPECT_EQ(reader.openTable(QStringLiteral("T")).recordCount(), 1);
  writer.close();
  EXPECT_TRUE(reader.isOpen());
  EXPECT_TRUE(grid.isOpen());
  EXPECT_FALSE(run.isOpen());
  EXPECT_EQ(DBEngine::databases().size(), 1u);
}

TEST_F(DatabaseFileTest, AFileMadeAnewUnderAnOpenNameIsNotServedByTheOldConnection) {
  Database old = makeTable(QStringLiteral("cache.mdb"));
  fill(old, 4);
  old.commit();
  // The file is deleted by hand and a new one is moved under its name.
  ASSERT_TRUE(QFile::remove(path(QStringLiteral("cache.mdb"))));
  Database built = makeTable(QStringLiteral("build.mdb"));
  fill(built, 9);
  built.close();
  ASSERT_TRUE(QFile::rename(path(QStringLiteral("build.mdb")), path(QStringLiteral("cache.mdb"))));
  Database reopened = DBEngine::openDatabase(path(QStringLiteral("cache.mdb")));
  EXPECT_EQ(reopened.openTable(QStringLiteral("T")).recordCount(), 9);
  EXPECT_EQ(old.openTable(QStringLiteral("T")).recordCount(), 4);
}

TEST_F(DatabaseFileTest, ExecuteRunsStatementsAndReportsChangedRows) {
  Database db = makeTable(QStringLiteral("e.mdb"));
  fill(db, 5);
  EXPECT_EQ(db.execute(QStringLiteral("UPDATE T SET Name = 'x' WHERE Nr > 3")), 2);
  EXPECT_EQ(db.execute(QStringLiteral("DELETE FROM T")), 5);
  EXPECT_EQ(errorOf([&] { db.execute(QStringLiteral("DELETE FROM Fehlt")); }), 3265);
  EXPECT_EQ(errorOf([&] { db.execute(QStringLiteral("DELEET FROM T")); }), 3075);
}

TEST_F(DatabaseFileTest, CompactionKeepsEveryRowAndReplacesTheFileAtomically) {
  Database db = makeTable(QStringLiteral("x.mdb"));
  fill(db, 500);
  db.execute(QStringLiteral("DELETE FROM T WHERE Nr % 2 = 0"));
  db.close();
  // A leftover work file of an earlier, failed compaction is in the way.
  QFile leftover(path(QStringLiteral("x.$$$")));
  ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
  leftover.write("stale");
  leftover.close();
  ASSERT_TRUE(CompactDatabaseFile(path(QStringLiteral("x.mdb"))));
  EXPECT_TRUE(dialogs.messages.isEmpty());
  EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("x.$$$"))));
  EXPECT_FALSE(dialogs.busy);
  EXPECT_EQ(dialogs.busyOn, 1);
  Database again = DBEngine::openDatabase(path(QStringLiteral("x.mdb")));
  Recordset rs = again.openTable(QStringLiteral("T"));
  EXPECT_EQ(rs.recordCount(), 250);
  rs.moveFirst();
  EXPECT_EQ(rs.value(QStringLiteral("Nr")).toLong(), 1);
  rs.moveLast();
  EXPECT_EQ(rs.value(QStringLiteral("Nr")).toLong(), 499);
}

TEST_F(DatabaseFileTest, CompactionTakesTheBaseNameFromTheFileNotTheFolder) {
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("job.v2")));
  Database db = makeTable(QStringLiteral("job.v2/daten"));
  fill(db, 3);
  db.close();
  ASSERT_TRUE(CompactDatabaseFile(path(QStringLiteral("job.v2/daten"))));
  EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("job.$$$"))));
  EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("job.v2/daten.$$$"))));
  EXPECT_EQ(DBEngine::openDatabase(path(QStringLiteral("job.v2/daten"))).openTable("T").recordCount(), 3);
}

TEST_F(DatabaseFileTest, CompactionOfAnOpenFileLeavesItsHandlesWorking) {
  Database db = makeTable(QStringLiteral("open.mdb"));
  fill(db, 10);
  Recordset rs = db.openTable(QStringLiteral("T"));
  ASSERT_TRUE(CompactDatabaseFile(path(QStringLiteral("open.mdb"))));
  rs.moveLast();
  rs.addNew();
  rs.setValue(QStringLiteral("Nr"), 11);
  rs.update();
  db.close();
  EXPECT_EQ(DBEngine::openDatabase(path(QStringLiteral("open.mdb"))).openTable("T").recordCount(), 11);
}

TEST_F(DatabaseFileTest, FailedCompactionsAreShownAndLeaveTheFileUntouched) {
  EXPECT_FALSE(CompactDatabaseFile(path(QStringLiteral("nix.mdb"))));
  ASSERT_EQ(dialogs.messages.size(), 1);
  EXPECT_EQ(dialogs.messages[0].text, "Datenbank " + path(QStringLiteral("nix.mdb")) + " nicht gefunden!");
  EXPECT_EQ(dialogs.messages[0].title, "Fehler");
  EXPECT_EQ(dialogs.messages[0].icon, MsgIcon::Critical);
  QFile junk(path(QStringLiteral("kein.mdb")));
  ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
  junk.write(QByteArray(2048, 'k'));
  junk.close();
  EXPECT_FALSE(CompactDatabaseFile(junk.fileName()));
  ASSERT_EQ(dialogs.messages.size(), 2);
  EXPECT_TRUE(dialogs.messages[1].text.endsWith(" (3343)")) << dialogs.messages[1].text.toStdString();
  EXPECT_EQ(QFileInfo(junk.fileName()).size(), 2048);
  EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("kein.$$$"))));
  EXPECT_FALSE(dialogs.busy);
}

// A handle dropped without closing commits in its destructor. On a full file
// system (here: a file size limit, run in a child process) that commit fails,
// and the lost rows are still reported at the next turn of the event loop.
TEST_F(DatabaseFileTest, DroppedHandleOnAFullFileSystemReportsItsLostRows) {
  if (qEnvironmentVariableIsSet("ORV_FILE_SIZE_LIMIT")) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{64 * 1024, 64 * 1024};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    {
      Database db = makeTable("voll.mdb");
      Recordset rs = db.openTable(QStringLiteral("T"));
      for (int i = 1; i <= 5000; ++i) {
        rs.addNew();
        rs.setValue(QStringLiteral("Name"), QString(100, QLatin1Char('x')));
        rs.update();
      }
    }
    QCoreApplication::processEvents();
    ASSERT_EQ(dialogs.messages.size(), 1);
    EXPECT_TRUE(dialogs.messages[0].text.contains(path("voll.mdb"))) << dialogs.messages[0].text.toStdString();
    EXPECT_EQ(dialogs.messages[0].icon, MsgIcon::Critical);
    return;
  }
  QProcess child;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("ORV_FILE_SIZE_LIMIT"), QStringLiteral("1"));
  child.setProcessEnvironment(env);
  child.setProcessChannelMode(QProcess::MergedChannels);
  child.start(QCoreApplication::applicationFilePath(),
              {QStringLiteral("--gtest_filter=DatabaseFileTest.DroppedHandleOnAFullFileSystemReportsItsLostRows")});
  ASSERT_TRUE(child.waitForFinished(120000));
  const QByteArray output = child.readAll();
  EXPECT_TRUE(child.exitCode() == 0 && output.contains("[  PASSED  ] 1 test")) << output.constData();
}

}  // namespace
}  // namespace orv::test
