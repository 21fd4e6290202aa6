// Two orvenil processes started in the same second keep their temporary
// databases apart; a later start removes only the files of an ended one.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <memory>

namespace {

class TwoInstancesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(root.isValid());
    // A program folder of its own, so the build's database folder stays untouched.
    const QString program = root.path() + "/Programm/";
    ASSERT_TRUE(QDir().mkpath(program + "Orvenil-Datenbanken"));
    binary = program + "orvenil";
    ASSERT_TRUE(QFile::copy(QStringLiteral(ORV_BINARY_DIR "/orvenil"), binary));
    QFile::setPermissions(binary, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    for (const char* table : {"sys_7Parameter.dat", "sys_NTv2.dat", "Quasigeoidmodell.dat"})
      ASSERT_TRUE(QFile::copy(QStringLiteral(ORV_TEST_DATA_DIR "/window/") + table,
                              program + "Orvenil-Datenbanken/" + table));
    ASSERT_TRUE(QDir().mkpath(root.path() + "/tmp"));
    temp = root.path() + "/tmp/orvenil-orvtest/";
  }
  void TearDown() override {
    for (auto& p : processes) {
      p->kill();
      p->waitForFinished();
    }
  }

  QProcess& launch() {
    auto p = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TMPDIR", root.path() + "/tmp");
    env.insert("USER", "orvtest");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p->setProcessEnvironment(env);
    p->start(binary, {});
    processes.push_back(std::move(p));
    return *processes.back();
  }
  // The temporary databases in the folder, once there are `count` of them.
  QStringList waitForDatabases(int count) const {
    QStringList files;
    for (int waited = 0; waited < 20000; waited += 50) {
      files = QDir(temp).entryList({"tmp_dao_orvenil*"}, QDir::Files);
      // A file can be seen before its maker has written the database header.
      bool complete = files.size() >= count;
      for (const QString& name : files) complete = complete && isDatabase(name);
      if (complete) break;
      QThread::msleep(50);
    }
    return files;
  }
  static QStringList of(const QStringList& files, const QProcess& p) {
    return files.filter(QRegularExpression("_" + QString::number(p.processId()) + "\\.mdb$"));
  }
  bool isDatabase(const QString& name) const {
    QFile f(temp + name);
    return f.open(QIODevice::ReadOnly) && f.read(16) == QByteArray("SQLite format 3", 16);
  }

  QTemporaryDir root;
  QString binary;
  QString temp;
  std::vector<std::unique_ptr<QProcess>> processes;
};

TEST_F(TwoInstancesTest, InstancesStartedInOneSecondKeepTheirOwnDatabases) {
  // Start both right after a second begins, so their time stamps agree.
  while (QDateTime::currentDateTime().time().msec() > 100) QThread::msleep(5);
  QProcess& first = launch();
  QProcess& second = launch();
  ASSERT_TRUE(first.waitForStarted() && second.waitForStarted());
  const QStringList both = waitForDatabases(6);
  ASSERT_EQ(both.size(), 6) << both.join(' ').toStdString();
  for (const QString& name : both) EXPECT_TRUE(isDatabase(name)) << name.toStdString();
  const QStringList ofFirst = of(both, first);
  const QStringList ofSecond = of(both, second);
  ASSERT_EQ(ofFirst.size(), 3);
  ASSERT_EQ(ofSecond.size(), 3);

  // The first one crashes; a third start removes its files and keeps the second's.
  first.kill();
  first.waitForFinished();
  QProcess& third = launch();
  ASSERT_TRUE(third.waitForStarted());
  for (int waited = 0; waited < 20000 && of(waitForDatabases(0), third).size() < 3; waited += 50) QThread::msleep(50);
  const QStringList after = waitForDatabases(0);
  EXPECT_EQ(of(after, third).size(), 3);
  EXPECT_TRUE(of(after, first).isEmpty());
  EXPECT_EQ(of(after, second), ofSecond);
  for (const QString& name : ofSecond) EXPECT_TRUE(isDatabase(name)) << name.toStdString();
}

}  // namespace
