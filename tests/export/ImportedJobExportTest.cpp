// A job from a point file through the import to the export file, all from
// the window's keys.
#include "../import/ImportFixture.h"
#include "foundation/NumberText.h"
#include "io/FormOrvenilExport.h"
#include "platform/ui/VbComboBox.h"
#include "xls/XlsReadBack.h"

using ImportedJobTest = ImportTest;

TEST_F(ImportedJobTest, ImportedPointsExportedWithTheInputPresetAndHeight) {
  startWithTables();
  const QString path =
      writeFile("job.in", {"12 K1 4512345.678 5712345.678 101.5", "7 K2 4498765.432 5698765.432 0"});
  runImport(path, 2, [](orv::FormOrvenilSystemAuswahl& d) { d.Startsys->select(1); });
  ASSERT_EQ(form->GridKooDb->RowCount(), 2);

  dialogs->expectModal([](QDialog* d) {
    auto* dialog = static_cast<orv::FormOrvenilExport*>(d);
    dialog->TimerAllg_Timer();
    dialog->ComboExportLage->SetListIndex(2);  // "Eingabe verebnet"
    dialog->ComboExportHöhe->SetListIndex(1);  // "Höhe aus Eingabe"
    dialog->Command1_Click();
    return 1;
  });
  const QString out = root.path() + "/Auftrag";
  dialogs->expectSaveFile(out, 1);
  form->Coolbar2_ButtonClick(orv::kKeyDbSpeichernUnter);
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
  EXPECT_EQ(orv::State().SpeichernSpaltenNr, "1,2,3,4,5");
  // Stored order; the height of 0 became the approximate height.
  EXPECT_EQ(bytesOf(root.path() + "/Auftrag.pkt").toStdString(),
            "12 K1 4512345.6780 5712345.6780 101.5000\r\n7 K2 4498765.4320 5698765.4320 75.0000\r\n");
}

// Right after an import no run has written the target columns: every
// writer leaves such points out, counts their coordinates and says so,
// instead of writing point and code alone.
TEST_F(ImportedJobTest, TargetColumnsNoRunWroteAreLeftOutByEveryWriter) {
  startWithTables();
  const QString path =
      writeFile("job.in", {"12 K1 4512345.678 5712345.678 101.5", "7 K2 4498765.432 5698765.432 50"});
  runImport(path, 2, [](orv::FormOrvenilSystemAuswahl& d) { d.Startsys->select(1); });
  ASSERT_EQ(form->GridKooDb->RowCount(), 2);
  const QString counted = "4 Koordinaten ohne gültigen Wert!";
  const auto preset = [&](int index) {
    dialogs->expectModal([index](QDialog* d) {
      auto* dialog = static_cast<orv::FormOrvenilExport*>(d);
      dialog->TimerAllg_Timer();  // "Ziel verebnet"
      if (index >= 0) dialog->ComboExportLage->SetListIndex(index);
      dialog->Command1_Click();
      return 1;
    });
  };
  const QString out = root.path() + "/Ziel";
  // The dialog's default preset, then the same columns into every other
  // column format and the vessel set.
  preset(-1);
  dialogs->expectSaveFile(out, 1);
  dialogs->expectMessage(counted);
  form->cmdAuswahlExport_Click();
  EXPECT_EQ(bytesOf(out + ".pkt"), QByteArray());
  for (int filter : {2, 3, 4, 8}) {
    dialogs->expectSaveFile(out + QString::number(filter), filter);
    dialogs->expectMessage(counted);
    form->ExportStarten();
  }
  for (const char* file : {"Ziel2.pkt", "Ziel4.csv", "Ziel8.in"})
    EXPECT_EQ(bytesOf(root.path() + "/" + file), QByteArray()) << file;
  // The vessel set says RD83: without a run it names no system and is not made.
  const QString noRun = "liegen in einem unbekannten System (keine abgeschlossene Transformation";
  dialogs->expectSaveFile(out + "5", 5);
  dialogs->expectMessage(noRun);
  form->ExportStarten();
  EXPECT_FALSE(QFileInfo::exists(root.path() + "/Ziel5.csv"));
  const orv::test::ReadWorkbook book = orv::test::readWorkbook(root.path() + "/Ziel3.xls");
  ASSERT_TRUE(book.readable) << book.complaints.toStdString();
  EXPECT_EQ(book.sheets[0].cells.size(), 1);  // the caption row alone

  // The target's geographic coordinates and the waypoints from them.
  preset(11);  // "Ziel geografisch"
  dialogs->expectSaveFile(out + "geo", 1);
  dialogs->expectMessage(counted);
  form->cmdAuswahlExport_Click();
  EXPECT_EQ(bytesOf(out + "geo.pkt"), QByteArray());
  preset(7);  // "Eingabe Mikrokopter aus Zielsystem"
  dialogs->expectSaveFile(out, 7);
  dialogs->expectInput("Flughöhe", "80");
  dialogs->expectMessage(noRun);
  form->cmdAuswahlExport_Click();
  EXPECT_FALSE(QFileInfo::exists(out + ".wpl"));

  // A run that could not compute a point marks it "Fehler": no value either.
  orv::State().KooDb.execute("UPDATE Daten SET sYeZiel = 'Fehler', sXeZiel = 'Fehler'");
  preset(-1);
  dialogs->expectSaveFile(out + "fehler", 1);
  dialogs->expectMessage(counted);
  form->cmdAuswahlExport_Click();
  EXPECT_EQ(bytesOf(out + "fehler.pkt"), QByteArray());
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
}

