// The exchange with the geoid program (saphtel) in a working folder of the
// call's own, and the walk over the rows with the program's lines.
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <optional>

#include "foundation/DatabaseFolderFile.h"
#include "foundation/DialogService.h"
#include "foundation/OrvenilError.h"
#include "foundation/ProcessHelpers.h"
#include "foundation/TextLineReader.h"
#include "foundation/TextLineWriter.h"
#include "foundation/TextTokens.h"
#include "io/GeoidModelStaging.h"
#include "io/ImportStartBranches.h"
#include "platform/db/ForwardQuery.h"
#include "platform/ui/ProgressWindow.h"
#include "runs/DatenBlockRun.h"
#include "runs/GeoidUndulations.h"
#include "runs/RunFrame.h"
#include "shell/ProgramState.h"
#include "shell/ProgramVersion.h"

namespace orv {

namespace {

const QString kInputFile = QStringLiteral("INPUT.USR");
const QString kOutputFile = QStringLiteral("OUTPUT.USR");
constexpr qint64 kProgressIntervalMs = 200;

void ShowCritical(const QString& text) {
  Dialogs().messageBox(text, MsgButtons::Ok, MsgIcon::Critical, kProgramTitle);
}

void ReportProgramFailure(const QString& program, const QString& what) {
  ShowCritical(QStringLiteral("Das Geoidprogramm '") + program + QStringLiteral("' ") + what +
               QStringLiteral("\nDie Geoidundulationen wurden nicht berechnet."));
}

// A line the rows take: its first token is a number.
bool HoldsUndulation(const QString& line) {
  double n = 0;
  return ParseCoordinate(GetToken(TrimSpacesFast(line), 1, QStringLiteral(" ")), n);
}

// Progress of a pass over the rows: at the first row, the last, and a few
// times a second between.
class PassProgress {
 public:
  PassProgress(qint64 count, QString text) : count_(count), text_(std::move(text)) { since_.start(); }
  void show(qint64 i) {
    if (i != 1 && i != count_ && since_.elapsed() < kProgressIntervalMs) return;
    ShowProgress(static_cast<int>(i), 0, static_cast<int>(count_), true, text_);
    since_.restart();
  }

 private:
  qint64 count_;
  QString text_;
  QElapsedTimer since_;
};

// The exchange of one call: its folder, the staged grid, INPUT.USR, the
// program's run and its answer.
class GeoidExchange {
 public:
  explicit GeoidExchange(ProgramState& state) : state_(state) {}

  // True when the program answered; otherwise the message saying why not
  // has been shown.
  bool run(qint64 rows) {
    const QString base =
        state_.TempVerzeichnis.isEmpty() ? QDir::tempPath() + QLatin1Char('/') : state_.TempVerzeichnis;
    folder_.emplace(base + QStringLiteral("Geoidprogramm_XXXXXX"));
    if (!folder_->isValid()) {
      ShowCritical(QStringLiteral("Der Arbeitsordner des Geoidprogramms kann in ") + base +
                   QStringLiteral(" nicht angelegt werden: ") + folder_->errorString() +
                   QStringLiteral("\nDie Geoidundulationen wurden nicht berechnet."));
      return false;
    }
    const QString folder = folder_->path() + QLatin1Char('/');
    const QString staging =
        StageGeoidModel(state_.DatenbankVerzeichnis, state_.GeoidfeldDateiname, folder, state_.GeoidName);
    if (!staging.isEmpty()) {
      ShowCritical(staging);
      return false;
    }
    writeInput(folder + kInputFile, rows);
    ShowProgress(0, 0, 100, true, QStringLiteral(" berechne Geoidundulaion..."));

    const QString program = DatabaseFolderFile(state_.DatenbankVerzeichnis, state_.GeoidApp);
    if (state_.GeoidApp.isEmpty() || !QFileInfo(program).isFile()) {
      ReportProgramFailure(program, QStringLiteral("fehlt!"));
      return false;
    }
    int exitCode = 0;
    try {
      exitCode = ShellAndWait(QLatin1Char('"') + program + QLatin1Char('"'), 0, folder);
    } catch (const OrvenilError&) {
      ReportProgramFailure(program, QStringLiteral("konnte nicht gestartet werden!"));
      return false;
    }
    if (exitCode != 0) {
      ReportProgramFailure(program, QStringLiteral("ist mit einem Fehler beendet worden (Code ") +
                                        QString::number(exitCode) + QStringLiteral(")!"));
      return false;
    }
    if (!QFileInfo(folder + kOutputFile).isFile() || !output_.open(folder + kOutputFile)) {
      ReportProgramFailure(program,
                           QStringLiteral("hat keine Ausgabedatei ") + kOutputFile + QStringLiteral(" geschrieben!"));
      return false;
    }
    return true;
  }

  // The program's line for the next row, without leading and trailing
  // blanks, or "Fehler" when it holds no number or there are no more lines.
  QString nextLine() {
    QString line;
    if (output_.isOpen() && output_.readLine(line)) {
      line = TrimBlanks(line);
      if (HoldsUndulation(line)) return line;
    }
    return QStringLiteral("Fehler");
  }

 private:
  // One line per row in row order: the radBg text, a blank, the radLg text.
  void writeInput(const QString& path, qint64 rows) {
    TextLineWriter input(path);
    ForwardQuery query(state_.KooDb, QStringLiteral("SELECT radBg, radLg FROM Daten ORDER BY rowid"));
    PassProgress progress(rows, QStringLiteral(" Zeilen, Daten bereitstellen..."));
    QString line;
    for (qint64 i = 1; i <= rows && query.next(); ++i) {
      progress.show(i);
      line = query.text(0);
      line += QLatin1Char(' ');
      line += query.text(1);
      input.writeLine(line);
    }
    input.close();
  }

  ProgramState& state_;
  std::optional<QTemporaryDir> folder_;  // removed with everything in it when the exchange ends
  TextLineReader output_;
};

}  // namespace

bool ComputeGeoidUndulationsExternal(ProgramState& state, const GeoidUndulationWalk& walk) {
  const qint64 rows = CountDatenRows(state.KooDb);
  state.AnzahlDatensaetze = static_cast<qint32>(rows);
  GeoidExchange exchange(state);
  const bool answered = exchange.run(rows);
  if (answered || walk.walkWithoutAnswer) {
    DatenBlockRun::Options options;
    options.nullReadsEmpty = true;
    DatenBlockRun rowsWalk(state.KooDb, walk.readColumns, walk.writeColumns, options);
    rowsWalk.attachToRows([&](RowTexts& read) { read.add(exchange.nextLine()); });
    const int lineAt = static_cast<int>(walk.readColumns.size());
    const QString progressText = QStringLiteral(" Zeilen, Geoidundulation zuordnen...");
    rowsWalk.run(
        rows, [&](DatenRunRow& row) { walk.compute(row, row.in[static_cast<size_t>(lineAt)]); },
        [](qint64, DatenRunRow&) {},
        [&](qint64 i, qint64 count) {
          ShowProgress(static_cast<int>(i), 0, static_cast<int>(count), true, progressText);
        });
  }
  Dialogs().processEvents();
  return answered;
}

}  // namespace orv
