#pragma once
// The Brisa vessel set: the imported lines with their target coordinates
// (.csv), the marked points (.pkt) and the lines between consecutive marked
// points (.lne), all three in id order.
#include <QString>

#include "io/ExportJob.h"

namespace orv {

// Writes job.path (a ".csv") and, beside it, the same name ending in ".pkt"
// and ".lne", all three put in place together or none (the OrvenilError's
// message then says that the older files stay). importHeader is the header
// line of the last vessel import.
// Returns the number of target coordinates missing in the points left out.
int WriteVesselSet(const ExportJob& job, const QString& importHeader);

// The point name of the .pkt and .lne files: "12.05.2021 10:11:12" gives
// "120521.101112".
QString VesselPointName(const QString& point);

}  // namespace orv
