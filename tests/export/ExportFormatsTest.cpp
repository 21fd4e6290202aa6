// Every output format written from a small job through the window, compared
// byte for byte (CR LF, Windows-1252, number patterns); the .xls read back
// by an outside reader.
#include <QFile>
#include <QFileInfo>

#include "ExportFixture.h"
#include "io/ExportFileChoice.h"
#include "xls/XlsReadBack.h"

using namespace orv;

namespace {

QString Pt(const QString& name) { return name.size() < 16 ? name.rightJustified(20) : name; }

QList<Row> SmallJob() {
  return {
      {{"Punkt", Pt("P1")},
       {"C", "Bäume"},
       {"sYe", "4512345.6789"},
       {"sXe", "5712345.1000"},
       {"sZe", "98.2500"}},
      {{"Punkt", Pt("P2")}, {"C", "K"}, {"sYe", ""}, {"sXe", ""}, {"sZe", "1.0000"}},
      {{"Punkt", Pt("P3")}, {"C", "K"}, {"sYe", "4512000.0000"}, {"sXe", "5712000.0000"}, {"sZe", ""}},
      {{"Punkt", "PUNKT-NAME-18-LANG"}, {"C", "C"}, {"sYe", "1"}, {"sXe", "2"}},
  };
}

}  // namespace

TEST_F(ExportTest, ColumnFormatsByteForByte) {
  fill(SmallJob());
  const QByteArray ae = "B\xE4ume";
  struct Case {
    int filter;
    QByteArray expected;
  } cases[] = {
      {1, "P1 " + ae +
              " 4512345.6789 5712345.1000 98.2500\r\nP3 K 4512000.0000 5712000.0000\r\n"
              "PUNKT-NAME-18-LANG C 1 2 \r\n"},
      {2, "P1\t" + ae +
              "\t4512345.6789\t5712345.1000\t98.2500\r\nP3\tK\t4512000.0000\t5712000.0000\t\r\n"
              "PUNKT-NAME-18-LANG\tC\t1\t2\t\r\n"},
      {4, "P1;" + ae +
              ";4512345.6789;5712345.1000;98.2500\r\nP3;K;4512000.0000;5712000.0000;\r\n"
              "PUNKT-NAME-18-LANG;C;1;2;\r\n"},
      // Geograf: point 1-15, code 18-25, coordinates 28-38, 41-51, height
      // 54-64; an 18-character point keeps the record on its line.
      {8, "             P1     " + ae +
              "  4512345.679  5712345.100       98.250\r\n"
              "             P3         K  4512000.000  5712000.000\r\n"
              "PUNKT-NAME-18-LANG        C      1.000        2.000\r\n"},
  };
  for (const Case& c : cases) {
    dialogs->clearRecords();
    // The extension is forced; the name keeps its letters.
    exportAs(out + "Punkte", c.filter, "1,2,3,4,5");
    const QString written = out + "Punkte" + ExportExtension(c.filter);
    QByteArray expected = c.expected;
    if (c.filter == 1) expected.replace("LANG C 1 2 \r\n", "LANG C 1 2\r\n");
    EXPECT_EQ(textOf(written), expected.toStdString()) << "filter " << c.filter;
    // P2 has neither easting nor northing: left out and counted twice.
    ASSERT_EQ(dialogs->messages().size(), 1);
    EXPECT_EQ(dialogs->messages()[0].text,
              "2 Koordinaten ohne gültigen Wert!   \nDie betroffenen Punkte wurden nicht exportiert!   ");
    EXPECT_EQ(dialogs->messages()[0].icon, MsgIcon::Exclamation);
    QFile::remove(written);
  }
  EXPECT_TRUE(dialogs->allDone());
}

// A value holding a double quote, the seconds sign of a degree text
// among them, is written in double quotes with the quote doubled, so that
// every csv reader keeps the fields apart.
TEST_F(ExportTest, CsvQuotesEveryValueWithADoubleQuote) {
  fill({{{"Punkt", Pt("P1")}, {"C", "2\""}, {"sBg", "51\u00B002'03.12345\""}, {"sLg", "13\u00B004'05.5\""}}});
  exportAs(out + "winkel", 4, "1,2,9,10");
  EXPECT_EQ(textOf(out + "winkel.csv"),
            "P1;\"2\"\"\";\"51\xB0"
            "02'03.12345\"\"\";\"13\xB0"
            "04'05.5\"\"\"\r\n");
  EXPECT_TRUE(dialogs->allDone());
}

