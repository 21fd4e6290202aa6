// Two orvenil processes started in the same second keep their temporary
// databases apart.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>

TEST(TwoInstancesTest, InstancesStartedInOneSecondKeepTheirOwnDatabases) {
  // A program folder of its own, so the build's database folder stays untouched.
  QTemporaryDir root;
  const QString program = root.path() + "/Programm/";
  ASSERT_TRUE(QDir().mkpath(program + "Orvenil-Datenbanken") && QDir().mkpath(root.path() + "/tmp"));
  ASSERT_TRUE(QFile::copy(QStringLiteral(ORV_BINARY_DIR "/orvenil"), program + "orvenil"));
  for (const char* table : {"sys_7Parameter.dat", "sys_NTv2.dat", "Quasigeoidmodell.dat"})
    ASSERT_TRUE(QFile::copy(QStringLiteral(ORV_TEST_DATA_DIR "/window/") + table,
                            program + "Orvenil-Datenbanken/" + table));
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("TMPDIR", root.path() + "/tmp");
  env.insert("USER", "orvtest");
  env.insert("QT_QPA_PLATFORM", "offscreen");
  QProcess first, second;
  for (QProcess* p : {&first, &second}) p->setProcessEnvironment(env);

  // Both start right after a second begins, so their time stamps agree.
  while (QDateTime::currentDateTime().time().msec() > 100) QThread::msleep(5);
  first.start(program + "orvenil", {});
  second.start(program + "orvenil", {});
  ASSERT_TRUE(first.waitForStarted() && second.waitForStarted());
  const QDir temp(root.path() + "/tmp/orvenil-orvtest");
  const auto isDatabase = [&](const QString& name) {
    QFile f(temp.filePath(name));
    return f.open(QIODevice::ReadOnly) && f.read(16) == QByteArray("SQLite format 3", 16);
  };
  // Three databases each, every one of them intact (a file can be seen
  // before its maker has written the database header).
  QStringList files;
  for (int waited = 0; waited < 20000; waited += 50) {
    QThread::msleep(50);
    files = temp.entryList({"tmp_dao_orvenil*"}, QDir::Files);
    files.removeIf([](const QString& name) { return name.endsWith("-journal"); });  // pending writes
    if (files.size() == 6 && std::all_of(files.begin(), files.end(), isDatabase)) break;
  }
  first.kill();
  second.kill();
  first.waitForFinished();
  second.waitForFinished();
  ASSERT_EQ(files.size(), 6) << files.join(' ').toStdString();
  for (const QString& name : files) EXPECT_TRUE(isDatabase(name)) << name.toStdString();
}
