#pragma once
// The ASCII file of the LGO survey-office program: a header and one "@#"
// record per point for the presets "Eingabe LGO ETRS89" and "Eingabe LGO
// Geodetic"; any other preset refuses the file, as do positions other than
// ETRS89 (and, for the geodetic file, WGS1984), since the header says WGS
// 1984. A record with a value holding a blank is left out and named: a
// reader splits the records at their blanks.
#include "io/ExportJob.h"

namespace orv {

// The header of "Eingabe LGO ETRS89" names the UTM zone of the eastings,
// 32 or 33; rows in another zone or in both refuse the export with an
// OrvenilError before any file is made. Returns the number of coordinates
// missing in the records left out.
int WriteLgoFile(const ExportJob& job, UnreadableValues& unreadable);

}  // namespace orv
