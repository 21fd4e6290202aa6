#include "io/GeoidModelStaging.h"

#include <QFileInfo>

#include "foundation/DatabaseFolderFile.h"
#include "foundation/FileErrorReason.h"
#include "foundation/FileSystemHelpers.h"
#include "platform/ui/DataGrid.h"
#include "shell/ProgramState.h"

namespace orv {

QString MissingGeoidModelMessage(const QString& databaseFolder, const QString& modelFile) {
  if (!modelFile.isEmpty() && FileExists(DatabaseFolderFile(databaseFolder, modelFile))) return QString();
  return QStringLiteral("Die Geoidfelddatei '") + databaseFolder + modelFile + QStringLiteral("' fehlt! Abbruch!");
}

QString StageGeoidModel(const QString& databaseFolder, const QString& modelFile, const QString& targetFolder,
                        const QString& stagingName) {
  const QString missing = MissingGeoidModelMessage(databaseFolder, modelFile);
  if (!missing.isEmpty()) return missing;
  const QString source = DatabaseFolderFile(databaseFolder, modelFile);
  const QString staged = targetFolder + stagingName;
  if (stagingName.isEmpty() || !CopyFileTo(source, staged, true)) {
    // A full folder is named as the reason.
    const QString full = stagingName.isEmpty() ? QString()
                                               : FullFolderTextWhenFull(targetFolder, QFileInfo(source).size() + 1);
    return QStringLiteral("Die Geoidfelddatei '") + source + QStringLiteral("' konnte nicht als '") + staged +
           QStringLiteral("' bereitgestellt werden! ") + (full.isEmpty() ? QString() : full + QLatin1Char(' ')) +
           QStringLiteral("Abbruch!");
  }
  return QString();
}

QString ActivateGeoidModel(ProgramState& state, const DataGrid* table, int row) {
  state.GeoidBereit = false;
  state.GeoidfeldDateiname = table->CellText(row, QStringLiteral("Quasigeoidmodell"));
  state.GeoidApp = table->CellText(row, QStringLiteral("Geoid-App"));
  state.GeoidName = table->CellText(row, QStringLiteral("Geoid-Name"));
  const QString error = MissingGeoidModelMessage(state.DatenbankVerzeichnis, state.GeoidfeldDateiname);
  if (!error.isEmpty()) {
    state.GeoidApp.clear();
    state.GeoidfeldDateiname.clear();
    state.GeoidName.clear();
    return error;
  }
  state.GeoidBereit = true;
  return QString();
}

}  // namespace orv
