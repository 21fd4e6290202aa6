#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <atomic>
#include <map>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "MainWindowFixture.h"
#include "shell/CoordinateDatabase.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/OptionArray.h"
#include "platform/ui/VbCheckBox.h"
#include "platform/ui/VbComboBox.h"
#include "platform/ui/VbStatusBar.h"
#include "platform/ui/VbTabStrip.h"
#include "platform/ui/VbTextBox.h"
#include "platform/ui/VbToolBar.h"

using namespace orv;

TEST_F(MainWindowTest, StartUpFillsTablesListsAndState) {
  putAllTables();
  // Left over from earlier runs: only the program's own temporary databases go.
  QFile(folders.tempFolder + "tmp_dao_orvenil_01012020101010.mdb").open(QIODevice::WriteOnly);
  QFile(folders.tempFolder + "tmp_dao_orvenil_h_01012020101010.mdb").open(QIODevice::WriteOnly);
  QFile(folders.tempFolder + "tmp_dao_fremd.mdb").open(QIODevice::WriteOnly);

  FormOrvenil& f = start();
  EXPECT_TRUE(dialogs->messages().isEmpty()) << dialogs->messageTexts().join("\n").toStdString();
  EXPECT_EQ(f.windowTitle(), "Orvenil 2.0(9)");

  // Folders, in the case they were given.
  EXPECT_EQ(State().DatenbankVerzeichnis, folders.databaseFolder);
  EXPECT_EQ(State().TempVerzeichnis, folders.tempFolder);

  // Tables and their rows.
  EXPECT_EQ(f.GridKoordSys->RowCount(), 4);
  EXPECT_EQ(f.GridKoordSys->CellText(3, "Bemerkung"), "RD40/83 = PD83");
  ASSERT_EQ(f.GridTrafoSys->RowCount(), 3);
  EXPECT_EQ(f.GridTrafoSys->CellText(2, "Modell"), "Molodensky Badekas");
  EXPECT_EQ(f.GridTrafoSys->CellText(3, "Name"), "Satz Drei mit Umlaut Höhe");
  EXPECT_EQ(f.GridTrafoSys->CellText(2, "z0"), "4900000");
  EXPECT_EQ(f.GridNTv2Sys->RowCount(), 2);
  EXPECT_EQ(f.GridGeoidmodell->RowCount(), 1);
  EXPECT_EQ(f.GridGeoidmodell->CellText(1, "Geoid-App"), "saphtel.exe");
  for (const char* fil : {"sys_7Parameter.fil", "sys_NTv2.fil", "Quasigeoidmodell.fil"})
    EXPECT_TRUE(QFileInfo::exists(dbFile(fil))) << fil;
  // The parameter text file is not written back; the others are, unchanged.
  EXPECT_EQ(bytesOf(dbFile("sys_7Parameter.dat")),
            bytesOf(QStringLiteral(ORV_TEST_DATA_DIR) + "/window/sys_7Parameter.dat"));
  EXPECT_EQ(bytesOf(dbFile("sys_NTv2.dat")), bytesOf(QStringLiteral(ORV_TEST_DATA_DIR) + "/window/sys_NTv2.dat"));
  // Column widths: at least the caption rule (500 twips or more), wide
  // enough for the cells.
  for (DataGrid* g : {f.GridKoordSys, f.GridTrafoSys, f.GridNTv2Sys, f.GridGeoidmodell})
    for (int c = 1; c <= g->ColumnCount(); ++c) {
      const QString key = g->ColumnKey(c);
      EXPECT_GE(g->ColumnWidth(key), FittedColumnWidth(g->TextWidthTwips(g->ColumnCaption(key)))) << key.toStdString();
    }
  EXPECT_GE(f.GridKoordSys->ColumnWidth("A"), 500);
  EXPECT_GT(f.GridTrafoSys->ColumnWidth("Name"), f.GridTrafoSys->TextWidthTwips("Satz Drei mit Umlaut"));

  // Choice lists.
  EXPECT_EQ(f.cmbStartsys->ListCount(), 4);
  EXPECT_EQ(f.cmbStartsys->List(2), "Bessel");
  ASSERT_EQ(f.cmbGeoidmodell->ListCount(), 2);
  EXPECT_EQ(f.cmbGeoidmodell->List(0), "ohne");
  EXPECT_EQ(f.cmbGeoidmodell->List(1), "EGM96 Deutschland");
  EXPECT_EQ(f.cmbGeoidmodell->Text(), "ohne");
  ASSERT_EQ(f.ComboTrafoPara->ListCount(), 3);
  EXPECT_EQ(f.ComboTrafoPara->List(0), "Satz Eins");
  EXPECT_EQ(f.ComboTrafoPara->Text(), "ohne");

  // Program-wide state.
  EXPECT_FALSE(State().ImportDateiGewaehlt);
  EXPECT_FALSE(State().GeoidBereit);
  EXPECT_EQ(State().GeoidApp, "");
  EXPECT_EQ(State().GeoidfeldDateiname, "");
  EXPECT_TRUE(SeparatorsUnchanged());

  // Temporary databases: old ones gone, the three new ones there.
  EXPECT_FALSE(QFileInfo::exists(folders.tempFolder + "tmp_dao_orvenil_01012020101010.mdb"));
  EXPECT_FALSE(QFileInfo::exists(folders.tempFolder + "tmp_dao_orvenil_h_01012020101010.mdb"));
  EXPECT_TRUE(QFileInfo::exists(folders.tempFolder + "tmp_dao_fremd.mdb"));
  EXPECT_TRUE(State().KooDbPfad.startsWith(folders.tempFolder + "tmp_dao_orvenil_"));
  EXPECT_TRUE(QFileInfo::exists(State().KooDbPfad));
  EXPECT_TRUE(QFileInfo::exists(State().GsaDbPfad));
  EXPECT_TRUE(QFileInfo::exists(State().GeoidDbPfad));
  EXPECT_EQ(f.GridKooDb->RowCount(), 0);

  // Status bar, tab, dialogs, timer.
  ASSERT_EQ(f.xpStatusBar1->PanelCount(), 10);
  EXPECT_EQ(f.xpStatusBar1->PanelKeys().first(), "1");
  EXPECT_EQ(f.xpStatusBar1->PanelKeys().last(), "10");
  EXPECT_EQ(f.xpStatusBar1->PanelText(1), "Status  ");
  EXPECT_EQ(f.xpStatusBar1->PanelText(2), "");
  EXPECT_EQ(f.sevTabStrip1->SelectedTab(), 1);
  EXPECT_EQ(f.sevTabStrip1->TabCount(), 5);
  EXPECT_EQ(f.CommonDialog1.FilterIndex, 2);
  EXPECT_FALSE(f.TimerAllg->isActive());

  // Buttons and panels at first display.
  EXPECT_TRUE(f.Coolbar2->IsEnabled("btnDbÖffnen"));
  EXPECT_FALSE(f.Coolbar2->IsEnabled("btnDbSpeichernUnter"));
  EXPECT_TRUE(f.Coolbar2->IsEnabled("btnGoogleMap"));
  EXPECT_TRUE(f.Coolbar2->IsEnabled("btnNTv2"));
  EXPECT_TRUE(f.Coolbar2->IsEnabled("btnDBEnde"));
  EXPECT_TRUE(f.cmdAuswahlImport->isEnabled());
  EXPECT_TRUE(f.AuswahlTrafoTyp->isSelected(0));
  EXPECT_TRUE(f.AuswahlTrafoRichtung->isSelected(0));
  EXPECT_TRUE(f.BtZoneStart->isChecked());
  EXPECT_FALSE(f.cmdTrafoStart->isEnabled());
  EXPECT_FALSE(f.AuswahlTrafoTyp->button(1)->isEnabled());
  EXPECT_FALSE(f.AuswahlTrafoRichtung->button(1)->isEnabled());
  EXPECT_FALSE(f.Startsys->button(0)->isEnabled());
  EXPECT_FALSE(f.cmbStartsys->isEnabled());
  EXPECT_FALSE(f.chkZoneIndividuell->isEnabled());
  EXPECT_EQ(f.txtTrafoParaStart->Text(), "ohne");
}

