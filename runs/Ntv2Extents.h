#pragma once
// The extent export of an NTv2 grid file: for every sub-grid the ring of
// nodes along its border, walked clockwise from the north-west corner, as
// points in decimal arc-seconds (".pcbl": name and counter, block number,
// latitude, longitude) and as the lines that join them (".lne").
#include <QString>
#include <QStringList>
#include <functional>

namespace orv {

// The two output paths: the grid file's whole path with these endings.
QString Ntv2ExtentPointPath(const QString& gridPath);
QString Ntv2ExtentLinePath(const QString& gridPath);

// Writes both files; they replace older ones together, only when both are
// complete, and a failure throws OrvenilError saying that the older ones
// stay. A sub-grid with a spacing of 0 is skipped; its name is returned. A grid
// file that cannot be read throws OrvenilError naming it, and nothing is
// written.
QStringList WriteNtv2Extents(const QString& gridPath,
                             const std::function<void(int line, int block)>& progress = {});

}  // namespace orv
