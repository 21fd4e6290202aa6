// Input is stored as written or refused with a message naming its line:
// never a different point number, angle or character.
#include <cmath>

#include "ImportFixture.h"
#include "io/ImportLineFormats.h"

namespace {

constexpr double kPi = 3.14159265358979;
const auto kGaussKrueger = [](orv::FormOrvenilSystemAuswahl& d) { d.Startsys->select(1); };

std::function<void(orv::FormOrvenilSystemAuswahl&)> Geographic(int format) {
  return [format](orv::FormOrvenilSystemAuswahl& d) {
    d.StartAbbildung->select(2);
    d.FormatEingabeGeographisch->select(format);
  };
}

}  // namespace

TEST_F(ImportTest, LongPointNumbersAreStoredUnchangedWithTheLinesAfterThem) {
  startWithTables(false);
  const QString longNumber = "Grenzstein-2026-Flur-17-Nr-0815";
  runImport(writeFile("lang.txt", {longNumber + " K1 4512345.678 5712345.678 101.5",
                                   "2 K2 4512345.678 5712345.678 101.5"}),
            1, kGaussKrueger);
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
  const auto r = rows();
  ASSERT_EQ(r.size(), 2);
  EXPECT_EQ(r[0]["Punkt"], longNumber);
  EXPECT_EQ(r[1]["Punkt"], QString(19, ' ') + "2");
}

// The start-data dialog shows decimal minutes as 51°51.13'; the compact
// 5151.13 is read as well, and anything else is refused. In every notation
// the angles are those of the line's layout: fields 3 and 4 of a PBLH TAB
// line (whose point number becomes its code) and of a Geograf line, fields 2
// and 3 of a first-vessel line.
TEST_F(ImportTest, DecimalMinutesInTheDialogsFormAndCompactAreReadOtherTextsRefused) {
  startWithTables(false);
  const QString path = writeFile("dm.txt", {"1001   51°51.13'  13°56.23'", "1002 5151.13 01356.23", "1003 5151,13 1356.23"});
  runImport(path, 6, Geographic(2), [&] { dialogs->expectMessage(path + "', Zeile 3:\n1003"); });
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
  auto r = rows();
  ASSERT_EQ(r.size(), 2);
  EXPECT_EQ(r[0]["C"], "1001");
  const double lat = (51 + 51.13 / 60) * kPi / 180, lon = (13 + 56.23 / 60) * kPi / 180;
  for (const auto& row : r) {
    EXPECT_NEAR(row["radBg"].toDouble(), lat, 1e-12);
    EXPECT_NEAR(row["radLg"].toDouble(), lon, 1e-12);
  }
  runImport(writeFile("gg.txt", {"1001 12 51°51.13'  13°56.23'  100"}), 1, Geographic(2));
  r = rows();
  ASSERT_EQ(r.size(), 1);
  EXPECT_EQ(r[0]["C"], "12");
  EXPECT_EQ(r[0]["sHg"], "100.0000");
  EXPECT_NEAR(r[0]["radBg"].toDouble(), lat, 1e-12);
  runImport(writeFile("fahrt.csv", {"Zeit;Breite;Laenge;Tiefe", "12:00:01;51.86;13.93;5"}), orv::kFilterVesselA,
            Geographic(1));
  r = rows();
  ASSERT_EQ(r.size(), 1);
  EXPECT_NEAR(r[0]["radBg"].toDouble(), 51.86 * kPi / 180, 1e-12);
  EXPECT_NEAR(r[0]["radLg"].toDouble(), 13.93 * kPi / 180, 1e-12);
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
}

TEST_F(ImportTest, DegreeTextsThatCannotBeReadAsWrittenStopWithTheFormatMessage) {
  startWithTables(false);
  const QString good = "1 K 51°30'00.0\" 12°10'00.0\" 100";
  struct Case {
    int format;
    QString first, bad;
  } cases[] = {
      {0, good, "2 K inf 12°10'00.0\" 100"},
      {0, good, "2 K 51°3O'00.0\" 12°10'00.0\" 100"},
      {0, good, "2 K 51°30'00.0\" 12°1O'00.0\" 100"},
      {0, good, "2 K 51,5 12,1 100"},
      {2, "1 K 51°30.0'  12°10.0'", "2 K inf  12°10.0'"},
      // Angles that are no point on the earth.
      {0, good, "2 K 91°00'00.0\" 12°10'00.0\" 100"},
      {1, "1 K 51.5 12.1 100", "2 K 1e5 12.1 100"},
      {1, "1 K 51.5 12.1 100", "2 K 51.5 181 100"},
  };
  for (const Case& c : cases) {
    const QString path = writeFile("geo.txt", {c.first, c.bad});
    runImport(path, 1, Geographic(c.format), [&] { dialogs->expectMessage(path + "', Zeile 2:"); });
    EXPECT_TRUE(dialogs->messageTexts().join("").contains("Format: [P C B L H] nicht vorgefunden!")) << c.bad.toStdString();
    const auto r = rows();
    ASSERT_EQ(r.size(), 1) << c.bad.toStdString();
    EXPECT_NEAR(r[0]["radBg"].toDouble(), 51.5 * kPi / 180, 1e-12);
  }
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
}

