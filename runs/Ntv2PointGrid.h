#pragma once
// The point grid of the NTv2 building tools: from a corner file (south-east
// and north-west corner, "Nr Code Breite Länge" in degrees, minutes and
// seconds as GradInRad reads them, tabs between the fields, or blanks in a
// file without any tab) and the spacing in
// arc-seconds, the nodes row by row from south to north, within a row from
// east to west, written as a ".bl" file: the corner line of the south-east
// corner as it stands, the grid's own north-west corner, then the nodes
// numbered from 1, each "Nr<TAB>0<TAB>latitude<TAB>longitude".
#include <QString>
#include <QtGlobal>

namespace orv {

struct Ntv2PointGrid {
  QString seNumber, seLatitude, seLongitude;  // line 1 of the corner file, as it stands
  QString nwNumber;
  double latSec = 0;  // south-east corner, arc-seconds, longitude east positive
  double lonSec = 0;
  double dLat = 0;  // spacings, arc-seconds
  double dLon = 0;
  qint64 nLat = 0;  // spacing steps from south to north
  qint64 nLon = 0;  // and from east to west
  qint64 nodeCount() const { return (nLat + 1) * (nLon + 1); }
};

// Whole spacing steps in span: rounded down, but a quotient a hair below a
// whole number (29.99999999999951) counts as that number. Held within
// ±2^31, so that a node count of two of them fits 64 bits.
qint64 Ntv2StepCount(double span, double spacing);

// The grid of the corner file's text. A file without two corner lines of
// four fields with degree texts, corners in the wrong order, a spacing
// that is not above 0, or more points (nodes and the two corner lines) than
// the import that follows reads throws OrvenilError with a message for the
// user; nothing is written then.
Ntv2PointGrid MakeNtv2PointGrid(const QString& cornerText, double dLat, double dLon);

// "NTv2_" spacing "x" spacing "_" time stamp ".bl".
QString Ntv2PointGridFileName(double dLat, double dLon, const QString& timeStamp);

// Writes the grid; progress(row, rows) once per row of nodes.
void WriteNtv2PointGridFile(const QString& path, const Ntv2PointGrid& grid,
                            void (*progress)(int row, int rows) = nullptr);

}  // namespace orv
