#include "foundation/TextLineWriter.h"

#include <cerrno>

#include "foundation/FileErrorReason.h"
#include "foundation/OrvenilError.h"
#include "foundation/ReplacingFileSet.h"
#include "foundation/Windows1252.h"

namespace orv {

namespace {
constexpr qsizetype kFlushSize = 1 << 16;
}

TextLineWriter::TextLineWriter(const QString& path) { open(path); }

TextLineWriter::TextLineWriter(ReplacingFileSet& set, const QString& path) : set_(&set), member_(&set.file(path)) {}

TextLineWriter::~TextLineWriter() {
  if (set_ || !file_.isOpen()) return;
  try {
    close();
  } catch (const OrvenilError&) {
  }
}

void TextLineWriter::open(const QString& path) {
  if (file_.isOpen()) discard();
  buffer_.clear();
  file_.setFileName(path);
  // Where no temporary file can be made beside the target (a folder without
  // write permission for new files) the file is written directly.
  file_.setDirectWriteFallback(true);
  errno = 0;
  if (!file_.open(QIODevice::WriteOnly))
    throw OrvenilError(kErrPathFileAccess, FileNotWrittenMessage(path, FileErrorReason(errno, file_)));
}

void TextLineWriter::writeLine(QStringView text) {
  write(text);
  buffer_.append("\r\n", 2);
  if (buffer_.size() >= kFlushSize) flushBuffer();
}

void TextLineWriter::write(QStringView text) {
  if (!isOpen())
    throw OrvenilError(kErrBadFileName, QStringLiteral("Es ist keine Datei zum Schreiben geöffnet."));
  AppendWindows1252(buffer_, text);
  if (buffer_.size() >= kFlushSize) flushBuffer();
}

void TextLineWriter::writeLineBytes(QByteArrayView bytes) {
  if (!isOpen())
    throw OrvenilError(kErrBadFileName, QStringLiteral("Es ist keine Datei zum Schreiben geöffnet."));
  buffer_.append(bytes.data(), bytes.size());
  buffer_.append("\r\n", 2);
  if (buffer_.size() >= kFlushSize) flushBuffer();
}

void TextLineWriter::flushBuffer() {
  if (buffer_.isEmpty()) return;
  errno = 0;
  const qint64 n = device().write(buffer_);
  const qint64 wanted = buffer_.size();
  buffer_.clear();
  // A write the system took only in part (the disk filled up) fails as well.
  if (n != wanted) fail(errno);
}

void TextLineWriter::fail(int errorNumber) {
  if (set_) {
    const QString target = member_->target(), reason = member_->lastError();
    discard();
    set_->fail(target, reason);
  }
  const QString message = FileNotWrittenMessage(file_.fileName(), FileErrorReason(errorNumber, file_));
  discard();
  throw OrvenilError(kErrDeviceIoError, message);
}

void TextLineWriter::close() {
  if (!isOpen()) return;
  flushBuffer();
  if (set_) {
    member_ = nullptr;  // the set completes it
    return;
  }
  // What the device still buffers is written here: a commit alone would put
  // the file in place even when that last write failed.
  errno = 0;
  if (!file_.flush()) fail(errno);
  errno = 0;
  if (!file_.commit())
    throw OrvenilError(kErrDeviceIoError, FileNotWrittenMessage(file_.fileName(), FileErrorReason(errno, file_)));
}

void TextLineWriter::discard() {
  buffer_.clear();
  if (set_) {
    member_ = nullptr;
    return;
  }
  if (file_.isOpen()) file_.cancelWriting(), file_.commit();
}

}  // namespace orv
