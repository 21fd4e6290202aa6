#pragma once
// A main window with the import's test files: writes a point file
// (Windows-1252, CR LF unless told otherwise), answers the open dialog and the
// start-data dialog from the script, runs the toolbar key, and reads Daten.
#include <QTimer>
#include <sqlite3.h>
#include <functional>

#include "../window/MainWindowFixture.h"
#include "shell/ProgramState.h"
#include "foundation/Windows1252.h"
#include "io/FormOrvenilSystemAuswahl.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/OptionArray.h"
#include "platform/ui/VbComboBox.h"
#include "shell/CoordinateDatabase.h"

class ImportTest : public MainWindowTest {
 protected:
  using StartData = std::function<void(orv::FormOrvenilSystemAuswahl&)>;

  // Writes lines joined by lineEnd into the temporary folder's file `name`.
  QString writeFile(const QString& name, const QStringList& lines, const QByteArray& lineEnd = "\r\n") {
    const QString path = root.path() + "/" + name;
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    for (const QString& l : lines) f.write(orv::EncodeWindows1252(l) + lineEnd);
    return path;
  }

  // Answers the start-data dialog: its timer fires, `choose` sets options, "weiter".
  void expectStartData(const StartData& choose) {
    dialogs->expectModal([choose](QDialog* d) {
      auto* dlg = static_cast<orv::FormOrvenilSystemAuswahl*>(d);
      if (dlg->Timer1->isActive()) dlg->Timer1_Timer();
      if (choose) choose(*dlg);
      dlg->cmdLaden_Click();
      return 1;
    });
  }

  // Imports a file through the toolbar key with the scripted answers; `then`
  // adds the expectations of what follows the two dialogs.
  void runImport(const QString& path, int filterIndex, const StartData& choose,
                 const std::function<void()>& then = {}) {
    dialogs->expectOpenFile(path, filterIndex);
    expectStartData(choose);
    if (then) then();
    form->Coolbar2_ButtonClick(orv::kKeyDbOeffnen);
  }

  // Rows of Daten in id order, each as column name -> text ("<NULL>" for Null).
  QList<QMap<QString, QString>> rows() {
    QList<QMap<QString, QString>> out;
    orv::Database db = orv::DBEngine::openDatabase(orv::State().KooDbPfad);
    orv::Recordset rs = db.openSql("SELECT * FROM Daten ORDER BY id");
    for (; rs.hasCurrent() && !rs.eof(); rs.moveNext()) {
      QMap<QString, QString> r;
      for (const QString& c : orv::DatenColumnNames()) {
        const orv::FieldValue v = rs.value(c);
        r[c] = v.isNull() ? QStringLiteral("<NULL>") : v.textOrEmpty();
      }
      out << r;
    }
    rs.close();
    return out;
  }

  // What a second reader sees committed in Daten: the count of rows and the
  // largest id, read through the index of point numbers.
  std::pair<int, int> committedRows() {
    sqlite3* raw = nullptr;
    std::pair<int, int> out{-1, -1};
    if (sqlite3_open_v2(orv::State().KooDbPfad.toUtf8().constData(), &raw, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
      sqlite3_stmt* s = nullptr;
      if (sqlite3_prepare_v2(raw, "SELECT count(*), max(id) FROM Daten INDEXED BY \"orvidx:N:Daten:Punkt\"", -1, &s,
                             nullptr) == SQLITE_OK &&
          sqlite3_step(s) == SQLITE_ROW)
        out = {sqlite3_column_int(s, 0), sqlite3_column_int(s, 1)};
      sqlite3_finalize(s);
    }
    sqlite3_close(raw);
    return out;
  }

  // The test's system tables with the seven-parameter sets of the run tests.
  void putRunTables() {
    putAllTables();
    const QString sets = dbFile("sys_7Parameter.dat");
    QFile::remove(sets);
    ASSERT_TRUE(QFile::copy(QStringLiteral(ORV_TEST_DATA_DIR) + "/runs/sys_7Parameter.dat", sets));
  }

  // The first seven-parameter set ("ETRS89 - GK42/83 (EPSG 1775)") run in
  // reverse, from GK42/83 rows to ETRS89.
  void runFirstSetInReverse() {
    form->AuswahlTrafoTyp->select(1);
    form->AuswahlTrafoRichtung->select(1);
    form->ComboTrafoPara->SetListIndex(0);
    dialogs->setAcceptOkMessages(true);  // the notice of points in two zones
    form->cmdTrafoStart_Click();
  }

  // With the test's system tables; without geoid models when told so (the
  // step after a geographic import then chooses none).
  void startWithTables(bool geoidModels = true) {
    putAllTables();
    if (!geoidModels) writeFile("Programm/Orvenil-Datenbanken/Quasigeoidmodell.dat", {});
    start();
    dialogs->clearRecords();
  }
};
