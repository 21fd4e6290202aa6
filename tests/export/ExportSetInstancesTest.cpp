// A vessel set exported by an instance of the program in a process of its
// own. Killed between the renames of the set, the next start or the next
// export finishes the set or puts the old one back and says which; two
// instances exporting the same set at once leave one whole set.
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
    const QString folder = out + "Satz" + QString::number(hour) + "/";
    QDir().mkpath(folder);
    start();
    exportSet(folder, hour);
    return setIn(folder);
  }
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
  // In the instance's process: exports the set of hour 10, killed or paused
  // for two seconds once its first file is in place.
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
    SCOPED_TRACE(std::string("lose .lne: ") + (c.loseNewLne ? "yes" : "no") +
                 ", export: " + (c.nextExport ? "yes" : "no"));
    const QString folder = out + "Fall" + QString::number(&c - cases) + "/";
    QDir().mkpath(folder);
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
    // A start with a temporary folder of its own knows nothing of the set.
    if (c.nextExport) {
      start();
      exportSet(folder, 11);
    } else {
      startIn(folder);
    }
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
  const QString folder = out + "beide/";
  QDir().mkpath(folder);
  InstanceProcess other = instance(folder, "pause");
  ASSERT_TRUE(other.ready());  // its .csv is in place, its .pkt and .lne not yet
  startIn(folder);
  exportSet(folder, 11);
  other.end();
  EXPECT_TRUE(setIn(folder) == mine);
  EXPECT_EQ(filesIn(folder), "fahrt.csv fahrt.lne fahrt.pkt");
}
