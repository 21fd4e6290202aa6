// The exchange with the geoid program (saphtel) in a working folder of the
// call's own, and the walk over the rows with the program's lines.
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "foundation/DatabaseFolderFile.h"
#include "foundation/DialogService.h"
#include "foundation/FileErrorReason.h"
#include "foundation/OrvenilError.h"
#include "foundation/ProcessHelpers.h"
#include "foundation/TextLineReader.h"
#include "foundation/TextLineWriter.h"
#include "foundation/TextTokens.h"
#include "io/GeoidModelStaging.h"
#include "platform/db/ForwardQuery.h"
#include "platform/ui/ProgressWindow.h"
#include "runs/DatenBlockRun.h"
#include "runs/GeoidAnswerMatch.h"
#include "runs/GeoidUndulations.h"
#include "runs/RunFrame.h"
#include "shell/CoordinateDatabase.h"
#include "shell/ProgramState.h"
#include "shell/ProgramVersion.h"

namespace orv {

namespace {

const QString kInputFile = QStringLiteral("INPUT.USR");
const QString kOutputFile = QStringLiteral("OUTPUT.USR");
constexpr qint64 kProgressIntervalMs = 200;
// Less room than one block of the file system: a folder that is full.
constexpr qint64 kRoomForAnswer = 4096;

void ShowCritical(const QString& text) {
  Dialogs().messageBox(text, MsgButtons::Ok, MsgIcon::Critical, kProgramTitle);
}

void ReportProgramFailure(const QString& program, const QString& what) {
  ShowCritical(QStringLiteral("Das Geoidprogramm '") + program + QStringLiteral("' ") + what +
               QStringLiteral("\nDie Geoidundulationen wurden nicht berechnet."));
}

// The geoid program's mark of a point outside its model.
constexpr double kOutsideModel = 999999;
// The longest part of a line that a message shows.
constexpr qsizetype kShownLine = 80;

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

// The rows of Daten as the pass that writes INPUT.USR read them: row id,
// whether its latitude and longitude are numbers, and the texts of the
// walk's read columns, kept compactly until the walk (a text is its length
// in one byte, or 255 and four bytes, then its UTF-8). The point itself is
// read back from INPUT.USR during the walk, so a large job holds no
// coordinates here.
class HeldRows {
 public:
  void add(qint64 rowId, bool hasPoint) {
    ids_.push_back(rowId);
    hasPoint_.push_back(hasPoint);
  }
  // True once the rows have been read (also when there are none).
  bool complete() const { return complete_; }
  void setComplete() { complete_ = true; }
  void addText(QByteArrayView utf8) {
    const auto size = static_cast<quint32>(utf8.size());
    if (size < 255) {
      bytes_.push_back(static_cast<char>(size));
    } else {
      bytes_.push_back(static_cast<char>(255));
      bytes_.append(reinterpret_cast<const char*>(&size), sizeof size);
    }
    bytes_.append(utf8.data(), static_cast<size_t>(utf8.size()));
  }
  // The next row in the order they were added; False after the last.
  bool next(int texts, qint64& rowId, bool& hasPoint, RowTexts& read) {
    if (row_ == ids_.size()) return false;
    hasPoint = hasPoint_[row_];
    rowId = ids_[row_++];
    for (int t = 0; t < texts; ++t) {
      quint32 size = static_cast<unsigned char>(bytes_[at_++]);
      if (size == 255) {
        std::memcpy(&size, bytes_.data() + at_, sizeof size);
        at_ += sizeof size;
      }
      read.addUtf8(QByteArrayView(bytes_.data() + at_, static_cast<qsizetype>(size)));
      at_ += size;
    }
    return true;
  }

