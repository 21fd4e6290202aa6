// Bad input and the faults the import mends: every case ends with a clear
// message naming file and line (or the skip count), the rows before it
// stay, and nothing is half written.
#include <sqlite3.h>

#include <QCoreApplication>
#include <QDir>
#include <QProcess>

#include "ImportFixture.h"
#include "support/PrivateMountNamespace.h"
#include "io/ImportGeoidHeights.h"
#include "io/ImportLineFormats.h"
#include "platform/ui/VbCheckBox.h"
#include "platform/ui/VbStatusBar.h"
#include "platform/ui/VbTextBox.h"
#include "platform/ui/VbToolBar.h"
#include <QPushButton>
#include <QRadioButton>
#include "platform/ui/VbComboBox.h"
#include "platform/ui/VbStatusBar.h"

namespace {
const auto kGaussKrueger = [](orv::FormOrvenilSystemAuswahl& d) { d.Startsys->select(1); };
const QString kGood = "1 K1 4512345.678 5712345.678 101.5";
}  // namespace

TEST_F(ImportTest, BadLinesStopWithTheirFileAndLineAndKeepTheRowsBefore) {
  startWithTables(false);
  struct Case {
    QString bad;
    QString message;
  } cases[] = {
      {"2 K2 4512345,5 5712345.678 101.5", "Format: [P C X Y H] nicht vorgefunden!"},
      {"2 K2 4512345.5 1e999 101.5", "Format: [P C X Y H] nicht vorgefunden!"},
      {"2 K2 4512345.5", "Format: [P C X Y H] nicht vorgefunden!"},
      {"2 K2 4512345.5 5712345.678 12,5", "Format: [P C X Y H] nicht vorgefunden!"},
  };
  for (const Case& c : cases) {
    const QString path = writeFile("bad.txt", {kGood, c.bad, "3 K3 4512345.678 5712345.678 101.5"});
    runImport(path, 1, kGaussKrueger, [&] { dialogs->expectMessage(path + "', Zeile 2:\n"); });
    EXPECT_TRUE(dialogs->messageTexts().join("").contains(c.message)) << c.bad.toStdString();
    EXPECT_EQ(rows().size(), 1) << c.bad.toStdString();
    EXPECT_EQ(form->GridKooDb->RowCount(), 1);
  }
  EXPECT_TRUE(dialogs->allDone());
}

// Far into a file (past the blocks read ahead) the message still names the
// line of the file, and the rows before are committed with their index.
TEST_F(ImportTest, BadLineFarIntoTheFileNamesItsLineAndTheRowsBeforeAreCommitted) {
  startWithTables(false);
  QStringList lines;
  for (int i = 1; i < 30000; ++i) lines << QString("%1 K 4512345.678 %2.5 101.5").arg(i).arg(5700000 + i);
  lines[19999] = "x K 4512345,5 5712345.678 101.5";
  const QString path = writeFile("lang.txt", lines);
  runImport(path, 1, kGaussKrueger, [&] { dialogs->expectMessage(path + "', Zeile 20000:\nx"); });
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
  EXPECT_EQ(committedRows(), std::make_pair(19999, 19999));
}

// A row the database refuses (rows go to it in groups): the rows before it
// stay committed and the message names the refused row's own line.
TEST_F(ImportTest, RefusedRowKeepsTheRowsBeforeItAndIsNamed) {
  startWithTables(false);
  QStringList lines;
  for (int i = 1; i <= 30000; ++i) lines << QString("%1 K 4512345.678 %2.5 101.5").arg(i).arg(5700000 + i);
  const QString path = writeFile("lang.txt", lines);
  for (const int refused : {5, 19990}) {
    orv::Database db = orv::DBEngine::openDatabase(orv::State().KooDbPfad);
    db.execute("DROP TRIGGER IF EXISTS refuse");
    db.execute(QString("CREATE TRIGGER refuse BEFORE INSERT ON Daten WHEN NEW.id = %1"
                       " BEGIN SELECT RAISE(ABORT, 'refused'); END")
                   .arg(refused));
    runImport(path, 1, kGaussKrueger,
              [&] { dialogs->expectMessage(QString("', Zeile %1:\n%1\t").arg(refused)); });
    EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
    EXPECT_EQ(committedRows(), std::make_pair(refused - 1, refused - 1));
    dialogs->clearRecords();
  }
}

