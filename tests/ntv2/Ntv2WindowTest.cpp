// The NTv2 menu in the main window: the target import by point number reads
// LF files to their last line and reports the points it could not use.
#include <QFile>

#include "platform/db/DBEngine.h"
#include "platform/ui/DataGrid.h"
#include "shell/ProgramState.h"
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

}  // namespace