// A point without code in the blank-separated files (ASCII, Geograf, and
// the geographic and geocentric ASCII variants) has the code "0": read back
// with filter 1 or 2, every point keeps its coordinates and height; a point
// with a code is written as before.
TEST_F(ImportedJobTest, PointWithoutCodeReadsBackUnshiftedFromBlankSeparatedFiles) {
  startWithTables(false);
  const auto gaussKrueger = [](orv::FormOrvenilSystemAuswahl& d) { d.Startsys->select(1); };
  runImport(writeFile("job.csv", {"12;K1;4512345.678;5712345.678;101.5", "7;;4498765.432;5698765.432;50"}), 5,
            gaussKrueger);
  const auto job = rows();
  ASSERT_EQ(job.size(), 2);
  ASSERT_EQ(job[1]["C"], "");
  struct Case {
    QString columns;
    int filter;
    QString file;
    std::function<void(orv::FormOrvenilSystemAuswahl&)> kind;
    QStringList compared;
  } cases[] = {
      {"1,2,3,4,5", 1, "eben.pkt", gaussKrueger, {"sYe", "sXe", "sZe"}},
      {"1,2,3,4,5", 8, "eben.in", gaussKrueger, {"sYe", "sXe", "sZe"}},
      {"1,2,9,10,5",
       1,
       "geo.pkt",
       [](orv::FormOrvenilSystemAuswahl& d) {
         d.Startsys->select(1);
         d.StartAbbildung->select(2);
       },
       {"sBg", "sLg", "sZe"}},
      {"1,2,6,7,8",
       1,
       "xyz.pkt",
       [](orv::FormOrvenilSystemAuswahl& d) {
         d.Startsys->select(1);
         d.StartAbbildung->select(1);
       },
       {"sXz", "sYz", "sZz"}},
  };
  for (const Case& c : cases) {
    orv::State().SpeichernSpaltenNr = c.columns;
    orv::State().ExportVorlage.clear();
    const QString path = root.path() + "/" + c.file;
    dialogs->expectSaveFile(path, c.filter);
    form->ExportCoordinateTable();
    const QByteArray written = bytesOf(path);
    if (c.file == "eben.pkt") {
      EXPECT_EQ(written.toStdString(),
                "12 K1 4512345.6780 5712345.6780 101.5000\r\n7 0 4498765.4320 5698765.4320 50.0000\r\n");
    }
    runImport(path, c.filter == 8 ? 2 : 1, c.kind);
    const auto back = rows();
    ASSERT_EQ(back.size(), 2) << c.file.toStdString();
    EXPECT_EQ(back[0]["C"], "K1");
    EXPECT_EQ(back[1]["C"], "0") << c.file.toStdString();
    for (int i = 0; i < 2; ++i)
      for (const QString& column : c.compared)
        EXPECT_NEAR(orv::Val(back[i][column]), orv::Val(job[i][column]), 0.001)
            << c.file.toStdString() << " " << i << " " << column.toStdString();
    EXPECT_EQ(back[1]["sBg"], job[1]["sBg"]) << c.file.toStdString();
  }
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
}

