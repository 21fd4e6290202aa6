#pragma once
// A folder on a file system that fills: a small tmpfs mounted for the test,
// filled by fill() up to `leaveFree` bytes. Mounting needs the right to do so
// (root in a container that allows it); where it is refused, path() is empty
// and skipReason() says why.
#include <QString>
#include <QTemporaryDir>

namespace orv::test {

class FullFolder {
 public:
  FullFolder();
  ~FullFolder();
  FullFolder(const FullFolder&) = delete;
  FullFolder& operator=(const FullFolder&) = delete;

  QString path() const { return mounted_ ? dir_.path() + QStringLiteral("/voll/") : QString(); }
  QString skipReason() const { return reason_; }
  // Takes all room but leaveFree bytes.
  void fill(qint64 leaveFree = 0);
  // Writes a file (before the file system is filled).
  static bool Put(const QString& path, const QByteArray& bytes);

 private:
  QTemporaryDir dir_;
  bool mounted_ = false;
  QString reason_;
};

}  // namespace orv::test
