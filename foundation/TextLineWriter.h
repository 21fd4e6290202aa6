#pragma once
// Writes a Windows-1252 text file with CR LF line ends. The file replaces one
// of the same name only when it is complete: it is written under a temporary
// name and renamed on close(), so a failed run never leaves half a file in
// place of the old one. A file of a ReplacingFileSet is put in place with
// the others of its set by the set's commit().
#include <QByteArray>
#include <QByteArrayView>
#include <QSaveFile>
#include <QString>

#include "foundation/ReplacingFile.h"

namespace orv {

class ReplacingFileSet;

class TextLineWriter {
 public:
  TextLineWriter() = default;
  // Opens path for writing; throws OrvenilError when that is impossible.
  explicit TextLineWriter(const QString& path);
  // Writes the temporary file of path, a target of set; close() completes
  // it, and a failure drops the whole set and throws its message.
  TextLineWriter(ReplacingFileSet& set, const QString& path);
  // Commits the file when close() was not called; a file that cannot be
  // written completely is dropped (errors are then ignored).
  ~TextLineWriter();
  TextLineWriter(const TextLineWriter&) = delete;
  TextLineWriter& operator=(const TextLineWriter&) = delete;

  void open(const QString& path);
  bool isOpen() const { return member_ ? member_->isOpen() : file_.isOpen(); }
  // Text followed by CR LF.
  void writeLine(QStringView text);
  // Text without a line end.
  void write(QStringView text);
  // Bytes that are Windows-1252 text as they stand (ASCII, say), followed by
  // CR LF.
  void writeLineBytes(QByteArrayView bytes);
  // Writes everything out and puts the file in place; throws on failure.
  void close();
  // Drops what was written; an older file of the name stays as it was.
  void discard();

 private:
  void flushBuffer();
  QFileDevice& device() { return member_ ? static_cast<QFileDevice&>(*member_) : file_; }
  // Drops the file and throws the message naming it and the reason.
  [[noreturn]] void fail(int errorNumber);

  QSaveFile file_;
  ReplacingFileSet* set_ = nullptr;
  ReplacingFile* member_ = nullptr;  // the set's file while it is written
  QByteArray buffer_;
};

}  // namespace orv
