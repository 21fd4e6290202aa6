// The geoid program's working folders in a temporary folder that instances
// share: the start-up of an instance removes the folder of one killed during
// its geoid run, never the folder of one whose run still goes on.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <iostream>

#include "InstanceProcess.h"
#include "platform/db/DBEngine.h"
#include "platform/db/DatabaseHelpers.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/ScriptedDialogService.h"
#include "platform/ui/VbComboBox.h"
#include "shell/FormOrvenil.h"
#include "shell/ProgramState.h"

using namespace orv;

namespace {

const char* kFolderVariable = "ORV_GEOID_FOLDERS_ROOT";
const char* kRoleVariable = "ORV_GEOID_FOLDERS_ROLE";

// One instance on the shared temporary folder: "lauf" loads a job of one
// point and starts the geoid height run (whose program waits), "start" only
// starts.
void RunInstance() {
  const QString root = qEnvironmentVariable(kFolderVariable);
  ScopedScriptedDialogs dialogs;
  dialogs->setAcceptOkMessages(true);
  FormOrvenilFolders folders = InstanceFolders(root);
  folders.tempFolder = root + "/Temp/";
  {
    FormOrvenil form(folders, QString());
    form.Form_Load();
    if (qEnvironmentVariable(kRoleVariable) == QLatin1String("lauf")) {
      ProgramState& s = State();
      if (!s.KooDb.isOpen()) s.KooDb = DBEngine::openDatabase(s.KooDbPfad);
      Recordset rs = s.KooDb.openTable(QStringLiteral("Daten"));
      rs.addNew();
      rs.setValue(QStringLiteral("id"), 1);
      rs.setValue(QStringLiteral("Punkt"), QStringLiteral("1"));
      rs.setValue(QStringLiteral("radBg"), QStringLiteral("0.89"));
      rs.setValue(QStringLiteral("radLg"), QStringLiteral("0.18"));
      rs.setValue(QStringLiteral("sZe"), QStringLiteral("0"));
      rs.update();
      rs.close();
      form.GridKooDb->BindQuery(s.KooDb, QStringLiteral("SELECT * FROM Daten"));
      form.cmbGeoidmodell->SetListIndex(1);
      std::cout << "bereit" << std::endl;
      form.ConvertHeightsWithGeoid();
    } else {
      std::cout << "bereit" << std::endl;
    }
  }
  CloseAllDatabases(true);
}

InstanceProcess Instance(const QString& root, const char* role) {
  return InstanceProcess(QStringLiteral("GeoidWorkFoldersTest.*"),
                         {{kFolderVariable, root}, {kRoleVariable, QString::fromLatin1(role)}});
}

// The working folders in the temporary folder, once there are `count` of
// them (or after 30 s).
QStringList WorkFolders(const QString& temp, int count) {
  QElapsedTimer waited;
  waited.start();
  QStringList names;
  do {
    names = QDir(temp).entryList({"Geoidprogramm_*"}, QDir::Dirs | QDir::NoDotAndDotDot);
    if (names.size() >= count) break;
    QThread::msleep(50);
  } while (waited.elapsed() < 30000);
  return names;
}

}  // namespace

TEST(GeoidWorkFoldersTest, StartUpRemovesTheFoldersOfEndedInstancesOnly) {
  if (qEnvironmentVariableIsSet(kFolderVariable)) return RunInstance();
  QTemporaryDir root;
  const QString db = root.path() + "/Programm/Orvenil-Datenbanken/";
  const QString temp = root.path() + "/Temp/";
  ASSERT_TRUE(QDir().mkpath(db) && QDir().mkpath(temp));
  for (const char* name : {"EGM96_Deutschland.grd", "sys_7Parameter.dat", "sys_NTv2.dat", "Quasigeoidmodell.dat"})
    ASSERT_TRUE(QFile::copy(QStringLiteral(ORV_DATABASE_FOLDER "/") + name, db + name)) << name;
  // The geoid program waits until the test lets it end (at most a minute).
  const QString go = root.path() + "/weiter";
  QFile program(db + "saphtel.exe");
  ASSERT_TRUE(program.open(QIODevice::WriteOnly));
  program.write(("#!/bin/sh\ni=0\nwhile [ ! -e '" + go + "' ] && [ $i -lt 600 ]; do sleep 0.1; i=$((i+1)); done\n")
                    .toUtf8());
  program.close();
  program.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  const auto letProgramsEnd = [&] { QFile(go).open(QIODevice::WriteOnly); };

  // An instance whose run goes on, and one killed while its geoid program runs.
  InstanceProcess running = Instance(root.path(), "lauf");
  ASSERT_TRUE(running.ready());
  const QStringList first = WorkFolders(temp, 1);
  InstanceProcess killed = Instance(root.path(), "lauf");
  ASSERT_TRUE(killed.ready());
  QStringList left = WorkFolders(temp, 2);
  killed.kill();
  if (first.size() != 1 || left.size() != 2) letProgramsEnd();
  ASSERT_EQ(first.size(), 1);
  ASSERT_EQ(left.size(), 2);
  left.removeAll(first[0]);

  // A third instance starts.
  InstanceProcess starting = Instance(root.path(), "start");
  starting.end();
  EXPECT_FALSE(QFileInfo::exists(temp + left[0]));
  EXPECT_TRUE(QFileInfo::exists(temp + first[0] + "/INPUT.USR"));

  letProgramsEnd();
  running.end();
  EXPECT_EQ(WorkFolders(temp, 0), QStringList());
}
