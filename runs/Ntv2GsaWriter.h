#pragma once
// The NTv2 ASCII grid writer: one sub-grid from the rows of a point grid
// whose start and target coordinates are known (row 1 the south-east corner,
// row 2 the north-west corner, then the nodes in NTv2 order), in decimal
// arc-seconds, longitudes east positive.
#include <QString>
#include <vector>

namespace orv {

struct Ntv2GsaRow {
  QString point;
  QString lat, lon;              // start system
  QString targetLat, targetLon;  // target system (ETRS89)
};

struct Ntv2GsaHeader {
  QString systemF;  // also SUB_NAME
  double majorF = 0, minorF = 0, majorT = 0, minorT = 0;
  QString date;  // dd-mm-yy
};

// Why a grid of the job cannot be written under the header, or "" when it
// can. The header always names ETRS89 as target: target columns that a run
// computed in another system (targetSystem; "" when no run gave them) are
// refused. Its start system is the one answered, which must be the job's
// (jobStart; "" when the job's is not known).
QString Ntv2GsaTargetRefusal(const QString& targetSystem);
QString Ntv2GsaStartRefusal(const QString& answered, const QString& jobStart);

// Writes the file (it replaces an older one only when complete). Refused
// with OrvenilError and a message for the user, before anything is written:
// fewer than three rows, a spacing not above 0, a node count that does not
// match the extent and spacings, or a node row without target coordinates.
void WriteNtv2GsaFile(const QString& path, const std::vector<Ntv2GsaRow>& rows, double dLat, double dLon,
                      const Ntv2GsaHeader& header);

}  // namespace orv
