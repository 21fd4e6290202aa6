// Lines as spreadsheets and German programs write them: read by their
// writer's separator, decimal sign and minus sign, or refused with their line.
#include "ImportFixture.h"
#include "io/ImportLineFormats.h"

namespace {

using Choose = std::function<void(orv::FormOrvenilSystemAuswahl&)>;
const Choose kGaussKrueger = [](orv::FormOrvenilSystemAuswahl& d) { d.Startsys->select(1); };
Choose Geographic(int format) {
  return [format](orv::FormOrvenilSystemAuswahl& d) { d.StartAbbildung->select(2); d.FormatEingabeGeographisch->select(format); };
}
QString Rad(double degrees) { return QString::number(degrees * 3.14159265358979 / 180, 'g', 15); }

struct Case {
  int filter;
  Choose startData;
  QStringList lines;
  QMap<QString, QString> first;  // the first row: column -> text ("rad…" compared as numbers)
  QString message = {};
  int rowCount = 1;
};

}  // namespace

class SpreadsheetTextTest : public ImportTest {
 protected:
  void SetUp() override { ImportTest::SetUp(); startWithTables(false); }
  void run(const QList<Case>& cases, const QString& name = "tabelle.csv") {
    for (const Case& c : cases) {
      runImport(writeFile(name, c.lines), c.filter, c.startData, [&] { if (!c.message.isEmpty()) dialogs->expectMessage(c.message); });
      expectRows(c, c.lines.join(" | ").toStdString());
    }
  }
  void expectRows(const Case& c, const std::string& what) {
    EXPECT_TRUE(dialogs->allDone()) << what << dialogs->messageTexts().join("|").toStdString();
    const auto r = rows();
    ASSERT_EQ(r.size(), c.rowCount) << what;
    for (auto it = c.first.begin(); it != c.first.end(); ++it) {
      if (it.key().startsWith("rad")) EXPECT_NEAR(r[0][it.key()].toDouble(), it.value().toDouble(), 1e-9) << what;
      else EXPECT_EQ(r[0][it.key()].trimmed(), it.value()) << what << " " << it.key().toStdString();
    }
  }
};

// Calc's TAB "Text CSV" with decimal commas, refused by name by the decimal
// point formats; the heights merge reads the line alike.
TEST_F(SpreadsheetTextTest, TabSeparatedLinesWithDecimalCommas) {
  const QString line = "P1\t0\t4512345,678\t5712345,678\t101,5";
  run({{5, kGaussKrueger, {line}, {{"Punkt", "P1"}, {"sYe", "4512345.6780"}, {"sXe", "5712345.6780"}, {"sZe", "101.5000"}}},
       {5, Geographic(1), {"P1\t0\t52,5\t13,25\t101,5"}, {{"radBg", Rad(52.5)}, {"radLg", Rad(13.25)}}},
       {1, kGaussKrueger, {line}, {}, "\"4512345,678\" ist eine Zahl mit Dezimalkomma"},
       {6, Geographic(1), {"P1\t52,5\t13,25\t101,5"}, {}, "\"52,5\" ist eine Zahl mit Dezimalkomma"},
       {5, [](orv::FormOrvenilSystemAuswahl& d) { d.Sonderfunktion->select(1); },
        {"P1\t0\t4512345,678\t5712345,678\t99,25"}, {{"sZe", "99.2500"}}, "Es wurden 1 Höhen überschrieben!"}});
}

// Where a line's numbers carry a decimal comma, a "." is no decimal point.
TEST_F(SpreadsheetTextTest, ALineWithDecimalCommasRefusesANumberWithAPoint) {
  const QString good = "M0;0;4512345,678;5712345,678;101,5", at = root.path() + "/tabelle.csv', Zeile ";
  run({{5, kGaussKrueger, {good, "M1;0;4512345,678;5712345,678;1.101"}, {{"Punkt", "M0"}}, at + "2:"},
       {5, kGaussKrueger, {good, "M1\t0\t4512345,678\t5712345.678\t101"}, {{"Punkt", "M0"}}, at + "2:"},
       {5, Geographic(1), {"1;K;52,5;13,25;100", "2;K;52,5;13.25;100"}, {{"radLg", Rad(13.25)}}, at + "2:"},
       {orv::kFilterVesselA, Geographic(1), {"Zeit;Breite;Laenge", "12:00:01;51,86;13,93", "12:00:02;51,86;13.93"},
        {{"radBg", Rad(51.86)}}, at + "3:"}});
  EXPECT_TRUE(dialogs->messageTexts().join("").contains("\"13.93\" mit Punkt"));
}

