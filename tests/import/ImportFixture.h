#pragma once
// A main window with the import's test files: writes a point file
// (Windows-1252, CR LF unless told otherwise), answers the open dialog and the
// start-data dialog from the script, runs the toolbar key, and reads Daten.
#include <QTimer>
#include <functional>

#include "../window/MainWindowFixture.h"
#include "shell/ProgramState.h"
#include "foundation/Windows1252.h"
#include "io/FormOrvenilSystemAuswahl.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/OptionArray.h"
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

  // With the test's system tables; without geoid models when told so (the
  // step after a geographic import then chooses none).
  void startWithTables(bool geoidModels = true) {
    putAllTables();
    if (!geoidModels) writeFile("Programm/Orvenil-Datenbanken/Quasigeoidmodell.dat", {});
    start();
    dialogs->clearRecords();
  }
};