// An error while a line is read (a number that overflows) ends the import
// there; every row read before it is stored first.
TEST_F(ImportTest, ErrorWhileReadingKeepsEveryRowBeforeIt) {
  startWithTables(false);
  QStringList lines{"Latitude,Longitude,Height,a,b,c,Time"};
  for (int i = 0; i < 1000; ++i) lines << QString("51.%1,12.1779,101.5,x,x,x,2023-05-01T10:00:00").arg(5000 + i);
  lines << "1e999,12.1779,101.5,x,x,x,2023-05-01T10:00:00";
  const QString path = writeFile("fahrt_2023-05-01_10.00.00_Track3.vorsel", lines);
  form->CommonDialog1.FileName = path;
  dialogs->expectOpenFile(path, orv::kFilterVesselB);
  expectStartData({});
  dialogs->setAcceptOkMessages(true);
  dialogs->expectSaveFileCancel();
  form->Coolbar2_ButtonClick(orv::kKeyDbOeffnen);
  EXPECT_TRUE(dialogs->messageTexts().join("|").contains("', Zeile 1002:\n1e999"))
      << dialogs->messageTexts().join("|").toStdString();
  EXPECT_EQ(committedRows(), std::make_pair(1000, 1001));
}

// A temporary folder that fills up while the rows are stored: the rows of
// the blocks stored before stay committed with their index, and the message
// says that the disk is full and names the folder. The test runs itself
// again in a private mount namespace, where the folder is a small tmpfs.
TEST_F(ImportTest, FullTemporaryFolderKeepsTheRowsStoredBefore) {
  const char* inside = "ORV_TEST_SMALL_TEMP_FOLDER";
  if (!orv::test::InsidePrivateMountNamespace(inside)) return orv::test::RunAgainInPrivateMountNamespace(inside);
  orv::test::SmallTmpfs tmpfs(folders.tempFolder, "2m");
  if (!tmpfs.mounted()) GTEST_SKIP() << "a tmpfs cannot be mounted on the temporary folder here";
  startWithTables(false);
  QStringList lines;
  for (int i = 1; i <= 30000; ++i) lines << QString("%1 K 4512345.678 %2.5 101.5").arg(i).arg(5700000 + i);
  const QString path = writeFile("lang.txt", lines);
  dialogs->setAcceptOkMessages(true);
  runImport(path, 1, kGaussKrueger);
  const QString messages = dialogs->messageTexts().join("|");
  const auto [count, last] = committedRows();
  EXPECT_GT(count, 0) << messages.toStdString();
  EXPECT_EQ(last, count);
  EXPECT_TRUE(messages.contains("Der Datenträger ist voll: Im Ordner '" + QDir(folders.tempFolder).absolutePath() +
                                "' ist kein Platz mehr frei.\n" + QString::number(count) + " Punkte der Datei"))
      << messages.toStdString();
  EXPECT_FALSE(messages.contains("Bitte prüfen Sie Ihre Daten")) << messages.toStdString();
  // The databases (and their journals) are closed while their folder is
  // still there.
  form.reset();
  orv::CloseAllDatabases(true);
}