// UTF-8 files become Windows-1252 whatever their line ends; a character
// Windows-1252 lacks refuses the file with its line, and the job stays.
TEST_F(ImportTest, Utf8FilesWithLfOrCrLfAreReadAsWindows1252) {
  startWithTables(false);
  const auto writeUtf8 = [&](const QString& name, const QString& text) {
    const QString path = root.path() + "/" + name;
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text.toUtf8());
    return path;
  };
  const QString line = "1 Höhe€ 4512345.678 5712345.678 101.5";
  for (const QString& end : {QString("\n"), QString("\r\n")}) {
    runImport(writeUtf8("utf8.txt", QChar(0xFEFF) + line + end + line + end), 1, kGaussKrueger);
    EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
    const auto r = rows();
    ASSERT_EQ(r.size(), 2);
    EXPECT_EQ(r[0]["C"], "Höhe€");
    EXPECT_EQ(r[0]["Punkt"].trimmed(), "1");
  }
  const QString path = writeUtf8("polnisch.txt", line + "\r\n2 Łódź 4512345.678 5712345.678 101.5\r\n");
  dialogs->expectOpenFile(path, 1);
  dialogs->expectMessage(path + "' ist UTF-8-kodiert und enthält in Zeile 2 das Zeichen 'Ł'");
  form->Coolbar2_ButtonClick(orv::kKeyDbOeffnen);
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
  EXPECT_EQ(rows().size(), 2);
  EXPECT_NE(orv::State().ImportDatei, path);
}

// Without its Windows-1252 copy (the temporary folder cannot take it) a UTF-8
// file would be read with wrong letters: it is refused, naming the copy.
TEST_F(ImportTest, Utf8FileWhoseCopyCannotBeWrittenIsRefused) {
  startWithTables(false);
  const QString job = writeFile("job.txt", {"1 K1 4512345.678 5712345.678 101.5"});
  runImport(job, 1, kGaussKrueger);
  orv::State().TempVerzeichnis = root.path() + "/fehlt/";
  const QString path = root.path() + "/utf8.txt";
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(QString("2 Höhe 4512345.678 5712345.678 101.5\r\n").toUtf8());
  f.close();
  dialogs->expectOpenFile(path, 1);
  dialogs->expectMessage(root.path() + "/fehlt/tmp_dao_orvenil_import_");
  form->Coolbar2_ButtonClick(orv::kKeyDbOeffnen);
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
  EXPECT_TRUE(dialogs->messageTexts().value(0).contains("'" + path + "' nicht richtig gelesen"));
  ASSERT_EQ(rows().size(), 1);
  EXPECT_EQ(rows()[0]["C"], "K1");
  EXPECT_EQ(orv::State().ImportDatei, job);
}

// A sign in front of an angle belongs to the whole angle, in degree texts, in
// blank-separated degrees, minutes and seconds of a TAB file and in decimal
// minutes. A west longitude lies in no zone of the start systems: refused with
// the zone message, never stored as the same angle east.
TEST_F(ImportTest, ASignInFrontOfAnAngleNegatesTheWholeAngle) {
  startWithTables(false);
  const double south = -(52 + 30.0 / 60 + 15.5 / 3600) * kPi / 180, halfSouth = -0.5 * kPi / 180;
  const auto expectSouth = [&](const char* what) {
    const auto r = rows();
    ASSERT_EQ(r.size(), 2) << what;
    EXPECT_NEAR(r[0]["radBg"].toDouble(), south, 1e-11) << what;
    EXPECT_NEAR(r[1]["radBg"].toDouble(), halfSouth, 1e-12) << what;
    EXPECT_NEAR(r[1]["radLg"].toDouble(), 13 * kPi / 180, 1e-12) << what;
  };
  runImport(writeFile("gms.txt", {"1 K -52°30'15.5\" 13°00'00\" 100", "2 K -0°30'00\" 13°00'00\" 100"}), 1,
            Geographic(0));
  expectSouth("degree texts");
  runImport(writeFile("gms.tab", {"1\t-52 30 15.5\t13 00 00\t100", "2\t-0 30 00\t13 00 00\t100"}), 6, Geographic(0));
  expectSouth("blank-separated parts");
  runImport(writeFile("dm.txt", {"1 K -52°30.258333333'  13°00.0'", "2 K -0030.0 1300.0"}), 1, Geographic(2));
  expectSouth("decimal minutes");
  const QString west = writeFile("west.txt", {"W K 52°30'00\" -0°30'00\" 100"});
  runImport(west, 1, Geographic(0), [&] { dialogs->expectMessage("Zone bzw. Koordinatensystem ungültig!"); });
  for (const auto& row : rows()) EXPECT_NE(row["Punkt"].trimmed(), "W");
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
}

