#pragma once
// Converts a text file with LF line ends to CR LF in place.
#include <QString>

namespace orv {

// Converts the file at path from LF to CR LF line ends, in blocks of
// 1,000,000 bytes through a work file path + "#". A file that already holds a
// CR LF pair is left untouched and the result is False. A run of CR
// characters is halved (CR CR becomes CR). With replace the converted file
// takes the place of the file at path; without it the unconverted file is kept under the
// backup name (".xml" in the name becomes "_UNIX.xml"), and a path without
// ".xml" is refused before anything is touched. The file at path is replaced
// in one rename, so it is never missing or half written. True on success; no
// message, no exception.
bool ConvertLfToCrLf(const QString& path, bool replace);

}  // namespace orv
