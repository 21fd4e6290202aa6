// The geoid step of the import with the real geoid program of the build.
#include <QCryptographicHash>

#include "ImportFixture.h"
#include "foundation/NumberText.h"
#include "platform/ui/VbCheckBox.h"
#include "platform/ui/VbComboBox.h"

namespace {

class ImportGeoidTest : public ImportTest {
 protected:
  void SetUp() override {
    ImportTest::SetUp();
    putAllTables();
    putDefaultGeoidFiles();
    start();
    dialogs->clearRecords();
  }
  // A point in Germany and one far north of the model's grid.
  QString file() { return writeFile("utm.txt", {"1 K 32512345.678 5712345.678 101.5", "2 K 32512345.678 6912345.678 10"}); }
  static void chooseModel(orv::FormOrvenilSystemAuswahl& d) { d.cmbGeoidmodell->SetListIndex(1); }
};

}  // namespace

TEST_F(ImportGeoidTest, UndulationsFromTheGeoidProgram) {
  runImport(file(), 1, chooseModel);
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
  const auto r = rows();
  ASSERT_EQ(r.size(), 2);
  const double N = r[0]["Geoidundulation"].toDouble();
  EXPECT_GT(N, 30);
  EXPECT_LT(N, 60);
  EXPECT_EQ(r[0]["sZe"], "101.5000");
  EXPECT_EQ(r[0]["sHg"], orv::FormatNumber(101.5 + N, "0.0000"));
  EXPECT_EQ(r[1]["Geoidundulation"], "Fehler");
  EXPECT_EQ(r[1]["sZe"], "Fehler");
  EXPECT_EQ(r[1]["sHg"], "10.0000");
  EXPECT_FALSE(QFile::exists(dbFile("INPUT.USR")));
  EXPECT_FALSE(QFile::exists(dbFile("OUTPUT.USR")));
}

TEST_F(ImportGeoidTest, MissingProgramIsNamedAndTargetHeightsAreFehler) {
  QFile::remove(dbFile("saphtel.exe"));
  // Named by the import's geoid step, and again by the height run after it.
  runImport(file(), 1, chooseModel, [&] {
    dialogs->expectMessage("saphtel.exe' fehlt!");
    dialogs->expectMessage("saphtel.exe' fehlt!");
  });
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
  const auto r = rows();
  ASSERT_EQ(r.size(), 2);
  EXPECT_EQ(r[0]["Geoidundulation"], "Fehler");
  EXPECT_EQ(r[0]["sZeZiel"], "Fehler");
  EXPECT_EQ(r[0]["sZe"], "101.5000");
  EXPECT_EQ(r[0]["sHg"], "101.5000");
}

// A row takes only the line of the program's answer that repeats its own
// point: a row whose line is missing, or holds no number in front, gets
// "Fehler", and the rows after it keep their own undulations.
TEST_F(ImportGeoidTest, RowsTakeOnlyTheLineOfTheirOwnPoint) {
  putAlteringGeoidProgram();
  const QString job = writeFile("utm.txt", {"1 K 32512345.678 5512345.678 100", "2 K 32512345.678 5712345.678 100",
                                            "3 K 32512345.678 5912345.678 100"});
  runImport(job, 1, chooseModel);
  const QString own = rows()[1]["Geoidundulation"];
  ASSERT_NE(own, rows()[0]["Geoidundulation"]);

  // The first line gone, the third without its number.
  alterGeoidAnswer("1d\n3s/^.\\{10\\}/ kein Wert/\n");
  runImport(job, 1, chooseModel, [&] {
    dialogs->expectMessage("2 Zeilen ohne Zeile mit ihrer Breite und Länge");  // the import's geoid step
    dialogs->expectMessage("2 Zeilen ohne Zeile mit ihrer Breite und Länge");  // the height run after it
  });
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
  const auto r = rows();
  ASSERT_EQ(r.size(), 3);
  EXPECT_EQ(r[1]["Geoidundulation"], own);
  EXPECT_EQ(r[1]["sHg"], orv::FormatNumber(100 + own.toDouble(), "0.0000"));
  for (int i : {0, 2}) {
    EXPECT_EQ(r[i]["Geoidundulation"], "Fehler");
    EXPECT_EQ(r[i]["sZe"], "Fehler");
    EXPECT_EQ(r[i]["sHg"], "100.0000");
  }
}

// Heights merged into the job: every start column the import derives from
// the height becomes that of an import with the new height, so that the next
// run transforms the point with it; projected and geographic jobs alike, and
// a job whose ellipsoidal heights the geoid step raised by the undulation.
TEST_F(ImportGeoidTest, MergedHeightsReachEveryStartColumnDerivedFromTheHeight) {
  const auto gaussKrueger = [](orv::FormOrvenilSystemAuswahl& d) { d.Startsys->select(1); };
  const auto geographic = [](orv::FormOrvenilSystemAuswahl& d) {
    d.StartAbbildung->select(2);
    d.FormatEingabeGeographisch->select(1);
  };
  struct Case {
    QString job, merged, other;
    std::function<void(orv::FormOrvenilSystemAuswahl&)> choose;
  } cases[] = {
      {"1 K1 4512345.678 5712345.678 143.18", "1 K1 4512345.678 5712345.678 264.18",
       "2 K2 4512400.000 5712400.000 99.0", gaussKrueger},
      {"1 K1 32512345.678 5712345.678 143.18", "1 K1 32512345.678 5712345.678 264.18",
       "2 K2 32512400.000 5712400.000 99.0", chooseModel},
      {"1 K1 51.5 12.1 143.18", "1 K1 51.5 12.1 264.18", "2 K2 51.6 12.2 99.0", geographic},
  };
  for (const Case& c : cases) {
    runImport(writeFile("neu.txt", {c.merged, c.other}), 1, c.choose);
    const auto reference = rows();
    runImport(writeFile("job.txt", {c.job, c.other}), 1, c.choose);
    const auto before = rows();
    runImport(writeFile("hoehen.txt", {"1 X 0 0 264.18"}), 1,
              [](orv::FormOrvenilSystemAuswahl& d) { d.Sonderfunktion->select(1); },
              [&] { dialogs->expectMessage("Es wurden 1 Höhen überschrieben!   "); });
    EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
    const auto after = rows();
    ASSERT_EQ(after.size(), 2);
    // The start columns; the target columns are the next run's.
    for (const QString& column : reference[0].keys()) {
      if (column.endsWith("Ziel")) continue;
      EXPECT_EQ(after[0][column].toStdString(), reference[0][column].toStdString()) << column.toStdString();
    }
    EXPECT_EQ(after[1]["sZe"], before[1]["sZe"]);
    EXPECT_EQ(after[1]["sHg"], before[1]["sHg"]);
  }
}

