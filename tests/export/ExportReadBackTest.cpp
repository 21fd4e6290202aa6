// Every file the import reads, written by the export and read again through
// the window: each point comes back with its values, or the export left it
// out and said so. The LGO records are read by splitting them at blanks.
#include <QMap>

#include "../import/ImportFixture.h"
#include "foundation/LocaleSwitch.h"
#include "foundation/TextTokens.h"
#include "io/ExportFileChoice.h"
#include "platform/ui/VbTextBox.h"

using ReadBackTest = ImportTest;

namespace {

using Rows = QList<QMap<QString, QString>>;

QMap<QString, QMap<QString, QString>> ByPoint(const Rows& rows) {
  QMap<QString, QMap<QString, QString>> out;
  for (const auto& row : rows) out[orv::TrimBlanks(row["Punkt"])] = row;
  return out;
}

}  // namespace

TEST_F(ReadBackTest, EveryWrittenPointReadsBackOrIsNamed) {
  startWithTables(false);
  // ETRS89 eastings with the zone in front; points of 25 (with umlauts), 17
  // and 18 characters, a code with a blank, an empty code, codes wider than
  // their room, negative and zero heights; apostrophes at the end of a point
  // or code (one that looks like an angle's seconds joins the blank after
  // it), a code with the csv's separators and quotes.
  const auto etrs89 = [](orv::FormOrvenilSystemAuswahl& d) {
    d.Startsys->select(0);
    d.orthoNäherungshöhe->SetText("0");
  };
  const QString jobFile = writeFile("job.txt", {"Grenzpunkt-Südöstlich-Nr1\tK 1\t32512345.678\t5712345.678\t-12.345",
                                  "Punkt-Nummer-17ab\tBaum1234\t32512000.000\t5712000.000\t0",
                                  "Punkt-mit-18-Zeich\t\t32412345.678\t5812345.678\t0.001",
                                                "P4\tKanaldeckel\t32612345.678\t5612345.678\t-0.5",
                                                "P1''\tK4''\t32512100.000\t5712100.000\t1.5",
                                                "P2'\tMauer,2;\"1\"\t32512200.000\t5712200.000\t2.5",
                                                "12''\tK5\t32512300.000\t5712300.000\t3.5"});
  runImport(jobFile, 1, etrs89);
  const auto job = ByPoint(rows());
  ASSERT_EQ(job.size(), 7);
  ASSERT_EQ(job["Grenzpunkt-Südöstlich-Nr1"]["C"], "K 1");
  ASSERT_EQ(job["Punkt-Nummer-17ab"]["sZe"], "0.0000");

  // The points a file leaves out, each named with its value.
  const QString spaced = "Punkt Grenzpunkt-Südöstlich-Nr1: \"K 1\"", seconds = "Punkt 12'': \"12''\"";
  struct Case {
    int filter;       // of the export
    QString file;
    int importFilter;
    QStringList leftOut;
    bool blankCode;    // an empty code is written as "0"
  } cases[] = {
      {1, "ascii.pkt", 1, {spaced, seconds}, true},
      {2, "tab.pkt", 1, {}, false},
      {4, "excel.csv", 5, {spaced}, false},
      {8, "geograf.in", 2, {spaced, seconds}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file.toStdString());
    orv::State().SpeichernSpaltenNr = "1,2,3,4,5";
    orv::State().ExportVorlage.clear();
    const QString path = root.path() + "/" + c.file;
    dialogs->expectSaveFile(path, c.filter);
    if (!c.leftOut.isEmpty()) dialogs->expectMessage(c.leftOut.join("\n"));
    form->ExportCoordinateTable();
    runImport(path, c.importFilter, etrs89);
    auto back = ByPoint(rows());
    EXPECT_EQ(back.size(), job.size() - c.leftOut.size());
    for (auto it = job.begin(); it != job.end(); ++it) {
      if (c.leftOut.join("").contains("Punkt " + it.key() + ":")) continue;
      ASSERT_TRUE(back.contains(it.key())) << it.key().toStdString();
      const auto& row = back[it.key()];
      const QString code = c.blankCode && it.value()["C"].isEmpty() ? "0" : it.value()["C"];
      EXPECT_EQ(row["Punkt"], it.value()["Punkt"]);
      EXPECT_EQ(row["C"], code) << it.key().toStdString();
      for (const char* column : {"sYe", "sXe", "sZe"})
        EXPECT_EQ(row[column], it.value()[column]) << it.key().toStdString() << " " << column;
    }
    runImport(jobFile, 1, etrs89);
  }

  // The LGO records split at their blanks: point, easting without its zone
  // digit, northing, height and the code "33"; in the geodetic file point,
  // latitude and longitude in degrees, minutes and seconds with "N" and
  // "E" after them, height and "22".
  const auto lgo = [&](const QString& columns, const QString& preset) {
    orv::State().SpeichernSpaltenNr = columns;
    orv::State().ExportVorlage = preset;
    const QString path = root.path() + "/lgo" + columns.left(3) + ".asc";
    dialogs->expectSaveFile(path, 6);
    form->ExportCoordinateTable();
    QMap<QString, QStringList> records;
    for (const QByteArray& line : bytesOf(path).split('\n'))
      if (line.startsWith("@#")) {
        const QStringList tokens =
            orv::DecodeWindows1252(line.trimmed().mid(2)).split(' ', Qt::SkipEmptyParts);
        records[tokens.value(0)] = tokens.mid(1);
      }
    return records;
  };
  const auto grid = lgo("1,3,4,5", "Eingabe LGO ETRS89");
  const auto geodetic = lgo("1,9,10,5", "Eingabe LGO Geodetic");
  ASSERT_EQ(grid.size(), 7);
  ASSERT_EQ(geodetic.size(), 7);
  const auto angle = [](const QStringList& t, int at) {
    return t.value(at) + "°" + t.value(at + 1) + "'" + t.value(at + 2) + "\"";
  };
  for (auto it = job.begin(); it != job.end(); ++it) {
    const auto& row = it.value();
    const std::string name = it.key().toStdString();
    EXPECT_EQ(grid[it.key()], (QStringList{row["sYe"].mid(1), row["sXe"], row["sZe"], "33"})) << name;
    const QStringList g = geodetic[it.key()];
    EXPECT_EQ(angle(g, 0), row["sBg"]) << name;
    EXPECT_EQ(g.value(3), "N");
    EXPECT_EQ(angle(g, 4), row["sLg"]) << name;
    EXPECT_EQ(g.mid(7), (QStringList{"E", row["sZe"], "22"})) << name;
  }
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
}

