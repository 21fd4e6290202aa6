#include "foundation/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

#include "foundation/FileErrorReason.h"

namespace orv {

namespace {

QString NotRegularFileReason(mode_t mode) {
  if (S_ISDIR(mode)) return SystemErrorReason(EISDIR);
  if (S_ISFIFO(mode)) return QStringLiteral("Der Name bezeichnet eine benannte Pipe (FIFO), keine Datei");
  if (S_ISSOCK(mode)) return QStringLiteral("Der Name bezeichnet einen Socket, keine Datei");
  return QStringLiteral("Der Name bezeichnet ein Gerät, keine Datei");
}

}  // namespace

QString OpenRegularFile(QFile& file, const QString& path, QIODevice::OpenMode mode) {
  file.close();
  file.setFileName(path);
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return SystemReadErrorReason(errno);
  struct stat st {};
  QString refused;
  if (::fstat(fd, &st) != 0)
    refused = SystemReadErrorReason(errno);
  else if (!S_ISREG(st.st_mode))
    refused = NotRegularFileReason(st.st_mode);
  // Reads of the file wait for its data as usual.
  else if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
    refused = SystemReadErrorReason(errno);
  else if (!file.open(fd, mode | QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
    refused = FileErrorReason(0, file);
  else
    return QString();
  ::close(fd);
  return refused;
}

QString RegularFileProblem(const QString& path) {
  QFile file;
  return OpenRegularFile(file, path);
}

}  // namespace orv
