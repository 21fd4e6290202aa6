// The editor of the parameter, NTv2 and geoid-model tables: deleting with
// the question, adding sets from files, saving and the information link.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>

#include "foundation/TextLineReader.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/VbTabStrip.h"
#include "window/MainWindowFixture.h"

using namespace orv;

namespace {

const QString kSelectionData = QStringLiteral(ORV_TEST_DATA_DIR) + "/selection/";

QStringList LinesOf(const QString& path) {
  QStringList lines;
  TextLineReader reader(path);
  QString line;
  while (reader.readLine(line)) lines << line;
  return lines;
}

}  // namespace

class TableEditorTest : public MainWindowTest {
 protected:
  FormOrvenil& startWithTables() {
    form.reset();
    // Each start loads the text tables afresh.
    for (const char* fil : {"sys_7Parameter.fil", "sys_NTv2.fil", "Quasigeoidmodell.fil"}) QFile::remove(dbFile(fil));
    putAllTables();
    FormOrvenil& f = start();
    EXPECT_TRUE(dialogs->messages().isEmpty()) << dialogs->messageTexts().join("\n").toStdString();
    dialogs->clearRecords();
    return f;
  }
  // A copy of a test file in a folder outside the database folder.
  QString outsideFile(const QString& dataName, const QString& asName, bool lfOnly = false) {
    QDir(root.path()).mkpath("Eingang");
    const QString path = root.path() + "/Eingang/" + asName;
    QByteArray bytes = bytesOf(kSelectionData + dataName);
    if (lfOnly) bytes.replace("\r\n", "\n");
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
  }
  QString testDataFile(const QString& name) const { return QStringLiteral(ORV_TEST_DATA_DIR) + "/window/" + name; }
};

TEST_F(TableEditorTest, DeletingOneRowAsksForIt) {
  FormOrvenil& f = startWithTables();
  f.sevTabStrip1->SelectTab(3);
  f.GridTrafoSys->SelectRows({2});

  dialogs->expectMessage("2. Datensatz löschen?", MsgResult::No);
  f.mnuPopUp_Click(1);
  ASSERT_EQ(dialogs->messages().size(), 1);
  EXPECT_EQ(dialogs->messages().first().text, "2. Datensatz löschen?");
  EXPECT_EQ(dialogs->messages().first().title, "Löschen");
  EXPECT_EQ(dialogs->messages().first().buttons, MsgButtons::YesNo);
  EXPECT_EQ(dialogs->messages().first().icon, MsgIcon::Question);
  EXPECT_EQ(f.GridTrafoSys->RowCount(), 3);
  // Saved, unchanged.
  EXPECT_EQ(bytesOf(dbFile("sys_7Parameter.dat")), bytesOf(testDataFile("sys_7Parameter.dat")));

  f.GridTrafoSys->SelectRows({2});
  dialogs->expectMessage("2. Datensatz löschen?", MsgResult::Yes);
  f.mnuPopUp_Click(1);
  ASSERT_EQ(f.GridTrafoSys->RowCount(), 2);
  EXPECT_EQ(f.GridTrafoSys->CellText(2, "Name"), "Satz Drei mit Umlaut Höhe");
  // The files follow at once.
  const QStringList lines = LinesOf(dbFile("sys_7Parameter.dat"));
  ASSERT_EQ(lines.size(), 2);
  EXPECT_TRUE(lines[1].startsWith("Satz Drei"));
  EXPECT_TRUE(dialogs->allDone());
}

TEST_F(TableEditorTest, DeletingSeveralRowsAsksOnceWithTheirCount) {
  FormOrvenil& f = startWithTables();
  f.sevTabStrip1->SelectTab(4);
  f.GridNTv2Sys->SelectRows({1, 2});
  const QString question =
      "Achtung!\r\nEs sind 2 Datensätze selektiert.\r\n\r\nAlle selektierten Datenzeilen löschen?   ";
  dialogs->expectMessage(question, MsgResult::No);
  f.mnuPopUp_Click(1);
  EXPECT_EQ(f.GridNTv2Sys->RowCount(), 2);
  EXPECT_EQ(bytesOf(dbFile("sys_NTv2.dat")), bytesOf(testDataFile("sys_NTv2.dat")));

  f.sevTabStrip1->SelectTab(3);
  f.GridTrafoSys->SelectRows({1, 2, 3});
  dialogs->expectMessage("Es sind 3 Datensätze selektiert.", MsgResult::Yes);
  f.mnuPopUp_Click(1);
  EXPECT_EQ(f.GridTrafoSys->RowCount(), 0);
  EXPECT_TRUE(LinesOf(dbFile("sys_7Parameter.dat")).isEmpty());
  EXPECT_TRUE(dialogs->allDone());
  EXPECT_EQ(dialogs->messages().last().text.count("Achtung!"), 1);
}