// A file cut while it is read (here as soon as its first line is read): the
// import says so, keeps the whole lines before the cut and never stores the
// cut last line as if it were whole.
TEST_F(ImportTest, FileCutWhileReadIsToldAndItsCutLastLineNotStored) {
  startWithTables(false);
  QStringList lines;
  for (int i = 1; i <= 30000; ++i) lines << QString("%1 K 4512345.678 %2.5 101.5").arg(i).arg(5700000 + i);
  const QString path = writeFile("lang.txt", lines);
  const qint64 cut = bytesOf(path).indexOf("\r\n20000 K") + 2 + QByteArray("20000 K 4512345.678 5720000.5 10").size();
  orv::State().AktuelleZeile.clear();
  dialogs->setOnProcessEvents([&] {
    if (!orv::State().AktuelleZeile.isEmpty() && QFileInfo(path).size() > cut) QFile::resize(path, cut);
  });
  runImport(path, 1, kGaussKrueger, [&] {
    dialogs->expectMessage("lang.txt' wurde während des Einlesens verändert (gekürzt oder überschrieben) und ist "
                           "nicht vollständig eingelesen.\n19999 Punkte");
  });
  dialogs->setOnProcessEvents({});
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
  EXPECT_EQ(committedRows(), std::make_pair(19999, 19999));
}

// A file cut as its import begins, before its lines are counted and read, is
// told the same way, and no line of it is stored.
TEST_F(ImportTest, FileCutBeforeItsLinesAreReadIsToldAndItsCutLastLineNotStored) {
  startWithTables(false);
  const QString path = writeFile("kurz.txt", {kGood, "2 K2 4512345.678 5712345.678 101.5"});
  const qint64 cut = bytesOf(path).size() - 4;  // "…101" of the last line
  dialogs->setOnProcessEvents([&] {
    if (dialogs->isBusy() && form->xpStatusBar1->PanelText(9).isEmpty() && QFileInfo(path).size() > cut)
      QFile::resize(path, cut);
  });
  // The import clears panel 9 as it starts, before it counts the lines.
  form->xpStatusBar1->SetPanelText(9, "Trafo");
  runImport(path, 1, kGaussKrueger, [&] { dialogs->expectMessage("kurz.txt' wurde während des Einlesens verändert"); });
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
  EXPECT_EQ(committedRows(), std::make_pair(0, 0));
  // A file with LF line ends cut while its Windows-1252 copy is written is
  // refused when it is chosen, and the job stays.
  const QString lf = writeFile("kurz-lf.txt", {kGood, "2 K2 4512345.678 5712345.678 101.5"}, "\n");
  const qint64 lfCut = bytesOf(lf).size() - 3;
  dialogs->setOnProcessEvents([&] {
    if (!QDir(folders.tempFolder).entryList({"tmp_dao_orvenil_import_*"}).isEmpty() && QFileInfo(lf).size() > lfCut)
      QFile::resize(lf, lfCut);
  });
  dialogs->expectOpenFile(lf, 1);
  dialogs->expectMessage("kurz-lf.txt' wurde während des Einlesens verändert");
  form->Coolbar2_ButtonClick(orv::kKeyDbOeffnen);
  dialogs->setOnProcessEvents({});
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
  EXPECT_EQ(committedRows(), std::make_pair(0, 0));
}

// Lines that are skipped take no more memory than lines that are stored: two
// points among 200,000 empty lines are read in blocks of a bounded count of
// lines, not all at once.
TEST_F(ImportTest, SkippedLinesAreReadInBoundedBlocks) {
  const auto kilobytes = [](const char* key) {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) return -1L;
    for (const QByteArray& line : status.readAll().split('\n'))
      if (line.startsWith(key)) return line.mid(qstrlen(key)).trimmed().split(' ').value(0).toLong();
    return -1L;
  };
  startWithTables(false);
  QStringList lines{kGood};
  for (int i = 0; i < 200000; ++i) lines << QString();
  lines << "2 K2 4512345.678 5712345.678 101.5";
  const QString path = writeFile("leer.txt", lines);
  lines.clear();
  QFile clearRefs("/proc/self/clear_refs");  // "5" resets the peak of resident memory
  if (!clearRefs.open(QIODevice::WriteOnly) || clearRefs.write("5") != 1 || !clearRefs.flush())
    GTEST_SKIP() << "the peak of resident memory cannot be reset here";
  clearRefs.close();
  const long before = kilobytes("VmRSS:");
  runImport(path, 1, kGaussKrueger, [&] { dialogs->expectMessage("200000 Zeilen mit fehlerhaften Koordinaten"); });
  const long peak = kilobytes("VmHWM:");
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
  EXPECT_EQ(rows().size(), 2);
  // Three blocks of some thousand lines take some 40 MB; all 200,000 lines
  // at once took 360 MB.
  EXPECT_LT(peak - before, 100 * 1024) << "kB more resident memory at the peak";
}

