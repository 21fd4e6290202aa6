#pragma once
// A file written under a temporary name beside its place and renamed over it
// in one step when complete, so that an older file of the name stays whole
// until then and a failed write leaves nothing behind. Unlike QSaveFile it
// leaves writing the data to disk to the system instead of waiting for it,
// which matters for exports of millions of rows. A target that is a symbolic
// link (also one whose file does not exist yet) is written where the link
// leads, and the link stays.
#include <QString>
#include <QTemporaryFile>

namespace orv {

class ReplacingFile : public QTemporaryFile {
 public:
  // Opens the temporary file beside the file target names; False when that
  // is impossible.
  bool openFor(const QString& target);
  // The path as given, for messages.
  const QString& target() const { return target_; }
  // Flushes, closes and renames the file over target (readable by all,
  // writable by the owner). False on failure; lastError() says why.
  bool commit() { return finishWriting() && moveIntoPlace(); }
  // The two halves of commit(), for a set of files put in place together:
  // flushes and closes the file; False on failure.
  bool finishWriting();
  // Renames the finished file over target; False on failure (the temporary
  // file is then removed).
  bool moveIntoPlace();
  // The file the rename replaces: target with its symbolic links followed.
  const QString& writtenPath() const { return written_; }
  // Drops what was written; the temporary file is removed.
  void cancelWriting();
  // Why the first failed operation failed, in the system's words.
  QString lastError() const;

 protected:
  qint64 writeData(const char* data, qint64 length) override;

 private:
  QString target_;
  QString written_;  // target with its symbolic links followed
  QString error_;
};

}  // namespace orv