TEST_F(ExportTest, SaveDialogRulesOverwriteAndUnwritableFiles) {
  fill(SmallJob());
  State().ImportDatei = "/daten/Messung.Alt.txt";
  // Filter presets by export preset; names of the chosen file.
  EXPECT_EQ(ExportFilterForPreset("Eingabe geozentrisch"), 8);
  EXPECT_EQ(ExportFilterForPreset("Ziel Kalkschiff Brisa"), 5);
  EXPECT_EQ(ExportFileName("/Daten/Mess/Points.PKT", 2), "/Daten/Mess/Points.PKT");
  EXPECT_EQ(ExportFileName("/Daten/points.in", 8), "/Daten/points.in");

  // No keeps the older file and asks again with the default name.
  const QString old = out + "alt.pkt";
  QFile f(old);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("alt\r\n");
  f.close();
  exportAs(old, 1, "1,2", QString(), [&] {
    dialogs->expectMessage("Datei schon vorhanden! Überschreiben?", MsgResult::No);
    dialogs->expectSaveFileCancel();
  });
  ASSERT_EQ(dialogs->fileRequests().size(), 2);
  EXPECT_EQ(dialogs->fileRequests()[1].fileName.toStdString(), "export_Messung.Alt");
  EXPECT_EQ(dialogs->fileRequests()[1].filterIndex, 1);
  EXPECT_EQ(bytesOf(old), "alt\r\n");

  // A file that cannot be created is reported by name.
  dialogs->clearRecords();
  const QString missing = out + "fehlt/x.pkt";
  exportAs(missing, 1, "1,2");
  ASSERT_EQ(dialogs->messages().size(), 1);
  EXPECT_TRUE(dialogs->messages()[0].text.contains(missing)) << dialogs->messages()[0].text.toStdString();
  EXPECT_EQ(dialogs->messages()[0].icon, MsgIcon::Critical);
  EXPECT_TRUE(dialogs->allDone());
}

// Replacing a file is asked once, by the program, for the path that is
// written: the name as chosen, the extension added where it is missing.
TEST_F(ExportTest, OverwriteIsAskedOnceForThePathWritten) {
  fill(SmallJob());
  for (const QString chosen : {"Vorgabe.in", "Vorgabe"}) {
    const QString path = out + "Vorgabe.in";
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("alt\r\n");
    f.close();
    dialogs->clearRecords();
    exportAs(out + chosen, 8, "1,2", QString(),
             [&] { dialogs->expectMessage("Überschreiben?    \n" + path, MsgResult::Yes); });
    ASSERT_EQ(dialogs->fileRequests().size(), 1);
    EXPECT_FALSE(dialogs->fileRequests()[0].overwritePrompt);
    EXPECT_NE(bytesOf(path), "alt\r\n");
    EXPECT_FALSE(QFileInfo::exists(out + "vorgabe.in"));
  }
  EXPECT_TRUE(dialogs->allDone());
}