// A file with LF line ends is read from a converted copy: messages and the
// export's proposed name still name the chosen file, and the copy goes.
TEST_F(ImportTest, LfFileKeepsItsNameAndItsCopyGoesAtTheEnd) {
  startWithTables(false);
  const QString path = writeFile("unix.txt", {kGood, "2 K2 4512345,5 5712345.678 101.5"}, "\n");
  runImport(path, 1, kGaussKrueger, [&] { dialogs->expectMessage("Datei '" + path + "', Zeile 2:\n2"); });
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
  EXPECT_EQ(rows().size(), 1);
  EXPECT_EQ(orv::State().ImportDatei, path);
  const QDir temp(orv::State().TempVerzeichnis);
  ASSERT_TRUE(temp.exists() && !orv::State().TempVerzeichnis.isEmpty());
  EXPECT_TRUE(temp.entryList({"tmp_dao_orvenil_import_*"}).isEmpty());
}

// A huge line is shown cut in the message, with its line number.
TEST_F(ImportTest, HugeBadLineIsShownCut) {
  startWithTables(false);
  const QString path = writeFile("riesig.txt", {kGood, "2 K2 " + QString(2000000, 'x')});
  runImport(path, 1, kGaussKrueger, [&] { dialogs->expectMessage("', Zeile 2:\n2\tK2\txxx"); });
  EXPECT_TRUE(dialogs->allDone());
  EXPECT_LT(dialogs->messageTexts().value(0).size(), 1000);
  EXPECT_EQ(rows().size(), 1);
}

TEST_F(ImportTest, FilesThatCannotBeReadOrHoldNoPointsSaySo) {
  startWithTables(false);
  runImport(writeFile("ok.txt", {kGood}), 1, kGaussKrueger);
  ASSERT_EQ(rows().size(), 1);
  // A binary file is refused before anything changes.
  const QString binary = root.path() + "/binaer.txt";
  QFile f(binary);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(QByteArray("\x01\x02" "1\0 \0K\0", 8));
  f.close();
  runImport(binary, 1, kGaussKrueger, [&] { dialogs->expectMessage("binaer.txt' ist keine Textdatei"); });
  EXPECT_EQ(rows().size(), 1);
  // An empty file is refused too; a vessel file of its header alone ends normally.
  runImport(writeFile("empty.txt", {}), 1, kGaussKrueger, [&] { dialogs->expectMessage("enthält keine Punkte"); });
  EXPECT_EQ(rows().size(), 1);
  runImport(writeFile("blank.txt", {"  ", ""}), 1, kGaussKrueger,
            [&] { dialogs->expectMessage("enthält keine Punkte"); });
  EXPECT_EQ(rows().size(), 1);
  runImport(writeFile("kopf.csv", {"Zeit;Breite;Laenge"}), orv::kFilterVesselA, nullptr,
            [&] { dialogs->expectMessage("enthält keine Punkte"); });
  EXPECT_EQ(rows().size(), 1);
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
}

TEST_F(ImportTest, LineWithoutZoneStopsWithItsNumber) {
  startWithTables(false);
  const QString path = writeFile("geo.txt", {"1 K 51.5 12.1 100", "2 K 51.5 -5.5 100", "3 K 51.5 12.2 100"});
  runImport(
      path, 1,
      [](orv::FormOrvenilSystemAuswahl& d) {
        d.StartAbbildung->select(2);
        d.FormatEingabeGeographisch->select(1);
      },
      [&] { dialogs->expectMessage("Zeile 2:\n2\tK\t51.5\t-5.5\t100"); });
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
  EXPECT_EQ(rows().size(), 1);
}

