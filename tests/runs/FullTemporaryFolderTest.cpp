// Runs in a temporary folder that is full: the message names the folder and
// says that it is full, and the rows of the job are kept. The test runs
// itself again in a private mount namespace, where the folder is a small
// tmpfs.
#include <QCoreApplication>
#include <QProcess>

#include "foundation/FileErrorReason.h"
#include "runs/RunFixture.h"
#include "support/PrivateMountNamespace.h"

using namespace orv;

namespace {

class FullTemporaryFolderTest : public RunTest {
 protected:
  // Takes all room the temporary folder has left.
  void fillTemporaryFolder() {
    QFile filler(folders.tempFolder + "fuellung");
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size()) {
    }
    const QByteArray byte(1, 'f');
    while (filler.write(byte) == 1) {
    }
  }
};

}  // namespace

TEST_F(FullTemporaryFolderTest, RunsNameTheFullFolderAndKeepTheirRows) {
  const char* inside = "ORV_TEST_FULL_TEMP_FOLDER_RUNS";
  if (!orv::test::InsidePrivateMountNamespace(inside)) return orv::test::RunAgainInPrivateMountNamespace(inside);
  orv::test::SmallTmpfs tmpfs(folders.tempFolder, "1m");
  if (!tmpfs.mounted()) GTEST_SKIP() << "a tmpfs cannot be mounted on the temporary folder here";
  // The geoid program and its grid under the name the test tables give it.
  putDefaultGeoidFiles();
  ASSERT_TRUE(QFile::copy(dbFile("EGM96_Deutschland.grd"), dbFile("egm96.bin")));
  const Row point{{"sXz", "3934386.8"}, {"sYz", "881289.7"}, {"sZz", "4925822.4"}, {"sZe", "100.0000"},
                  {"radBg", "0.8907"},  {"radLg", "0.2212"}};
  FormOrvenil& f = startJob(0, QList<Row>(300, point));
  State().KooDb.commit();
  const QString full = FullFolderText(QDir(folders.tempFolder).absolutePath());
  fillTemporaryFolder();

  chooseSet(f, 0, 0);
  dialogs->expectMessage(full + " Abbruch!");
  f.cmdTrafoStart_Click();
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();

  f.cmbGeoidmodell->SetListIndex(1);
  ASSERT_TRUE(State().GeoidBereit);
  // The model's grid finds no room in the run's working folder; the rows
  // then marked "Fehler" none in the database.
  dialogs->expectMessage("bereitgestellt werden! Der Datenträger ist voll: Im Ordner '" +
                         QDir(folders.tempFolder).absolutePath() + "/Geoidprogramm_");
  dialogs->expectMessage(full + " Abbruch!");
  f.ConvertHeightsWithGeoid();
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();

  const QList<Row> rows = rowsOfDaten();
  ASSERT_EQ(rows.size(), 300);
  for (const Row& row : rows) {
    EXPECT_EQ(row["sXz"], "3934386.8");
    EXPECT_EQ(row["sZe"], "100.0000");
  }
  // The databases (and their journals) are closed while their folder is
  // still there, with room again.
  QFile::remove(folders.tempFolder + "fuellung");
  form.reset();
  CloseAllDatabases(true);
}
