#pragma once
// Undulations from the geoid program (saphtel) for every row of Daten, and
// the walk over the rows that stores what a run makes of them.
//
// Each call has an exchange of its own: a working folder in the temporary
// folder holds the active model's grid, copied from the model file as it is
// at that moment under the name the program opens, INPUT.USR (latitude and
// longitude of every row) and the program's OUTPUT.USR. The program runs in
// that folder, so another run, of this instance or of another one, never
// reads or writes these files; the folder goes when the call ends. Its name
// carries the instance's mark, so that the start-up of a later instance can
// remove the folder of one that ended during a call.
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace orv {

struct ProgramState;
struct DatenRunRow;

struct GeoidUndulationWalk {
  QStringList readColumns;   // row.in[0 …]
  QStringList writeColumns;  // row.out, in this order
  // On the block workers: fills row.out from the row's read columns and
  // the undulation N from the program's line for the row; none for a row
  // without a line, one whose line holds no undulation and one outside the
  // model (999999).
  std::function<void(DatenRunRow& row, std::optional<double> undulation)> compute;
  // Walks the rows also when the program gave no answer, every row without
  // an undulation.
  bool walkWithoutAnswer = false;
  // Title of the message on rows without a line of their own or without an
  // undulation in it.
  QString title = QStringLiteral("Orvenil");
};

// The rows of Daten are read once, in row order: their latitude and
// longitude go to the program, their read columns are held for the walk, and
// a row takes the line of the program's answer that repeats its latitude and
// longitude (to the decimals written), never another point's. Rows without
// such a line, or whose line holds no undulation, get none, and a message
// counts them. Returns whether the program answered.
// Without an answer (the model file or the program missing, the program not
// started or failed, no OUTPUT.USR) a message says why. The rows are walked in
// one transaction; an error of the walk goes on to the caller.
bool ComputeGeoidUndulationsExternal(ProgramState& state, const GeoidUndulationWalk& walk);

}  // namespace orv
