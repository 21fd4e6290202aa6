#include "shell/StartDataChoice.h"

#include "shell/ProgramState.h"

namespace orv {

StartSystemChoice TakeStartSystem(const ProgramState& state) {
  StartSystemChoice c;
  c.ellipsoidStart = state.EllipsoidStart;
  c.koordinatensystem = state.StartKoordinatensystem;
  c.abbildungIndex = state.StartAbbildungIndex;
  c.abbildungName = state.StartAbbildungName;
  c.formatGeographischIndex = state.FormatEingabeGeographischIndex;
  return c;
}

void PutStartSystem(ProgramState& state, const StartSystemChoice& choice) {
  state.EllipsoidStart = choice.ellipsoidStart;
  state.StartKoordinatensystem = choice.koordinatensystem;
  state.StartAbbildungIndex = choice.abbildungIndex;
  state.StartAbbildungName = choice.abbildungName;
  state.FormatEingabeGeographischIndex = choice.formatGeographischIndex;
}

StartDataChoice TakeStartData(const ProgramState& state) {
  StartDataChoice c;
  c.system = TakeStartSystem(state);
  c.sonderfunktionIndex = state.SonderfunktionIndex;
  c.geoidApp = state.GeoidApp;
  c.geoidfeldDateiname = state.GeoidfeldDateiname;
  c.geoidName = state.GeoidName;
  c.geoidBereit = state.GeoidBereit;
  c.importDatei = state.ImportDatei;
  c.importDateiGewaehlt = state.ImportDateiGewaehlt;
  return c;
}

void PutStartData(ProgramState& state, const StartDataChoice& choice) {
  PutStartSystem(state, choice.system);
  state.SonderfunktionIndex = choice.sonderfunktionIndex;
  state.GeoidApp = choice.geoidApp;
  state.GeoidfeldDateiname = choice.geoidfeldDateiname;
  state.GeoidName = choice.geoidName;
  state.GeoidBereit = choice.geoidBereit;
  state.ImportDatei = choice.importDatei;
  state.ImportDateiGewaehlt = choice.importDateiGewaehlt;
}

}  // namespace orv
