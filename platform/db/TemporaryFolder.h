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

class TemporaryFolderLock {
 public:
  TemporaryFolderLock();
  ~TemporaryFolderLock();
  TemporaryFolderLock(const TemporaryFolderLock&) = delete;
  TemporaryFolderLock& operator=(const TemporaryFolderLock&) = delete;

  // Creates the folder when missing and takes this instance's lock in it.
  // False when the folder cannot be created or the lock cannot be written.
  bool acquire(const QString& folder);
  void release();
  bool held() const;
  const QString& folder() const { return folder_; }

  // The earliest start of another running instance using the folder, or an
  // invalid time when none runs. A file modified before that time belongs to
  // no running instance.
  QDateTime otherInstancesSince() const;
  // True when the file may be deleted by this instance's cleanup.
  bool mayDelete(const QString& filePath) const;

 private:
  QString folder_;
  QString lockPath_;
  std::unique_ptr<QLockFile> lock_;
};

}  // namespace orv
