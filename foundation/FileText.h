#pragma once
// Whole-file reading and writing of Windows-1252 text files, single lines and
// line counts.
#include <QString>
#include <QStringList>

namespace orv {

// The whole file, one character per byte, line ends as they are; "" when no
// regular file of that name exists or it cannot be read.
QString ReadFileText(const QString& path);

// Creates or replaces the file with text followed by CR LF. Throws
// OrvenilError when the file cannot be written; an old file of the name then
// stays as it was.
void WriteFileText(const QString& path, const QString& text);

// The whole file split at sep; an empty sep is first set to CR LF (also in the
// caller's variable). A missing or empty file gives no element.
QStringList ReadFileTokens(const QString& path, QString& sep);

// The n-th line (1-based; lines end at CR LF, CR or LF); "" for n < 1, a
// missing file or a file with fewer lines.
QString ReadFileLine(const QString& path, int n);

// The number of line ends, as a progress maximum: for a file under 1 MiB with
// mode 0, and for mode 1, the number of CR LF pairs (-1 for an empty file);
// otherwise the number of CR characters. A missing file throws OrvenilError.
int CountFileLines(const QString& path, int mode);

}  // namespace orv
