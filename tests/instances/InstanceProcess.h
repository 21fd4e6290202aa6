#pragma once
// An instance of the program in a process of its own: this test program run
// again for one test, told by its environment what to do. It prints
// "bereit" when it is ready and waits for a line before it goes on.
#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <utility>

#include "foundation/LocaleSwitch.h"
#include "shell/FormOrvenil.h"
#include "shell/ProgramState.h"

// In the instance's process: the program-wide state and the locale switch
// as at a start, and the folders of a window on root's program folder with
// a temporary folder of the process's own.
inline orv::FormOrvenilFolders InstanceFolders(const QString& root) {
  orv::ResetProgramState();
  orv::ResetLocaleSwitch();
  orv::SetSeparatorProbe([] { return QStringLiteral("1.1"); });
  const QString temp = root + QStringLiteral("/Temp") + QString::number(QCoreApplication::applicationPid()) + "/";
  QDir().mkpath(temp);
  return orv::FormOrvenilFolders{root + "/Programm/", root + "/Programm/Orvenil-Datenbanken/", temp};
}

class InstanceProcess {
 public:
  InstanceProcess(const QString& testFilter, const QList<std::pair<QString, QString>>& variables) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : variables) env.insert(name, value);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    process_.setProcessEnvironment(env);
    process_.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=") + testFilter});
  }
  bool ready() {
    while (!output_.contains("bereit")) {
      if (!process_.waitForReadyRead(60000)) return false;
      output_ += process_.readAllStandardOutput();
    }
    return true;
  }
  // Sends the line the instance waits for.
  void go() {
    if (sent_) return;
    process_.write("\n");
    process_.waitForBytesWritten(10000);
    process_.closeWriteChannel();
    sent_ = true;
  }
  // Ends the instance at once, as a kill by the system does.
  void kill() {
    process_.kill();
    process_.waitForFinished(10000);
  }
  // Lets the instance go on when it still waits, and waits for its end; its output.
  QString end() {
    go();
    process_.waitForFinished(300000);
    output_ += process_.readAllStandardOutput();
    return QString::fromUtf8(output_);
  }

 private:
  QProcess process_;
  QByteArray output_;
  bool sent_ = false;
};
