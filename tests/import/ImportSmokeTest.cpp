#include "ImportFixture.h"

TEST_F(ImportTest, ProjectedGaussKruegerFileBecomesRows) {
  startWithTables();
  const QString path = writeFile("punkte.txt", {"1 K1 4500000.123 5700000.456 101.5", "2 K2 4501000 5701000 0"});
  runImport(path, 1, [](orv::FormOrvenilSystemAuswahl& d) { d.Startsys->select(1); });
  const auto r = rows();
  ASSERT_EQ(r.size(), 2);
  for (auto& row : r) qDebug() << row;
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
}