TEST_F(TableEditorTest, Ntv2FileImportFromCrLfAndLfOnlyFiles) {
  for (const bool lfOnly : {false, true}) {
    SCOPED_TRACE(lfOnly ? "LF only" : "CR LF");
    FormOrvenil& f = startWithTables();
    const QString name = lfOnly ? "Gitter_lf.gsa" : "Gitter_crlf.gsa";
    const QString path = outsideFile("Testgitter.gsa", name, lfOnly);
    f.sevTabStrip1->SelectTab(4);
    dialogs->expectOpenFile(path);
    dialogs->expectMessage("Soll die NTV2-ASCII Datei \"" + path + "\" hinzugefügt werden?   ", MsgResult::Yes);
    dialogs->expectMessage("NTv2-Trafosatz \"" + name + "\" wurde vorgefunden und der Datenbank zugefügt.   ");
    f.mnuPopUp_Click(3);
    EXPECT_TRUE(dialogs->allDone());
    ASSERT_EQ(dialogs->fileRequests().size(), 1);
    EXPECT_EQ(dialogs->fileRequests().first().filter, "NTV2-ASCII (*.gsa)|*.gsa|");
    EXPECT_EQ(dialogs->fileRequests().first().filterIndex, 1);
    // The import's own dialog settings are left as they were.
    EXPECT_EQ(f.CommonDialog1.FilterIndex, 2);

    ASSERT_EQ(f.GridNTv2Sys->RowCount(), 3);
    EXPECT_EQ(f.GridNTv2Sys->RowCells(3),
              (QStringList{"DHDN", name, "RD83", "ETRS89", "Bessel", "GRS1980", "", ""}));
    // The copy in the database folder has CR LF line ends.
    const QByteArray copy = bytesOf(dbFile(name));
    EXPECT_EQ(copy, bytesOf(kSelectionData + "Testgitter.gsa"));
    EXPECT_EQ(LinesOf(dbFile("sys_NTv2.dat")).last(), "DHDN;" + name + ";RD83;ETRS89;Bessel;GRS1980;;");
    dialogs->clearRecords();
  }
}

