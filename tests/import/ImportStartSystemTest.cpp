// The window's start system always describes the rows of Daten: a cancelled
// start-data dialog, a merge into the job and a refused file all leave the
// loaded job's system in place.
#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <cmath>

#include "ImportFixture.h"
#include "platform/ui/OptionArray.h"

namespace {
const auto kGaussKrueger = [](orv::FormOrvenilSystemAuswahl& d) { d.Startsys->select(1); };
}  // namespace

class StartSystemTest : public ImportTest {
 protected:
  // A Gauss-Krüger job of two points, imported through the toolbar.
  void importGaussKruegerJob() {
    startWithTables(false);
    jobFile = writeFile("gk.txt", {"1 K1 4512345.678 5712345.678 101.5", "2 K2 4512400.000 5712400.000 99.0"});
    runImport(jobFile, 1, kGaussKrueger);
    ASSERT_EQ(rows().size(), 2);
    jobRows = rows();
    jobStartA = orv::State().StartA;
    dialogs->clearRecords();
  }

  // The job's start system on the window and in the program-wide state.
  void expectGaussKruegerSystem() {
    const orv::ProgramState& s = orv::State();
    EXPECT_TRUE(form->Startsys->isSelected(1));
    EXPECT_TRUE(form->StartAbbildung->isSelected(0));
    EXPECT_EQ(s.StartKoordinatensystem, "GK42/83");
    EXPECT_EQ(s.EllipsoidStart, "Krassowski");
    EXPECT_EQ(s.EllipsoidImport, "Krassowski");
    EXPECT_EQ(s.ZonenEllipsoidStart, "Krassowski");
    EXPECT_EQ(s.StartAbbildungIndex, 0);
    EXPECT_EQ(s.StartA, jobStartA);
  }

  QString jobFile;
  QList<QMap<QString, QString>> jobRows;
  double jobStartA = 0;
};

TEST_F(StartSystemTest, ClosingTheStartDataDialogCancelsTheImport) {
  importGaussKruegerJob();
  // A file with LF line ends: its converted copy goes with the cancel.
  dialogs->expectOpenFile(writeFile("utm.txt", {"7 K 512345.0 5712345.0 1"}, "\n"), 1);
  dialogs->expectModal([](QDialog* d) {
    d->reject();
    return d->result();
  });
  form->Coolbar2_ButtonClick(orv::kKeyDbOeffnen);
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
  EXPECT_EQ(rows(), jobRows);
  expectGaussKruegerSystem();
  EXPECT_EQ(orv::State().ImportDatei, jobFile);
  EXPECT_TRUE(QDir(orv::State().TempVerzeichnis).entryList({"tmp_dao_orvenil_import_*"}).isEmpty());
}

// The merge functions add to the loaded job; the dialog opens at ETRS89.
TEST_F(StartSystemTest, MergesKeepTheJobsStartSystem) {
  importGaussKruegerJob();
  const QString file = writeFile("dazu.txt", {"2 K2 4512400.000 5712400.000 77.0", "3 K3 4512500.000 5712500.000 98.0"});
  runImport(file, 1, [](orv::FormOrvenilSystemAuswahl& d) { d.Sonderfunktion->select(1); },
            [&] { dialogs->expectMessage("Es wurden 1 Höhen überschrieben!"); });
  expectGaussKruegerSystem();
  runImport(file, 1, [](orv::FormOrvenilSystemAuswahl& d) { d.Sonderfunktion->select(2); },
            [&] { dialogs->expectMessage("Es wurden 1 Datensätze angefügt!"); });
  expectGaussKruegerSystem();
  EXPECT_EQ(rows().size(), 3);
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
}

// Every import starts from its own zone state: after a Gauss-Krüger job an
// easting whose zone its own line does not tell is refused as without a job,
// also after a line of a known zone; no latitude beyond a pole is stored. A
// file refused at its first line leaves the job's two rows.
TEST_F(StartSystemTest, ImportAfterAJobTakesNoZoneFromItOrFromTheLineBefore) {
  importGaussKruegerJob();
  const auto wgs = [](orv::FormOrvenilSystemAuswahl& d) { d.Startsys->select(3); };
  const QString zone = "Zone bzw. Koordinatensystem ungültig!";
  struct Case {
    QStringList lines;
    std::function<void(orv::FormOrvenilSystemAuswahl&)> choose;
    QString message;
    int stored;
  } cases[] = {
      {{"7 K 512345.678 5712345.678 1"}, kGaussKrueger, zone, 2},
      {{"7 K 44512345.678 5712345.678 1"}, kGaussKrueger, zone, 2},
      {{"7 K 4512345.678 5712345.678 1"}, wgs, zone, 2},
      {{"1 K 4512345.678 5712345.678 1", "7 K 44512345.678 5712345.678 1"}, kGaussKrueger, zone, 1},
      {{"1 K 4512345.678 5712345.678 1", "7 K 4512345.678 15712345.678 1"}, kGaussKrueger, "Format ungültig!", 1},
      {{"1 K 4512345.678 5712345.678 1", "7 K 4512345,678 5712345,678 1"}, kGaussKrueger,
       "\"4512345,678\" ist eine Zahl mit Dezimalkomma; dieses Format liest Zahlen nur mit Dezimalpunkt (4512345.678).", 1},
  };
  for (const Case& c : cases) {
    runImport(writeFile("neu.txt", c.lines), 1, c.choose, [&] { dialogs->expectMessage(c.message); });
    EXPECT_TRUE(dialogs->allDone()) << c.lines.join("|").toStdString() << dialogs->messageTexts().join("|").toStdString();
    const auto r = rows();
    EXPECT_EQ(r.size(), c.stored) << c.lines.join("|").toStdString();
    for (const auto& row : r) EXPECT_LE(std::fabs(row["BgDez"].toDouble()), 90);
    dialogs->clearRecords();
  }
}

