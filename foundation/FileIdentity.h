#pragma once
// A file's size and modification time, taken before a reader first reads it,
// to tell a file that was cut or written anew since from one read whole.
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
  // True when the file's size or time is not what it was.
  bool differs() const;
  // False for an identity never taken.
  bool isSet() const { return !path_.isEmpty(); }
  const QString& path() const { return path_; }

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
