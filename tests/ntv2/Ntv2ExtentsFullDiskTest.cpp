// The extent files written over older ones on a disk that fills up: at every
// fill level both are new or both old, nothing beside them, and a failure
// says that the old files stay.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "foundation/OrvenilError.h"
#include "runs/Ntv2Extents.h"
#include "support/FullFolder.h"
#include "support/PrivateMountNamespace.h"
#include "tests/ntv2/Ntv2GridFiles.h"

using namespace orv;

TEST(Ntv2ExtentsOnFullDisk, BothFilesNewOrBothOld) {
  const char* inside = "ORV_TEST_EXTENTS_FULL_DISK";
  if (!test::InsidePrivateMountNamespace(inside)) return test::RunAgainInPrivateMountNamespace(inside);
  test::FullFolder disk;
  if (disk.path().isEmpty()) GTEST_SKIP() << disk.skipReason().toStdString();
  // Two sub-grids of 100 × 100 spacings; the extents need their headers only.
  QByteArray grid;
  for (const char* name : {"A", "B"})
    grid += QByteArray("SUB_NAME") + name +
            "\r\nPARENT NONE\r\nCREATED x\r\nUPDATED x\r\nS_LAT 180000\r\nN_LAT 186000\r\n"
            "E_LONG -36000\r\nW_LONG -27000\r\nLAT_INC 60\r\nLONG_INC 90\r\n";
  QTemporaryDir roomy;
  test::WriteBytes(roomy.filePath("RD.gsa"), grid);
  WriteNtv2Extents(roomy.filePath("RD.gsa"));
  const QString gridPath = disk.path() + "RD.gsa";
  const QStringList paths{Ntv2ExtentPointPath(gridPath), Ntv2ExtentLinePath(gridPath)};
  const auto setOf = [](const QString& g) {
    QList<QByteArray> set;
    for (const QString& path : {Ntv2ExtentPointPath(g), Ntv2ExtentLinePath(g)}) {
      QFile f(path);
      set << (f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray());
    }
    return set;
  };
  const QList<QByteArray> fresh = setOf(roomy.filePath("RD.gsa")), old{"A1 1 1 2\r\n", "1 ( A1 A2 )\r\n"};
  ASSERT_TRUE(test::FullFolder::Put(gridPath, grid));

  int oldKept = 0, newWritten = 0;
  for (qint64 free = 0; free <= fresh[0].size() + fresh[1].size() + 24576; free += 2048) {
    SCOPED_TRACE("free bytes: " + std::to_string(free));
    QFile::remove(disk.path() + "fuellung");
    for (int i = 0; i < 2; ++i) ASSERT_TRUE(test::FullFolder::Put(paths[i], old[i]));
    disk.fill(free);
    QString message;
    try {
      WriteNtv2Extents(gridPath);
    } catch (const OrvenilError& e) {
      message = e.description();
    }
    const QList<QByteArray> now = setOf(gridPath);
    ASSERT_TRUE(now == old || now == fresh) << now[0].size() << " " << now[1].size();
    EXPECT_EQ(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 4)
        << QDir(disk.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).join(' ').toStdString();
    if (now == old) {
      ++oldKept;
      EXPECT_TRUE(message.contains("Der Datenträger ist voll") && message.contains("bleiben unverändert"))
          << message.toStdString();
    } else {
      ++newWritten;
      EXPECT_TRUE(message.isEmpty()) << message.toStdString();
    }
  }
  EXPECT_GT(oldKept, 0);
  EXPECT_GT(newWritten, 0);
}