// A "°" in a code: beside projected coordinates every file leaves the point
// out and names it (the import refuses such a line and every one after
// it); beside angles it is kept and reads back.
TEST_F(ReadBackTest, DegreeSignInACodeReadsBackOrIsNamed) {
  startWithTables(false);
  const StartData projected = [](orv::FormOrvenilSystemAuswahl& d) {
    d.Startsys->select(0);
    d.orthoNäherungshöhe->SetText("0");
  };
  const StartData geographic = [&](orv::FormOrvenilSystemAuswahl& d) {
    projected(d);
    d.StartAbbildung->select(2);
  };
  const QString jobFile = writeFile("job.txt", {"P1\tK\t32512345.678\t5712345.678\t1.5",
                                                "P2\tW\t32512400.000\t5712400.000\t2.5",
                                                "P3\tK\t32512500.000\t5712500.000\t3.5"});
  struct Case {
    int filter, importFilter;
    QString columns;
    StartData kind;
    bool named;
  } cases[] = {
      {1, 1, "1,2,3,4,5", projected, true},   {2, 1, "1,2,3,4,5", projected, true},
      {4, 5, "1,2,3,4,5", projected, true},   {8, 2, "1,2,3,4,5", projected, true},
      {1, 1, "1,2,9,10,5", geographic, false}, {4, 5, "1,2,9,10,5", geographic, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.filter);
    runImport(jobFile, 1, projected);
    orv::State().KooDb.execute("UPDATE Daten SET C = 'Winkel°' WHERE trim(Punkt) = 'P2'");
    orv::State().SpeichernSpaltenNr = c.columns;
    orv::State().ExportVorlage.clear();
    const QString path = root.path() + "/winkel" + QString::number(&c - cases);
    dialogs->expectSaveFile(path, c.filter);
    if (c.named) dialogs->expectMessage("Punkt P2: \"Winkel°\"");
    form->ExportCoordinateTable();
    runImport(path + orv::ExportExtension(c.filter), c.importFilter, c.kind);
    const auto back = ByPoint(rows());
    EXPECT_EQ(back.keys(), (c.named ? QStringList{"P1", "P3"} : QStringList{"P1", "P2", "P3"}));
    EXPECT_EQ(back["P3"]["sZe"], "3.5000");
    if (!c.named) {
      EXPECT_EQ(back["P2"]["C"], "Winkel°");
    }
  }
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
}

