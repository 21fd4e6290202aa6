#pragma once
// Puts a geoid model's grid file under the name the geoid program opens.
#include <QString>

namespace orv {

class DataGrid;
struct ProgramState;

// Copies the model file (looked up in the database folder without regard to
// case) byte for byte to folder + stagingName, replacing an older staged
// file. Returns "" on success, else the message to show: the missing model
// file ("Die Geoidfelddatei '…' fehlt! Abbruch!") or the failed copy.
QString StageGeoidModel(const QString& folder, const QString& modelFile, const QString& stagingName);

// Makes row `row` of the geoid-model table the active model: its model file
// (GeoidfeldDateiname) and program (GeoidApp) are taken and the model is
// staged; GeoidBereit tells success. Returns "" or the message to show; after
// a failure no model is active.
QString ActivateGeoidModel(ProgramState& state, const DataGrid* table, int row);

}  // namespace orv
