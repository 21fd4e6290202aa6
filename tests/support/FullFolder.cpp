#include "FullFolder.h"

#include <sys/mount.h>

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>

namespace orv::test {

FullFolder::FullFolder() {
  const QString mountPoint = dir_.path() + QStringLiteral("/voll");
  if (!dir_.isValid() || !QDir().mkpath(mountPoint)) {
    reason_ = QStringLiteral("no temporary folder");
    return;
  }
  const QByteArray target = QFile::encodeName(mountPoint);
  if (::mount("tmpfs", target.constData(), "tmpfs", 0, "size=256k") != 0) {
    reason_ = QStringLiteral("a small tmpfs cannot be mounted here (") + QString::fromLocal8Bit(std::strerror(errno)) +
              QStringLiteral("); the full-disk case needs the right to mount one");
    return;
  }
  mounted_ = true;
}

void FullFolder::fill(qint64 leaveFree) {
  if (!mounted_) return;
  const QString mountPoint = path();
  // The filler takes all room but leaveFree; what the file system keeps for
  // itself is found by writing until it refuses.
  QFile filler(mountPoint + QStringLiteral("/fuellung"));
  if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return;
  const QByteArray block(4096, 'f');
  while (filler.write(block) == block.size()) {
  }
  filler.resize(std::max<qint64>(0, filler.size() - leaveFree));
}

FullFolder::~FullFolder() {
  if (mounted_) ::umount2(QFile::encodeName(dir_.path() + QStringLiteral("/voll")).constData(), MNT_DETACH);
}

bool FullFolder::Put(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.flush();
}

}  // namespace orv::test