namespace {

// The written columns of every row, in row order, as one digest: the texts
// with their Null marks.
std::string DigestOfRows(const QString& columns, const QString& where = QString()) {
  QCryptographicHash hash(QCryptographicHash::Sha256);
  orv::Database db = orv::DBEngine::openDatabase(orv::State().KooDbPfad);
  QString sql = QStringLiteral("SELECT ");
  const QStringList names = columns.split(',');
  for (int i = 0; i < names.size(); ++i) sql += (i ? "||'|'||quote(" : "quote(") + names[i] + ")";
  orv::Recordset rs = db.openSql(sql + " FROM Daten " + where + " ORDER BY rowid");
  for (; rs.hasCurrent() && !rs.eof(); rs.moveNext()) hash.addData(rs.value(0).textOrEmpty().toUtf8() + '\n');
  rs.close();
  return hash.result().toHex().toStdString();
}

// Lines of a job over Germany, every 997th point north of the model; the
// heights vary in sign, size and decimals.
QStringList JobLines(bool geographic, int count) {
  QStringList lines;
  quint32 seed = 12345;
  const auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 8; };
  const char* heights[] = {"0", "-3.25", "12", "101.5"};
  for (int i = 1; i <= count; ++i) {
    const double u = next() % 100000 / 100000.0, v = next() % 100000 / 100000.0;
    const QString h = i % 5 == 4 ? QString::number(next() % 2000000 / 1000.0, 'f', 3) : heights[i % 5];
    if (geographic)
      lines << QString("%1 K %2 %3 %4").arg(i).arg(i % 997 == 0 ? 61.0 : 47.4 + 7.5 * u, 0, 'f', 7)
                   .arg(5.9 + 9.0 * v, 0, 'f', 7).arg(h);
    else
      lines << QString("%1 K %2 %3 %4").arg(i).arg(32290000.0 + 440000.0 * u, 0, 'f', 3)
                   .arg(i % 997 == 0 ? 6912345.678 : 5260000.0 + 830000.0 * v, 0, 'f', 3).arg(h);
  }
  return lines;
}

}  // namespace

// A job over several blocks of rows: the import's geoid step, the height run
// after it, and the height run on start heights that are empty, Null or no
// number, write the texts they always wrote.
TEST_F(ImportGeoidTest, ALargeJobGetsTheTextsItAlwaysGot) {
  constexpr int kRows = 20000;
  const QString written = QStringLiteral("Geoidundulation,sHg,sZe,sZeZiel");
  runImport(writeFile("utm.txt", JobLines(false, kRows)), 1, chooseModel);
  EXPECT_EQ(DigestOfRows(written), "5b09332e872870263769cefe2dfaad46675db7808977c0995584b915636020be");
  runImport(writeFile("geo.txt", JobLines(true, kRows)), 1, [](orv::FormOrvenilSystemAuswahl& d) {
    d.StartAbbildung->select(2);
    d.FormatEingabeGeographisch->select(1);
    d.cmbGeoidmodell->SetListIndex(1);
  });
  EXPECT_EQ(DigestOfRows(written), "f21ca4eb447856c3095ec991ba7695d3df157490a14f3695ddfaf8b037868c7e");
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();

  orv::State().KooDb.execute(
      "UPDATE Daten SET sZe = CASE rowid % 4 WHEN 1 THEN '' WHEN 2 THEN NULL WHEN 3 THEN 'abc' ELSE sZe END "
      "WHERE rowid % 7 = 0");
  form->chkUndulationMinus->SetValue(1);
  form->ConvertHeightsWithGeoid();
  // Rows with an empty or Null start height have no height to convert.
  EXPECT_EQ(DigestOfRows(written, "WHERE NOT (rowid % 7 = 0 AND rowid % 4 IN (1, 2))"), "be91ed70fad7476e8f3cbb8a086a6412921e51a1ae82c89034a00210b5f9cbe9");
  const auto r = rows();
  EXPECT_EQ(r[996]["Geoidundulation"], "Fehler");
  EXPECT_EQ(r[996]["sZeZiel"], "Fehler");
  EXPECT_EQ(r[13]["sZe"], "<NULL>");
  EXPECT_EQ(r[20]["sZe"], "");
  for (int i : {13, 20}) {
    EXPECT_NE(r[i]["Geoidundulation"], "Fehler");
    EXPECT_EQ(r[i]["sZeZiel"], "Fehler");
  }
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
}