// The LGO file and the waypoint file say their positions are WGS 1984, the
// vessel set says RD83: over the Krassowski positions of a GK42/83 job, or
// after a run into GK42/83, each is refused with a message that says where
// to transform the points first, and no file is made.
TEST_F(ImportedJobTest, FilesNamingTheirSystemRefusePositionsOfAnother) {
  putRunTables();
  start();
  dialogs->clearRecords();
  // An easting of zone 3 looks like one of UTM zone 33.
  runImport(writeFile("gk.txt", {"1 K1 3512345.678 5712345.678 101.5"}), 1,
            [](orv::FormOrvenilSystemAuswahl& d) { d.Startsys->select(1); });
  ASSERT_EQ(form->GridKooDb->RowCount(), 1);
  const QString toEtrs = "Bitte transformieren Sie die Punkte zuerst nach ETRS89!";
  const auto refused = [&](const QString& name, int filter, const QString& columns, const QString& preset,
                           const QString& message) {
    orv::State().SpeichernSpaltenNr = columns;
    orv::State().ExportVorlage = preset;
    const QString path = root.path() + "/" + name;
    dialogs->expectSaveFile(path, filter);
    if (filter == 7) dialogs->expectInput("Flughöhe", "80");
    dialogs->expectMessage(message);
    form->ExportCoordinateTable();
    EXPECT_FALSE(QFileInfo::exists(path)) << name.toStdString();
  };
  refused("geo.asc", 6, "1,9,10,5", "Eingabe LGO Geodetic", "liegen in GK42/83 (Krassowski)!\n" + toEtrs);
  refused("utm.asc", 6, "1,3,4,5", "Eingabe LGO ETRS89", toEtrs);
  refused("start.wpl", 7, "1,2,11,12,5", "Eingabe Mikrokopter aus Startsystem", toEtrs);

  // ETRS89 points run into GK42/83: the start positions fly, the target ones do not.
  runImport(writeFile("etrs.txt", {"1 K1 32512345.678 5712345.678 101.5"}), 1,
            [](orv::FormOrvenilSystemAuswahl& d) { d.Startsys->select(0); });
  form->AuswahlTrafoTyp->select(1);
  form->AuswahlTrafoRichtung->select(0);
  form->ComboTrafoPara->SetListIndex(0);  // "ETRS89 - GK42/83"
  dialogs->setAcceptOkMessages(true);
  form->cmdTrafoStart_Click();
  ASSERT_FALSE(rows()[0]["BgDezZiel"].isEmpty());
  refused("ziel.wpl", 7, "1,2,29,30,5", "Eingabe Mikrokopter aus Zielsystem",
          "die Koordinaten des Zielsystems liegen in GK42/83 (Krassowski)!\n" + toEtrs);
  refused("schiff.csv", 5, "1,2,18,19", "Ziel Kalkschiff Brisa", "zuerst nach RD83!");
  orv::State().ExportVorlage = "Eingabe Mikrokopter aus Startsystem";
  dialogs->expectSaveFile(root.path() + "/start.wpl", 7);
  dialogs->expectInput("Flughöhe", "80");
  form->ExportCoordinateTable();
  EXPECT_TRUE(bytesOf(root.path() + "/start.wpl").contains("Latitude=51.5"));
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
}

