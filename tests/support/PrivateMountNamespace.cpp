#include "PrivateMountNamespace.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>

namespace orv::test {

bool InsidePrivateMountNamespace(const char* marker) { return !qEnvironmentVariableIsEmpty(marker); }

void RunAgainInPrivateMountNamespace(const char* marker) {
  if (QProcess::execute("unshare", {"-rm", "true"}) != 0)
    GTEST_SKIP() << "no private mount namespace on this machine (unshare -rm refused)";
  QProcess self;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(marker, "1");
  self.setProcessEnvironment(env);
  self.setProcessChannelMode(QProcess::MergedChannels);
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  self.start("unshare", {"-rm", QCoreApplication::applicationFilePath(),
                         QString("--gtest_filter=%1.%2").arg(test->test_suite_name(), test->name())});
  ASSERT_TRUE(self.waitForFinished(300000));
  const QString output = QString::fromLocal8Bit(self.readAll());
  if (output.contains("[  SKIPPED ]")) GTEST_SKIP() << output.toStdString();
  EXPECT_EQ(self.exitCode(), 0) << output.toStdString();
}

SmallTmpfs::SmallTmpfs(const QString& folder, const QString& size) : folder_(folder) {
  mounted_ = QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=" + size, "tmpfs", folder}) == 0;
}

SmallTmpfs::~SmallTmpfs() {
  if (mounted_) QProcess::execute("umount", {"-l", folder_});
}

}  // namespace orv::test