 private:
  std::vector<qint64> ids_;
  std::vector<bool> hasPoint_;
  std::string bytes_;
  size_t row_ = 0;
  size_t at_ = 0;
  bool complete_ = false;
};

// The program's reading of a radian text of INPUT.USR, in degrees (its own
// factor); not finite for a text that is no number.
double DegreesOfRadianText(QByteArrayView text) {
  if (text.isEmpty()) return std::numeric_limits<double>::quiet_NaN();
  qsizetype first = 0, last = text.size();
  while (first < last && text[first] == ' ') ++first;
  while (last > first && text[last - 1] == ' ') --last;
  if (first < last && text[first] == '+') ++first;
  double radians = 0;
  const char* begin = text.data() + first;
  const auto [end, ec] = std::from_chars(begin, text.data() + last, radians);
  if (first == last || ec != std::errc() || end != text.data() + last || !std::isfinite(radians))
    return std::numeric_limits<double>::quiet_NaN();
  return radians * 57.29577951;
}

bool IsAscii(QByteArrayView bytes) {
  for (const char c : bytes)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// The exchange of one call: its folder, the staged grid, INPUT.USR, the
// program's run and its answer.
class GeoidExchange {
 public:
  explicit GeoidExchange(ProgramState& state) : state_(state) {}

  // Reads every row once: its latitude and longitude go to INPUT.USR, its
  // id and the texts of readColumns are held for the walk. True when the
  // program answered; otherwise the message saying why not has been shown.
  bool run(qint64 rows, const QStringList& readColumns, HeldRows& held) {
    const QString base =
        state_.TempVerzeichnis.isEmpty() ? QDir::tempPath() + QLatin1Char('/') : state_.TempVerzeichnis;
    folder_.emplace(GeoidWorkFolderTemplate(base));
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
    writeInput(folder + kInputFile, rows, readColumns, held);
    ShowProgress(0, 0, 100, true, QStringLiteral(" berechne Geoidundulaion..."));

    const QString program = DatabaseFolderFile(state_.DatenbankVerzeichnis, state_.GeoidApp);
    if (state_.GeoidApp.isEmpty() || !QFileInfo(program).isFile()) {
      ReportProgramFailure(program, QStringLiteral("fehlt!"));
      return false;
    }
    int exitCode = 0;
    try {
      exitCode = ShellAndWait(program, {}, 0, folder);
    } catch (const OrvenilError&) {
      ReportProgramFailure(program, QStringLiteral("konnte nicht gestartet werden!"));
      return false;
    }
    // A program that found no room for its answer in a full folder is
    // told apart from one that failed for reasons of its own.
    const auto fullFolder = [&] {
      const QString full = FullFolderTextWhenFull(folder, kRoomForAnswer);
      return full.isEmpty() ? QString() : QLatin1Char('\n') + full;
    };
    if (exitCode != 0) {
      ReportProgramFailure(program, QStringLiteral("ist mit einem Fehler beendet worden (Code ") +
                                        QString::number(exitCode) + QStringLiteral(")!") + fullFolder());
      return false;
    }
    if (!QFileInfo(folder + kOutputFile).isFile() || !answer_.open(folder + kOutputFile, rows)) {
      ReportProgramFailure(program, QStringLiteral("hat keine Ausgabedatei ") + kOutputFile +
                                        QStringLiteral(" geschrieben!") + fullFolder());
      return false;
    }
    // Should INPUT.USR not open again, no row finds its point and each is
    // counted without a line.
    input_.open(folder + kInputFile);
    return true;
  }

  // The program's line for the next row, the one that repeats the row's
  // point; "" when there is none. Rows are asked for in the order of
  // INPUT.USR, each once; a row without a point (hasPoint false) takes no
  // line.
  QString lineForNextRow(bool hasPoint) {
    double lat = std::numeric_limits<double>::quiet_NaN(), lon = lat;
    QString line;
    if (input_.isOpen() && input_.readLine(line) && hasPoint) {
      // Both texts were numbers when written, so the line is exactly the
      // two of them between blanks, in ASCII.
      char bytes[128];
      const qsizetype n = std::min<qsizetype>(line.size(), sizeof bytes);
      for (qsizetype i = 0; i < n; ++i) bytes[i] = static_cast<char>(line[i].unicode());
      const QByteArrayView text(bytes, n);
      qsizetype first = 0;
      while (first < n && text[first] == ' ') ++first;
      const qsizetype blank = text.indexOf(' ', first);
      if (n == line.size() && blank > first) {
        lat = DegreesOfRadianText(text.sliced(first, blank - first));
        lon = DegreesOfRadianText(text.sliced(blank + 1));
      }
    }
    return answer_.lineFor(lat, lon);
  }

 private:
  // One line per row in row order: the radBg text, a blank, the radLg text.
  void writeInput(const QString& path, qint64 rows, const QStringList& readColumns, HeldRows& held) {
    TextLineWriter input(path);
    QString sql = QStringLiteral("SELECT rowid, radBg, radLg");
    for (const QString& c : readColumns) sql += QStringLiteral(", [") + c + QLatin1Char(']');
    ForwardQuery query(state_.KooDb, sql + QStringLiteral(" FROM Daten ORDER BY rowid"));
    const int texts = static_cast<int>(readColumns.size());
    PassProgress progress(rows, QStringLiteral(" Zeilen, Daten bereitstellen..."));
    QByteArray line;
    for (qint64 i = 1; query.next(); ++i) {
      progress.show(i);
      const QByteArrayView lat = query.utf8(1), lon = query.utf8(2);
      if (IsAscii(lat) && IsAscii(lon)) {
        line.clear();
        line.append(lat.data(), lat.size());
        line.append(' ');
        line.append(lon.data(), lon.size());
        input.writeLineBytes(line);
      } else {
        input.writeLine(query.text(1) + QLatin1Char(' ') + query.text(2));
      }
      held.add(query.integer(0),
               std::isfinite(DegreesOfRadianText(lat)) && std::isfinite(DegreesOfRadianText(lon)));
      for (int t = 0; t < texts; ++t) held.addText(query.utf8(3 + t));
    }
    held.setComplete();
    input.close();
  }

  ProgramState& state_;
  std::optional<QTemporaryDir> folder_;  // removed with everything in it when the exchange ends
  GeoidAnswerMatch answer_;
  TextLineReader input_;  // INPUT.USR again, read in step with the walk
};

}  // namespace

bool ComputeGeoidUndulationsExternal(ProgramState& state, const GeoidUndulationWalk& walk) {
  const qint64 rows = CountDatenRows(state.KooDb);
  state.AnzahlDatensaetze = static_cast<qint32>(rows);
  GeoidExchange exchange(state);
  HeldRows held;
  const bool answered = exchange.run(rows, walk.readColumns, held);
  if (answered || walk.walkWithoutAnswer) {
    DatenBlockRun::Options options;
    options.nullReadsEmpty = true;
    DatenBlockRun rowsWalk(state.KooDb, walk.readColumns, walk.writeColumns, options);
    const int texts = static_cast<int>(walk.readColumns.size());
    // Rows the exchange did not get to read are read by the walk, each
    // without a line.
    qint64 unanswered = 0;
    if (held.complete())
      rowsWalk.readFrom([&](qint64& rowId, RowTexts& read) {
        bool hasPoint = false;
        if (!held.next(texts, rowId, hasPoint, read)) return false;
        const QString line = exchange.lineForNextRow(hasPoint);
        if (answered && line.isEmpty() && hasPoint) ++unanswered;
        read.add(line);
        return true;
      });
    // Rows whose line holds no undulation, and the first such line.
    qint64 unreadable = 0;
    QString firstUnreadable;
    const QString progressText = QStringLiteral(" Zeilen, Geoidundulation zuordnen...");
    rowsWalk.run(
        rows,
        [&](DatenRunRow& row) {
          const QString line =
              row.in.size() > static_cast<size_t>(texts) ? row.in[static_cast<size_t>(texts)] : QString();
          double n = 0;
          const bool readable = GeoidAnswerMatch::UndulationOfLine(line, n);
          row.note[0] = !readable && !line.isEmpty();
          walk.compute(row, readable && n != kOutsideModel ? std::optional<double>(n) : std::nullopt);
        },
        [&](qint64, DatenRunRow& row) {
          if (row.note[0] == 0 || ++unreadable > 1) return;
          firstUnreadable = TrimBlanks(row.in[static_cast<size_t>(texts)]).left(kShownLine);
        },
        [&](qint64 i, qint64 count) {
          ShowProgress(static_cast<int>(i), 0, static_cast<int>(count), true, progressText);
        });
    const QString answer =
        QStringLiteral(" in der Antwort des Geoidprogramms (") + kOutputFile + QLatin1Char(')');
    const QString fehler = QStringLiteral(": ihre Geoidundulation ist \"Fehler\"!   ");
    QStringList said;
    if (unanswered > 0)
      said << QString::number(unanswered) + QStringLiteral(" Zeilen ohne Zeile mit ihrer Breite und Länge") +
                  answer + fehler;
    if (unreadable > 0)
      said << QString::number(unreadable) +
                  QStringLiteral(" Zeilen mit einer Zeile ohne lesbare Geoidundulation") + answer +
                  QStringLiteral(", zuerst '") + firstUnreadable + QLatin1Char('\'') + fehler;
    if (!said.isEmpty())
      Dialogs().messageBox(said.join(QLatin1Char('\n')), MsgButtons::Ok, MsgIcon::Exclamation, walk.title);
  }
  Dialogs().processEvents();
  return answered;
}

}  // namespace orv