TEST_F(TableEditorTest, Ntv2FileOfTheSameNameInTheDatabaseFolderIsKeptBesideTheNewOne) {
  FormOrvenil& f = startWithTables();
  const QString path = outsideFile("Testgitter.gsa", "Gitter.gsa");
  QByteArray older = bytesOf(kSelectionData + "Testgitter.gsa");
  older.replace("SYSTEM_F  DHDN90", "SYSTEM_F  GK83  ").replace("SUB_NAME  DHDN", "SUB_NAME  ALT ");
  {
    QFile file(dbFile("Gitter.gsa"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(older);
  }
  f.sevTabStrip1->SelectTab(4);
  dialogs->expectOpenFile(path);
  dialogs->expectMessage("hinzugefügt werden?", MsgResult::Yes);
  dialogs->expectMessage("der Datenbank als \"Gitter_2.gsa\" zugefügt");
  f.mnuPopUp_Click(3);
  EXPECT_EQ(bytesOf(dbFile("Gitter.gsa")), older);
  EXPECT_EQ(bytesOf(dbFile("Gitter_2.gsa")), bytesOf(kSelectionData + "Testgitter.gsa"));
  // The row describes the file the set will use.
  ASSERT_EQ(f.GridNTv2Sys->RowCount(), 3);
  EXPECT_EQ(f.GridNTv2Sys->CellText(3, "Name"), "DHDN");
  EXPECT_EQ(f.GridNTv2Sys->CellText(3, "Trafosatz"), "Gitter_2.gsa");
  EXPECT_EQ(f.GridNTv2Sys->CellText(3, "Startsystem"), "RD83");
  EXPECT_TRUE(dialogs->allDone());
}

TEST_F(TableEditorTest, Ntv2FileThatCannotBeUsedAddsNoRow) {
  FormOrvenil& f = startWithTables();
  f.sevTabStrip1->SelectTab(4);

  // Cancelled dialog.
  dialogs->expectOpenFileCancel();
  f.mnuPopUp_Click(3);
  // No file of that name.
  const QString missing = root.path() + "/Eingang/fehlt.gsa";
  dialogs->expectOpenFile(missing);
  dialogs->expectMessage("NTv2-Trafosatz \"fehlt.gsa\" wurde nicht vorgefunden!   ");
  f.mnuPopUp_Click(3);
  // The answer No.
  const QString path = outsideFile("Testgitter.gsa", "Gitter.gsa");
  dialogs->expectOpenFile(path);
  dialogs->expectMessage("hinzugefügt werden?", MsgResult::No);
  f.mnuPopUp_Click(3);
  EXPECT_FALSE(QFile::exists(dbFile("Gitter.gsa")));
  // The copy fails (a folder holds the name).
  ASSERT_TRUE(QDir(folders.databaseFolder).mkdir("Gitter.gsa"));
  dialogs->expectOpenFile(path);
  dialogs->expectMessage("hinzugefügt werden?", MsgResult::Yes);
  dialogs->expectMessage("NTv2-Trafosatz \"Gitter.gsa\" konnte nicht in den Ordner");
  f.mnuPopUp_Click(3);

  EXPECT_TRUE(dialogs->allDone());
  EXPECT_EQ(f.GridNTv2Sys->RowCount(), 2);
  EXPECT_EQ(bytesOf(dbFile("sys_NTv2.dat")), bytesOf(testDataFile("sys_NTv2.dat")));
}

TEST_F(TableEditorTest, ParameterFileImportReadsEveryLine) {
  for (const bool lfOnly : {false, true}) {
    SCOPED_TRACE(lfOnly ? "LF only" : "CR LF");
    FormOrvenil& f = startWithTables();
    const QString path = outsideFile("Parameter_ohne_Zeilenende.dat", "Parameter.dat", lfOnly);
    f.sevTabStrip1->SelectTab(3);
    dialogs->expectOpenFile(path);
    dialogs->expectMessage("Sollen die Transformationsparameter der Datei \"" + path + "\" hinzugefügt werden?   ",
                           MsgResult::Yes);
    f.mnuPopUp_Click(3);
    EXPECT_TRUE(dialogs->allDone());
    EXPECT_EQ(dialogs->fileRequests().first().filter, "3-D Transformationsparameter (*.dat)|*.dat|");
    ASSERT_EQ(f.GridTrafoSys->RowCount(), 5);
    EXPECT_EQ(f.GridTrafoSys->CellText(4, "Name"), "Satz Vier");
    // The last line has no line end and is read all the same.
    EXPECT_EQ(f.GridTrafoSys->CellText(5, "Name"), "Satz Fünf");
    EXPECT_EQ(f.GridTrafoSys->CellText(5, "MF"), "8");
    EXPECT_EQ(LinesOf(dbFile("sys_7Parameter.dat")).size(), 5);
    dialogs->clearRecords();
  }
}

TEST_F(TableEditorTest, ParameterFileMissingOrDeclined) {
  FormOrvenil& f = startWithTables();
  f.sevTabStrip1->SelectTab(3);
  dialogs->expectOpenFile(root.path() + "/gibt-es-nicht.dat");
  f.mnuPopUp_Click(3);  // silently nothing
  const QString path = outsideFile("Parameter_ohne_Zeilenende.dat", "Parameter.dat");
  dialogs->expectOpenFile(path);
  dialogs->expectMessage("Sollen die Transformationsparameter", MsgResult::No);
  f.mnuPopUp_Click(3);
  // A UTF-16 file is named, not read as other letters.
  QFile utf16(path);
  ASSERT_TRUE(utf16.open(QIODevice::WriteOnly) && utf16.write(QByteArray("\xFF\xFEN\0;\0", 6)) == 6);
  utf16.close();
  dialogs->expectOpenFile(path);
  dialogs->expectMessage("Sollen die Transformationsparameter", MsgResult::Yes);
  dialogs->expectMessage("Parameter.dat konnte nicht gelesen werden: Die Datei ist UTF-16-kodiert");
  f.mnuPopUp_Click(3);
  EXPECT_TRUE(dialogs->allDone());
  EXPECT_EQ(f.GridTrafoSys->RowCount(), 3);
}

TEST_F(TableEditorTest, SaveWithReportAndAddedRows) {
  FormOrvenil& f = startWithTables();
  f.sevTabStrip1->SelectTab(3);
  f.mnuPopUp_Click(2);
  EXPECT_EQ(f.GridTrafoSys->RowCount(), 4);
  EXPECT_EQ(LinesOf(dbFile("sys_7Parameter.dat")).size(), 4);

  dialogs->expectMessage("Daten nach " + folders.databaseFolder + "\nsys_7Parameter.dat und  *.fil gespeichert!   ");
  f.mnuPopUp_Click(4);
  EXPECT_TRUE(dialogs->allDone());
  EXPECT_EQ(dialogs->messages().last().title, "Daten speichern");
  EXPECT_EQ(dialogs->messages().last().icon, MsgIcon::Information);

  f.sevTabStrip1->SelectTab(4);
  dialogs->expectMessage("Daten nach " + folders.databaseFolder + "\nsys_NTv2.fil und sys_NTv2.dat gespeichert!   ");
  f.mnuPopUp_Click(4);
  EXPECT_TRUE(dialogs->allDone());

  // The saved grid file is what the next start loads.
  form.reset();
  FormOrvenil& again = start();
  EXPECT_EQ(again.GridTrafoSys->RowCount(), 4);
}

TEST_F(TableEditorTest, UnreadableGridFileIsKeptUntilSavedOnRequest) {
  putAllTables();
  putTable("unreadable.fil", "sys_7Parameter.fil");
  dialogs->expectMessage("Während des Lesens der Daten ist ein Fehler aufgetreten.");
  FormOrvenil& f = start();
  dialogs->clearRecords();
  const QByteArray unreadable = bytesOf(testDataFile("unreadable.fil"));

  f.sevTabStrip1->SelectTab(3);
  f.mnuPopUp_Click(2);
  EXPECT_EQ(f.GridTrafoSys->RowCount(), 4);
  EXPECT_EQ(bytesOf(dbFile("sys_7Parameter.fil")), unreadable);
  EXPECT_EQ(bytesOf(dbFile("sys_7Parameter.dat")), bytesOf(testDataFile("sys_7Parameter.dat")));
  EXPECT_TRUE(dialogs->messages().isEmpty());

  dialogs->expectMessage("sys_7Parameter.dat und  *.fil gespeichert!");
  f.mnuPopUp_Click(4);
  EXPECT_TRUE(dialogs->allDone());
  EXPECT_NE(bytesOf(dbFile("sys_7Parameter.fil")), unreadable);
  EXPECT_FALSE(f.GridFileUnreadable(SystemTable::TrafoSys));
  EXPECT_EQ(LinesOf(dbFile("sys_7Parameter.dat")).size(), 4);
}

TEST_F(TableEditorTest, GeoidModelTableIsLocked) {
  FormOrvenil& f = startWithTables();
  const QByteArray fil = bytesOf(dbFile("Quasigeoidmodell.fil"));
  f.sevTabStrip1->SelectTab(5);
  f.GridGeoidmodell->SelectRows({1});
  for (int item = 0; item < 6; ++item) {
    dialogs->expectMessage("Zur Zeit kann das Geoidmodell nicht bearbeitet werden!   ");
    f.mnuPopUp_Click(item);
  }
  EXPECT_TRUE(dialogs->allDone());
  EXPECT_EQ(dialogs->messages().first().title, "Geoidundulation");
  EXPECT_EQ(f.GridGeoidmodell->RowCount(), 1);
  EXPECT_FALSE(f.GridGeoidmodell->EditMode());
  EXPECT_EQ(bytesOf(dbFile("Quasigeoidmodell.fil")), fil);

  // Other tabs: the menu does nothing.
  f.sevTabStrip1->SelectTab(1);
  f.mnuPopUp_Click(2);
  EXPECT_EQ(dialogs->messages().size(), 6);
}

TEST_F(TableEditorTest, LinkReachesTheBrowserAsOneArgument) {
  FormOrvenil& f = startWithTables();
  QFile(folders.programFolder + "OrvenilHilfe.htm").open(QIODevice::WriteOnly);
  f.sevTabStrip1->SelectTab(4);
  const QString link = "https://example.org/lizenz?a=1&b=2;echo x $(id) 'q'";
  f.GridNTv2Sys->SetCellText(1, "Lizenz", link);
  f.GridNTv2Sys->SetCurrentRow(1);
  f.mnuPopUp_Click(5);
  QStringList received = dialogs->openedUrls();
  for (const QStringList& started : dialogs->startedPrograms()) received << started.mid(1);
  EXPECT_EQ(received, QStringList{link});

  // An empty link opens nothing.
  dialogs->clearRecords();
  f.GridNTv2Sys->SetCurrentRow(2);
  f.mnuPopUp_Click(5);
  EXPECT_TRUE(dialogs->openedUrls().isEmpty());
  EXPECT_TRUE(dialogs->startedPrograms().isEmpty());

  // The parameter table has no link.
  f.sevTabStrip1->SelectTab(3);
  f.mnuPopUp_Click(5);
  EXPECT_TRUE(dialogs->openedUrls().isEmpty());
  EXPECT_TRUE(dialogs->startedPrograms().isEmpty());
}

TEST_F(TableEditorTest, RightClickMenuEditModeAndTabChange) {
  FormOrvenil& f = startWithTables();
  f.sevTabStrip1->SelectTab(3);
  f.GridTrafoSys->SetCurrentRow(2);
  // A left click shows no menu.
  f.GridTrafoSys_MouseUp(1, 3);
  // A right click remembers the column and shows the menu; "Zeile bearbeiten".
  dialogs->expectPopupMenu([](QMenu* menu) {
    ASSERT_EQ(menu->actions().size(), 6);
    EXPECT_EQ(menu->actions()[0]->text(), "Zeile bearbeiten");
    menu->actions()[0]->trigger();
  });
  f.GridTrafoSys_MouseUp(2, 3);
  EXPECT_TRUE(dialogs->allDone());
  EXPECT_EQ(f.GridTrafoSys->Tag(), "3");
  EXPECT_TRUE(f.GridTrafoSys->EditMode());

  f.sevTabStrip1->SelectTab(4);
  f.mnuPopUp_Click(0);
  EXPECT_TRUE(f.GridNTv2Sys->EditMode());
  // Another tab ends editing everywhere.
  f.sevTabStrip1->SelectTab(1);
  EXPECT_FALSE(f.GridTrafoSys->EditMode());
  EXPECT_FALSE(f.GridNTv2Sys->EditMode());
  EXPECT_FALSE(f.GridGeoidmodell->EditMode());
}

// A save of a table unchanged since start-up still writes every file that is
// missing or holds other rows, and reports only what it wrote; the end
// command writes the NTv2 table the same way.
TEST_F(TableEditorTest, SaveOfAnUnchangedTableWritesMissingOrChangedFiles) {
  FormOrvenil& f = startWithTables();
  const QByteArray parameters = bytesOf(dbFile("sys_7Parameter.dat"));
  const QByteArray ntv2 = bytesOf(dbFile("sys_NTv2.dat"));
  ASSERT_TRUE(QFile::remove(dbFile("sys_7Parameter.dat")) && QFile::remove(dbFile("sys_7Parameter.fil")));
  f.sevTabStrip1->SelectTab(3);
  dialogs->expectMessage("sys_7Parameter.dat und  *.fil gespeichert!");
  f.mnuPopUp_Click(4);
  EXPECT_TRUE(dialogs->allDone());
  EXPECT_EQ(bytesOf(dbFile("sys_7Parameter.dat")), parameters);
  EXPECT_TRUE(QFile::exists(dbFile("sys_7Parameter.fil")));

  // A text file cut by hand is written again from the table.
  QFile cut(dbFile("sys_NTv2.dat"));
  ASSERT_TRUE(cut.open(QIODevice::WriteOnly) && cut.write(ntv2.left(10)) == 10);
  cut.close();
  f.sevTabStrip1->SelectTab(4);
  dialogs->expectMessage("sys_NTv2.fil und sys_NTv2.dat gespeichert!");
  f.mnuPopUp_Click(4);
  EXPECT_TRUE(dialogs->allDone());
  EXPECT_EQ(bytesOf(dbFile("sys_NTv2.dat")), ntv2);

  // A save that fails reports the failure and no success.
  ASSERT_TRUE(QFile::remove(dbFile("sys_NTv2.fil")));
  ASSERT_TRUE(QDir(folders.databaseFolder).mkdir("sys_NTv2.fil"));
  dialogs->expectMessage("Während des Speicherns ist ein Fehler aufgetreten!");
  dialogs->expectMessage("Während des Speicherns ist ein Fehler aufgetreten!");
  f.mnuPopUp_Click(4);
  EXPECT_TRUE(dialogs->allDone());
  ASSERT_TRUE(QDir(folders.databaseFolder).rmdir("sys_NTv2.fil"));

  ASSERT_TRUE(QFile::remove(dbFile("sys_NTv2.dat")));
  f.Coolbar2_ButtonClick("btnDBEnde");
  EXPECT_EQ(bytesOf(dbFile("sys_NTv2.dat")), ntv2);
  EXPECT_TRUE(QFile::exists(dbFile("sys_NTv2.fil")));
}
