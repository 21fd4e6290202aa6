#pragma once
// The ASCII file of the LGO survey-office program: a header and one "@#"
// record per point for the presets "Eingabe LGO ETRS89" and "Eingabe LGO
// Geodetic"; with any other preset the file stays empty.
#include "io/ExportJob.h"

namespace orv {

// The header of "Eingabe LGO ETRS89" names the UTM zone of the eastings,
// 32 or 33; rows in another zone or in both refuse the export with an
// OrvenilError before any file is made. Returns the number of coordinates
// missing in the records left out.
int WriteLgoFile(const ExportJob& job);

}  // namespace orv
