#include "io/ImportWorkCopy.h"

#include <QFile>
#include <QFileInfo>

#include "shell/ProgramState.h"

namespace orv {

void SetImportWorkCopy(const QString& chosenPath, const QString& copyPath) {
  State().ImportArbeitskopie = copyPath;
  State().ImportArbeitskopieVon = copyPath.isEmpty() ? QString() : chosenPath;
}

QString ImportReadPath() {
  const ProgramState& state = State();
  if (!state.ImportArbeitskopie.isEmpty() && state.ImportArbeitskopieVon == state.ImportDatei &&
      QFileInfo(state.ImportArbeitskopie).isFile())
    return state.ImportArbeitskopie;
  return state.ImportDatei;
}

void RemoveImportWorkCopy() {
  ProgramState& state = State();
  if (!state.ImportArbeitskopie.isEmpty()) QFile::remove(state.ImportArbeitskopie);
  state.ImportArbeitskopie.clear();
  state.ImportArbeitskopieVon.clear();
}

}  // namespace orv
