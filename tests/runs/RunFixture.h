#pragma once
// A main window with a job in table Daten, filled directly as an import
// leaves it: the coordinate database open, the grid bound to Daten, the
// start system chosen.
#include <QMap>
#include <QPushButton>
#include <QRadioButton>

#include "platform/db/DBEngine.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/OptionArray.h"
#include "platform/ui/VbComboBox.h"
#include "shell/ProgramState.h"
#include "window/MainWindowFixture.h"

class RunTest : public MainWindowTest {
 public:
  using Row = QMap<QString, QString>;

 protected:
  // Starts the window with the run tests' parameter sets and a job whose
  // start system has the option index startIndex (0 ETRS89, 1 GK42/83).
  orv::FormOrvenil& startJob(int startIndex, const QList<Row>& rows) {
    putAllTables();
    const QString sets = QStringLiteral(ORV_TEST_DATA_DIR) + "/runs/sys_7Parameter.dat";
    QFile::remove(dbFile("sys_7Parameter.dat"));
    EXPECT_TRUE(QFile::copy(sets, dbFile("sys_7Parameter.dat")));
    orv::FormOrvenil& f = start();
    dialogs->clearRecords();
    orv::ProgramState& s = orv::State();
    s.KooDb = orv::DBEngine::openDatabase(s.KooDbPfad);
    orv::Recordset rs = s.KooDb.openTable("Daten");
    int id = 0;
    for (const Row& row : rows) {
      rs.addNew();
      rs.setValue("id", ++id);
      rs.setValue("Punkt", QString::number(id));
      for (auto it = row.begin(); it != row.end(); ++it) rs.setValue(it.key(), it.value());
      rs.update();
    }
    rs.close();
    f.GridKooDb->BindRecordset(s.KooDb.openTable("Daten"));
    s.ImportDatei = folders.programFolder + "job.txt";
    s.ImportDateiGewaehlt = true;
    s.StartKoordinatensystem = startIndex == 0 ? "ETRS89" : "GK42/83";
    f.Startsys->preset(startIndex);
    f.StartellipsoidWaehlen(startIndex);
    s.EllipsoidImport = s.EllipsoidStart;
    return f;
  }

  // Chooses a seven-parameter set (list position) and direction (0 Hin, 1 Rück).
  void chooseSet(orv::FormOrvenil& f, int position, int direction) {
    f.AuswahlTrafoTyp->select(1);
    f.AuswahlTrafoRichtung->select(direction);
    f.ComboTrafoPara->SetListIndex(position);
  }

  // Every row of Daten, column by name (Null as "<null>").
  static QList<Row> rowsOfDaten() {
    QList<Row> rows;
    orv::Recordset rs = orv::State().KooDb.openTable("Daten");
    if (rs.recordCount() > 0) rs.moveFirst();
    for (; rs.recordCount() > 0 && !rs.eof(); rs.moveNext()) {
      Row row;
      for (int i = 0; i < rs.fieldCount(); ++i) {
        const orv::FieldValue v = rs.value(i);
        row[rs.fieldName(i)] = v.isNull() ? QStringLiteral("<null>") : v.toText();
      }
      rows << row;
    }
    rs.close();
    return rows;
  }
};