// Every input format reads the layout of the start-data dialog's own example
// (point, latitude, longitude) under the Geograf and csv filters; a line with
// a code keeps its angles in fields 3 and 4, even when the code is a number.
TEST_F(ImportTest, TheDialogsExampleLayoutIsReadUnderEveryFilter) {
  startWithTables(false);
  const double lat = (51 + 51.13 / 60) * kPi / 180, lon = (13 + 56.23 / 60) * kPi / 180;
  struct Case {
    int filter, format;
    QStringList lines;
  } cases[] = {
      {1, 2, {"1001   51°51.13'  13°56.23'", "1002 5151.1300 1356.2300", "1003 12 5151.13 1356.23 100"}},
      {4, 2, {"1001   51°51.13'  13°56.23'", "1002 5151.1300 1356.2300", "1003 12 5151.13 1356.23 100"}},
      {5, 2, {"1001;51°51.13';13°56.23'", "1002;5151.1300;1356.2300", "1003;12;5151.13;1356.23;100"}},
      {1, 0, {"1001   51°51'07.8\"  13°56'13.8\"", "1002 51°51'07.8\" 13°56'13.8\"", "1003 12 51°51'07.8\" 13°56'13.8\" 100"}},
      {1, 1, {"1001   51.852166666667°  13.937166666667°", "1002 51.852166666667 13.937166666667",
              "1003 12 51.852166666667 13.937166666667 100"}},
      {1, 3, {"1001   186667.8''  50173.8''", "1002 186667.8 50173.8", "1003 12 186667.8 50173.8 100"}},
  };
  for (const Case& c : cases) {
    const QString what = QStringLiteral("filter %1, format %2").arg(c.filter).arg(c.format);
    runImport(writeFile(c.filter == 5 ? "dm.csv" : "dm.txt", c.lines), c.filter, Geographic(c.format));
    EXPECT_TRUE(dialogs->allDone()) << what.toStdString() << dialogs->messageTexts().join("|").toStdString();
    const auto r = rows();
    ASSERT_EQ(r.size(), 3) << what.toStdString();
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(r[i]["Punkt"].trimmed(), QString::number(1001 + i)) << what.toStdString();
      EXPECT_NEAR(r[i]["radBg"].toDouble(), lat, 1e-11) << what.toStdString() << " line " << i + 1;
      EXPECT_NEAR(r[i]["radLg"].toDouble(), lon, 1e-11) << what.toStdString() << " line " << i + 1;
    }
    EXPECT_EQ(r[0]["C"], "") << what.toStdString();
    EXPECT_EQ(r[2]["C"], "12") << what.toStdString();
    EXPECT_EQ(r[2]["sHg"], "100.0000") << what.toStdString();
  }
}

// The hemisphere letters go before the first csv line is judged: a point in
// the first line is a point, as in every other line.
TEST_F(ImportTest, AFirstCsvLineWithHemisphereLettersIsAPoint) {
  startWithTables(false);
  runImport(writeFile("nord.csv", {"1;K;N52.5;E13.25;100", "2;K;N52.5;O13.25;100"}), 5, Geographic(1));
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
  ASSERT_EQ(rows().size(), 2);
  runImport(writeFile("ohne.csv", {"1;N52.5;E13.25", "2;N52.5;O13.25"}), 5, Geographic(1));
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
  const auto r = rows();
  ASSERT_EQ(r.size(), 2);
  for (const auto& row : r) {
    EXPECT_NEAR(row["radBg"].toDouble(), 52.5 * kPi / 180, 1e-12);
    EXPECT_NEAR(row["radLg"].toDouble(), 13.25 * kPi / 180, 1e-12);
  }
}

