#pragma once
// The active geoid model: choosing it, and putting its grid file under the
// name the geoid program opens.
#include <QString>

namespace orv {

class DataGrid;
struct ProgramState;

// The message for a model file that is not in the database folder:
// "Die Geoidfelddatei '…' fehlt! Abbruch!"; "" when it is there (looked up
// without regard to case).
QString MissingGeoidModelMessage(const QString& databaseFolder, const QString& modelFile);

// Copies the model file of the database folder byte for byte, as it is now,
// to targetFolder + stagingName. Returns "" on success, else the message to
// show: the missing model file or the failed copy.
QString StageGeoidModel(const QString& databaseFolder, const QString& modelFile, const QString& targetFolder,
                        const QString& stagingName);

// Makes row `row` of the geoid-model table the active model: its model file
// (GeoidfeldDateiname), program (GeoidApp) and the name the program opens
// the grid under (GeoidName) are taken; each run stages the grid from the
// model file as it is then. GeoidBereit tells that the model file is there.
// Returns "" or the message to show; after a failure no model is active.
QString ActivateGeoidModel(ProgramState& state, const DataGrid* table, int row);

}  // namespace orv
