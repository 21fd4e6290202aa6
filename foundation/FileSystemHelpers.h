#pragma once
// Whether files and folders exist, a file's status as a short coded text,
// copying and path normalising. None of these shows a message or throws.
#include <QString>

namespace orv {

// True for an existing file (not a folder) whose size can be read.
bool FileExists(const QString& path);
// True for an existing folder (also written with a trailing "/") or file;
// False for an empty path.
bool DirectoryExists(const QString& path);

// Paths from a virtual machine's shared folder need no mapping on this
// system, and the file system is case-sensitive: the path comes back as it is.
QString MapSharedFolderPath(const QString& path);

// "OK:" and six attribute letters (N C A R S H, upper case when set), or
// "ER:" and a reason when the file cannot be opened as a file, e.g.
// "ER:Nicht vorhanden", "ER:Zugriff verweigert" (also for a folder),
// "ER:In Bearbeitung" (another process holds a lock on it). Callers test the
// first two characters.
QString GetFileStatus(const QString& path);

// Copies source to target; an existing target is replaced only with
// overwrite. The target appears complete or not at all. True on success.
bool CopyFileTo(const QString& source, const QString& target, bool overwrite);

}  // namespace orv