// Excel's "sep=;" names the separator and is no point; an empty row is
// skipped and counted as an empty line is.
TEST_F(SpreadsheetTextTest, WhatASpreadsheetWritesAroundTheData) {
  const QString skipped = " Zeilen mit fehlerhaften Koordinaten überlesen!";
  run({{5, kGaussKrueger, {"sep=;", "Punkt;Code;Rechts;Hoch;Höhe", "1;K;4512345,678;5712345,678;101,5", ";;;;", "2;K;4512400;5712400;9"},
        {{"sYe", "4512345.6780"}}, "2" + skipped, 2},
       {5, kGaussKrueger, {"sep=,", "1,K,4512345.678,5712345.678,101.5", ",,,,", "2,K,4512400,5712400,9"}, {{"sZe", "101.5000"}}, "1" + skipped, 2},
       {1, kGaussKrueger, {"1 K 4512345.678 5712345.678 101.5", "\t\t\t\t", "2 K 4512400 5712400 9"}, {{"sZe", "101.5000"}}, "1" + skipped, 2}});
}

// gnumeric's minus "as shown": U+2212 in UTF-8, the en dash (0x96) in
// Windows-1252; and a csv saved as "Unicode" (UTF-16 with its mark).
TEST_F(SpreadsheetTextTest, MinusSignsAndEncodingsOfGermanPrograms) {
  const QString text = "1;Höhe;4512345,678;5712345,678;%1\r\n2;K;4512400,5;5712400,5;99\r\n";
  const QString utf16 = QChar(0xFEFF) + text.arg("-12,3450");
  for (const QByteArray& bytes : {text.arg(QChar(0x2212) + QStringLiteral("12,3450")).toUtf8(),
                                  orv::EncodeWindows1252(text.arg(QChar(0x2013) + QStringLiteral("12,3450"))),
                                  QByteArray(reinterpret_cast<const char*>(utf16.utf16()), utf16.size() * 2)}) {
    QFile f(root.path() + "/minus.csv");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size());
    f.close();
    runImport(f.fileName(), 5, kGaussKrueger);
    expectRows({5, {}, {}, {{"C", "Höhe"}, {"sZe", "-12.3450"}}, {}, 2}, bytes.left(40).toHex().toStdString());
  }
}

// A code "90°" before decimal degrees stays a code; the angle signs join
// only the parts of one angle.
TEST_F(SpreadsheetTextTest, ADegreeSignInACodeStaysInTheCode) {
  const double dms = 52 + 30.0 / 60 + 15.5 / 3600;
  run({{1, Geographic(1), {"P1 90° 52.6 13.5 101"}, {{"C", "90°"}, {"radBg", Rad(52.6)}, {"radLg", Rad(13.5)}}},
       {1, Geographic(1), {"P1 K 52.6° 13.5° 101"}, {{"C", "K"}, {"radBg", Rad(52.6)}, {"sHg", "101.0000"}}},
       {1, Geographic(2), {"P1 K 51°51.13' 13°56.23' 100"}, {{"radLg", Rad(13 + 56.23 / 60)}}},
       {1, Geographic(0), {"P1 90° 52° 30' 15.5\" 13° 20' 10\" 100"}, {{"C", "90°"}, {"radBg", Rad(dms)}}},
       {1, Geographic(0), {"P1 K 52° 30' 15.5'' 13° 20' 10'' 100"}, {{"radBg", Rad(dms)}, {"sHg", "100.0000"}}}},
      "winkel.txt");
}
