// An export that fills the disk names the file and says that the disk is
// full, in every format.
#include "export/ExportFixture.h"
#include "support/FullFolder.h"

using namespace orv;

TEST_F(ExportTest, AFullDiskIsNamedAsTheReason) {
  test::FullFolder full;
  if (full.path().isEmpty()) GTEST_SKIP() << full.skipReason().toStdString();
  QList<Row> rows;
  for (int i = 0; i < 3000; ++i)
    rows << Row{{"Punkt", QString("P%1").arg(i, 6, 10, QChar('0'))}, {"sYe", "4512345.6789"}, {"sXe", "5712345.1000"}};
  fill(rows);
  // Some room is left, so the system takes the first block in part.
  full.fill(16 * 1024);
  struct Case {
    int filter;
    const char* file;
  } cases[] = {{1, "punkte.pkt"}, {3, "punkte.xls"}};
  for (const Case& c : cases) {
    dialogs->clearRecords();
    const QString path = full.path() + c.file;
    exportAs(path, c.filter, "1,3,4");
    ASSERT_EQ(dialogs->messages().size(), 1) << c.file;
    const QString text = dialogs->messages()[0].text;
    EXPECT_TRUE(text.contains(path) && text.contains("Der Datenträger ist voll")) << text.toStdString();
    EXPECT_FALSE(QFile::exists(path));
  }
}
