#pragma once
// What the start-data dialog leaves in the program-wide variables, taken
// apart so that the import chain can keep the loaded job's values while the
// dialog is open: the start system that describes the rows, and the rest of
// the dialog's answers (special function, geoid model, chosen file).
#include <QString>

namespace orv {

struct ProgramState;

// The start system of the rows: ellipsoid, system name, kind of coordinates
// and notation of geographic input.
struct StartSystemChoice {
  QString ellipsoidStart;
  QString koordinatensystem;
  qint32 abbildungIndex = 0;
  QString abbildungName;
  qint32 formatGeographischIndex = 0;
};

StartSystemChoice TakeStartSystem(const ProgramState& state);
void PutStartSystem(ProgramState& state, const StartSystemChoice& choice);

// Everything the dialog and the file choice before it change in the
// program-wide variables, for a cancelled dialog to give back.
struct StartDataChoice {
  StartSystemChoice system;
  qint32 sonderfunktionIndex = 0;
  QString geoidApp;
  QString geoidfeldDateiname;
  QString geoidName;
  bool geoidBereit = false;
  QString importDatei;
  bool importDateiGewaehlt = false;
};

StartDataChoice TakeStartData(const ProgramState& state);
void PutStartData(ProgramState& state, const StartDataChoice& choice);

}  // namespace orv