// On a desktop whose numbers have a decimal comma the csv file writes its
// coordinates, heights and the seconds of degree texts with it, so that the
// desktop's spreadsheet reads numbers; point numbers and codes stay as they
// are, and the import reads every point back.
TEST_F(ReadBackTest, CsvOnADecimalCommaDesktopReadsBack) {
  startWithTables(false);
  struct GermanDesktop {
    GermanDesktop() { orv::SetSeparatorProbe([] { return QStringLiteral("1,1"); }); }
    ~GermanDesktop() { orv::SetSeparatorProbe({}); }
  } german;
  const StartData projected = [](orv::FormOrvenilSystemAuswahl& d) {
    d.Startsys->select(0);
    d.orthoNäherungshöhe->SetText("0");
  };
  const auto geographic = [&](int format) -> StartData {
    return [&, format](orv::FormOrvenilSystemAuswahl& d) {
      projected(d);
      d.StartAbbildung->select(2);
      d.FormatEingabeGeographisch->select(format);
    };
  };
  runImport(writeFile("job.txt", {"1.5\t2.5\t32512345.678\t5712345.678\t-1.5",
                                  "P2\tK\t32512400.000\t5712400.000\t2.5"}),
            1, projected);
  const auto job = ByPoint(rows());
  struct Case {
    QString columns;
    StartData kind;
    QByteArray firstLine;
    QStringList compared;
  } cases[] = {
      {"1,2,3,4,5", projected, "1.5;2.5;2512345,6780;5712345,6780;-1,5000", {"sYe", "sXe", "sZe"}},
      {"1,2,9,10,5", geographic(0), "1.5;2.5;\"51\xB0" "33'43,40130\"\"\";\"9\xB0" "10'41,16362\"\"\";-1,5000\r\n", {"sBg", "sLg", "sZe"}},
      {"1,2,11,12,5", geographic(1), "1.5;2.5;51,", {"BgDez", "LgDez", "sZe"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.columns.toStdString());
    orv::State().SpeichernSpaltenNr = c.columns;
    const QString path = root.path() + "/komma" + QString::number(&c - cases) + ".csv";
    dialogs->expectSaveFile(path, 4);
    form->ExportCoordinateTable();
    const QByteArray written = bytesOf(path);
    EXPECT_TRUE(written.startsWith(c.firstLine)) << written.toStdString();
    runImport(path, 5, c.kind);
    const auto back = ByPoint(rows());
    ASSERT_EQ(back.size(), 2);
    for (auto it = job.begin(); it != job.end(); ++it) {
      EXPECT_EQ(back[it.key()]["C"], it.value()["C"]);
      for (const QString& column : c.compared)
        EXPECT_EQ(back[it.key()][column], it.value()[column]) << column.toStdString();
    }
    runImport(root.path() + "/job.txt", 1, projected);
  }
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
}
