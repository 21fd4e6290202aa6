#pragma once
// A file's size and modification time, taken before a reader counts or reads
// its lines, to tell a file that was cut or written anew while it was read
// from one read whole.
#include <QDateTime>
#include <QString>
#include <QtGlobal>

namespace orv {

class FileIdentity {
 public:
  FileIdentity() = default;
  explicit FileIdentity(const QString& path);

  // Called when a reader has reached the end of the file at endPosition:
  // True when the file's size or time is not what it was, or the reader
  // ended elsewhere than at the size it had.
  bool changed(qint64 endPosition) const;

 private:
  QString path_;
  qint64 size_ = 0;
  QDateTime modified_;
};

// What is told of a file changed while it was read; `file` names it.
QString FileChangedWhileReadText(const QString& file);
// Throws that as an error.
[[noreturn]] void ThrowFileChangedWhileRead(const QString& file);

}  // namespace orv
