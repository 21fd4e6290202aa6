// Two instances of the program on one database folder run the geoid height
// run at the same moment, each on a job and a model of its own, each in a
// process of its own: every row of each gets the undulation of its own point
// in its own model.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <iostream>
#include <string>

#include "InstanceProcess.h"
#include "foundation/LocaleSwitch.h"
#include "platform/db/DBEngine.h"
#include "platform/db/DatabaseHelpers.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/ScriptedDialogService.h"
#include "platform/ui/VbComboBox.h"
#include "shell/FormOrvenil.h"
#include "shell/ProgramState.h"
#include "support/TestGrids.h"

using namespace orv;

namespace {

const char* kFolderVariable = "ORV_GEOID_INSTANCE_FOLDER";
const char* kModelVariable = "ORV_GEOID_INSTANCE_MODEL";
constexpr int kPoints = 3000;
constexpr int kRounds = 8;
constexpr double kOffset = 10.0;  // the second model lies this far above the first

// The points of the job of the instance with model k: each instance its own.
double Lat(int k, int i) { return 47.6 + std::fmod(i * 0.00731 * k, 7.4); }
double Lon(int k, int i) { return 6.1 + std::fmod(i * 0.01373 / k, 8.8); }

// One instance: loads its job, chooses its model, says "bereit", waits for a
// line, runs the height run kRounds times and prints how many rows of each
// round differ from the undulation of their point in its model, and the
// messages it showed.
void RunInstance() {
  const QString root = qEnvironmentVariable(kFolderVariable);
  const int model = qEnvironmentVariableIntValue(kModelVariable);
  ScopedScriptedDialogs dialogs;
  dialogs->setAcceptOkMessages(true);
  const FormOrvenilFolders folders = InstanceFolders(root);
  const QString db = folders.databaseFolder;
  {
    FormOrvenil form(folders, QString());
    form.Form_Load();
    ProgramState& s = State();
    if (!s.KooDb.isOpen()) s.KooDb = DBEngine::openDatabase(s.KooDbPfad);
    Recordset rs = s.KooDb.openTable(QStringLiteral("Daten"));
    for (int i = 1; i <= kPoints; ++i) {
      rs.addNew();
      rs.setValue(QStringLiteral("id"), i);
      rs.setValue(QStringLiteral("Punkt"), QString::number(i));
      rs.setValue(QStringLiteral("radBg"), QString::number(test::Rad(Lat(model, i)), 'g', 17));
      rs.setValue(QStringLiteral("radLg"), QString::number(test::Rad(Lon(model, i)), 'g', 17));
      rs.setValue(QStringLiteral("sZe"), QStringLiteral("0"));
      rs.update();
    }
    rs.close();
    form.GridKooDb->BindQuery(s.KooDb, QStringLiteral("SELECT * FROM Daten"));
    form.cmbGeoidmodell->SetListIndex(model);

    // EGM96 by cubic convolution on the grid's nodes (55.5 N, 5.5 E, 15' apart).
    const std::vector<std::int32_t> records = test::ReadRecords((db + "EGM96_Deutschland.grd").toStdString());
    const auto node = [&](int r, int c) { return records.at(17 + (r - 1) * 41 + c) * 0.0001; };
    std::vector<double> expected;
    for (int i = 1; i <= kPoints; ++i)
      expected.push_back(test::CatmullRom(1 + (55.5 - Lat(model, i)) / 0.25, 1 + (Lon(model, i) - 5.5) / 0.25, node) +
                         (model == 2 ? kOffset : 0.0));

    std::cout << "bereit" << std::endl;
    std::string line;
    std::getline(std::cin, line);
    for (int round = 1; round <= kRounds; ++round) {
      form.ConvertHeightsWithGeoid();
      int wrong = 0;
      Recordset rows = s.KooDb.openSql(QStringLiteral("SELECT Geoidundulation FROM Daten ORDER BY id"));
      for (int i = 0; rows.hasCurrent() && !rows.eof(); rows.moveNext(), ++i) {
        bool number = false;
        const double n = rows.value(0).textOrEmpty().toDouble(&number);
        if (!number || std::abs(n - expected[static_cast<size_t>(i)]) > 0.001) ++wrong;
      }
      rows.close();
      std::cout << "Runde " << round << ": abweichend " << wrong << std::endl;
    }
  }
  for (const RecordedMessage& m : dialogs->messages()) std::cout << "Meldung: " << m.text.toStdString() << std::endl;
  CloseAllDatabases(true);
}

InstanceProcess Instance(const QString& root, int model) {
  return InstanceProcess(QStringLiteral("SharedGeoidProgramTest.*"),
                         {{kFolderVariable, root}, {kModelVariable, QString::number(model)}});
}

}  // namespace

TEST(SharedGeoidProgramTest, InstancesRunningAtOnceEachGetTheirOwnUndulations) {
  if (qEnvironmentVariableIsSet(kFolderVariable)) return RunInstance();
  QTemporaryDir root;
  const QString db = root.path() + "/Programm/Orvenil-Datenbanken/";
  ASSERT_TRUE(QDir().mkpath(db));
  for (const char* name : {"EGM96_Deutschland.grd", "sys_7Parameter.dat", "sys_NTv2.dat"})
    ASSERT_TRUE(QFile::copy(QStringLiteral(ORV_DATABASE_FOLDER "/") + name, db + name)) << name;
  // The geoid program takes its time, as on a large job, so that the runs
  // of the two instances overlap.
  ASSERT_TRUE(QFile::copy(QStringLiteral(ORV_DATABASE_FOLDER "/saphtel.exe"), db + "saphtel-programm"));
  QFile program(db + "saphtel.exe");
  ASSERT_TRUE(program.open(QIODevice::WriteOnly));
  program.write(("#!/bin/sh\nsleep 0.2\nexec '" + db + "saphtel-programm'\n").toUtf8());
  program.close();
  for (const char* name : {"saphtel.exe", "saphtel-programm"})
    QFile::setPermissions(db + name, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  // A second model: the same grid, every node kOffset higher.
  std::vector<std::int32_t> records = test::ReadRecords((db + "EGM96_Deutschland.grd").toStdString());
  for (size_t i = 18; i < records.size(); ++i) records[i] += static_cast<std::int32_t>(kOffset * 10000);
  test::WriteRecords((db + "EGM96_hoeher.grd").toStdString(), records);
  QFile table(db + "Quasigeoidmodell.dat");
  ASSERT_TRUE(table.open(QIODevice::WriteOnly));
  table.write("EGM96 Deutschland;EGM96_Deutschland.grd;saphtel.exe;saphtel;Deutschland;https://earth-info.nga.mil\r\n"
              "EGM96 hoeher;EGM96_hoeher.grd;saphtel.exe;saphtel;Deutschland;https://earth-info.nga.mil\r\n");
  table.close();

  InstanceProcess first = Instance(root.path(), 1);
  InstanceProcess second = Instance(root.path(), 2);
  ASSERT_TRUE(first.ready() && second.ready());
  first.go();
  second.go();
  for (const QString& output : {first.end(), second.end()}) {
    EXPECT_EQ(output.count(": abweichend 0"), kRounds) << output.toStdString();
    EXPECT_FALSE(output.contains("Meldung:")) << output.toStdString();
  }
}
