#pragma once
// Texts and name rules of the system-table editor that need no window.
#include <QString>

namespace orv {

// The question before rows of a system table are deleted: for one row its
// number, for several selected rows (row 0) their count.
QString DeleteRowsQuestion(int row, int selectedCount);

// Start or target system of an NTv2 grid file, as its header names it,
// turned into the system name of the NTv2 table and its ellipsoid. Known
// names compare exactly after trimming blanks; any other value is kept as
// read with an empty ellipsoid.
struct Ntv2SystemName {
  QString system;
  QString ellipsoid;
};
Ntv2SystemName MapNtv2SystemName(const QString& headerValue);

}  // namespace orv
