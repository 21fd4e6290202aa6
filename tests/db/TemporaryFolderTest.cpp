// The temporary folder's per-instance locks.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSysInfo>

#include "DbTestSupport.h"
#include "platform/db/TemporaryFolder.h"

namespace orv::test {
namespace {

void Touch(const QString& file, const QDateTime& modified) {
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::ReadWrite));
  f.write("x");
  f.flush();
  ASSERT_TRUE(f.setFileTime(modified, QFileDevice::FileModificationTime));
}

TEST(TemporaryFolderTest, DefaultFolderLiesInTheSystemTemporaryFolderPerUser) {
  QString folder = DefaultTemporaryFolder();
  EXPECT_TRUE(folder.startsWith(QDir::tempPath() + "/orvenil-"));
  EXPECT_TRUE(folder.endsWith('/'));
  EXPECT_GT(folder.size(), QDir::tempPath().size() + 10);
}

TEST(TemporaryFolderTest, LockCreatesTheFolderAndFindsOtherRunningInstances) {
  QTemporaryDir base;
  const QString folder = base.path() + "/orvenil-test";
  TemporaryFolderLock own;
  ASSERT_TRUE(own.acquire(folder));
  EXPECT_TRUE(own.held());
  EXPECT_EQ(own.folder(), folder + "/");
  EXPECT_FALSE(own.otherInstancesSince().isValid());
  const QString old = folder + "/tmp_dao_orvenil_alt.mdb";
  Touch(old, QDateTime::currentDateTime().addSecs(-3600));
  EXPECT_TRUE(own.mayDelete(old));

  // A lock of an ended instance is stale and counts for nothing.
  {
    QFile stale(folder + "/orvenil-instance-4000000.lock");
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("4000000\norvenil\n" + QSysInfo::machineHostName().toUtf8() + "\n");
  }
  EXPECT_FALSE(own.otherInstancesSince().isValid());

  // Another running instance (a lock held by a live process).
  QLockFile other(folder + "/orvenil-instance-1.lock");
  ASSERT_TRUE(other.tryLock(0));
  const QString fresh = folder + "/tmp_dao_orvenil_neu.mdb";
  Touch(fresh, QDateTime::currentDateTime().addSecs(5));
  EXPECT_TRUE(own.otherInstancesSince().isValid());
  EXPECT_TRUE(own.mayDelete(old));
  EXPECT_FALSE(own.mayDelete(fresh));
  other.unlock();
  EXPECT_TRUE(own.mayDelete(fresh));
  own.release();
  EXPECT_FALSE(own.held());
}

// After a crash in a container the new process often gets the old one's id:
// the lock left under it is stale, not a running instance.
TEST(TemporaryFolderTest, StaleLockCarryingTheOwnProcessIdIsTakenOver) {
  QTemporaryDir base;
  const QString folder = base.path() + "/orvenil-test/";
  ASSERT_TRUE(QDir().mkpath(folder));
  const QString pid = QString::number(QCoreApplication::applicationPid());
  {
    QFile stale(folder + "orvenil-instance-" + pid + ".lock");
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write((pid + "\n" + QCoreApplication::applicationName() + "\n" + QSysInfo::machineHostName() + "\n").toUtf8());
  }
  TemporaryFolderLock own;
  EXPECT_TRUE(own.acquire(folder));
  EXPECT_TRUE(own.held());
}

}  // namespace
}  // namespace orv::test
