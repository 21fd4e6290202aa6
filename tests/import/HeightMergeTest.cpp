// The merge "nur Höhen überschreiben" through the window's import chain: the
// height is read where each import format has it, and no target value of
// the old height stays beside a new one.
#include "ImportFixture.h"

namespace {

const auto kGaussKrueger = [](orv::FormOrvenilSystemAuswahl& d) { d.Startsys->select(1); };
const auto kHeightsOnly = [](orv::FormOrvenilSystemAuswahl& d) { d.Sonderfunktion->select(1); };

}  // namespace

TEST_F(ImportTest, HeightMergeLeavesNoTargetOfTheOldHeight) {
  putRunTables();
  start();
  dialogs->clearRecords();
  runImport(writeFile("gk.txt", {"1 K 4590123.456 5821234.567 312.5", "2 K 4520000 5700000 88.25",
                                 "3 K 4590000.5 5580000.25 840"}),
            1, kGaussKrueger);
  runFirstSetInReverse();
  const auto before = rows();
  ASSERT_EQ(before.size(), 3);
  ASSERT_NE(before[1]["sZeZiel"], "<NULL>");
  dialogs->clearRecords();
  // Point 2 gets a new height, point 3 its own again.
  runImport(writeFile("hoehen.txt", {"2 K 4520000 5700000 555.5", "3 K 4590000.5 5580000.25 840"}), 1,
            kHeightsOnly, [&] {
              dialogs->expectMessage("Es wurden 2 Höhen überschrieben!   \nDie Zielwerte von 1 Punkten beruhten auf "
                                     "der alten Höhe und wurden gelöscht: bitte die Transformation erneut durchführen!");
            });
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
  const auto after = rows();
  ASSERT_EQ(after.size(), 3);
  EXPECT_EQ(after[1]["sZe"], "555.5000");
  for (const QString& column : orv::DatenColumnNames()) {
    if (!column.endsWith("Ziel")) continue;
    EXPECT_EQ(after[1][column].toStdString(), "<NULL>") << column.toStdString();
    EXPECT_EQ(after[0][column].toStdString(), before[0][column].toStdString()) << column.toStdString();
    EXPECT_EQ(after[2][column].toStdString(), before[2][column].toStdString()) << column.toStdString();
  }
}

// Every import format the merge reads gives it the height of its own layout;
// a decimal comma is read where the import reads it (a ";" csv, as a German
// spreadsheet writes it) and refused with its line where the import refuses it.
TEST_F(ImportTest, HeightMergeReadsTheHeightWhereTheFormatHasIt) {
  startWithTables(false);
  runImport(writeFile("gk.txt", {"1 K 4512345.678 5712345.678 100.0", "3 K 4512400.000 5712400.000 120.0"}), 1,
            kGaussKrueger);
  struct Case {
    int filter;
    QString line, height, message = "Es wurden 1 Höhen überschrieben!";
  } cases[] = {
      {1, "3  K  4512400.000  5712400.000  444.75", "444.7500"},
      {5, "3;K;4512400.000;5712400.000;333.5", "333.5000"},
      {5, "3;K;4512400,000;5712400,000;333,25", "333.2500"},
      {6, "3\t51.64\t11.82\t222.25", "222.2500"},
      {6, "3 51.64 11.82 111.125", "111.1250"},
      {1, "3 K 4512400.000 5712400.000 444,75", "111.1250",
       "Zeile 1: \"444,75\" ist eine Zahl mit Dezimalkomma"},
  };
  for (const Case& c : cases) {
    dialogs->clearRecords();
    runImport(writeFile("hoehen.txt", {c.line}), c.filter, kHeightsOnly,
              [&] { dialogs->expectMessage(c.message); });
    EXPECT_TRUE(dialogs->allDone()) << c.filter << dialogs->messageTexts().join("|").toStdString();
    EXPECT_FALSE(dialogs->messageTexts().join("").contains("ohne Zahl")) << c.filter;
    const auto merged = rows();
    ASSERT_EQ(merged.size(), 2);
    EXPECT_EQ(merged[1]["sZe"].toStdString(), c.height.toStdString()) << c.filter;
    EXPECT_EQ(merged[1]["sHg"].toStdString(), c.height.toStdString()) << c.filter;
    EXPECT_EQ(merged[0]["sZe"], "100.0000");
  }
}

// The merges store only numbers the import reads: another line is refused
// with its file and line before the job changes; a line the import skips
// (column names, an empty row) is no point.
TEST_F(ImportTest, MergesStoreOnlyWhatTheImportReads) {
  startWithTables(false);
  const auto append = [](orv::FormOrvenilSystemAuswahl& d) { d.Sonderfunktion->select(2); };
  struct Case {
    int filter;
    bool append;
    QStringList lines;
    QString message;
  } cases[] = {
      {5, true, {"3;K;4.512.500,000;5.712.500,000;1.130,5"}, "hoehen.txt', Zeile 1: Die Zahlen dieser Zeile"},
      {1, true, {"3 K 4512500.0 5712500.0 100", "4 K 4512600.0 0 100"}, "hoehen.txt', Zeile 2: Format: [P C X Y H]"},
      {1, false, {"1 K 4512345.678 5712345.678 hoch"}, "hoehen.txt', Zeile 1: Format: [P C X Y H]"},
      {5, true, {"Punkt;Code;Rechts;Hoch;Höhe", "3;K;4512500,0;5712500,0;130,5", ";;;;"}, "1 Datensätze angefügt!"},
  };
  for (const Case& c : cases) {
    runImport(writeFile("job.txt", {"1 K 4512345.678 5712345.678 100.0"}), 1, kGaussKrueger);
    runImport(writeFile("hoehen.txt", c.lines), c.filter, c.append ? append : kHeightsOnly,
              [&] { dialogs->expectMessage(c.message); });
    EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
    const auto r = rows();
    ASSERT_EQ(r.size(), c.message.contains("angefügt") ? 2 : 1) << c.lines.join("|").toStdString();
    EXPECT_EQ(r[0]["sZe"], "100.0000");
    EXPECT_EQ(r.last()["sZe"], r.size() == 2 ? "130.5" : "100.0000");
  }
}