TEST_F(MainWindowTest, MissingTextFilesAreReportedAndTheRestStarts) {
  putTable("sys_NTv2.dat");
  FormOrvenil& f = [&]() -> FormOrvenil& {
    dialogs->expectMessage("Transformationsdaten '" + folders.databaseFolder + "sys_7Parameter.dat' fehlen!");
    dialogs->expectMessage("Transformationsdaten " + folders.databaseFolder + "Quasigeoidmodell.dat fehlen!");
    return start();
  }();
  EXPECT_TRUE(dialogs->allDone());
  EXPECT_EQ(f.GridTrafoSys->RowCount(), 0);
  EXPECT_EQ(f.ComboTrafoPara->ListCount(), 0);
  EXPECT_EQ(f.GridNTv2Sys->RowCount(), 2);
  // The geoid table is written back even when empty; its list offers "ohne" only.
  EXPECT_TRUE(QFileInfo::exists(dbFile("Quasigeoidmodell.dat")));
  EXPECT_TRUE(QFileInfo::exists(dbFile("Quasigeoidmodell.fil")));
  EXPECT_FALSE(QFileInfo::exists(dbFile("sys_7Parameter.fil")));
  EXPECT_EQ(f.cmbGeoidmodell->ListCount(), 1);
  EXPECT_EQ(f.xpStatusBar1->PanelCount(), 10);
  EXPECT_TRUE(QFileInfo::exists(State().KooDbPfad));
}

