#include "foundation/ProcessHelpers.h"

#include "foundation/DialogService.h"
#include "foundation/OrvenilError.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace orv {

QString FindAssociatedExecutable(const QString& file) {
  const QString none = QStringLiteral("\"\"");
  const QFileInfo info(file);
  if (file.isEmpty() || !info.isFile()) return none;
  if (info.isExecutable()) return none;  // a program opens itself: no other program
  if (QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty()) return none;
  return QStringLiteral("\"xdg-open\"");
}

void OpenWithAssociatedProgram(const QString& file) { Dialogs().openUrl(file); }

int ShellAndWait(const QString& program, const QStringList& arguments, int windowState,
                 const QString& workingFolder) {
  Q_UNUSED(windowState);
  if (program.isEmpty())
    throw OrvenilError(kErrFileNotFound, QStringLiteral("Datei nicht gefunden: Es ist kein Programm angegeben."));

  QProcess process;
  process.setProgram(program);
  process.setArguments(arguments);
  if (!workingFolder.isEmpty()) process.setWorkingDirectory(workingFolder);
  process.setProcessChannelMode(QProcess::ForwardedChannels);
  process.start();
  if (!process.waitForStarted(-1))
    throw OrvenilError(kErrFileNotFound,
                       "Das Programm " + program + " kann nicht gestartet werden: " + process.errorString());
  process.closeWriteChannel();  // a program that reads input gets its end at once
  process.waitForFinished(-1);
  if (process.exitStatus() != QProcess::NormalExit) return -1;
  return process.exitCode();
}

}  // namespace orv
