// The NTv2 menu in the main window: the target import by point number reads
// LF files to their last line and reports the points it could not use; the
// extent export says which row to choose and which files it wrote.
#include <QFile>

#include "platform/db/DBEngine.h"
#include "platform/ui/DataGrid.h"
#include "runs/Ntv2Extents.h"
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

}  // namespace