// A csv as spreadsheets save it. With German settings the fields are
// separated by ";" and numbers carry a decimal comma; a text holding the
// separator or a double quote is quoted, its quotes doubled. With English
// settings "," separates, and a text holding a comma is quoted.
TEST_F(ImportTest, ASpreadsheetsCsvIsReadAsItWasWritten) {
  startWithTables(false);
  const auto rad = [](double degrees) { return QString::number(degrees * kPi / 180, 'g', 15); };
  struct Case {
    int filter;
    std::function<void(orv::FormOrvenilSystemAuswahl&)> startData;
    QStringList lines;
    QList<QMap<QString, QString>> expected;  // per row: column -> text; "rad…" compared as numbers
  } cases[] = {
      {5,
       kGaussKrueger,
       {"Punkt;Code;Rechtswert;Hochwert;Höhe", "Mühle0;Bäume;5400000;5600000;-12,345",
        "ÄÖÜß1;Gebäude;4403217,123;5611111,111;102,5", "\"Mauer;2\";Mauer,2;5400000,000;5600000,000;0,5",
        "\"Tor\"\"A\"\"\";K;5400000,5;5600000,25;100"},
       {{{"Punkt", "Mühle0"},
         {"C", "Bäume"},
         {"sYe", "5400000.0000"},
         {"sXe", "5600000.0000"},
         {"sZe", "-12.3450"}},
        {{"Punkt", "ÄÖÜß1"},
         {"C", "Gebäude"},
         {"sYe", "4403217.1230"},
         {"sXe", "5611111.1110"},
         {"sZe", "102.5000"}},
        {{"Punkt", "Mauer;2"}, {"C", "Mauer,2"}, {"sYe", "5400000.0000"}, {"sZe", "0.5000"}},
        {{"Punkt", "Tor\"A\""}, {"sYe", "5400000.5000"}, {"sXe", "5600000.2500"}}}},
      {5,
       Geographic(1),
       {"1;K;52,123456789;13,25;100,5", "2;52,123456789;13,25"},
       {{{"BgDez", "52.123456789"}, {"LgDez", "13.25"}, {"sHg", "100.5000"}, {"radBg", rad(52.123456789)}},
        {{"C", ""}, {"BgDez", "52.123456789"}, {"radLg", rad(13.25)}}}},
      {5,
       Geographic(0),
       {"1;K;\"52°07'24,444\"\"\";\"13°15'00,0\"\"\";100"},
       {{{"sBg", "52°07'24.444\""}, {"radBg", rad(52 + 7.0 / 60 + 24.444 / 3600)}}}},
      {5, Geographic(2), {"1;K;52°07,5';13°15,25';100"}, {{{"radBg", rad(52 + 7.5 / 60)}}}},
      {orv::kFilterVesselA,
       Geographic(1),
       {"Zeit;Breite;Laenge;Tiefe", "12:00:01;51,86;13,93;5"},
       {{{"radBg", rad(51.86)}, {"radLg", rad(13.93)}}}},
      {5,
       kGaussKrueger,
       {"P1,\"Mauer,2\",4403217.123,5611111.111,102.5"},
       {{{"C", "Mauer,2"}, {"sYe", "4403217.1230"}, {"sXe", "5611111.1110"}, {"sZe", "102.5000"}}}},
  };
  for (const Case& c : cases) {
    const std::string what = c.lines.join(" | ").toStdString();
    const bool header = c.lines[0].startsWith("Punkt;");
    runImport(writeFile("tabelle.csv", c.lines), c.filter, c.startData, [&] {
      if (header) dialogs->expectMessage("1 Zeilen mit fehlerhaften");
    });
    EXPECT_TRUE(dialogs->allDone()) << what << dialogs->messageTexts().join("|").toStdString();
    const auto r = rows();
    ASSERT_EQ(r.size(), c.expected.size()) << what;
    for (int i = 0; i < r.size(); ++i)
      for (auto it = c.expected[i].begin(); it != c.expected[i].end(); ++it) {
        const QString got = it.key() == "Punkt" ? r[i][it.key()].trimmed() : r[i][it.key()];
        if (it.key().startsWith("rad"))
          EXPECT_NEAR(got.toDouble(), it.value().toDouble(), 1e-9) << what << " " << it.key().toStdString();
        else
          EXPECT_EQ(got, it.value()) << what << " " << it.key().toStdString();
      }
  }
}
