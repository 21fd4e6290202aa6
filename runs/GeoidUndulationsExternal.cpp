// The exchange with the geoid program (saphtel): INPUT.USR with latitude and
// longitude of every row, the program run in the database folder, OUTPUT.USR
// with one line per row, matched by position.
#include <QFile>
#include <QFileInfo>

#include "foundation/DialogService.h"
#include "foundation/OrvenilError.h"
#include "foundation/ProcessHelpers.h"
#include "shell/ProgramState.h"
#include "platform/ui/ProgressWindow.h"
#include "foundation/TextLineReader.h"
#include "foundation/TextLineWriter.h"
#include "foundation/TextTokens.h"
#include "io/ImportStartBranches.h"
#include "foundation/DatabaseFolderFile.h"
#include "shell/FormOrvenil.h"
#include "shell/ProgramVersion.h"

namespace orv {

namespace {

const QString kInputFile = QStringLiteral("INPUT.USR");
const QString kOutputFile = QStringLiteral("OUTPUT.USR");

void RemoveExchangeFiles(const QString& folder) {
  for (const QString& name : {kInputFile, kOutputFile}) {
    const QString path = DatabaseFolderFile(folder, name);
    if (QFileInfo::exists(path)) QFile::remove(path);
  }
}

// A line the rows take: its first token is a number.
bool HoldsUndulation(const QString& line) {
  double n = 0;
  return ParseCoordinate(GetToken(TrimSpacesFast(line), 1, QStringLiteral(" ")), n);
}

void ReportProgramFailure(const QString& program, const QString& what) {
  Dialogs().messageBox(QStringLiteral("Das Geoidprogramm '") + program + QStringLiteral("' ") + what +
                           QStringLiteral("\nDie Geoidundulationen wurden nicht berechnet."),
                       MsgButtons::Ok, MsgIcon::Critical, kProgramTitle);
}

}  // namespace

bool FormOrvenil::ComputeGeoidUndulationsExternal(Recordset& rs, const QString& latField, const QString& lonField,
                                                   const QString& resultField, const QString& programName) {
  ProgramState& state = State();
  const QString folder = state.DatenbankVerzeichnis;
  RemoveExchangeFiles(folder);

  const qint64 n = rs.recordCount();
  state.AnzahlDatensaetze = static_cast<qint32>(n);
  {
    TextLineWriter input(folder + kInputFile);
    if (n > 0) rs.moveFirst();
    for (qint64 i = 1; i <= n; ++i) {
      ShowProgress(static_cast<int>(i), 0, static_cast<int>(n), true, QStringLiteral(" Zeilen, Daten bereitstellen..."));
      input.writeLine(rs.value(latField).textOrEmpty() + QLatin1Char(' ') + rs.value(lonField).textOrEmpty());
      if (i < n) rs.moveNext();
    }
    input.close();
  }
  ShowProgress(0, 0, 100, true, QStringLiteral(" berechne Geoidundulaion..."));

  const QString program = DatabaseFolderFile(folder, programName);
  QStringList lines;
  bool ran = false;
  if (programName.isEmpty() || !QFileInfo(program).isFile()) {
    ReportProgramFailure(program, QStringLiteral("fehlt!"));
  } else {
    int exitCode = 0;
    bool started = true;
    try {
      exitCode = ShellAndWait(QLatin1Char('"') + program + QLatin1Char('"'), 0, folder);
    } catch (const OrvenilError&) {
      started = false;
    }
    const QString output = DatabaseFolderFile(folder, kOutputFile);
    if (!started)
      ReportProgramFailure(program, QStringLiteral("konnte nicht gestartet werden!"));
    else if (exitCode != 0)
      ReportProgramFailure(program, QStringLiteral("ist mit einem Fehler beendet worden (Code ") +
                                        QString::number(exitCode) + QStringLiteral(")!"));
    else if (!QFileInfo(output).isFile())
      ReportProgramFailure(program, QStringLiteral("hat keine Ausgabedatei ") + kOutputFile + QStringLiteral(" geschrieben!"));
    else {
      TextLineReader reader(output);
      QString line;
      // Lines beyond the last row belong to no row and are left out.
      while (lines.size() < n && reader.readLine(line)) lines << TrimBlanks(line);
      ran = true;
    }
  }

  if (ran && n > 0) {
    rs.moveFirst();
    for (qint64 i = 1; i <= n; ++i) {
      ShowProgress(static_cast<int>(i), 0, static_cast<int>(n), true, QStringLiteral(" Zeilen, Geoidundulation einlesen..."));
      const QString& line = i <= lines.size() ? lines[static_cast<qsizetype>(i - 1)] : QString();
      rs.edit();
      rs.setValue(resultField, HoldsUndulation(line) ? line : QStringLiteral("Fehler"));
      rs.update();
      if (i < n) rs.moveNext();
    }
  }
  Dialogs().processEvents();
  RemoveExchangeFiles(folder);
  return ran;
}

}  // namespace orv
