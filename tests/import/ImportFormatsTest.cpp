// The line formats through the whole import: csv with quotes, a header (a
// skipped line the user is told of) and custom coordinates, PBLH TAB in three notations, and the two vessel formats.
#include <cmath>

#include "ImportFixture.h"
#include "geodesy/AngleFormats.h"
#include "io/ImportLineFormats.h"
#include "platform/ui/VbComboBox.h"

namespace {

constexpr double kPi = 3.14159265358979;
// Point 1 of the Gauss-Krüger reference (tests/data/import/projected_reference.txt).
constexpr double kLat = 51.540608861267700;
constexpr double kLon = 12.177943110381909;

struct Dms {
  int d, m;
  double s;
};
Dms ToDms(double degrees) {
  const double d = std::floor(degrees);
  const double m = std::floor((degrees - d) * 60);
  return {static_cast<int>(d), static_cast<int>(m), ((degrees - d) * 60 - m) * 60};
}

const auto kGaussKrueger = [](orv::FormOrvenilSystemAuswahl& d) { d.Startsys->select(1); };

}  // namespace

TEST_F(ImportTest, CsvWithQuotesHeaderAndCustomCoordinates) {
  startWithTables(false);
  runImport(writeFile("p.csv", {"\"Punkt\";\"Code\";\"Rechts\";\"Hoch\";\"Höhe\"",
                                "\"P1\";\"K 1\";4512345.678;5712345.678;101.5",
                                "\"P2\",\"K2\",4498765.432,5698765.432,75"}),
            5, kGaussKrueger, [&] { dialogs->expectMessage("1 Zeilen mit fehlerhaften"); });
  auto r = rows();
  ASSERT_EQ(r.size(), 2);
  EXPECT_EQ(r[0]["id"], "2");
  EXPECT_EQ(r[0]["Punkt"].trimmed(), "P1");
  EXPECT_EQ(r[0]["C"], "K_1");
  EXPECT_EQ(r[1]["C"], "K2");
  EXPECT_EQ(r[1]["sYe"], "4498765.4320");

  runImport(writeFile("c.csv", {"custom_coords", "P7,4512345.678,5712345.678,101.5"}), 5, kGaussKrueger,
            [&] { dialogs->expectMessage("1 Zeilen mit fehlerhaften"); });
  r = rows();
  ASSERT_EQ(r.size(), 1);
  EXPECT_EQ(r[0]["C"], "P7");
  EXPECT_EQ(r[0]["sXe"], "5712345.6780");
  EXPECT_TRUE(dialogs->allDone());
}

TEST_F(ImportTest, PblhTabInDegreesMinutesSecondsDecimalDegreesAndBlankSeparatedParts) {
  startWithTables(false);
  const Dms lat = ToDms(kLat), lon = ToDms(kLon);
  const auto dms = [](const Dms& a) {
    return QString::number(a.d) + QChar(0x00B0) + QString::number(a.m) + "'" + QString::number(a.s, 'f', 7) + "\"";
  };
  const auto parts = [](const Dms& a) {
    return QString::number(a.d) + " " + QString::number(a.m) + " " + QString::number(a.s, 'f', 7);
  };
  struct Case {
    QString line;
    int format;
  } cases[] = {
      {"P1\t" + dms(lat) + "N\t" + dms(lon) + "E\t101.5", 0},
      {"P1  " + QString::number(kLat, 'f', 13) + "   " + QString::number(kLon, 'f', 13) + " 101.5", 1},
      {"P1\t" + parts(lat) + "\t" + parts(lon) + "\t101.5", 0},
  };
  for (const Case& c : cases) {
    runImport(writeFile("p.txt", {c.line}), 6, [&](orv::FormOrvenilSystemAuswahl& d) {
      d.Startsys->select(1);
      d.StartAbbildung->select(2);
      d.FormatEingabeGeographisch->select(c.format);
    });
    const auto r = rows();
    ASSERT_EQ(r.size(), 1) << c.line.toStdString();
    EXPECT_EQ(r[0]["C"], "P1");
    EXPECT_NEAR(r[0]["radBg"].toDouble(), kLat * kPi / 180, 2e-11) << c.line.toStdString();
    EXPECT_NEAR(r[0]["radLg"].toDouble(), kLon * kPi / 180, 2e-11);
    EXPECT_EQ(r[0]["sHg"], "101.5000");
    EXPECT_EQ(r[0]["sZe"], "101.5000");
    EXPECT_EQ(r[0]["Zone"], "12");
    if (c.format == 1) {
      EXPECT_EQ(r[0]["BgDez"], QString::number(kLat, 'f', 13));
    }
  }
  EXPECT_TRUE(dialogs->allDone());
}