// A zone code is read whole: one that is no whole number ("32.5" is not 32)
// is named and ends the import after the rows before.
TEST_F(ImportTest, ZoneCodeThatIsNoNumberEndsTheImportAfterTheRowsBefore) {
  startWithTables(false);
  const QString path = writeFile("utm.txt", {"A 0 32512345.678 5712345.678 1", "B 0 512345.678 5712345.678 1"});
  for (const QString typed : {"", "32.5", "32,5", "32x"}) {
    dialogs->clearRecords();
    runImport(path, 1, nullptr, [&] {
      dialogs->expectInput("MKZ", typed);
      dialogs->expectMessage("Fehler: Die Meridiankennziffer \"" + typed + "\" ist keine ganze Zahl.");
    });
    EXPECT_TRUE(dialogs->allDone()) << typed.toStdString() << dialogs->messageTexts().join("|").toStdString();
    EXPECT_TRUE(dialogs->messageTexts().value(0).contains("Zeile 2"));
    EXPECT_EQ(rows().size(), 1);
    EXPECT_FALSE(dialogs->isBusy());
  }
}

// Escape in the zone-code prompt is the user's cancel, not a fault of the
// data: the import stops, the job loaded before keeps its rows and its system.
TEST_F(ImportTest, CancelOfTheZoneCodeKeepsTheJobAndItsSystem) {
  startWithTables(false);
  runImport(writeFile("gk.txt", {kGood}), 1, kGaussKrueger);
  const auto job = rows();
  ASSERT_EQ(job.size(), 1);
  struct System {
    QString ellipsoid, zoneEllipsoid, file;
    double a, e;
  };
  const auto system = [] {
    const orv::ProgramState& s = orv::State();
    return System{s.EllipsoidStart, s.ZonenEllipsoidStart, s.ImportDatei, s.StartA, s.StartE};
  };
  const System before = system();
  const QString filePanel = form->xpStatusBar1->PanelText(2);
  const int zones = form->zielZone->ListCount();
  dialogs->clearRecords();
  runImport(writeFile("utm.txt", {"B 0 512345.678 5712345.678 1"}), 1, nullptr, [&] {
    dialogs->expectInputCancel("MKZ");
    dialogs->expectMessage("Import abgebrochen");
  });
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
  EXPECT_EQ(dialogs->messages().size(), 1);
  EXPECT_EQ(rows(), job);
  EXPECT_EQ(form->GridKooDb->RowCount(), 1);
  EXPECT_TRUE(form->Startsys->isSelected(1));
  const System after = system();
  EXPECT_EQ(after.ellipsoid, before.ellipsoid);
  EXPECT_EQ(orv::State().StartKoordinatensystem, "GK42/83");
  EXPECT_EQ(after.zoneEllipsoid, before.zoneEllipsoid);
  EXPECT_EQ(after.a, before.a);
  EXPECT_EQ(after.e, before.e);
  EXPECT_EQ(after.file, before.file);
  EXPECT_EQ(form->zielZone->ListCount(), zones);
  EXPECT_EQ(form->xpStatusBar1->PanelText(2), filePanel);
  EXPECT_FALSE(dialogs->isBusy());
}

