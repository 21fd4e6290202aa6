#include "platform/db/TemporaryFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QLockFile>
#include <unistd.h>
#include <pwd.h>

namespace orv {

namespace {

const QString kLockPrefix = QStringLiteral("orvenil-instance-");
const QString kLockSuffix = QStringLiteral(".lock");

QString UserName() {
  QString user = qEnvironmentVariable("USER");
  if (user.isEmpty()) {
    if (const passwd* pw = getpwuid(getuid())) user = QString::fromLocal8Bit(pw->pw_name);
  }
  if (user.isEmpty()) user = QString::number(getuid());
  return user;
}

}  // namespace

QString DefaultTemporaryFolder() {
  return QDir::tempPath() + QStringLiteral("/orvenil-") + UserName() + QLatin1Char('/');
}

QString InstanceMark() { return QString::number(QCoreApplication::applicationPid()); }

qint64 InstanceOfFileName(const QString& fileName) {
  static const QRegularExpression mark(QStringLiteral("_\\d{14}_(\\d{1,18})(?=[._]|$)"));
  const QRegularExpressionMatch m = mark.match(fileName);
  return m.hasMatch() ? m.captured(1).toLongLong() : 0;
}

TemporaryFolderLock::TemporaryFolderLock() = default;

TemporaryFolderLock::~TemporaryFolderLock() { release(); }

bool TemporaryFolderLock::acquire(const QString& folder) {
  release();
  QString path = folder;
  if (!path.endsWith(QLatin1Char('/'))) path += QLatin1Char('/');
  if (!QDir().mkpath(path)) return false;
  folder_ = path;
  lockPath_ = path + kLockPrefix + QString::number(QCoreApplication::applicationPid()) + kLockSuffix;
  // Nothing of this instance is in the folder yet: a lock under its id is
  // stale, whatever process the file names (ids start again after a restart).
  if (QFileInfo(lockPath_).exists() || QFileInfo(lockPath_).isSymLink()) QFile::remove(lockPath_);
  lock_ = std::make_unique<QLockFile>(lockPath_);
  lock_->setStaleLockTime(0);  // a lock is stale only when its process is gone
  if (!lock_->tryLock(0)) {
    lock_.reset();
    return false;
  }
  return true;
}

void TemporaryFolderLock::release() {
  if (lock_) lock_->unlock();
  lock_.reset();
}

bool TemporaryFolderLock::held() const { return lock_ && lock_->isLocked(); }

QDateTime TemporaryFolderLock::otherInstancesSince() const {
  QDateTime earliest;
  if (folder_.isEmpty()) return earliest;
  const QFileInfoList locks = QDir(folder_).entryInfoList({kLockPrefix + QLatin1Char('*') + kLockSuffix}, QDir::Files);
  for (const QFileInfo& info : locks) {
    if (info.absoluteFilePath() == QFileInfo(lockPath_).absoluteFilePath()) continue;
    QLockFile other(info.absoluteFilePath());
    other.setStaleLockTime(0);
    if (other.tryLock(0)) {
      // Its instance has ended: the lock was stale and is ours now; drop it.
      other.unlock();
      continue;
    }
    qint64 pid = 0;
    QString host, app;
    if (other.error() != QLockFile::LockFailedError || !other.getLockInfo(&pid, &host, &app)) continue;
    QDateTime since = info.birthTime().isValid() ? info.birthTime() : info.lastModified();
    if (!earliest.isValid() || since < earliest) earliest = since;
  }
  return earliest;
}

bool TemporaryFolderLock::instanceRuns(qint64 pid) const {
  if (pid == QCoreApplication::applicationPid()) return true;
  if (folder_.isEmpty()) return false;
  QLockFile other(folder_ + kLockPrefix + QString::number(pid) + kLockSuffix);
  other.setStaleLockTime(0);
  if (other.tryLock(0)) {
    // No lock, or a stale one that is ours now: that instance has ended.
    other.unlock();
    return false;
  }
  return other.error() == QLockFile::LockFailedError;
}

bool TemporaryFolderLock::mayDelete(const QString& filePath) const {
  const qint64 owner = InstanceOfFileName(QFileInfo(filePath).fileName());
  if (owner == QCoreApplication::applicationPid()) return true;  // left by an ended process of our id
  if (owner > 0) return !instanceRuns(owner);
  // Files touched after another running instance started may be its own.
  const QDateTime since = otherInstancesSince();
  return !since.isValid() || QFileInfo(filePath).lastModified() < since;
}

}  // namespace orv
