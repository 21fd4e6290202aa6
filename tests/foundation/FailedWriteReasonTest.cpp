// A text file that cannot be written names itself and the system's reason,
// and an older file of the name stays as it was.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "support/FullFolder.h"
#include "foundation/OrvenilError.h"
#include "foundation/TextLineWriter.h"

using namespace orv;

namespace {

QString FailureOfWriting(const QString& path, const QString& text) {
  try {
    TextLineWriter writer(path);
    writer.writeLine(text);
    writer.close();
  } catch (const OrvenilError& e) {
    return e.description();
  }
  return QString();
}

}  // namespace

TEST(FailedWriteReasonTest, AFullDiskIsNamedAndTheOlderFileKept) {
  test::FullFolder full;
  if (full.path().isEmpty()) GTEST_SKIP() << full.skipReason().toStdString();
  const QString path = full.path() + "sys_NTv2.dat";
  ASSERT_TRUE(test::FullFolder::Put(path, "BeTA2007;BETA2007.gsa\r\n"));
  full.fill();
  const QString failure = FailureOfWriting(path, QStringLiteral("Neu;Neu.gsa"));
  EXPECT_EQ(failure.toStdString(), ("Die Datei " + path + " konnte nicht geschrieben werden: "
                                    "Der Datenträger ist voll (kein Speicherplatz mehr frei)").toStdString());
  QFile old(path);
  ASSERT_TRUE(old.open(QIODevice::ReadOnly));
  EXPECT_EQ(old.readAll(), "BeTA2007;BETA2007.gsa\r\n");
}

TEST(FailedWriteReasonTest, APathThroughAFileIsNamed) {
  QTemporaryDir dir;
  const QString file = dir.path() + "/Datei";
  ASSERT_TRUE(test::FullFolder::Put(file, "x"));
  // Writing below a file fails for every user, root included.
  EXPECT_EQ(FailureOfWriting(file + "/export.txt", "x").toStdString(),
            ("Die Datei " + file + "/export.txt konnte nicht geschrieben werden: Ein Teil des Pfades ist kein Ordner")
                .toStdString());
}