// A file refused before the rows are replaced changes nothing: neither the
// rows nor the start system (the dialog opens at ETRS89) nor the job's file.
TEST_F(StartSystemTest, RefusedFileChangesNeitherRowsNorStartSystem) {
  importGaussKruegerJob();
  const QString binary = root.path() + "/binaer.txt";
  QFile f(binary);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(QByteArray("\x01\x02" "1\0 \0K\0", 8));
  f.close();
  runImport(binary, 1, nullptr, [&] { dialogs->expectMessage("keine Textdatei"); });
  expectGaussKruegerSystem();
  runImport(writeFile("leer.txt", {}), 1, nullptr, [&] { dialogs->expectMessage("enthält keine Punkte"); });
  expectGaussKruegerSystem();
  // A file that vanishes while the start-data dialog is open.
  const QString gone = writeFile("weg.txt", {"7 K 512345.0 5712345.0 1"});
  runImport(gone, 1, [&](orv::FormOrvenilSystemAuswahl&) { QFile::remove(gone); },
            [&] { dialogs->expectMessage("kann nicht gelesen werden"); });
  expectGaussKruegerSystem();
  EXPECT_EQ(rows(), jobRows);
  EXPECT_EQ(orv::State().ImportDatei, jobFile);
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
}

// Escape in the start-data dialog of a second import, or a cancelled file
// choice, leaves the transformation panel as it was: the chosen set, the
// start key and the grid's caption naming that set.
TEST_F(StartSystemTest, CancelledImportLeavesTheTransformationPanelAsItWas) {
  putRunTables();
  writeFile("Programm/Orvenil-Datenbanken/Quasigeoidmodell.dat", {});
  start();
  runImport(writeFile("gk.txt", {"1 K1 4512345.678 5712345.678 101.5"}), 1, kGaussKrueger);
  form->AuswahlTrafoTyp->select(1);
  form->AuswahlTrafoRichtung->select(1);
  form->ComboTrafoPara->SetListIndex(0);
  const QString set = form->ComboTrafoPara->Text();
  const QString caption = form->GridKooDb->Caption();
  ASSERT_TRUE(caption.contains(set));
  ASSERT_TRUE(form->cmdTrafoStart->isEnabled());
  const auto expectPanel = [&](const char* after) {
    EXPECT_EQ(form->ComboTrafoPara->Text(), set) << after;
    EXPECT_TRUE(form->cmdTrafoStart->isEnabled()) << after;
    EXPECT_EQ(form->GridKooDb->Caption(), caption) << after;
  };

  dialogs->expectOpenFile(writeFile("utm.txt", {"7 K 512345.0 5712345.0 1"}), 1);
  dialogs->expectModal([](QDialog* d) {
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(d, &escape);
    return d->result();
  });
  form->Coolbar2_ButtonClick(orv::kKeyDbOeffnen);
  expectPanel("Escape im Startdaten-Dialog");

  dialogs->expectOpenFileCancel();
  form->Coolbar2_ButtonClick(orv::kKeyDbOeffnen);
  expectPanel("abgebrochene Dateiwahl");
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
}

// An easting whose zone digit names no zone is refused with the zone rule's
// own message and title; an NTv2 set whose target ellipsoid the
// coordinate-system table lacks says so once, and the run refuses.
TEST_F(StartSystemTest, UnknownZoneDigitAndMissingTargetSystemSayWhatTheyAre) {
  putAllTables();
  writeFile("Programm/Orvenil-Datenbanken/Quasigeoidmodell.dat", {});
  writeFile("Programm/Orvenil-Datenbanken/sys_NTv2.dat",
            {"Ziel fehlt;BETA2007.gsa;ETRS89;Hayford;GRS1980;Hayford;Deutschland;"});
  QFile::remove(dbFile("BETA2007.gsa"));
  ASSERT_TRUE(QFile::copy(QStringLiteral(ORV_SOURCE_DIR "/data/Orvenil-Datenbanken/BETA2007.gsa"),
                          dbFile("BETA2007.gsa")));
  start();
  dialogs->clearRecords();
  const auto etrs = [](orv::FormOrvenilSystemAuswahl& d) { d.Startsys->select(0); };
  runImport(writeFile("zone5.txt", {"1 K 5512345.678 5712345.678 1"}), 1, etrs,
            [&] { dialogs->expectMessage("Zone bzw. Koordinatensystem ungültig! Abbruch!\nDatei '"); });
  ASSERT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
  EXPECT_EQ(dialogs->messages().last().title, "Orvenil ErmittleZoneVerebnet");
  EXPECT_EQ(dialogs->messages().last().icon, orv::MsgIcon::Critical);

  runImport(writeFile("zone2.txt", {"1 K 32512345.678 5712345.678 1"}), 1, etrs);
  ASSERT_EQ(rows().size(), 1);
  dialogs->clearRecords();
  form->AuswahlTrafoTyp->select(2);
  form->AuswahlTrafoRichtung->select(0);
  form->ComboTrafoPara->SetListIndex(0);
  dialogs->expectMessage("Koordinatensystem B mit den angegebenen Kriterien nicht gefunden!");
  dialogs->expectMessage("Systemparameter fehlen! Abbruch!");
  form->cmdTrafoStart_Click();
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
  EXPECT_EQ(rows().first()["BgDezZiel"], "<NULL>");
}
