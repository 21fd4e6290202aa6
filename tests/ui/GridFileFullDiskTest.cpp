// The grid's own file on a full disk: the save fails, names the file and the
// reason, and the older file stays whole.
#include <gtest/gtest.h>

#include <QFile>

#include "platform/ui/GridFile.h"
#include "support/FullFolder.h"

using namespace orv;

TEST(GridFileFullDiskTest, AFailedSaveKeepsTheOlderFileAndSaysWhy) {
  test::FullFolder full;
  if (full.path().isEmpty()) GTEST_SKIP() << full.skipReason().toStdString();
  const QString path = full.path() + "sys_NTv2.fil";
  const QList<GridColumn> columns{GridColumn{QStringLiteral("Name"), QStringLiteral("Name"), 1200, true}};
  const auto rows = [](int) { return QStringList{QStringLiteral("BeTA2007")}; };
  ASSERT_TRUE(WriteGridFile(path, columns, 1, rows, nullptr));
  QFile old(path);
  ASSERT_TRUE(old.open(QIODevice::ReadOnly));
  const QByteArray before = old.readAll();
  old.close();
  full.fill();
  QString error;
  EXPECT_FALSE(WriteGridFile(path, columns, 2, rows, &error));
  EXPECT_EQ(error.toStdString(), ("Die Datei " + path + " konnte nicht geschrieben werden: "
                                  "Der Datenträger ist voll (kein Speicherplatz mehr frei)").toStdString());
  ASSERT_TRUE(old.open(QIODevice::ReadOnly));
  EXPECT_EQ(old.readAll(), before);
}