// An import that stores no row of its file leaves the loaded job as it was:
// its rows, its start system, its zone panels and its export buttons, however
// large the file and whichever line stopped it.
TEST_F(ImportTest, ImportThatStoresNoRowKeepsTheLoadedJob) {
  startWithTables(false);
  runImport(writeFile("gk.txt", {kGood}), 1, kGaussKrueger);
  const auto job = rows();
  ASSERT_EQ(job.size(), 1);
  const auto panels = [&] {
    QStringList texts;
    for (int panel = 2; panel <= 5; ++panel) texts << form->xpStatusBar1->PanelText(panel);
    return texts;
  };
  const QStringList jobPanels = panels();
  const double jobA = orv::State().StartA;
  const auto utm = [](orv::FormOrvenilSystemAuswahl& d) { d.Startsys->select(0); };
  const QStringList blanks(40000, QStringLiteral("  "));  // 160 KB of blank lines
  struct Case {
    QString file;
    QStringList lines;
    std::function<void(orv::FormOrvenilSystemAuswahl&)> choose;
    std::function<void()> then;
  } cases[] = {
      {"leer.txt", blanks, utm, [&] { dialogs->expectMessage("leer.txt' enthält keine Punkte"); }},
      {"geo.txt", {"1 K 51.5 12.1 100", "2 K 51.6 12.2 100"}, utm, [&] { dialogs->expectMessage("Abbruch!"); }},
      {"mkz.txt", {"B 0 512345.678 5712345.678 1"}, utm, [&] {
         dialogs->expectInput("MKZ", "x");
         dialogs->expectMessage("Fehler: ");
       }},
  };
  for (const Case& c : cases) {
    runImport(writeFile(c.file, c.lines), 1, c.choose, c.then);
    EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
    EXPECT_EQ(rows(), job) << c.file.toStdString();
    EXPECT_EQ(form->GridKooDb->RowCount(), 1) << c.file.toStdString();
    EXPECT_TRUE(form->Startsys->isSelected(1)) << c.file.toStdString();
    EXPECT_EQ(orv::State().StartA, jobA) << c.file.toStdString();
    EXPECT_EQ(panels(), jobPanels) << c.file.toStdString();
    EXPECT_TRUE(form->Coolbar2->IsEnabled(orv::kKeyDbSpeichernUnter)) << c.file.toStdString();
    EXPECT_TRUE(form->cmdAuswahlExport->isEnabled()) << c.file.toStdString();
    EXPECT_FALSE(dialogs->isBusy());
    dialogs->clearRecords();
  }
}

// A file cut after it was chosen (here while the start-data dialog is open)
// is told as changed while it was read, by the import and by the merge alike:
// its cut last value is stored nowhere, and the job stays.
TEST_F(ImportTest, FileCutAfterItWasChosenIsToldAndNothingOfItStored) {
  startWithTables(false);
  runImport(writeFile("gk.txt", {kGood, "2 K2 4512345.678 5712345.678 50.0"}), 1, kGaussKrueger);
  const auto job = rows();
  ASSERT_EQ(job.size(), 2);
  for (const int special : {0, 1}) {
    const QString path = writeFile("kurz.txt", {kGood, "2 K2 4512345.678 5712345.678 101.5"});
    const qint64 cut = bytesOf(path).size() - 4;  // "…101" of the last line
    runImport(
        path, 1,
        [&](orv::FormOrvenilSystemAuswahl& d) {
          d.Startsys->select(1);
          d.Sonderfunktion->select(special);
          QFile::resize(path, cut);
        },
        [&] { dialogs->expectMessage("kurz.txt' wurde während des Einlesens verändert"); });
    EXPECT_TRUE(dialogs->allDone()) << special << dialogs->messageTexts().join("|").toStdString();
    EXPECT_EQ(rows(), job) << special;
    dialogs->clearRecords();
  }
}

// A missing file reopens the dialog; a cancel then keeps the file chosen before.
TEST_F(ImportTest, CancelAfterAMissingFileKeepsTheEarlierChoice) {
  startWithTables(false);
  const QString first = writeFile("ok.txt", {kGood});
  runImport(first, 1, kGaussKrueger);
  dialogs->expectOpenFile(root.path() + "/weg.txt", 1);
  dialogs->expectOpenFileCancel();
  form->Coolbar2_ButtonClick(orv::kKeyDbOeffnen);
  EXPECT_TRUE(dialogs->allDone());
  EXPECT_EQ(orv::State().ImportDatei, first);
  EXPECT_TRUE(orv::State().ImportDateiGewaehlt);
  EXPECT_TRUE(form->CommonDialog1.FileName.isEmpty());
  EXPECT_EQ(rows().size(), 1);
}

TEST_F(ImportTest, VesselBWithoutTarqSetStopsTheAutomaticRun) {
  putAllTables();
  writeFile("Programm/Orvenil-Datenbanken/sys_NTv2.dat",
            {"BeTA2007;BETA2007.gsa;RD83;ETRS89;Bessel;GRS1980;Deutschland;https://crs.bkg.bund.de"});
  writeFile("Programm/Orvenil-Datenbanken/Quasigeoidmodell.dat", {});
  start();
  dialogs->clearRecords();
  runImport(writeFile("f_2023-05-01_12.00.00_Track1.vorsel", {"51.5,12.1,100,x,x,x,2023-05-01T12:00:00"}),
            orv::kFilterVesselB, nullptr, [&] { dialogs->expectMessage("TARQ-SN"); });
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
  EXPECT_EQ(rows().size(), 1);
}

