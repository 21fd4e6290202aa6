// Instances of the program running side by side, each in a process of its
// own, edit the system tables and end one after the other: every edit stays,
// and where two changed the same row the later one keeps its version beside
// the file and says so. An instance killed between the two files of a table
// leaves the edit in the file the next start reads.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTableView>
#include <QTemporaryDir>
#include <csignal>
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
#include "shell/SystemTableFiles.h"

using namespace orv;

namespace {

const char* kFolderVariable = "ORV_INSTANCE_FOLDER";
const char* kEditsVariable = "ORV_INSTANCE_EDITS";
const char* kKillVariable = "ORV_INSTANCE_KILL_AT";  // a table file's base name

// Edits a cell the way the grid's editor stores a typed text.
void EditCell(DataGrid* grid, int row, const QString& key, const QString& text) {
  grid->SetEditMode(true);
  QAbstractItemModel* model = grid->view()->model();
  model->setData(model->index(row - 1, grid->ColumnNumber(key) - 1), text, Qt::EditRole);
  grid->SetEditMode(false);
}

// One instance: starts in the folder, makes its edits ("table:row:column:text"
// separated by "|"), says "bereit", waits for a line on its input, ends the
// program with "Ende" and prints the messages it showed. Told a table file's
// base name, it is killed as soon as the first file of that name is in place.
void RunInstance() {
  const QString root = qEnvironmentVariable(kFolderVariable);
  const QString killAt = qEnvironmentVariable(kKillVariable);
  SetTableFileProbe([killAt](const QString& path) {
    if (!killAt.isEmpty() && QFileInfo(path).completeBaseName() == killAt) std::raise(SIGKILL);
  });
  ScopedScriptedDialogs dialogs;
  dialogs->setAcceptOkMessages(true);
  FormOrvenil form(InstanceFolders(root), QString());
  form.Form_Load();
  const QStringList edits = qEnvironmentVariable(kEditsVariable).split('|', Qt::SkipEmptyParts);
  for (const QString& edit : edits) {
    const QStringList p = edit.split(':');
    DataGrid* grid = p[0] == "NTv2" ? form.GridNTv2Sys : p[0] == "Geoid" ? form.GridGeoidmodell : form.GridTrafoSys;
    EditCell(grid, p[1].toInt(), p[2], p[3]);
  }
  std::cout << "bereit" << std::endl;
  std::string line;
  std::getline(std::cin, line);
  form.Coolbar2_ButtonClick(QStringLiteral("btnDBEnde"));
  for (const RecordedMessage& m : dialogs->messages()) std::cout << "Meldung: " << m.text.toStdString() << std::endl;
  CloseAllDatabases(true);
}

// An instance of the running test making the edits ("table:row:column:text"
// separated by "|"), killed at the first file named killAt when given.
InstanceProcess Instance(const QString& root, const QString& edits, const QString& killAt = QString()) {
  return InstanceProcess(
      QStringLiteral("SharedSystemTablesTest.") + ::testing::UnitTest::GetInstance()->current_test_info()->name(),
      {{kFolderVariable, root},
       {kEditsVariable, edits.isEmpty() ? QStringLiteral("|") : edits},
       {kKillVariable, killAt}});
}

// A program folder under root with the three tables as text files.
void PutTables(const QString& db) {
  ASSERT_TRUE(QDir().mkpath(db));
  for (const char* table : {"sys_7Parameter.dat", "sys_NTv2.dat", "Quasigeoidmodell.dat"})
    ASSERT_TRUE(QFile::copy(QStringLiteral(ORV_TEST_DATA_DIR "/window/") + table, db + table));
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
  ASSERT_NO_FATAL_FAILURE(PutTables(db));

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

// A rename saved at the end and cut by a kill right after the first of the
// table's two files: the next start reads the new name, and its own save
// keeps it in both files.
TEST(SharedSystemTablesTest, AKillBetweenATablesTwoFilesLosesNoEdit) {
  if (qEnvironmentVariableIsSet(kFolderVariable)) return RunInstance();
  const struct {
    const char* table;
    const char* file;
    const char* another;  // the cell the next start edits
  } cases[] = {{"TrafoSys", "sys_7Parameter", ":2:Name"},
               {"NTv2", "sys_NTv2", ":2:Name"},
               {"Geoid", "Quasigeoidmodell", ":1:Geltungsbereich"}};
  for (const auto& c : cases) {
    QTemporaryDir root;
    const QString db = root.path() + "/Programm/Orvenil-Datenbanken/";
    ASSERT_NO_FATAL_FAILURE(PutTables(db));
    InstanceProcess killed = Instance(root.path(), QString(c.table) + ":1:Name:Neuer Name", c.file);
    ASSERT_TRUE(killed.ready());
    const QString killedOutput = killed.end();
    ASSERT_NE(BytesOf(db + c.file + ".fil").contains("Neuer Name"), BytesOf(db + c.file + ".dat").contains("Neuer Name"))
        << c.table << " the kill did not fall between the two files\n" << killedOutput.toStdString();

    InstanceProcess next = Instance(root.path(), QString(c.table) + c.another + ":Zweiter Name");
    ASSERT_TRUE(next.ready());
    next.end();
    for (const char* ext : {".dat", ".fil"}) {
      const QByteArray bytes = BytesOf(db + c.file + ext);
      EXPECT_TRUE(bytes.contains("Neuer Name") && bytes.contains("Zweiter Name")) << c.table << ext;
    }
  }
}
