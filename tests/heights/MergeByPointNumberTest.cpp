#include <QFile>
#include <QFileInfo>

#include "HeightsTestSupport.h"

namespace {

class MergeTest : public LoadedJobTest {
 protected:
  // The point file to merge, in the Geograf layout (filter index 1).
  void chooseFile(const QByteArray& content) {
    const QString path = root.path() + QStringLiteral("/merge.pkt");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
    f.close();
    orv::State().ImportDatei = path;
    orv::State().ImportDateiGewaehlt = true;
    form->CommonDialog1.FilterIndex = 1;
  }
  static QString padded(const QString& n) { return n.rightJustified(20); }
};

const QByteArray kFile =
    "1   A  100.0  200.0  12.3\r\n"
    "2   B  110.0  210.0  5\r\n"
    "2   B  111.0  211.0  6\r\n"
    "3   C  120.0  220.0  7.25\r\n"
    "12345678901234567  D  1 2 3\r\n"
    "\r\n";

TEST_F(MergeTest, OverwriteHeightsMatchesTrimmedPointNumbersAndKeepsTheJobOpen) {
  startWithJob({{padded("1"), "1", "1", "0", ""},
                {padded("2"), "1", "1", "0", ""},
                {padded("3"), "1", "1", "0", ""},
                {padded("9"), "1", "1", "7", ""},
                {"", "1", "1", "8", ""}});  // no point number: matches no line, not even the empty one
  chooseFile(kFile);
  dialogs->expectMessage(QStringLiteral("Es wurden 3 Höhen überschrieben!   "));
  form->OverwriteHeightsByPointNumber();
  EXPECT_EQ(column("sZe"), QStringList({"12.3000", "5.0000", "7.2500", "7", "8"}));
  // The job stays loaded and usable for the next run.
  EXPECT_TRUE(orv::State().KooDb.isOpen());
  EXPECT_EQ(form->GridKooDb->RowCount(), 5);
  EXPECT_TRUE(form->GridKooDb->Redraw());
}

TEST_F(MergeTest, AppendMissingPointsPadsNumbersAndGivesUniqueIds) {
  startWithJob({{padded("1"), "1", "1", "0", ""}, {padded("2"), "1", "1", "0", ""}});
  chooseFile(kFile);
  dialogs->expectMessage(QStringLiteral("Es wurden 3 Datensätze angefügt!   "));
  form->AppendMissingPoints();
  // Each job row takes away one line of its number, so the second "2" is
  // appended; the empty line is no point. Appended in point-number order.
  EXPECT_EQ(column("Punkt").mid(2), QStringList({"12345678901234567", padded("2"), padded("3")}));
  EXPECT_EQ(column("sYe").mid(2), QStringList({"1", "111.0", "120.0"}));
  QStringList ids = column("id");
  ids.removeDuplicates();
  EXPECT_EQ(ids.size(), 5);

  // The same file again finds every point present.
  dialogs->expectMessage(QStringLiteral("Es wurden 0 Datensätze angefügt!   "));
  form->AppendMissingPoints();
  EXPECT_EQ(column("Punkt").size(), 5);
}

// A file cut while it is loaded is told and changes no height.
TEST_F(MergeTest, FileCutWhileLoadedIsToldAndChangesNothing) {
  startWithJob({{padded("1"), "1", "1", "0", ""}, {padded("2"), "1", "1", "0", ""}});
  chooseFile("1   A  100.0  200.0  12.3\r\n2   B  110.0  210.0  101.5\r\n");
  const QString path = orv::State().ImportDatei;
  const qint64 cut = QFileInfo(path).size() - 4;  // "…101" of the last line
  dialogs->setOnProcessEvents([&] {
    if (QFileInfo(path).size() > cut) QFile::resize(path, cut);
  });
  dialogs->expectMessage(QStringLiteral("merge.pkt' wurde während des Einlesens verändert"));
  form->OverwriteHeightsByPointNumber();
  dialogs->setOnProcessEvents({});
  EXPECT_EQ(column("sZe"), QStringList({"0", "0"}));
}

TEST_F(MergeTest, MissingFileIsReportedAndReleasesTheWindow) {
  startWithJob({{padded("1"), "1", "1", "0", ""}});
  orv::State().ImportDatei = root.path() + QStringLiteral("/fehlt.pkt");
  orv::State().ImportDateiGewaehlt = true;
  dialogs->expectMessage(QStringLiteral("Bitte prüfen Sie Ihre Daten!"));
  form->OverwriteHeightsByPointNumber();
  EXPECT_TRUE(orv::State().KooDb.isOpen());
  EXPECT_FALSE(orv::State().SonderfunktionDb.isSet());
  EXPECT_EQ(form->GridKooDb->RowCount(), 1);
  EXPECT_TRUE(form->GridKooDb->Redraw());
}

}  // namespace