TEST_F(MainWindowTest, GridFileRoundTripRewritesTheTextFile) {
  putAllTables();
  start();
  const QByteArray before = bytesOf(dbFile("sys_NTv2.dat"));
  ASSERT_TRUE(QFile::remove(dbFile("sys_NTv2.dat")));
  // A grid file is preferred over the text file, which is written from it.
  QFile::remove(dbFile("sys_7Parameter.dat"));
  FormOrvenil& f = start();
  EXPECT_TRUE(dialogs->messages().isEmpty()) << dialogs->messageTexts().join("\n").toStdString();
  ASSERT_EQ(f.GridNTv2Sys->RowCount(), 2);
  EXPECT_EQ(f.GridNTv2Sys->CellText(2, "Name"), "Sachsen TARQ-SN");
  EXPECT_EQ(f.GridNTv2Sys->CellText(1, "Lizenz"), "https://crs.bkg.bund.de");
  EXPECT_EQ(bytesOf(dbFile("sys_NTv2.dat")), before);
  EXPECT_EQ(f.GridTrafoSys->RowCount(), 3);
  EXPECT_EQ(f.GridTrafoSys->CellText(3, "Name"), "Satz Drei mit Umlaut Höhe");
  EXPECT_FALSE(QFileInfo::exists(dbFile("sys_7Parameter.dat")));
}

TEST_F(MainWindowTest, UnreadableGridFileIsNeverOverwritten) {
  putAllTables();
  putTable("unreadable.fil", "sys_NTv2.fil");
  putTable("unreadable.fil", "sys_7Parameter.fil");
  const QByteArray unreadable = bytesOf(dbFile("sys_NTv2.fil"));
  dialogs->expectMessage("Während des Lesens der Daten ist ein Fehler aufgetreten.");
  dialogs->expectMessage("Während des Lesens der Daten ist ein Fehler aufgetreten.");
  FormOrvenil& f = start();
  EXPECT_TRUE(dialogs->allDone());
  // The text files stand in for the unreadable grid files.
  EXPECT_EQ(f.GridTrafoSys->RowCount(), 3);
  EXPECT_EQ(f.GridNTv2Sys->RowCount(), 2);
  EXPECT_EQ(f.ComboTrafoPara->ListCount(), 3);
  EXPECT_TRUE(f.GridFileUnreadable(SystemTable::NTv2Sys));
  EXPECT_EQ(bytesOf(dbFile("sys_NTv2.fil")), unreadable);
  EXPECT_EQ(bytesOf(dbFile("sys_7Parameter.fil")), unreadable);

  // Nor by the end command's save.
  f.Coolbar2_ButtonClick("btnDBEnde");
  EXPECT_EQ(bytesOf(dbFile("sys_NTv2.fil")), unreadable);
  EXPECT_EQ(dialogs->exitCode(), 0);
}

