#pragma once
// What every run over table Daten shares: the number of its rows and the
// notes on rows a run could not give every value.
#include <QString>
#include <exception>

#include "platform/db/Database.h"

namespace orv {

class FormOrvenil;
struct ProgramState;

// True when the target ellipsoid (EllipsoidZiel) has its row in the
// coordinate-system table and a target system was found (ZielA not 0).
bool TargetSystemKnown(const FormOrvenil& window, const ProgramState& state);

// The number of rows of table Daten.
qint64 CountDatenRows(const Database& db);

// "N Punkte liegen 500 km oder mehr vom Mittelmeridian ihrer Zone entfernt: …"
QString BeyondZoneText(qint64 count);
// The message of a transformation run (title) after rows whose easting lay
// beyond their zone: their easting and northing are empty.
void WarnRowsBeyondZone(qint64 count, const QString& title);
// The message after rows without a start height (sZe): their target heights
// and geocentric coordinates are "Fehler".
void WarnRowsWithoutStartHeight(qint64 count, const QString& title);

// The message of a run stopped by an error: where the disk refused to write
// or read (a full temporary folder, say), or another program holds the
// database, the error's own text, which names the folder or file and the
// reason, followed by " Abbruch!"; for any other error `usual`.
QString FailedRunText(const std::exception& error, const QString& usual);

}  // namespace orv
