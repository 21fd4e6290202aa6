// The NTv2 menu in the main window: the target import by point number reads
// LF files to their last line and reports the points it could not use; the
// extent export says which row to choose and which files it wrote.
#include <QDir>
#include <QFile>
#include <QScopeGuard>

#include "foundation/TextTokens.h"
#include "foundation/Windows1252.h"
#include "geodesy/AngleFormats.h"
#include "platform/db/DBEngine.h"
#include "platform/ui/DataGrid.h"
#include "runs/Ntv2Extents.h"
#include "runs/Ntv2TargetImport.h"
#include "shell/ProgramState.h"
#include "tests/ntv2/Ntv2GridFiles.h"
#include "window/MainWindowFixture.h"

using namespace orv;

namespace {

class Ntv2Window : public MainWindowTest {
 protected:
  // Rows of Daten: point name, latitude and longitude in decimal degrees.
  void fillDaten(const QList<std::tuple<QString, double, double>>& rows) {
    Database db = DBEngine::openDatabase(State().KooDbPfad);
    Recordset rs = db.openTable("Daten");
    int id = 0;
    for (const auto& [name, lat, lon] : rows) {
      rs.addNew();
      rs.setValue("Punkt", FieldValue(name.rightJustified(20)));
      rs.setValue("BgDez", FieldValue(QString::number(lat, 'g', 15)));
      rs.setValue("LgDez", FieldValue(QString::number(lon, 'g', 15)));
      rs.setValue("BgDezSek", FieldValue(QString::number(lat * 3600, 'g', 15)));
      rs.setValue("LgDezSek", FieldValue(QString::number(lon * 3600, 'g', 15)));
      rs.setValue("sZe", FieldValue(QString("100")));
      rs.setValue("id", FieldValue(++id));
      rs.update();
    }
    rs.close();
    State().KooDb = db;
    form->GridKooDb->BindQuery(db, "SELECT * FROM Daten");
  }
  // A corner file in the program's code page.
  QString cornerFile(const char* text) {
    const QString path = root.filePath("ecken.head");
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(EncodeWindows1252(QString::fromUtf8(text)));
    return path;
  }
  QString cell(int id, const QString& column) {
    Recordset rs = State().KooDb.openSql(QString("SELECT %1 FROM Daten WHERE id = %2").arg(column).arg(id));
    const QString v = rs.eof() ? QString() : rs.value(0).textOrEmpty();
    rs.close();
    return v;
  }
};

TEST_F(Ntv2Window, TargetImportByPointNumberReadsLfFilesToTheLastLine) {
  putAllTables();
  start();
  fillDaten({{"1", 50.0, 10.0}, {"2", 50.1, 10.1}, {"A7", 50.2, 10.2}});
  const QString file = root.filePath("targets.bl");
  QFile f(file);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("1 X 50.001 10.002\n2 Y 0 10.3\nA7 Z 50.201 10.202");  // LF, no end after the last line
  f.close();

  dialogs->expectMessage("nach Punktnummer den Startdaten zugeordnet");
  dialogs->expectOpenFile(file);
  dialogs->expectMessage("1 Punkte wurden nicht gefunden oder hatten NULL-Koordinaten!   ");
  form->Coolbar2_ButtonMenuClick("btnNTv2ZielManuell");
  EXPECT_TRUE(dialogs->allDone());
  EXPECT_EQ(cell(1, "C"), "X");
  EXPECT_EQ(cell(1, "BgDezSekZiel"), "180003.6");
  EXPECT_EQ(cell(2, "BgDezZiel"), "");
  EXPECT_EQ(cell(3, "LgDezZiel"), "10.202");
  EXPECT_TRUE(form->GridKooDb->ColumnVisible("BgDezSekZiel"));
  EXPECT_FALSE(form->GridKooDb->ColumnVisible("sYe"));
}

TEST_F(Ntv2Window, ExtentExportNamesTheRowToChooseAndTheFilesItWrote) {
  putAllTables();
  start();
  ASSERT_EQ(form->GridNTv2Sys->CurrentRow(), 0);
  dialogs->expectMessage("die Zeile der NTv2-Datei aus");
  form->Coolbar2_ButtonMenuClick("btnNTv2Grenzen");
  EXPECT_TRUE(dialogs->allDone());

  const QString grid = dbFile("TARQ-SN.gsa");
  test::WriteBytes(grid, test::GsaText({180000, 180600, -36000, -34200, 60, 90, [](double, double) { return 0.0; },
                                        [](double, double) { return 0.0; }})
                             .toLatin1());
  form->GridNTv2Sys->SetCurrentRow(2);
  dialogs->expectMessage("\"TARQ-SN.gsa\" exportieren?", MsgResult::Yes);
  dialogs->expectMessage("Geltungsbereiche der NTv2-Datei \"TARQ-SN.gsa\" nach");
  form->Coolbar2_ButtonMenuClick("btnNTv2Grenzen");
  ASSERT_TRUE(dialogs->allDone());
  const QString closing = dialogs->messageTexts().last();
  EXPECT_TRUE(closing.contains(Ntv2ExtentPointPath(grid))) << closing.toStdString();
  EXPECT_TRUE(closing.contains(Ntv2ExtentLinePath(grid))) << closing.toStdString();
  EXPECT_TRUE(QFile::exists(Ntv2ExtentLinePath(grid)));
}

// Number texts of hundreds of digits: the readers that say they do not throw
// give what they give for any text that is no angle, and the target import
// that stops on one names its line.
TEST_F(Ntv2Window, NumberTextsOfHundredsOfDigitsAreNoAnglesAndTheImportNamesTheirLine) {
  const QString huge = "1" + QString(400, '0');
  const QString deg = QString::fromUtf8("°");
  struct Case {
    QString text;
    bool strictDegrees;  // IsStrictDegreeText
    bool minutes;        // DecimalMinutesInGrad gives a degree text
    bool latitudeMissing;
  } cases[] = {
      {huge, false, false, true},
      {huge + deg + "30'00\"", false, false, true},
      {"50" + deg + huge + "'", false, false, false},
      {huge + deg + "30.5'", false, false, true},
      {"5230." + huge, false, true, false},
      {"50" + deg + "30'0." + QString(400, '0') + "\"", true, false, false},
  };
  for (const Case& c : cases) {
    const std::string name = c.text.left(12).toStdString();
    EXPECT_EQ(IsStrictDegreeText(c.text), c.strictDegrees) << name;
    if (c.strictDegrees) {
      EXPECT_NO_THROW(EXPECT_NEAR(GradInRad(c.text), 50.5 * 3.14159265358979 / 180, 1e-12)) << name;
    }
    EXPECT_NO_THROW(EXPECT_EQ(DecimalMinutesInGrad(c.text).has_value(), c.minutes)) << name;
    EXPECT_NO_THROW(EXPECT_EQ(Ntv2TargetLatitudeMissing(c.text), c.latitudeMissing)) << name;
  }

  putAllTables();
  start();
  fillDaten({{"1", 50.0, 10.0}, {"2", 50.1, 10.1}});
  const QString file = root.filePath("targets.bl");
  test::WriteBytes(file, ("1 X " + huge + " 10.002\r\n2 Y 50.1 " + huge + "\r\n").toLatin1());
  dialogs->expectMessage("nach Punktnummer den Startdaten zugeordnet");
  dialogs->expectOpenFile(file);
  dialogs->expectMessage("Zeile 2 der Zieldatei: ");
  form->Coolbar2_ButtonMenuClick("btnNTv2ZielManuell");
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
  EXPECT_EQ(cell(1, "BgDezZiel"), "");
}

// The corner file's sign belongs to the whole angle: a corner half a degree
// west of Greenwich spans twenty steps of 90 seconds to the one a degree west,
// and the nodes are written so that they read back west.
TEST_F(Ntv2Window, PointGridReadsSignedCornersAndWritesNodesThatReadBack) {
  putAllTables();
  start();
  const QString corners = cornerFile("SO 0 50°00'00\" -0°30'00\"\r\nNW 0 50°10'00\" -1°00'00\"\r\n");
  dialogs->expectOpenFile(corners, 2);
  dialogs->expectInput("Gitterabstand", "60; 90");
  dialogs->expectMessage(" geographische Koordinaten im Gitterabstand:");
  dialogs->expectOpenFileCancel();
  form->Coolbar2_ButtonMenuClick("btnNTv2erzeugen");
  ASSERT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
  EXPECT_TRUE(dialogs->messageTexts().last().startsWith("11/21-231 ")) << dialogs->messageTexts().last().toStdString();
  const QStringList written = QDir(root.path()).entryList({"NTv2_60x90_*.bl"});
  ASSERT_EQ(written.size(), 1);
  QFile bl(root.filePath(written.first()));
  ASSERT_TRUE(bl.open(QIODevice::ReadOnly));
  const QStringList lines = DecodeWindows1252(bl.readAll()).split("\r\n");
  ASSERT_GE(lines.size(), 5);
  EXPECT_EQ(lines[1].toStdString(), "NW\t0\t50°10'00.00000\"\t-1°00'00.00000\"");
  EXPECT_EQ(lines[3].toStdString(), "2\t0\t50°00'00.00000\"\t-0°31'30.00000\"");
  EXPECT_NEAR(GradInRad(GetToken(lines[3], 4, "\t")) * 180 / 3.14159265358979, -0.525, 1e-12);

  // Target coordinates in the grid file's degree texts read with their sign too.
  fillDaten({{"1", 50.0, -0.5}, {"2", 50.0, -0.525}});
  const QString targets = root.filePath("ziel.bl");
  QFile t(targets);
  ASSERT_TRUE(t.open(QIODevice::WriteOnly));
  t.write(EncodeWindows1252(QString::fromUtf8("1 0 50°00'01.00000\" -0°30'00.00000\"\r\n2 0 50.0 -0.525\r\n")));
  t.close();
  dialogs->expectMessage("nach Punktnummer den Startdaten zugeordnet");
  dialogs->expectOpenFile(targets);
  form->Coolbar2_ButtonMenuClick("btnNTv2ZielManuell");
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
  EXPECT_EQ(cell(1, "BgDezSekZiel").toDouble(), 180001);
  EXPECT_EQ(cell(1, "LgDezSekZiel").toDouble(), -1800);
  EXPECT_EQ(cell(2, "sLgZiel"), QString::fromUtf8("-0°31'30.00000\""));
}

// The spacing box reads each value whole, a decimal comma as one: the grid
// has the spacing typed, its north-west corner stays where the corner file
// puts it, and the message reports that spacing. A text that is not two
// numbers separated by ";" is named and asked again; no grid is written.
TEST_F(Ntv2Window, PointGridSpacingIsReadWholeWithADecimalComma) {
  putAllTables();
  start();
  const QString corners = cornerFile("SO 0 51°00'00\" 13°00'00\"\r\nNW 0 51°00'30\" 12°59'15\"\r\n");
  const auto grids = [&](const QString& name) { return QDir(root.path()).entryList({name + "*.bl"}); };
  struct Case {
    QString typed, name, message;
  } cases[] = {{"7,5; 11,25", "NTv2_7.5x11.25_",
                "5/5-25 geographische Koordinaten im Gitterabstand:\r\nBreite: 7.5, Länge: 11.25 nach"},
               {" 0,5 ;0,75", "NTv2_0.5x0.75_",
                "61/61-3721 geographische Koordinaten im Gitterabstand:\r\nBreite: 0.5, Länge: 0.75 nach"},
               {"7x; 11", "", "Der Gitterabstand \"7x; 11\" ist keine Angabe [Breite; Länge] in Sekunden!"},
               {"7,5", "", "Der Gitterabstand \"7,5\" ist keine Angabe"},
               {"7.5, 11.25", "", "Der Gitterabstand \"7.5, 11.25\" ist keine Angabe"}};
  for (const Case& c : cases) {
    for (const QString& old : grids("NTv2_")) QFile::remove(root.filePath(old));
    dialogs->expectOpenFile(corners, 2);
    dialogs->expectInput("Gitterabstand", c.typed);
    dialogs->expectMessage(c.message);
    if (c.name.isEmpty())
      dialogs->expectInputCancel("Gitterabstand");
    else
      dialogs->expectOpenFileCancel();
    form->Coolbar2_ButtonMenuClick("btnNTv2erzeugen");
    ASSERT_TRUE(dialogs->allDone()) << c.typed.toStdString() << dialogs->messageTexts().join("|").toStdString();
    const QStringList written = grids(c.name.isEmpty() ? "NTv2_" : c.name);
    ASSERT_EQ(written.size(), c.name.isEmpty() ? 0 : 1) << c.typed.toStdString();
    if (c.name.isEmpty()) continue;
    QFile bl(root.filePath(written.first()));
    ASSERT_TRUE(bl.open(QIODevice::ReadOnly));
    EXPECT_EQ(DecodeWindows1252(bl.readAll()).split("\r\n").value(1).toStdString(),
              "NW\t0\t51°00'30.00000\"\t12°59'15.00000\"")
        << c.typed.toStdString();
  }
}

// The grid writer's spacing box reads as the point grid's: "7,5; 11,25" is
// the spacing of a grid of 7.5" by 11.25", written as such; a text that is
// no spacing is named and asked again, and nothing is written.
TEST_F(Ntv2Window, GsaSpacingIsReadWholeWithADecimalComma) {
  putAllTables();
  start();
  const double dLat = 7.5 / 3600, dLon = 11.25 / 3600;
  QList<std::tuple<QString, double, double>> rows{{"SO", 50, 10}, {"NW", 50 + dLat, 10 - dLon}};
  for (int i = 0; i <= 1; ++i)
    for (int j = 0; j <= 1; ++j)
      rows << std::tuple{QString::number(rows.size() - 1), 50 + i * dLat, 10 - j * dLon};
  fillDaten(rows);
  State().KooDb.execute("UPDATE Daten SET BgDezSekZiel = BgDezSek + 0.36, LgDezSekZiel = LgDezSek + 0.72");
  // The writer puts NTv2.gsa into the current folder: let that be the test's.
  const QString before = QDir::currentPath();
  QDir::setCurrent(root.path());
  const auto back = qScopeGuard([&] { QDir::setCurrent(before); });
  const QString gsa = root.path() + "/NTv2.gsa";
  for (const QString typed : {"7x; 11", "7,5; 11,25"}) {
    QFile::remove(gsa);
    const bool refused = typed.contains('x');
    dialogs->expectInput("Gitterabstand", typed);
    if (refused) {
      dialogs->expectMessage("Der Gitterabstand \"" + typed + "\" ist keine Angabe");
      dialogs->expectInputCancel("Gitterabstand");
    } else {
      dialogs->expectInput("Startsystem", "ETRS89");
      dialogs->expectMessage("Prüfen Sie bitte die Kopf-Daten");
    }
    form->Coolbar2_ButtonMenuClick("btnNTv2Export");
    ASSERT_TRUE(dialogs->allDone()) << typed.toStdString() << dialogs->messageTexts().join("|").toStdString();
    EXPECT_EQ(QFile::exists(gsa), !refused) << typed.toStdString();
  }
  QFile file(gsa);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString text = QString::fromLatin1(file.readAll());
  EXPECT_TRUE(text.contains("LAT_INC " + QString("7.5").rightJustified(15) + "\r\nLONG_INC" +
                            QString("11.25").rightJustified(15) + "\r\nGS_COUNT     4\r\n"))
      << text.left(600).toStdString();
}

}  // namespace