// The workbook holds every point that has its chosen coordinates (a
// geographic WGS1984 job has no easting), trimmed of the point number's
// padding; a point that lacks a chosen coordinate is left out and counted.
// Values that are plainly numbers ("#" below) are number cells whose format
// shows the text's decimals; point numbers, codes and degree texts stay text.
TEST_F(ImportedJobTest, WorkbookHoldsEveryPointWithItsChosenCoordinatesAndNumberCells) {
  startWithTables(false);
  runImport(writeFile("geo.txt", {"1 K 51.5 12.1 100", "0815 12 51.6 12.2 -12.345",
                                  "Mühlweg-0 K 51.7 12.3 0.5", "4 K 51.8 12.4 5"}),
            1, [](orv::FormOrvenilSystemAuswahl& d) {
              d.Startsys->select(3);  // WGS1984
              d.StartAbbildung->select(2);
              d.FormatEingabeGeographisch->select(1);  // decimal degrees
            });
  ASSERT_EQ(form->GridKooDb->RowCount(), 4);
  // Point 4 lacks its decimal longitude: left out only where that column is chosen.
  orv::State().KooDb.execute("UPDATE Daten SET LgDez = '' WHERE id = 4");
  struct Case {
    QString columns, preset, message;
    QList<QStringList> rows;  // in the grid's order, by point number as stored
  } cases[] = {
      {"1,2,11,12,15",
       "Eingabe geografisch Dezimalgrad",
       "1 Koordinaten ohne gültigen Wert!",
       {{"Punkt", "Code", "Breite in °", "Länge in °", "ell.Höhe"},
        {"1", "K", "#51.5", "#12.1", "#100.0000"},
        {"0815", "12", "#51.6", "#12.2", "#-12.3450"},
        {"Mühlweg-0", "K", "#51.7", "#12.3", "#0.5000"}}},
      {"1,2,9,10,6,16",
       "Eingabe geografisch",
       "",
       {{"Punkt", "Code", "Breite-Lat-N", "Länge-Long-E", "X", "radBg"},
        {"1", "K", "51°30'00.00000\"", "12°06'00.00000\"", "#3890316.70668", "#0.898844564777079"},
        {"4", "K", "51°48'00.00000\"", "12°24'00.00000\"", "#3860273.04281", "#0.904080552533062"},
        {"0815", "12", "51°36'00.00000\"", "12°12'00.00000\"", "#3880270.35443", "#0.900589894029073"},
        {"Mühlweg-0", "K", "51°42'00.00000\"", "12°18'00.00000\"", "#3870282.83977", "#0.902335223281068"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.preset.toStdString());
    orv::State().SpeichernSpaltenNr = c.columns;
    orv::State().ExportVorlage = c.preset;
    const QString path = root.path() + "/" + c.preset + ".xls";
    dialogs->expectSaveFile(path, 3);
    if (!c.message.isEmpty()) dialogs->expectMessage(c.message);
    form->ExportCoordinateTable();
    EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
    const orv::test::ReadWorkbook book = orv::test::readWorkbook(path);
    ASSERT_TRUE(book.readable && book.complaints.isEmpty()) << book.complaints.toStdString();
    const orv::test::ReadSheet& sheet = book.sheets.at(0);
    ASSERT_EQ(sheet.cells.size(), c.rows.size());
    for (int r = 0; r < c.rows.size(); ++r)
      for (int col = 0; col < c.rows[r].size(); ++col) {
        QString text = c.rows[r][col];
        const bool number = text.startsWith('#');
        if (number) text.remove(0, 1);
        EXPECT_EQ(sheet.cells[r].value(col), text) << r << "," << col;
        const auto it = sheet.numbers.constFind({r, col});
        ASSERT_EQ(it != sheet.numbers.constEnd(), number) << text.toStdString();
        if (!number) continue;
        // The double the text says, shown with the text's decimals.
        EXPECT_EQ(it->value, text.toDouble()) << text.toStdString();
        const qsizetype point = text.indexOf('.');
        EXPECT_EQ(it->format, point < 0 ? "0" : "0." + QString(text.size() - point - 1, '0'));
      }
  }
}
