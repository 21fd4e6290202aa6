#include "foundation/LineEndConversion.h"

#include "foundation/DialogService.h"
#include "foundation/RegularFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace orv {

namespace {

constexpr qint64 kChunkSize = 1000000;

QString BackupName(const QString& path) {
  QString backup = path;
  return backup.replace(QStringLiteral(".xml"), QStringLiteral("_UNIX.xml"), Qt::CaseInsensitive);
}

bool RenameOver(const QString& from, const QString& to) {
  return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

// Keeps the unconverted file under the backup name without ever removing it from path.
bool KeepBackup(const QString& path, const QString& backup) {
  const QByteArray backupNative = QFile::encodeName(backup);
  if (QFileInfo::exists(backup) && ::unlink(backupNative.constData()) != 0) return false;
  if (::link(QFile::encodeName(path).constData(), backupNative.constData()) == 0) return true;
  return QFile::copy(path, backup);  // a file system without hard links
}

// Streams input into output, turning LF into CR LF and halving runs of CR.
// False when the input holds a CR LF pair (also across two blocks) or on a
// read or write error.
bool ConvertStream(QFile& in, QFile& out) {
  QByteArray block;
  QByteArray converted;
  qint64 crRun = 0;  // CR characters seen but not yet written
  for (;;) {
    Dialogs().processEvents();
    block = in.read(kChunkSize);
    if (block.isEmpty()) {
      if (in.error() != QFileDevice::NoError) return false;
      break;
    }
    converted.clear();
    converted.reserve(block.size() + block.size() / 8);
    for (const char c : block) {
      if (c == '\r') {
        ++crRun;
        continue;
      }
      if (crRun > 0) {
        if (c == '\n') return false;  // the file already uses CR LF
        converted.append(static_cast<qsizetype>((crRun + 1) / 2), '\r');
        crRun = 0;
      }
      if (c == '\n')
        converted.append("\r\n", 2);
      else
        converted.append(c);
    }
    if (out.write(converted) != converted.size()) return false;
  }
  if (crRun > 0) {
    const QByteArray tail(static_cast<qsizetype>((crRun + 1) / 2), '\r');
    if (out.write(tail) != tail.size()) return false;
  }
  return out.flush();
}

}  // namespace

bool ConvertLfToCrLf(const QString& path, bool replace) {
  const QString backup = BackupName(path);
  if (!replace && backup == path) return false;  // no backup name: the unconverted file would be lost
  QFile in;
  if (!OpenRegularFile(in, path).isEmpty()) return false;
  const QString work = path + QLatin1Char('#');
  QFile out(work);
  if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;

  const bool converted = ConvertStream(in, out);
  in.close();
  out.close();
  if (!converted || out.error() != QFileDevice::NoError) {
    QFile::remove(work);
    return false;
  }
  out.setPermissions(in.permissions());
  if (!replace && !KeepBackup(path, backup)) {
    QFile::remove(work);
    return false;
  }
  if (!RenameOver(work, path)) {
    QFile::remove(work);
    return false;
  }
  return true;
}

}  // namespace orv