TEST_F(ExportTest, VesselSetWritesCsvPointsAndLines) {
  QList<Row> rows;
  const int marks[] = {1, 1, 0, 1, 1, 1};
  for (int i = 0; i < 6; ++i)
    rows << Row{{"Punkt", QString("12.05.2021 10:11:1%1").arg(i)},
                {"Zeile", QString("L%1;2;3;4;5;6;7;8;9;10;11;12;13;14;%2").arg(i).arg(marks[i])},
                {"sYeZiel", "4512345.678"},
                {"sXeZiel", "5712345.123"}};
  fill(rows);
  State().ImportKopfzeile = "Zeit;x";
  State().EllipsoidZielKoordinaten = "Bessel";
  // Only the final ".csv" of the path gives way to ".pkt" and ".lne".
  const QString folder = out + "reise.csv.d/";
  QDir().mkpath(folder);
  exportAs(folder + "fahrt.csv", 5, "1,2,18,19", "Ziel Kalkschiff Brisa");

  const QByteArray csv = bytesOf(folder + "fahrt.csv");
  EXPECT_TRUE(csv.startsWith(
      "Zeit;x;Y(RD83);X(RD83)\r\nL0;2;3;4;5;6;7;8;9;10;11;12;13;14;1; ;4512345,678;5712345,123\r\n"));
  EXPECT_EQ(csv.count("\r\n"), 7);
  const QByteArray pkt = bytesOf(folder + "fahrt.pkt");
  EXPECT_TRUE(pkt.startsWith("120521.101110   1 4512345.678  5712345.123\r\n"));
  EXPECT_EQ(pkt.count("\r\n"), 5);
  EXPECT_EQ(bytesOf(folder + "fahrt.lne"),
            lines({"1 ( 120521.101110   120521.101111   )", "1 ( 120521.101113   120521.101114   )",
                   "1 ( 120521.101114   120521.101115   )"}));
}

TEST_F(ExportTest, LgoFilesByPreset) {
  fill({{{"Punkt", Pt("P1")},
         {"sYe", "3412345.678"},
         {"sXe", "5712345.123"},
         {"sZe", "98.25"},
         {"sBg", "51°02'03.12345\""},
         {"sLg", "13°04'05.5\""}}});
  exportAs(out + "lgo", 6, "1,3,4,5", "Eingabe LGO ETRS89");
  EXPECT_EQ(textOf(out + "lgo.asc"),
            lines({"@%Unit:                m", "@%Coordinate type:     Grid",
                   "@%Reference ellipsoid: WGS 1984", "@%Projection set:      UTM 33",
                   "@#P1                  412345.678    5712345.123            98.25            33"})
                .toStdString());
  exportAs(out + "geo", 6, "1,9,10,5", "Eingabe LGO Geodetic");
  EXPECT_EQ(
      textOf(out + "geo.asc"),
      lines({"@%Unit:                m", "@%Coordinate type:     Geodetic", "@%Reference ellipsoid: WGS 1984",
             "@#P1               51 02 03.12345  N  13 04 05.5      E    98.25            22"})
          .toStdString());
  // Any other preset would give a file without points: none is made, and
  // the message says why.
  exportAs(out + "leer", 6, "1,3,4,5", "Ziel verebnet", [&] {
    dialogs->expectMessage("Eine LGO-Datei wird nur mit der Vorlage \"Eingabe LGO ETRS89\" oder");
  });
  EXPECT_FALSE(QFileInfo::exists(out + "leer.asc"));
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
}

