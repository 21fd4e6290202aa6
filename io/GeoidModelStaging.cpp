#include "io/GeoidModelStaging.h"

#include "foundation/FileSystemHelpers.h"
#include "platform/ui/DataGrid.h"
#include "shell/ProgramState.h"
#include "foundation/DatabaseFolderFile.h"

namespace orv {

QString StageGeoidModel(const QString& folder, const QString& modelFile, const QString& stagingName) {
  const QString source = DatabaseFolderFile(folder, modelFile);
  if (modelFile.isEmpty() || !FileExists(source))
    return QStringLiteral("Die Geoidfelddatei '") + folder + modelFile + QStringLiteral("' fehlt! Abbruch!");
  const QString staged = folder + stagingName;
  if (!stagingName.isEmpty() && staged == source) return QString();
  if (stagingName.isEmpty() || !CopyFileTo(source, staged, true))
    return QStringLiteral("Die Geoidfelddatei '") + source + QStringLiteral("' konnte nicht als '") + staged +
           QStringLiteral("' bereitgestellt werden! Abbruch!");
  return QString();
}

QString ActivateGeoidModel(ProgramState& state, const DataGrid* table, int row) {
  state.GeoidBereit = false;
  state.GeoidfeldDateiname = table->CellText(row, QStringLiteral("Quasigeoidmodell"));
  state.GeoidApp = table->CellText(row, QStringLiteral("Geoid-App"));
  const QString error = StageGeoidModel(state.DatenbankVerzeichnis, state.GeoidfeldDateiname,
                                        table->CellText(row, QStringLiteral("Geoid-Name")));
  if (!error.isEmpty()) {
    state.GeoidApp.clear();
    state.GeoidfeldDateiname.clear();
    return error;
  }
  state.GeoidBereit = true;
  return QString();
}

}  // namespace orv
