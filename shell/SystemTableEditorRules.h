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

// The name under which an NTv2 grid file `name`, chosen at chosenPath, is
// kept in the database folder. The set added from it must run with its grid:
// a file there of that name (any case) that holds another grid is never
// taken for it, nor replaced, since other sets may use it. The first of
// name, name_2, name_3, … (before the extension) that is free or holds the
// same grid (line ends aside) is the one.
QString Ntv2StoredFileName(const QString& databaseFolder, const QString& name, const QString& chosenPath);

}  // namespace orv
