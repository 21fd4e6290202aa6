#pragma once
// A main window with a loaded job: table Daten of the coordinate database
// filled with rows given as (Punkt, sYe, sXe, sZe) and the coordinate grid
// bound to it, as an import leaves them.
#include <QStringList>
#include <vector>

#include "../window/MainWindowFixture.h"
#include "platform/db/DBEngine.h"
#include "platform/ui/DataGrid.h"

struct JobRow {
  QString punkt, y, x, z, zZiel;
};

class LoadedJobTest : public MainWindowTest {
 protected:
  // Starts the window with the default system tables and loads the job.
  void startWithJob(const std::vector<JobRow>& rows) {
    putAllTables();
    start();
    loadJob(rows);
  }

  void loadJob(const std::vector<JobRow>& rows) {
    orv::ProgramState& s = orv::State();
    if (!s.KooDb.isOpen()) s.KooDb = orv::DBEngine::openDatabase(s.KooDbPfad);
    s.KooDb.execute(QStringLiteral("DELETE FROM Daten"));
    orv::Recordset rs = s.KooDb.openTable(QStringLiteral("Daten"));
    int id = 0;
    for (const JobRow& r : rows) {
      rs.addNew();
      rs.setValue(QStringLiteral("id"), QString::number(++id));
      rs.setValue(QStringLiteral("Punkt"), r.punkt);
      if (!r.y.isNull()) rs.setValue(QStringLiteral("sYe"), r.y);
      if (!r.x.isNull()) rs.setValue(QStringLiteral("sXe"), r.x);
      if (!r.z.isNull()) rs.setValue(QStringLiteral("sZe"), r.z);
      if (!r.zZiel.isNull()) rs.setValue(QStringLiteral("sZeZiel"), r.zZiel);
      rs.update();
    }
    rs.close();
    form->GridKooDb->BindQuery(s.KooDb, QStringLiteral("SELECT * FROM Daten ORDER BY Punkt"));
  }

  // Column values of Daten in insertion order.
  QStringList column(const QString& name) {
    QStringList out;
    orv::Recordset rs = orv::State().KooDb.openTable(QStringLiteral("Daten"));
    for (qint64 i = 0, n = rs.recordCount(); i < n; ++i) {
      if (i == 0) rs.moveFirst(); else rs.moveNext();
      out << rs.value(name).textOrEmpty();
    }
    rs.close();
    return out;
  }
};
