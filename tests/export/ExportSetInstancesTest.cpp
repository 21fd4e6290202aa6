// A vessel set exported by an instance in a process of its own: a kill between
// the renames is finished or put back; two instances at once leave one set.
#include <QDir>
#include <chrono>
#include <csignal>
#include <iostream>
#include <thread>

#include "export/ExportFixture.h"
#include "foundation/ReplacingFileSet.h"
#include "instances/InstanceProcess.h"

using namespace orv;

namespace {
const char* kFolderVariable = "ORV_SET_FOLDER";    // the set's folder; the temporary folder is below it
const char* kAfterFirstVariable = "ORV_SET_STOP";  // "kill" or "pause" once the first file is in place
}  // namespace

class ExportSetInstancesTest : public ExportTest {
 protected:
  // Starts again as an instance whose temporary folder all instances share.
  void startIn(const QString& folder) {
    folders.tempFolder = folder + "Temp/";
    QDir().mkpath(folders.tempFolder);
    start();
  }
  // Exports three points whose names and lines depend on hour.
  void exportSet(const QString& folder, int hour) {
    QList<Row> rows;
    for (int i = 0; i < 3; ++i)
      rows << Row{{"Punkt", QString("12.05.2021 %1:11:0%2").arg(hour).arg(i)},
                  {"Zeile", QString("L%1;2;3;4;5;6;7;8;9;10;11;12;13;14;1").arg(i)},
                  {"sYeZiel", QString("451234%1.678").arg(i)},
                  {"sXeZiel", "5712345.123"}};
    fill(rows);
    State().ImportKopfzeile = "Zeit;x";
    State().EllipsoidZielKoordinaten = "Bessel";
    const bool there = QFile::exists(folder + "fahrt.csv");
    exportAs(folder + "fahrt.csv", 5, "1,2,18,19", "Ziel Kalkschiff Brisa", [&] {
      if (there) dialogs->expectMessage("Datei schon vorhanden! Überschreiben?", MsgResult::Yes);
    });
  }
  // The set an export of hour writes, in a folder of its own.
  QList<QByteArray> setOf(int hour) {
    const QString folder = newFolder("Satz" + QString::number(hour));
    inFreshStart(folder, hour);
    return setIn(folder);
  }
  // A start with a temporary folder of its own knows nothing of an earlier set.
  void inFreshStart(const QString& folder, int hour) {
    start();
    exportSet(folder, hour);
  }
  QString newFolder(const QString& name) { return QDir().mkpath(out + name) ? out + name + "/" : QString(); }
  static QList<QByteArray> setIn(const QString& folder) {
    return {bytesOf(folder + "fahrt.csv"), bytesOf(folder + "fahrt.pkt"), bytesOf(folder + "fahrt.lne")};
  }
  static std::string filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System).join(' ').toStdString();
  }
  InstanceProcess instance(const QString& folder, const QString& stop) {
    return InstanceProcess(QStringLiteral("ExportSetInstancesTest.") +
                               ::testing::UnitTest::GetInstance()->current_test_info()->name(),
                           {{kFolderVariable, folder}, {kAfterFirstVariable, stop}});
  }
  // In the instance's process: the set of hour 10, killed or paused once its first file is in place.
  void runInstance() {
    const bool kill = qEnvironmentVariable(kAfterFirstVariable) == "kill";
    bool first = true;
    SetFileSetProbe([&](const QString&) {
      if (!std::exchange(first, false)) return;
      if (kill) std::raise(SIGKILL);
      std::cout << "bereit" << std::endl;
      std::this_thread::sleep_for(std::chrono::seconds(2));
    });
    const QString folder = qEnvironmentVariable(kFolderVariable);
    startIn(folder);
    exportSet(folder, 10);
  }
};

TEST_F(ExportSetInstancesTest, ASetCutByAKillIsFinishedOrPutBack) {
  if (qEnvironmentVariableIsSet(kFolderVariable)) return runInstance();
  const QList<QByteArray> killed = setOf(10), next = setOf(11),
                          old{"alte Fahrt\r\n", "P1 1 1.0 2.0\r\n", "1 ( P1 P2 )\r\n"};
  const struct {
    bool loseNewLne;  // the new .lne not yet renamed is lost
    bool nextExport;  // else the next start
    const char* said;
    const QList<QByteArray>& set;
  } cases[] = {{false, false, "Die neuen Dateien waren vollständig geschrieben", killed},
               {true, false, "der bisherige Stand der Dateien ist wiederhergestellt", old},
               {false, true, "Die neuen Dateien waren vollständig geschrieben", next}};
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    const QString folder = newFolder("Fall" + QString::number(&c - cases));
    for (int i = 0; i < 3; ++i) {
      QFile file(folder + QStringList{"fahrt.csv", "fahrt.pkt", "fahrt.lne"}[i]);
      ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(old[i]) == old[i].size());
    }
    instance(folder, "kill").end();
    ASSERT_EQ(setIn(folder)[0], killed[0]) << "the kill did not fall between the renames";
    if (c.loseNewLne)
      for (const QString& name : QDir(folder).entryList({"fahrt.lne.*"}, QDir::Files | QDir::Hidden))
        if (!name.endsWith("bisher")) QFile::remove(folder + name);
    dialogs->clearRecords();
    c.nextExport ? inFreshStart(folder, 11) : startIn(folder);
    const QStringList said = dialogs->messageTexts().filter("wurde unterbrochen");
    ASSERT_EQ(said.size(), 1) << dialogs->messageTexts().join('\n').toStdString();
    EXPECT_TRUE(said[0].contains(c.said) && said[0].contains("fahrt.csv, fahrt.pkt und fahrt.lne im Ordner " +
                                                             QDir(folder).absolutePath()))
        << said[0].toStdString();
    EXPECT_TRUE(setIn(folder) == c.set);
    EXPECT_EQ(filesIn(folder), "fahrt.csv fahrt.lne fahrt.pkt");
  }
}

TEST_F(ExportSetInstancesTest, TwoInstancesExportingOneSetLeaveOneWholeSet) {
  if (qEnvironmentVariableIsSet(kFolderVariable)) return runInstance();
  const QList<QByteArray> mine = setOf(11);
  const QString folder = newFolder("beide");
  InstanceProcess other = instance(folder, "pause");
  ASSERT_TRUE(other.ready());  // its .csv is in place, its .pkt and .lne not yet
  startIn(folder);
  exportSet(folder, 11);
  other.end();
  EXPECT_TRUE(setIn(folder) == mine);
  EXPECT_EQ(filesIn(folder), "fahrt.csv fahrt.lne fahrt.pkt");
}
