#pragma once
// The folder of temporary databases and the lock that marks it as used by a
// running instance of the program. Several instances share the folder; each
// holds a lock file of its own there, so that the start-up cleanup of one
// never deletes databases another running instance still uses.
#include <QDateTime>
#include <QString>
#include <memory>

class QLockFile;

namespace orv {

// QDir::tempPath() + "/orvenil-<user>/" (ends with "/").
QString DefaultTemporaryFolder();

// What makes this instance's temporary file names its own among all running
// instances: its process id, which no other live process has while this
// instance holds its lock.
QString InstanceMark();
// The process id a temporary file name carries after its 14-digit time stamp
// ("…_<stamp>_<id>.mdb", "…_<stamp>_<id>_<name>"); 0 for a name without one.
qint64 InstanceOfFileName(const QString& fileName);

class TemporaryFolderLock {
 public:
  TemporaryFolderLock();
  ~TemporaryFolderLock();
  TemporaryFolderLock(const TemporaryFolderLock&) = delete;
  TemporaryFolderLock& operator=(const TemporaryFolderLock&) = delete;

  // Creates the folder when missing and takes this instance's lock in it. A
  // lock file under this instance's id that it does not hold yet is left by
  // an ended process that had the same id, and is replaced. False when the
  // folder cannot be created or the lock cannot be written.
  bool acquire(const QString& folder);
  void release();
  bool held() const;
  const QString& folder() const { return folder_; }

  // The earliest start of another running instance using the folder, or an
  // invalid time when none runs. A file modified before that time belongs to
  // no running instance.
  QDateTime otherInstancesSince() const;
  // True when the instance with that process id still runs (this one too).
  bool instanceRuns(qint64 pid) const;
  // True when the file may be deleted by this instance's cleanup: a file of
  // this instance's id or of an instance that has ended; a file without an
  // id only when it is older than every other running instance.
  bool mayDelete(const QString& filePath) const;

 private:
  QString folder_;
  QString lockPath_;
  std::unique_ptr<QLockFile> lock_;
};

}  // namespace orv
