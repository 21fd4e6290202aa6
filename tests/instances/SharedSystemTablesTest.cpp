// Instances of the program running side by side, each in a process of its
// own, edit the system tables and end one after the other: every edit stays,
// and where two changed the same row the later one keeps its version beside
// the file and says so.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>
#include <cstdio>
#include <iostream>
#include <string>

#include "InstanceProcess.h"
#include "foundation/LocaleSwitch.h"
#include "platform/db/DatabaseHelpers.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/ScriptedDialogService.h"
#include "shell/FormOrvenil.h"
#include "shell/ProgramState.h"

using namespace orv;

namespace {

const char* kFolderVariable = "ORV_INSTANCE_FOLDER";
const char* kEditsVariable = "ORV_INSTANCE_EDITS";

// Edits a cell the way the grid's editor stores a typed text.
void EditCell(DataGrid* grid, int row, const QString& key, const QString& text) {
  grid->SetEditMode(true);
  QAbstractItemModel* model = grid->view()->model();
  model->setData(model->index(row - 1, grid->ColumnNumber(key) - 1), text, Qt::EditRole);
  grid->SetEditMode(false);
}

// One instance: starts in the folder, makes its edits ("table:row:column:text"
// separated by "|"), says "bereit", waits for a line on its input, ends the
// program with "Ende" and prints the messages it showed.
void RunInstance() {
  const QString root = qEnvironmentVariable(kFolderVariable);
  ScopedScriptedDialogs dialogs;
  dialogs->setAcceptOkMessages(true);
  FormOrvenil form(InstanceFolders(root), QString());
  form.Form_Load();
  const QStringList edits = qEnvironmentVariable(kEditsVariable).split('|', Qt::SkipEmptyParts);
  for (const QString& edit : edits) {
    const QStringList p = edit.split(':');
    DataGrid* grid = p[0] == "NTv2" ? form.GridNTv2Sys : form.GridTrafoSys;
    EditCell(grid, p[1].toInt(), p[2], p[3]);
  }
  std::cout << "bereit" << std::endl;
  std::string line;
  std::getline(std::cin, line);
  form.Coolbar2_ButtonClick(QStringLiteral("btnDBEnde"));
  for (const RecordedMessage& m : dialogs->messages()) std::cout << "Meldung: " << m.text.toStdString() << std::endl;
  CloseAllDatabases(true);
}

// An instance making the edits ("table:row:column:text" separated by "|").
InstanceProcess Instance(const QString& root, const QString& edits) {
  return InstanceProcess(QStringLiteral("SharedSystemTablesTest.*"),
                         {{kFolderVariable, root}, {kEditsVariable, edits.isEmpty() ? QStringLiteral("|") : edits}});
}

QByteArray BytesOf(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

TEST(SharedSystemTablesTest, EditsOfInstancesEndingOneAfterTheOtherAreAllKept) {
  if (qEnvironmentVariableIsSet(kFolderVariable)) return RunInstance();
  QTemporaryDir root;
  const QString db = root.path() + "/Programm/Orvenil-Datenbanken/";
  ASSERT_TRUE(QDir().mkpath(db));
  for (const char* table : {"sys_7Parameter.dat", "sys_NTv2.dat", "Quasigeoidmodell.dat"})
    ASSERT_TRUE(QFile::copy(QStringLiteral(ORV_TEST_DATA_DIR "/window/") + table, db + table));

  // All three run at once; the third edits nothing.
  InstanceProcess first = Instance(root.path(), "NTv2:1:Geltungsbereich:Bund A|TrafoSys:1:Name:Satz A");
  InstanceProcess second = Instance(root.path(), "NTv2:2:Geltungsbereich:Sachsen B|TrafoSys:1:Name:Satz B");
  InstanceProcess third = Instance(root.path(), "");
  ASSERT_TRUE(first.ready() && second.ready() && third.ready());
  const QString firstOutput = first.end();
  const QString secondOutput = second.end();
  const QString thirdOutput = third.end();

  for (const char* file : {"sys_NTv2.dat", "sys_NTv2.fil"}) {
    const QByteArray ntv2 = BytesOf(db + file);
    EXPECT_TRUE(ntv2.contains("Bund A") && ntv2.contains("Sachsen B")) << file << "\n" << ntv2.constData();
  }
  EXPECT_TRUE(BytesOf(db + "sys_7Parameter.dat").startsWith("Satz A;"));
  // The second instance changed the same row: the file keeps the first one's
  // edit, the second one's table is kept beside it, and the message names both.
  const QStringList kept = QDir(db).entryList({"sys_7Parameter_eigene_Fassung_*.dat"});
  ASSERT_EQ(kept.size(), 1) << secondOutput.toStdString();
  EXPECT_TRUE(BytesOf(db + kept[0]).startsWith("Satz B;"));
  EXPECT_TRUE(secondOutput.contains("Meldung: Die Datei " + db + "sys_7Parameter.dat") &&
              secondOutput.contains(db + kept[0]))
      << secondOutput.toStdString();
  EXPECT_EQ(secondOutput.count("Meldung:"), 1) << secondOutput.toStdString();
  EXPECT_FALSE(firstOutput.contains("Meldung:")) << firstOutput.toStdString();
  EXPECT_FALSE(thirdOutput.contains("Meldung:")) << thirdOutput.toStdString();
}
