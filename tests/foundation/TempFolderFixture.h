#pragma once
// A fixture with its own temporary folder and small helpers for file contents.
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace orv {

class TempFolderTest : public ::testing::Test {
 protected:
  QString path(const QString& name) const { return dir_.filePath(name); }
  // Writes bytes to name in the folder and returns its path.
  QString put(const QString& name, const QByteArray& bytes) const {
    QFile f(path(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << name.toStdString();
    f.write(bytes);
    return path(name);
  }
  static QByteArray bytesOf(const QString& p) {
    QFile f(p);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
  }
  QTemporaryDir dir_;
};

}  // namespace orv
