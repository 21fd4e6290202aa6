#pragma once
// A main window whose table Daten is filled directly by the test and shown in
// the coordinate grid as an import shows it; exports run through the window
// with the save dialog answered by script.
#include <QHash>
#include <functional>

#include "platform/db/DBEngine.h"
#include "shell/CoordinateDatabase.h"
#include "shell/ProgramState.h"
#include "window/MainWindowFixture.h"

using Row = QHash<QString, QString>;

class ExportTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    putAllTables();
    start();
    dialogs->setAcceptOkMessages(true);
    // The rows are ETRS89 positions, in the start and the target columns.
    orv::State().EllipsoidImport = "GRS1980";
    orv::State().EllipsoidZielKoordinaten = "GRS1980";
    out = root.path() + "/Ausgabe/";
    QDir().mkpath(out);
  }

  // Adds the rows to Daten (id numbered on) and binds the grid sorted by point.
  void fill(const QList<Row>& rows) {
    orv::ProgramState& s = orv::State();
    if (!s.KooDb.isOpen()) s.KooDb = orv::DBEngine::openDatabase(s.KooDbPfad);
    orv::Recordset rs = s.KooDb.openTable("Daten");
    for (const Row& row : rows) {
      rs.addNew();
      for (auto it = row.begin(); it != row.end(); ++it) rs.setValue(it.key(), it.value());
      rs.setValue("id", ++ids);
      rs.update();
    }
    rs.close();
    form->GridKooDb->BindQuery(s.KooDb, "SELECT * FROM Daten ORDER BY Punkt");
  }

  // Runs the export with the columns and preset into the file, answering the
  // save dialog with the filter index; `then` adds the prompts that follow it.
  void exportAs(const QString& fileName, int filterIndex, const QString& columns,
                const QString& preset = QString(), const std::function<void()>& then = {}) {
    orv::State().SpeichernSpaltenNr = columns;
    orv::State().ExportVorlage = preset;
    dialogs->expectSaveFile(fileName, filterIndex);
    if (then) then();
    form->ExportCoordinateTable();
  }

  // File contents as text for readable comparisons.
  static std::string textOf(const QString& path) { return bytesOf(path).toStdString(); }
  static QByteArray lines(std::initializer_list<const char*> texts) {
    QByteArray b;
    for (const char* t : texts) b += QByteArray(t) + "\r\n";
    return b;
  }

  QString out;
  int ids = 0;
};
