#include "io/ImportWorkCopy.h"

#include <QFile>
#include <QFileInfo>

#include "shell/ProgramState.h"

namespace orv {

void SetImportWorkCopy(const QString& chosenPath, const QString& copyPath, const FileIdentity& readIdentity) {
  ProgramState& state = State();
  state.ImportArbeitskopie = copyPath;
  state.ImportArbeitskopieVon = copyPath.isEmpty() ? QString() : chosenPath;
  state.ImportLesestand = readIdentity;
  state.ImportLesestandVon = readIdentity.isSet() ? chosenPath : QString();
}

QString ImportReadPath() {
  const ProgramState& state = State();
  if (!state.ImportArbeitskopie.isEmpty() && state.ImportArbeitskopieVon == state.ImportDatei &&
      QFileInfo(state.ImportArbeitskopie).isFile())
    return state.ImportArbeitskopie;
  return state.ImportDatei;
}

FileIdentity ImportReadIdentity() {
  const ProgramState& state = State();
  const QString readPath = ImportReadPath();
  if (state.ImportLesestandVon == state.ImportDatei && state.ImportLesestand.isSet() &&
      state.ImportLesestand.path() == readPath)
    return state.ImportLesestand;
  return FileIdentity(readPath);
}

void CheckImportFileUnchanged(const FileIdentity& identity) {
  if (identity.differs()) ThrowFileChangedWhileRead(State().ImportDatei);
}

void RemoveImportWorkCopy() {
  ProgramState& state = State();
  if (!state.ImportArbeitskopie.isEmpty()) QFile::remove(state.ImportArbeitskopie);
  state.ImportArbeitskopie.clear();
  state.ImportArbeitskopieVon.clear();
  state.ImportLesestand = FileIdentity();
  state.ImportLesestandVon.clear();
}

}  // namespace orv