// The step after the import belongs to the import chain, not to every key.
TEST_F(ImportTest, OtherKeysDoNotRepeatTheStepAfterTheImport) {
  startWithTables(false);
  runImport(writeFile("geo.txt", {"1 K 51.5 12.1 100"}), 1, [](orv::FormOrvenilSystemAuswahl& d) {
    d.StartAbbildung->select(2);
    d.FormatEingabeGeographisch->select(1);
  });
  form->chkUndulationMinus->SetValue(0);
  form->Coolbar2_ButtonClick(orv::kKeyHilfe);
  EXPECT_EQ(form->chkUndulationMinus->Value(), 0);
  EXPECT_FALSE(dialogs->isBusy());
}

TEST_F(ImportTest, StartDataDialogDefaultsAndChoices) {
  startWithTables();
  dialogs->expectOpenFile(writeFile("ok.txt", {kGood}), 1);
  dialogs->expectModal([this](QDialog* d) {
    auto& dlg = *static_cast<orv::FormOrvenilSystemAuswahl*>(d);
    orv::ProgramState& state = orv::State();
    EXPECT_EQ(dlg.Startsys->value(), 0);
    EXPECT_EQ(dlg.StartAbbildung->value(), 0);
    EXPECT_EQ(dlg.Sonderfunktion->value(), 0);
    EXPECT_EQ(dlg.orthoNäherungshöhe->Text(), "75");
    EXPECT_EQ(state.EllipsoidStart, "0");
    EXPECT_EQ(state.StartAbbildungName, "verebnet");
    EXPECT_EQ(dlg.cmbGeoidmodell->ListCount(), 2);
    EXPECT_FALSE(dlg.FormatEingabeGeographisch->button(1)->isEnabled());
    // The test's model file is missing: the choice is refused.
    dialogs->expectMessage("fehlt! Abbruch!");
    dlg.cmbGeoidmodell->SetListIndex(1);
    EXPECT_FALSE(state.GeoidBereit);
    EXPECT_TRUE(state.GeoidApp.isEmpty());
    dlg.StartAbbildung->select(1);
    EXPECT_FALSE(dlg.cmbGeoidmodell->isEnabled());
    EXPECT_EQ(state.StartAbbildungName, "geozentrisch");
    dlg.StartAbbildung->select(2);
    EXPECT_TRUE(dlg.FormatEingabeGeographisch->button(1)->isEnabled());
    dlg.Startsys->select(2);
    EXPECT_EQ(state.StartKoordinatensystem, "RD83");
    dlg.Sonderfunktion->select(2);
    EXPECT_EQ(state.SonderfunktionIndex, 2);
    dlg.Sonderfunktion->select(0);
    dlg.orthoNäherungshöhe->SetText("12");
    dlg.chkStartOhneNäherungshöhe->SetValue(1);
    EXPECT_EQ(dlg.orthoNäherungshöhe->Text(), "0");
    dlg.chkStartOhneNäherungshöhe->SetValue(0);
    EXPECT_EQ(dlg.orthoNäherungshöhe->Text(), "75");
    dlg.StartAbbildung->select(0);
    dlg.cmdLaden_Click();
    return 1;
  });
  form->Coolbar2_ButtonClick(orv::kKeyDbOeffnen);
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
  EXPECT_EQ(form->orthoNäherungshöhe->Text(), "75");
  EXPECT_EQ(orv::State().EllipsoidImport, "Bessel");
  EXPECT_TRUE(form->Startsys->isSelected(2));
}

