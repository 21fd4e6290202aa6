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

// Projected ETRS89 points imported from TAB lines, or the same read as
// geographic coordinates in degrees, minutes and seconds.
std::function<void(orv::FormOrvenilSystemAuswahl&)> Etrs89(bool geographic = false) {
  return [geographic](orv::FormOrvenilSystemAuswahl& d) {
    d.Startsys->select(0);
    d.orthoNäherungshöhe->SetText("0");
    if (geographic) d.StartAbbildung->select(2);
  };
}

}  // namespace

TEST_F(ReadBackTest, EveryWrittenPointReadsBackOrIsNamed) {
  startWithTables(false);
  // ETRS89 eastings with the zone in front; points of 25 (with umlauts), 17
  // and 18 characters, a code with a blank, an empty code, codes wider than
  // their room, negative and zero heights; apostrophes at the end of a point
  // or code (one that looks like an angle's seconds joins the blank after
  // it), a code with the csv's separators and quotes.
  const QString jobFile = writeFile("job.txt", {"Grenzpunkt-Südöstlich-Nr1\tK 1\t32512345.678\t5712345.678\t-12.345",
                                  "Punkt-Nummer-17ab\tBaum1234\t32512000.000\t5712000.000\t0",
                                  "Punkt-mit-18-Zeich\t\t32412345.678\t5812345.678\t0.001",
                                                "P4\tKanaldeckel\t32612345.678\t5612345.678\t-0.5",
                                                "P1''\tK4''\t32512100.000\t5712100.000\t1.5",
                                                "P2'\tMauer,2;\"1\"\t32512200.000\t5712200.000\t2.5",
                                                "12''\tK5\t32512300.000\t5712300.000\t3.5"});
  // A code with a degree sign, which the import refuses beside projected
  // coordinates (and every line after it).
  const auto loadJob = [&] {
    runImport(jobFile, 1, Etrs89());
    orv::State().KooDb.execute("UPDATE Daten SET C = 'Kanal°' WHERE trim(Punkt) = 'P4'");
  };
  loadJob();
  const auto job = ByPoint(rows());
  ASSERT_EQ(job.size(), 7);
  ASSERT_EQ(job["Grenzpunkt-Südöstlich-Nr1"]["C"], "K 1");
  ASSERT_EQ(job["Punkt-Nummer-17ab"]["sZe"], "0.0000");

  // The points a file leaves out, each named with its value.
  const QString spaced = "Punkt Grenzpunkt-Südöstlich-Nr1: \"K 1\"", seconds = "Punkt 12'': \"12''\"",
                degree = "Punkt P4: \"Kanal°\"";
  struct Case {
    int filter;       // of the export
    QString file;
    int importFilter;
    QStringList leftOut;
    bool blankCode;    // an empty code is written as "0"
  } cases[] = {
      {1, "ascii.pkt", 1, {spaced, degree, seconds}, true},
      {2, "tab.pkt", 1, {degree}, false},
      {4, "excel.csv", 5, {spaced, degree}, false},
      {8, "geograf.in", 2, {spaced, degree, seconds}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file.toStdString());
    orv::State().SpeichernSpaltenNr = "1,2,3,4,5";
    orv::State().ExportVorlage.clear();
    const QString path = root.path() + "/" + c.file;
    dialogs->expectSaveFile(path, c.filter);
    if (!c.leftOut.isEmpty()) dialogs->expectMessage(c.leftOut.join("\n"));
    form->ExportCoordinateTable();
    runImport(path, c.importFilter, Etrs89());
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
    loadJob();
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

// On a decimal comma desktop the csv writes numbers and the seconds of degree
// texts with it; point numbers and codes stay, and every point reads back.
TEST_F(ReadBackTest, CsvOnADecimalCommaDesktopReadsBack) {
  startWithTables(false);
  orv::SetSeparatorProbe([] { return QStringLiteral("1,1"); });
  const QString jobFile = writeFile(
      "job.txt", {"1.5\t2.5\t32512345.678\t5712345.678\t-1.5", "P2\tK\t32512400.000\t5712400.000\t2.5"});
  runImport(jobFile, 1, Etrs89());
  const auto job = ByPoint(rows());
  for (const bool geographic : {false, true}) {
    orv::State().SpeichernSpaltenNr = geographic ? "1,2,9,10,5" : "1,2,3,4,5";
    const QString path = root.path() + (geographic ? "/geo.csv" : "/eben.csv");
    dialogs->expectSaveFile(path, 4);
    form->ExportCoordinateTable();
    EXPECT_TRUE(bytesOf(path).startsWith(geographic ? "1.5;2.5;\"51\xB0"
                                                      "33'43,40130\"\"\";\"9\xB0"
                                                      "10'41,16362\"\"\";-1,5000\r\n"
                                                    : "1.5;2.5;2512345,6780;5712345,6780;-1,5000\r\n"));
    runImport(path, 5, Etrs89(geographic));
    const auto back = ByPoint(rows());
    ASSERT_EQ(back.keys(), job.keys());
    for (const auto& point : job.keys())
      for (const char* column : {"C", "sZe", geographic ? "sBg" : "sYe", geographic ? "sLg" : "sXe"})
        EXPECT_EQ(back[point][column], job[point][column]) << column;
    runImport(jobFile, 1, Etrs89());
  }
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
}