// First vessel format: the dialog presets geographic input in decimal
// minutes; repeated time stamps get suffixes, a zero position is skipped.
TEST_F(ImportTest, VesselAFileWithRepeatedTimeAndZeroLatitude) {
  startWithTables(false);
  dialogs->expectOpenFile(writeFile("fahrt.csv", {"\"Zeit\";Breite;Laenge;Tiefe", "12:00:01;5132.43653;1210.67659;5",
                                                  "12:00:01;5132.43660;1210.67670;6", "12:00:02;0;1210.67670;5",
                                                  "12:00:03;5132.43670;1210.67680;7"}),
                          orv::kFilterVesselA);
  dialogs->expectModal([](QDialog* d) {
    auto* dlg = static_cast<orv::FormOrvenilSystemAuswahl*>(d);
    dlg->Timer1_Timer();
    EXPECT_EQ(orv::State().StartAbbildungIndex, 2);
    EXPECT_EQ(orv::State().FormatEingabeGeographischIndex, 2);
    dlg->cmdLaden_Click();
    return 1;
  });
  dialogs->expectMessage("1 Zeilen mit fehlerhaften");
  form->Coolbar2_ButtonClick(orv::kKeyDbOeffnen);
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
  const auto r = rows();
  ASSERT_EQ(r.size(), 3);
  EXPECT_EQ(orv::State().ImportKopfzeile, "\"Zeit\";Breite;Laenge;Tiefe");
  EXPECT_EQ(r[0]["id"], "1");
  EXPECT_EQ(r[0]["Punkt"], QString(12, ' ') + "12:00:01");
  EXPECT_EQ(r[1]["Punkt"], QString(12, ' ') + "12:00:01_01");
  EXPECT_EQ(r[2]["Punkt"].trimmed(), "12:00:03");
  EXPECT_EQ(r[1]["Zeile"], "12:00:01_01;5132.43660;1210.67670;6");
  EXPECT_EQ(r[0]["C"], "");
  EXPECT_EQ(r[0]["sZe"], "75");
  EXPECT_EQ(r[0]["sBg"], orv::DezMinInGrad("5132.43653"));
  EXPECT_EQ(orv::State().PunktnamenZaehler, 1);
}

