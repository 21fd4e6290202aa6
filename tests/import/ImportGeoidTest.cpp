// The geoid step of the import with the real geoid program of the build.
#include "ImportFixture.h"
#include "foundation/NumberText.h"
#include "platform/ui/VbComboBox.h"

namespace {

class ImportGeoidTest : public ImportTest {
 protected:
  void SetUp() override {
    ImportTest::SetUp();
    putAllTables();
    putDefaultGeoidFiles();
    start();
    dialogs->clearRecords();
  }
  // A point in Germany and one far north of the model's grid.
  QString file() { return writeFile("utm.txt", {"1 K 32512345.678 5712345.678 101.5", "2 K 32512345.678 6912345.678 10"}); }
  static void chooseModel(orv::FormOrvenilSystemAuswahl& d) { d.cmbGeoidmodell->SetListIndex(1); }
};

}  // namespace

TEST_F(ImportGeoidTest, UndulationsFromTheGeoidProgram) {
  runImport(file(), 1, chooseModel);
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
  const auto r = rows();
  ASSERT_EQ(r.size(), 2);
  const double N = r[0]["Geoidundulation"].toDouble();
  EXPECT_GT(N, 30);
  EXPECT_LT(N, 60);
  EXPECT_EQ(r[0]["sZe"], "101.5000");
  EXPECT_EQ(r[0]["sHg"], orv::FormatNumber(101.5 + N, "0.0000"));
  EXPECT_EQ(r[1]["Geoidundulation"], "Fehler");
  EXPECT_EQ(r[1]["sZe"], "Fehler");
  EXPECT_EQ(r[1]["sHg"], "10.0000");
  EXPECT_FALSE(QFile::exists(dbFile("INPUT.USR")));
  EXPECT_FALSE(QFile::exists(dbFile("OUTPUT.USR")));
}

TEST_F(ImportGeoidTest, MissingProgramIsNamedAndTargetHeightsAreFehler) {
  QFile::remove(dbFile("saphtel.exe"));
  // Named by the import's geoid step, and again by the height run after it.
  runImport(file(), 1, chooseModel, [&] {
    dialogs->expectMessage("saphtel.exe' fehlt!");
    dialogs->expectMessage("saphtel.exe' fehlt!");
  });
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
  const auto r = rows();
  ASSERT_EQ(r.size(), 2);
  EXPECT_EQ(r[0]["Geoidundulation"], "Fehler");
  EXPECT_EQ(r[0]["sZeZiel"], "Fehler");
  EXPECT_EQ(r[0]["sZe"], "101.5000");
  EXPECT_EQ(r[0]["sHg"], "101.5000");
}

// Rows are matched to the program's lines by position: a row without a line,
// or with a line that holds no number, gets "Fehler".
TEST_F(ImportGeoidTest, RowsWithoutANumberFromTheProgramAreErrors) {
  QFile script(dbFile("saphtel.exe"));
  ASSERT_TRUE(script.open(QIODevice::WriteOnly | QIODevice::Truncate));
  script.write("#!/bin/sh\nprintf '47.1234 51.5 9.2\\r\\nkein Wert\\r\\n' > OUTPUT.USR\n");
  script.close();
  script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  runImport(writeFile("utm.txt", {"1 K 32512345.678 5712345.678 100", "2 K 32512345.678 5712445.678 100",
                                  "3 K 32512345.678 5712545.678 100"}),
            1, chooseModel);
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
  const auto r = rows();
  ASSERT_EQ(r.size(), 3);
  EXPECT_EQ(r[0]["Geoidundulation"], "47.1234");
  EXPECT_EQ(r[0]["sHg"], "147.1234");
  for (int i : {1, 2}) {
    EXPECT_EQ(r[i]["Geoidundulation"], "Fehler");
    EXPECT_EQ(r[i]["sZe"], "Fehler");
    EXPECT_EQ(r[i]["sHg"], "100.0000");
  }
}

// Heights merged into the job: every start column the import derives from
// the height becomes that of an import with the new height, so that the next
// run transforms the point with it; projected and geographic jobs alike, and
// a job whose ellipsoidal heights the geoid step raised by the undulation.
TEST_F(ImportGeoidTest, MergedHeightsReachEveryStartColumnDerivedFromTheHeight) {
  const auto gaussKrueger = [](orv::FormOrvenilSystemAuswahl& d) { d.Startsys->select(1); };
  const auto geographic = [](orv::FormOrvenilSystemAuswahl& d) {
    d.StartAbbildung->select(2);
    d.FormatEingabeGeographisch->select(1);
  };
  struct Case {
    QString job, merged, other;
    std::function<void(orv::FormOrvenilSystemAuswahl&)> choose;
  } cases[] = {
      {"1 K1 4512345.678 5712345.678 143.18", "1 K1 4512345.678 5712345.678 264.18",
       "2 K2 4512400.000 5712400.000 99.0", gaussKrueger},
      {"1 K1 32512345.678 5712345.678 143.18", "1 K1 32512345.678 5712345.678 264.18",
       "2 K2 32512400.000 5712400.000 99.0", chooseModel},
      {"1 K1 51.5 12.1 143.18", "1 K1 51.5 12.1 264.18", "2 K2 51.6 12.2 99.0", geographic},
  };
  for (const Case& c : cases) {
    runImport(writeFile("neu.txt", {c.merged, c.other}), 1, c.choose);
    const auto reference = rows();
    runImport(writeFile("job.txt", {c.job, c.other}), 1, c.choose);
    const auto before = rows();
    // A height that is no number is taken as text, and the user is told.
    runImport(writeFile("hoehen.txt", {"1 X 0 0 264.18", "2 X 0 0 hoch"}), 1,
              [](orv::FormOrvenilSystemAuswahl& d) { d.Sonderfunktion->select(1); },
              [&] { dialogs->expectMessage("Es wurden 2 Höhen überschrieben!   \nHöhen ohne Zahl, nur als Text übernommen (ohne neue ell. Höhe und X, Y, Z): 1!"); });
    EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
    const auto after = rows();
    ASSERT_EQ(after.size(), 2);
    // The start columns; the target columns are the next run's.
    for (const QString& column : reference[0].keys()) {
      if (column.endsWith("Ziel")) continue;
      EXPECT_EQ(after[0][column].toStdString(), reference[0][column].toStdString()) << column.toStdString();
    }
    EXPECT_EQ(after[1]["sZe"], "hoch");
    EXPECT_EQ(after[1]["sHg"], before[1]["sHg"]);
  }
}