TEST_F(MainWindowTest, UnusableTemporaryFolderIsReported) {
  putAllTables();
  QFile(root.path() + "/Datei").open(QIODevice::WriteOnly);
  folders.tempFolder = root.path() + "/Datei/Temp/";
  dialogs->expectMessage(TemporaryFolderUnusableMessage(folders.tempFolder));
  FormOrvenil& f = start();
  EXPECT_TRUE(dialogs->allDone());
  EXPECT_TRUE(State().KooDbPfad.isEmpty());
  EXPECT_EQ(f.GridTrafoSys->RowCount(), 3);  // the rest of start-up ran
}

TEST_F(MainWindowTest, GridFileWithAHugeRowCountIsUnreadableAndKeptWithItsTextFile) {
  putAllTables();
  start();
  form.reset();
  const QByteArray damaged = bytesOf(dbFile("sys_NTv2.fil")).replace("\nrows\t2\n", "\nrows\t2147483647\n");
  QFile file(dbFile("sys_NTv2.fil"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(damaged) == damaged.size());
  file.close();
  const QByteArray text = bytesOf(dbFile("sys_NTv2.dat"));
  dialogs->expectMessage("Während des Lesens der Daten ist ein Fehler aufgetreten.");
  FormOrvenil& f = start();
  EXPECT_TRUE(dialogs->allDone());
  EXPECT_EQ(f.GridNTv2Sys->RowCount(), 2);  // from the text file
  f.Coolbar2_ButtonClick("btnDBEnde");
  EXPECT_TRUE(bytesOf(dbFile("sys_NTv2.fil")) == damaged);
  EXPECT_TRUE(bytesOf(dbFile("sys_NTv2.dat")) == text);
}

TEST_F(MainWindowTest, TabInsideATextFileCellKeepsEveryCellInPlace) {
  putAllTables();
  const QByteArray original = bytesOf(QStringLiteral(ORV_TEST_DATA_DIR) + "/window/sys_NTv2.dat");
  const QByteArray withTab = QByteArray(original).replace("Sachsen TARQ", "Sachsen\tTARQ");
  QFile file(dbFile("sys_NTv2.dat"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(withTab) == withTab.size());
  file.close();
  dialogs->expectMessage("In der Datei " + dbFile("sys_NTv2.dat") +
                         " wurden Tabulatorzeichen innerhalb eines Feldes als Leerzeichen gelesen (Zeile 2).");
  FormOrvenil& f = start();
  EXPECT_TRUE(dialogs->allDone());
  ASSERT_EQ(f.GridNTv2Sys->RowCount(), 2);
  EXPECT_EQ(f.GridNTv2Sys->CellText(2, "Name"), "Sachsen TARQ-SN");
  EXPECT_EQ(f.GridNTv2Sys->CellText(2, "Geltungsbereich"), "Sachsen");
  // Written back with every cell where it was; a cell holding a separator
  // is written with a blank in its place.
  EXPECT_EQ(bytesOf(dbFile("sys_NTv2.dat")), original);
  f.GridNTv2Sys->SetCellText(1, "Name", "A;B\tC");
  f.Coolbar2_ButtonClick("btnDBEnde");
  EXPECT_TRUE(bytesOf(dbFile("sys_NTv2.dat")).startsWith("A B C;BETA2007.gsa;"));
}

TEST_F(MainWindowTest, TextFileWithLfLineEndsLoadsRowByRow) {
  putAllTables();
  putTable("sys_7Parameter_lf.dat", "sys_7Parameter.dat");
  FormOrvenil& f = start();
  ASSERT_EQ(f.GridTrafoSys->RowCount(), 3);
  EXPECT_EQ(f.GridTrafoSys->CellText(1, "z0"), "0");
  EXPECT_EQ(f.GridTrafoSys->CellText(2, "Name"), "Satz Zwei");
}

TEST_F(MainWindowTest, CommandLineTimerHandsTheFileNameOn) {
  putAllTables();
  FormOrvenil& f = start("\"/Daten/Messung 1/Punkte.TXT\"");
  EXPECT_EQ(f.commandLineFile(), "/Daten/Messung 1/Punkte.TXT");
  EXPECT_TRUE(f.TimerAllg->isActive());
  EXPECT_EQ(f.TimerAllg->interval(), 500);
  // Its first tick stops it and starts the import with that name, case kept.
  dialogs->expectOpenFileCancel();
  f.TimerAllg_Timer();
  EXPECT_FALSE(f.TimerAllg->isActive());
  ASSERT_EQ(dialogs->fileRequests().size(), 1);
  EXPECT_EQ(dialogs->fileRequests()[0].fileName, "/Daten/Messung 1/Punkte.TXT");
  EXPECT_TRUE(dialogs->allDone());
}

TEST_F(MainWindowTest, CommandLineOfOnlyQuotesLeavesTheTimerOff) {
  putAllTables();
  EXPECT_EQ(CleanCommandLine("\"\""), "");
  FormOrvenil& f = start("\"\"");
  EXPECT_FALSE(f.TimerAllg->isActive());
}

TEST_F(MainWindowTest, HelpKeyOpensThePageBesideTheProgram) {
  putAllTables();
  FormOrvenil& f = start();
  f.Coolbar2_ButtonClick("btnHilfe");  // no page: nothing happens
  EXPECT_TRUE(dialogs->openedUrls().isEmpty());
  QFile::copy(QStringLiteral(ORV_SOURCE_DIR) + "/data/OrvenilHilfe.htm", folders.programFolder + "OrvenilHilfe.htm");
  f.Coolbar2_ButtonClick("btnHilfe");
  ASSERT_EQ(dialogs->openedUrls().size(), 1);
  EXPECT_EQ(dialogs->openedUrls().first(), folders.programFolder + "OrvenilHilfe.htm");

  // With a browser registered for the page, the key starts that browser with the page.
  const QString bin = root.path() + "/bin";
  QDir().mkpath(bin);
  QFile browser(bin + "/xdg-open");
  ASSERT_TRUE(browser.open(QIODevice::WriteOnly));
  browser.write("#!/bin/sh\n");
  browser.close();
  browser.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", bin.toLocal8Bit() + ":" + path);
  f.Coolbar2_ButtonClick("btnHilfe");
  EXPECT_EQ(dialogs->startedPrograms(),
            (QList<QStringList>{{"xdg-open", folders.programFolder + "OrvenilHilfe.htm"}}));

  // No browser comes up: the user is told which file to open.
  dialogs->setProgramStartsFail(true);
  dialogs->expectMessage(folders.programFolder + "OrvenilHilfe.htm");
  f.Coolbar2_ButtonClick("btnHilfe");
  qputenv("PATH", path);
  EXPECT_TRUE(dialogs->allDone()) << dialogs->failures().join("|").toStdString();
}

// A grid file of another table (a copied geoid-model file, or one with no
// columns at all) is unreadable like a damaged one: the text file is read
// and neither file loses its rows.
TEST_F(MainWindowTest, GridFileOfAnotherTableIsUnreadableAndTheTextFileKept) {
  putAllTables();
  start();
  form.reset();
  ASSERT_TRUE(QFile::copy(dbFile("Quasigeoidmodell.fil"), dbFile("sys_NTv2.fil.neu")));
  QFile::remove(dbFile("sys_NTv2.fil"));
  ASSERT_TRUE(QFile::rename(dbFile("sys_NTv2.fil.neu"), dbFile("sys_NTv2.fil")));
  const QByteArray noColumns("ORVENIL-GRID\t1\ncolumns\t0\nrows\t1\nrow\nend\n");
  QFile file(dbFile("sys_7Parameter.fil"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(noColumns) == noColumns.size());
  file.close();
  const QByteArray foreign = bytesOf(dbFile("sys_NTv2.fil"));
  const QByteArray text = bytesOf(dbFile("sys_NTv2.dat"));
  dialogs->expectMessage("Während des Lesens der Daten ist ein Fehler aufgetreten.");
  dialogs->expectMessage("Während des Lesens der Daten ist ein Fehler aufgetreten.");
  FormOrvenil& f = start();
  EXPECT_TRUE(dialogs->allDone());
  EXPECT_EQ(f.GridTrafoSys->RowCount(), 3);
  EXPECT_EQ(f.GridTrafoSys->ColumnCount(), 16);
  ASSERT_EQ(f.GridNTv2Sys->RowCount(), 2);
  EXPECT_EQ(f.GridNTv2Sys->CellText(1, "Name"), "BeTA2007");
  EXPECT_EQ(bytesOf(dbFile("sys_NTv2.dat")), text);
  f.Coolbar2_ButtonClick("btnDBEnde");
  EXPECT_EQ(bytesOf(dbFile("sys_NTv2.dat")), text);
  EXPECT_EQ(bytesOf(dbFile("sys_NTv2.fil")), foreign);
  EXPECT_EQ(bytesOf(dbFile("sys_7Parameter.fil")), noColumns);
}

// Text files that cannot be read (no read right, UTF-16) are named with the
// reason; none is written over and no grid file is made from the empty
// table. Root reads every file, so the window runs again in a user namespace
// where the files belong to a user it is not.
TEST_F(MainWindowTest, UnreadableTextFileIsNamedAndNeverWrittenOver) {
  const char* inside = "ORV_TEST_UNREADABLE_TABLES_ROOT";
  const QStringList dats{"sys_7Parameter.dat", "sys_NTv2.dat", "Quasigeoidmodell.dat"};
  if (qEnvironmentVariableIsEmpty(inside)) {
    putAllTables();
    const QString geoid = QString::fromLatin1(bytesOf(dbFile("Quasigeoidmodell.dat")));
    QFile utf16(dbFile("Quasigeoidmodell.dat"));
    ASSERT_TRUE(utf16.open(QIODevice::WriteOnly));
    utf16.write(QByteArray("\xFF\xFE") +
                QByteArray(reinterpret_cast<const char*>(geoid.utf16()), geoid.size() * 2));
    utf16.close();
    QStringList wrapper;
    for (const auto& [name, mode] : {std::pair{"sys_7Parameter.dat", 0000}, std::pair{"sys_NTv2.dat", 0222}}) {
      const QByteArray path = QFile::encodeName(dbFile(name));
      ASSERT_EQ(::chmod(path.constData(), mode), 0);
      if (::geteuid() == 0) {
        ASSERT_EQ(::chown(path.constData(), 54321, 54321), 0);
      }
    }
    std::map<QString, QByteArray> before;
    for (const QString& name : dats) before[name] = bytesOf(dbFile(name));
    if (::geteuid() == 0) {
      if (QProcess::execute("unshare", {"-r", "true"}) != 0)
        GTEST_SKIP() << "no user namespace on this machine (unshare -r refused)";
      wrapper << "unshare" << "-r";
    }
    QProcess self;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(inside, root.path());
    self.setProcessEnvironment(env);
    self.setProcessChannelMode(QProcess::MergedChannels);
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    wrapper << QCoreApplication::applicationFilePath()
            << QString("--gtest_filter=%1.%2").arg(test->test_suite_name(), test->name());
    self.start(wrapper.takeFirst(), wrapper);
    ASSERT_TRUE(self.waitForFinished(120000));
    const QString output = QString::fromLocal8Bit(self.readAll());
    EXPECT_EQ(self.exitCode(), 0) << output.toStdString();
    for (const QString& name : dats) EXPECT_EQ(bytesOf(dbFile(name)), before[name]) << name.toStdString();
    for (const char* fil : {"sys_7Parameter.fil", "sys_NTv2.fil", "Quasigeoidmodell.fil"})
      EXPECT_FALSE(QFileInfo::exists(dbFile(fil))) << fil;
    return;
  }
  const QString shared = qEnvironmentVariable(inside);
  folders.programFolder = shared + "/Programm/";
  folders.databaseFolder = folders.programFolder + "Orvenil-Datenbanken/";
  folders.tempFolder = shared + "/Temp/";
  const QString noRight = ": Zugriff verweigert (keine Leseberechtigung)";
  dialogs->expectMessage("Die Datei " + dbFile("sys_7Parameter.dat") + " konnte nicht gelesen werden" + noRight);
  dialogs->expectMessage("Die Datei " + dbFile("sys_NTv2.dat") + " konnte nicht gelesen werden" + noRight);
  dialogs->expectMessage("Die Datei " + dbFile("Quasigeoidmodell.dat") +
                         " konnte nicht gelesen werden: Die Datei ist UTF-16-kodiert");
  FormOrvenil& f = start();
  EXPECT_TRUE(dialogs->allDone());
  EXPECT_EQ(f.GridNTv2Sys->RowCount(), 0);
  EXPECT_EQ(f.GridGeoidmodell->RowCount(), 0);
  f.Coolbar2_ButtonClick("btnDBEnde");
  EXPECT_EQ(dialogs->exitCode(), 0);
}

// A named pipe in a table file's place is named, never opened and left; a
// guard opens its other end after 10 s, so that a blocked start-up fails here.
TEST_F(MainWindowTest, NamedPipeInPlaceOfATableFileIsNamedAndNeverOpened) {
  for (const auto& [file, gone, trafoRows] : {std::tuple{"sys_7Parameter.dat", "sys_7Parameter.fil", 0},
                                              {"sys_7Parameter.fil", "", 3},
                                              {"sys_NTv2.fil", "", 3}}) {
    putAllTables();
    start();  // the grid files, from the text files
    form.reset();
    if (*gone) QFile::remove(dbFile(gone));
    QFile::remove(dbFile(file));
    const QByteArray pipe = QFile::encodeName(dbFile(file));
    ASSERT_EQ(::mkfifo(pipe.constData(), 0600), 0);
    std::atomic<bool> done{false}, blocked{false};
    std::thread guard([&] {
      for (int ms = 0; !done; ms += 50, std::this_thread::sleep_for(std::chrono::milliseconds(50)))
        if (ms > 10000 && (blocked = true)) ::close(::open(pipe.constData(), O_RDWR | O_NONBLOCK));
    });
    dialogs->expectMessage(
        "Die Datei " + dbFile(file) +
        " konnte nicht gelesen werden: Der Name bezeichnet eine benannte Pipe (FIFO), keine Datei");
    FormOrvenil& f = start();
    f.Coolbar2_ButtonClick("btnDBEnde");
    done = true;
    guard.join();
    EXPECT_FALSE(blocked) << file;
    EXPECT_TRUE(dialogs->allDone()) << file;
    EXPECT_EQ(f.GridTrafoSys->RowCount(), trafoRows) << file;
    EXPECT_EQ(f.GridNTv2Sys->RowCount(), 2) << file;
    struct stat st {};
    EXPECT_TRUE(::stat(pipe.constData(), &st) == 0 && S_ISFIFO(st.st_mode)) << file;
    QFile::remove(dbFile(file));
  }
}
