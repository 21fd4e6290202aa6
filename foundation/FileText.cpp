#include "foundation/FileText.h"

#include "foundation/FileSystemHelpers.h"
#include "foundation/OrvenilError.h"
#include "foundation/RegularFile.h"
#include "foundation/TextLineReader.h"
#include "foundation/TextLineWriter.h"
#include "foundation/TextTokens.h"
#include "foundation/Windows1252.h"

#include <QFile>

#include <limits>

namespace orv {

QString ReadFileText(const QString& path) {
  QFile file;
  if (!OpenRegularFile(file, path).isEmpty()) return QString();
  return DecodeWindows1252(file.readAll());
}

void WriteFileText(const QString& path, const QString& text) {
  TextLineWriter writer(path);
  writer.writeLine(text);
  writer.close();
}

QStringList ReadFileTokens(const QString& path, QString& sep) {
  if (sep.isEmpty()) sep = QStringLiteral("\r\n");
  return SplitFields(ReadFileText(path), sep);
}

QString ReadFileLine(const QString& path, int n) {
  if (n < 1) return QString();
  TextLineReader reader(MapSharedFolderPath(path));
  if (!reader.isOpen()) return QString();
  QString line;
  for (int i = 1; i <= n; ++i)
    if (!reader.readLine(line)) return QString();
  return line;
}

int CountFileLines(const QString& path, int mode) {
  QFile file;
  if (!OpenRegularFile(file, path).isEmpty())
    throw OrvenilError(kErrFileNotFound, "Datei nicht gefunden: " + path);
  const qint64 size = file.size();
  qint64 count = 0;
  if ((size / 1024 >= 1024 || mode != 0) && mode != 1) {
    // Large files: count CR characters block by block instead of building one text.
    QByteArray block;
    for (;;) {
      block = file.read(4096);
      if (block.isEmpty()) break;
      count += block.count('\r');
    }
  } else {
    const QByteArray all = file.readAll();
    if (all.isEmpty()) return -1;  // the index of the last field of no field
    count = all.count("\r\n");
  }
  if (file.error() != QFileDevice::NoError)
    throw OrvenilError(kErrDeviceIoError, "Fehler beim Lesen der Datei " + path + ": " + file.errorString());
  return count > std::numeric_limits<int>::max() ? std::numeric_limits<int>::max() : static_cast<int>(count);
}

}  // namespace orv