TEST_F(ExportTest, WaypointsWithHeightAnswerCancelAndPresetsWithoutPositions) {
  fill({{{"Punkt", Pt("P1")}, {"BgDezZiel", "51.123456789"}, {"LgDezZiel", "13.50000004"}},
        {{"Punkt", Pt("P2")}, {"BgDezZiel", ""}, {"LgDezZiel", "x"}}});
  const char* fixed[] = {"ClimbRate=10", "DelayTime=1", "WP_Event_Channel_Value=1",
                         "Heading=124",  "Speed=20",    "CAM-Nick=-1",
                         "Type=1",       "Prefix=P"};
  auto section = [&](int n, const char* lat, const char* lon, const char* alt) {
    QByteArray b = QByteArray("[Point") + QByteArray::number(n) + "]\r\n";
    b += QByteArray("Latitude=") + lat + "\r\nLongitude=" + lon + "\r\n";
    b += QByteArray("Radius=5\r\nAltitude=") + alt + "\r\n";
    for (const char* f : fixed) b += QByteArray(f) + "\r\n";
    return b;
  };
  const QByteArray head = lines({"[General]", "FileVersion=3", "NumberOfWaypoints=1"});

  // P2 has no place: left out and counted.
  exportAs(out + "flug", 7, "1,2,29,30,5", "Eingabe Mikrokopter aus Zielsystem", [&] {
    dialogs->expectInput("Flughöhe über Grund (HGT): ", "12,5");
    dialogs->expectMessage("2 Koordinaten ohne gültigen Wert!");
  });
  EXPECT_EQ(textOf(out + "flug.wpl"), (head + section(1, "51.1234568", "13.5", "12.5")).toStdString());

  // A height the box cannot read whole is asked again; OK with an empty box is 0.
  const QString target = "Eingabe Mikrokopter aus Zielsystem";
  exportAs(out + "eben", 7, "1,2,29,30,5", target, [&] {
    dialogs->expectInput("Flughöhe", "12x");
    dialogs->expectMessage("\"12x\"");
    dialogs->expectInput("Flughöhe", "abc");
    dialogs->expectMessage("\"abc\"");
    dialogs->expectInput("Flughöhe", "");
    dialogs->expectMessage("2 Koordinaten ohne gültigen Wert!");
  });
  EXPECT_EQ(textOf(out + "eben.wpl"), (head + section(1, "51.1234568", "13.5", "0")).toStdString());

  // Cancel in the height box writes no file.
  exportAs(out + "abbruch", 7, "1,2", target, [&] { dialogs->expectInputCancel("Flughöhe"); });
  EXPECT_FALSE(QFileInfo::exists(out + "abbruch.wpl"));

  // A preset without latitude and longitude would give waypoints without a
  // position: refused before the height is asked, no file.
  exportAs(out + "ohne", 7, "1,2,18,19", "Ziel verebnet", [&] {
    dialogs->expectMessage("Eine Wegpunktdatei wird nur mit der Vorlage \"Eingabe Mikrokopter aus Startsystem\" oder "
                           "\"Eingabe Mikrokopter aus Zielsystem\" geschrieben; mit der Vorlage \"Ziel verebnet\"");
  });
  EXPECT_FALSE(QFileInfo::exists(out + "ohne.wpl"));
  EXPECT_TRUE(dialogs->allDone());
}

TEST_F(ExportTest, XlsInGridOrderOverTwoSheetsReadBack) {
  QList<Row> rows;
  QList<QStringList> expected{{"Punkt", "C", "sYe"}};
  for (int i = 70002; i >= 0; --i) {
    const QString point = QString("P%1").arg(i, 6, 10, QChar('0'));
    // Three rows have no easting and are left out.
    const QString easting = i % 30000 == 1 ? QString() : QString::number(4500000 + i) + ".5000";
    rows << Row{{"Punkt", point}, {"C", i % 2 ? "Bäume" : ""}, {"sYe", easting}};
  }
  for (int i = 0; i <= 70002; ++i)
    if (i % 30000 != 1)
      expected << QStringList{QString("P%1").arg(i, 6, 10, QChar('0')), i % 2 ? "Bäume" : "",
                              QString::number(4500000 + i) + ".5000"};
  fill(rows);
  exportAs(out + "Tabelle", 3, "1,2,3");
  const test::ReadWorkbook book = test::readWorkbook(out + "Tabelle.xls");
  ASSERT_TRUE(book.readable) << book.complaints.toStdString();
  ASSERT_EQ(book.sheets.size(), 2);
  EXPECT_EQ(book.sheets[0].rows, 65536);
  QList<QStringList> read = book.sheets[0].cells + book.sheets[1].cells;
  ASSERT_EQ(read.size(), expected.size());
  EXPECT_EQ(read, expected);
  EXPECT_TRUE(dialogs->allDone());
}

