#pragma once
// The NTv2 target import: target coordinates (decimal degrees) for the
// points of Daten from a text file "Nr Code Breite Länge …".
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace orv {

// The lines of the file: CR LF, a lone LF or CR end a line; a last line
// without an end is read; an empty last piece after the final end is not a line.
QStringList Ntv2TargetFileLines(const QString& path);

// Point numbers of the file and of Daten are the same point when both are
// numbers of the same value (0012 and 12) or, where either is no number,
// the same text (blanks around them do not count).
bool SameNtv2PointNumber(const QString& a, const QString& b);

// A point number as the import stores it in Punkt: right-aligned in 20
// characters when it is shorter than 16.
QString Ntv2PunktKey(const QString& number);

// The geographic target columns of the texts of latitude and longitude, in
// the order they are written. A text that is no number throws OrvenilError 13.
std::vector<std::pair<QString, QString>> Ntv2TargetGeographicColumns(const QString& lat, const QString& lon);

}  // namespace orv
