#pragma once
// Files named in a system table are looked up in the database folder without
// regard to case: the tables come from a system whose file names ignore case.
#include <QString>

namespace orv {

// folder + name when that file exists; otherwise the path of the one file in
// the folder whose name equals name ignoring case; otherwise folder + name.
// folder ends with "/".
QString DatabaseFolderFile(const QString& folder, const QString& name);

}  // namespace orv