// The LGO header names the UTM zone of the eastings written without their
// zone digit; rows in another zone or in both zones refuse the file. A
// point whose easting was never computed is left out and counted.
TEST_F(ExportTest, LgoHeaderNamesTheZoneOfTheEastingsOrRefuses) {
  const auto point = [](const char* name, const char* easting) {
    return Row{{"Punkt", Pt(name)}, {"sYe", easting}, {"sXe", "5712345.123"}, {"sZe", "98.25"}};
  };
  fill({point("P1", "2412345.678"), Row{{"Punkt", Pt("P2")}, {"sXe", "5712345.123"}, {"sZe", "1"}},
        point("P3", "2498765.432")});
  exportAs(out + "z32", 6, "1,3,4,5", "Eingabe LGO ETRS89",
           [&] { dialogs->expectMessage("1 Koordinaten ohne gültigen Wert!"); });
  EXPECT_EQ(textOf(out + "z32.asc"),
            lines({"@%Unit:                m", "@%Coordinate type:     Grid",
                   "@%Reference ellipsoid: WGS 1984", "@%Projection set:      UTM 32",
                   "@#P1                  412345.678    5712345.123            98.25            33",
                   "@#P3                  498765.432    5712345.123            98.25            33"})
                .toStdString());

  // Zone 33 beside zone 32, then zone 31 alone: no file, the message says why.
  fill({point("P4", "3412345.678")});
  exportAs(out + "beide", 6, "1,3,4,5", "Eingabe LGO ETRS89",
           [&] { dialogs->expectMessage("in UTM-Zone 32 (Punkt P1) und in UTM-Zone 33 (Punkt P4)"); });
  State().KooDb.execute("DELETE FROM Daten");
  fill({point("P5", "1412345.678")});
  exportAs(out + "z31", 6, "1,3,4,5", "Eingabe LGO ETRS89", [&] {
    dialogs->expectMessage(
        "Punkt P5: der Rechtswert 1412345.678 liegt weder in UTM-Zone 32 noch in UTM-Zone 33");
  });
  EXPECT_FALSE(QFileInfo::exists(out + "beide.asc"));
  EXPECT_FALSE(QFileInfo::exists(out + "z31.asc"));
  EXPECT_EQ(dialogs->messages().last().icon, MsgIcon::Critical);
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("\n").toStdString();
}

// An export to a symbolic link writes the file the link leads to and keeps
// the link, in every format; a link to a file not yet there creates it.
TEST_F(ExportTest, ExportThroughSymbolicLinkWritesTheLinkedFile) {
  fill({{{"Punkt", Pt("P1")},
         {"C", "K"},
         {"sYe", "2412345.678"},
         {"sXe", "5712345.123"},
         {"sZe", "98.25"},
         {"sBg", "51°02'03.12345\""},
         {"sLg", "13°04'05.5\""},
         {"BgDez", "51.5"},
         {"LgDez", "9.5"},
         {"sYeZiel", "2412345.678"},
         {"sXeZiel", "5712345.123"},
         {"Zeile", "a;b"}}});
  State().EllipsoidZielKoordinaten = "Bessel";
  const QString shared = root.path() + "/shared/";
  QDir().mkpath(shared);
  struct Case {
    int filter;
    QString columns, preset, name;
  } cases[] = {
      {1, "1,2,3,4,5", "", "punkte.pkt"},
      {3, "1,2,3", "", "tabelle.xls"},
      {5, "1,2,18,19", "Ziel Kalkschiff Brisa", "fahrt.csv"},
      {6, "1,3,4,5", "Eingabe LGO ETRS89", "lgo.asc"},
      {7, "1,2,11,12,5", "Eingabe Mikrokopter aus Startsystem", "flug.wpl"},
      {8, "1,2,3,4,5", "", "punkte.in"},
  };
  for (const Case& c : cases) {
    for (bool dangling : {false, true}) {
      SCOPED_TRACE(c.name.toStdString() + (dangling ? " dangling" : ""));
      const QString name = (dangling ? "neu_" : "") + c.name;
      const QString linked = shared + name, link = out + name;
      QFile::remove(linked);
      if (!dangling) {
        QFile old(linked);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("alt\r\n");
      }
      ASSERT_TRUE(QFile::link(linked, link));
      exportAs(link, c.filter, c.columns, c.preset, [&] {
        if (!dangling) dialogs->expectMessage("Datei schon vorhanden! Überschreiben?", MsgResult::Yes);
        if (c.filter == 7) dialogs->expectInput("Flughöhe", "80");
      });
      EXPECT_TRUE(QFileInfo(link).isSymLink());
      EXPECT_EQ(QFileInfo(link).symLinkTarget().toStdString(), QFileInfo(linked).absoluteFilePath().toStdString());
      const QByteArray written = bytesOf(linked);
      EXPECT_GT(written.size(), 10);
      EXPECT_FALSE(written.startsWith("alt"));
      QFile::remove(link);
    }
  }
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
}
