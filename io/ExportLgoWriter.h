#pragma once
// The ASCII file of the LGO survey-office program: a header and one "@#"
// record per point for the presets "Eingabe LGO ETRS89" and "Eingabe LGO
// Geodetic"; with any other preset the file stays empty.
#include "io/ExportJob.h"

namespace orv {

void WriteLgoFile(const ExportJob& job);

}  // namespace orv