// The approximate height is read whole, as typed, a decimal comma as one: a
// text that is no number keeps the start-data dialog open with a message;
// points of height 0 get the height typed.
TEST_F(ImportTest, ApproximateHeightThatIsNoNumberKeepsTheDialogOpen) {
  startWithTables(false);
  dialogs->expectOpenFile(writeFile("null.txt", {"1 K1 4512345.678 5712345.678 0"}), 1);
  dialogs->expectModal([this](QDialog* d) {
    auto& dlg = *static_cast<orv::FormOrvenilSystemAuswahl*>(d);
    dlg.Startsys->select(1);
    for (const QString bad : {"12x", "abc", "1.2.3", "7,5,1"}) {
      dlg.orthoNäherungshöhe->SetText(bad);
      dialogs->expectMessage("Die Näherungshöhe \"" + bad + "\" ist keine Zahl!");
      dlg.cmdLaden_Click();
      EXPECT_NE(dlg.result(), QDialog::Accepted) << bad.toStdString();
    }
    dlg.orthoNäherungshöhe->SetText(" 12,5 ");
    dlg.cmdLaden_Click();
    return dlg.result();
  });
  form->Coolbar2_ButtonClick(orv::kKeyDbOeffnen);
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
  const auto r = rows();
  ASSERT_EQ(r.size(), 1);
  EXPECT_EQ(r[0]["sZe"], "12.5000");
  EXPECT_EQ(r[0]["sHg"], "12.5000");
}

TEST(ImportGeoidHeights, OnlyTheFirstFittingRuleApplies) {
  const auto h = [](std::optional<double> N, const char* hg, const char* ze, bool geographic = false) {
    return orv::ApplyUndulation(N, hg, ze, geographic);
  };
  orv::GeoidHeights r = h(47.1234, "100.0000", "100.0000");
  EXPECT_EQ(r.undulation, "47.1234");
  EXPECT_EQ(r.sHg, "147.1234");
  EXPECT_EQ(r.sZe, "100.0000");
  r = h(47.1234, "0.0000", "0.0000");  // not 2N, not emptied
  EXPECT_EQ(r.sHg, "47.1234");
  EXPECT_EQ(r.sZe, "0.0000");
  r = h(47.1234, "100.0000", "100.0000", true);
  EXPECT_EQ(r.sHg, "100.0000");
  EXPECT_EQ(r.undulation, "47.1234");
  r = h(-3.5, "0.0000", "10.0000");
  EXPECT_EQ(r.sZe, "6.5000");
  r = h(std::nullopt, "100.0000", "100.0000");
  EXPECT_EQ(r.undulation, "Fehler");
  EXPECT_EQ(r.sZe, "Fehler");
  EXPECT_EQ(r.sHg, "100.0000");
}

// Another program holding the work database, for a write it has begun or
// wholly: the import and the runs say that the work database is in use,
// blame no line of the sound point file, and the job stays as it was.
TEST_F(ImportTest, WorkDatabaseHeldByAnotherProgramIsNamedAndTheJobKept) {
  putRunTables();
  start();
  runImport(writeFile("ok.txt", {kGood}), 1, kGaussKrueger);
  const QString inUse =
      "Die Arbeitsdatenbank '" + orv::State().KooDbPfad + "' wird von einem anderen Programm";
  for (const auto& [hold, run] :
       {std::pair{"BEGIN IMMEDIATE", false}, {"BEGIN EXCLUSIVE", false}, {"BEGIN IMMEDIATE", true}}) {
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(orv::State().KooDbPfad.toUtf8().constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, hold, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(other);
    dialogs->clearRecords();
    dialogs->setAcceptOkMessages(true);
    if (run)
      runFirstSetInReverse();
    else
      runImport(writeFile("auch.txt", {kGood, "2 K2 4512345.5 5712345.678 101.5"}), 1, kGaussKrueger);
    sqlite3_close(other);
    const QString messages = dialogs->messageTexts().join("|");
    EXPECT_TRUE(messages.contains(inUse) && !messages.contains("Zeile") &&
                !messages.contains("Einlesefehler"))
        << messages.toStdString();
    EXPECT_EQ(rows().size(), 1);
  }
}