// Second vessel format: names from the file name and the time since the
// first line, over midnight; the NTv2 set of the vessel chain is chosen.
TEST_F(ImportTest, VesselBFileOverMidnight) {
  startWithTables(false);
  const QString path = writeFile("fahrt_2023-05-01_23.59.58_Track3.vorsel",
                                 {"Latitude,Longitude,Height,a,b,c,Time", "51.5406,12.1779,101.5,x,x,x,2023-05-01T23:59:58",
                                  "0.000,12.1,100,x,x,x,2023-05-01T23:59:59",
                                  "51.5407,12.1780,102,x,x,x,2023-05-02T00:00:00.5"},
                                 "\n");
  form->CommonDialog1.FileName = path;
  dialogs->expectOpenFile(path, orv::kFilterVesselB);
  dialogs->expectModal([](QDialog* d) {
    auto* dlg = static_cast<orv::FormOrvenilSystemAuswahl*>(d);
    dlg->Timer1_Timer();
    EXPECT_EQ(orv::State().FormatEingabeGeographischIndex, 1);
    dlg->cmdLaden_Click();
    return 1;
  });
  dialogs->expectMessage("1 Zeilen mit fehlerhaften");
  // The chain runs the track back through the set and offers the export;
  // the test's folder holds no grid of that set.
  dialogs->expectMessage("TARQ-SN.gsa fehlt");
  dialogs->expectSaveFileCancel();
  form->Coolbar2_ButtonClick(orv::kKeyDbOeffnen);
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
  EXPECT_EQ(dialogs->fileRequests().value(0).filterIndex, orv::kFilterVesselB);
  EXPECT_EQ(orv::State().SpeichernSpaltenNr, "1,2,18,19,20");
  const auto r = rows();
  ASSERT_EQ(r.size(), 2);
  EXPECT_EQ(r[0]["Punkt"].trimmed(), "0501T3-2359580");
  EXPECT_EQ(r[1]["Punkt"].trimmed(), "0501T3-2400005");
  EXPECT_EQ(r[0]["C"], "0");
  EXPECT_EQ(r[0]["BgDez"], "51.5406");
  // The user's file with LF line ends is left as it was.
  EXPECT_FALSE(bytesOf(path).contains("\r\n"));
  EXPECT_EQ(form->ComboTrafoPara->Text(), "Sachsen TARQ-SN");
  // The list opened by the type choice is closed again, since the chain
  // picked the set itself: it would swallow the user's next click.
  EXPECT_TRUE(dialogs->openedDropDowns().contains(form->ComboTrafoPara));
  EXPECT_FALSE(dialogs->openDropDownsNow().contains(form->ComboTrafoPara));
}

TEST(ImportLineFormats, AngleSignsAndSeparators) {
  orv::ImportLineState st;
  QString line = "1001   186712.12''  50168.63'' 35";
  EXPECT_EQ(orv::NormaliseImportLine(line, 1, st, {}), orv::LineDecision::Use);
  EXPECT_EQ(line, "1001\t186712.12\"\t50168.63\"\t35");
  line = QString("P1 K1 52") + QChar(0x00B0) + " 30' 15.5\" 13" + QChar(0x00B0) + " 20' 10\" 0";
  orv::NormaliseImportLine(line, 4, st, {});
  EXPECT_EQ(line.split('\t').size(), 5);
  line = "P1;K 1;1.5";
  orv::NormaliseImportLine(line, 5, st, {});
  EXPECT_EQ(line, "P1\tK_1\t1.5");
  line = "P1 52.5 13.4 35";
  orv::NormaliseImportLine(line, 6, st, {});
  EXPECT_EQ(line, "P1\tP1\t52.5\t13.4\t35");
  line = "12:00;0.0;13";
  EXPECT_EQ(orv::NormaliseImportLine(line, 7, st, {}), orv::LineDecision::Use);
  line = "12:00;13;0";
  EXPECT_EQ(orv::NormaliseImportLine(line, 7, st, {}), orv::LineDecision::SkipCounted);
  line = "a  b";
  EXPECT_EQ(orv::NormaliseImportLine(line, 9, st, {}), orv::LineDecision::Use);
  EXPECT_EQ(line, "a  b");
}

// A file named on the command line opens the dialog with its name, and a
// ".VORSEL" file with the second vessel format's filter.
TEST_F(ImportTest, CommandLineFileOpensTheImportDialog) {
  putAllTables();
  start("\"" + root.path() + "/F_2023-05-01_12.00.00_Track1.VORSEL\"");
  dialogs->clearRecords();
  dialogs->expectOpenFileCancel();
  form->TimerAllg_Timer();
  EXPECT_TRUE(dialogs->allDone());
  ASSERT_EQ(dialogs->fileRequests().size(), 1);
  EXPECT_EQ(dialogs->fileRequests()[0].filterIndex, orv::kFilterVesselB);
  EXPECT_EQ(dialogs->fileRequests()[0].fileName, root.path() + "/F_2023-05-01_12.00.00_Track1.VORSEL");
  EXPECT_EQ(dialogs->fileRequests()[0].filter, orv::kImportFilter);
}
