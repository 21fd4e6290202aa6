#pragma once
// The NTv2 target import: target coordinates (decimal degrees or degree
// texts) for the points of Daten from a text file "Nr Code Breite Länge …".
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

// A target angle in decimal degrees: a number, or a degree text D°M'S" as the
// point-grid file holds them (a sign in front belongs to the whole angle);
// a decimal comma reads as the decimal point.
// Anything else throws OrvenilError 13.
double Ntv2TargetDegrees(const QString& angle);

// A latitude of 0, or none that reads as a number, marks a line without
// target coordinates.
bool Ntv2TargetLatitudeMissing(const QString& latitude);

// The geographic target columns of the texts of latitude and longitude, in
// the order they are written; decimal degrees stay as written (a decimal
// comma becomes the decimal point), a degree text gives its decimal
// degrees. A text that is no angle throws OrvenilError 13.
std::vector<std::pair<QString, QString>> Ntv2TargetGeographicColumns(const QString& lat, const QString& lon);

}  // namespace orv
