#include "foundation/TextLineReader.h"

#include "foundation/OrvenilError.h"
#include "foundation/RegularFile.h"
#include "foundation/Windows1252.h"

namespace orv {

namespace {
constexpr qsizetype kBlockSize = 1 << 16;
// What is read first after a seek: a page, enough for a few lines.
constexpr qsizetype kSoughtBlockSize = 1 << 12;
}

TextLineReader::TextLineReader(const QString& path) { open(path); }

bool TextLineReader::open(const QString& path) {
  close();
  // Unbuffered: the reader keeps blocks of its own.
  return OpenRegularFile(file_, path, QIODevice::ReadOnly | QIODevice::Unbuffered).isEmpty();
}

void TextLineReader::close() {
  file_.close();
  buffer_.clear();
  pos_ = len_ = 0;
  bufferStart_ = 0;
}

bool TextLineReader::fill() {
  if (!file_.isOpen()) return false;
  bufferStart_ += len_;
  pos_ = len_ = 0;
  if (buffer_.size() < kBlockSize) buffer_.resize(kBlockSize);
  const qint64 n = file_.read(buffer_.data(), sought_ ? kSoughtBlockSize : kBlockSize);
  sought_ = false;
  if (n < 0)
    throw OrvenilError(kErrDeviceIoError,
                       "Fehler beim Lesen der Datei " + file_.fileName() + ": " + file_.errorString());
  len_ = static_cast<qsizetype>(n);
  return len_ > 0;
}

bool TextLineReader::seek(qint64 offset) {
  if (!file_.isOpen() || offset < 0) return false;
  lineEnded_ = true;
  // Within the block read last: no read of the file.
  if (offset >= bufferStart_ && offset <= bufferStart_ + len_) {
    pos_ = static_cast<qsizetype>(offset - bufferStart_);
    return true;
  }
  if (!file_.seek(offset)) return false;
  sought_ = true;
  bufferStart_ = offset;
  pos_ = len_ = 0;
  return true;
}

bool TextLineReader::atEnd() { return pos_ >= len_ && !fill(); }

bool TextLineReader::readLine(QString& line) {
  if (atEnd()) return false;
  QByteArray pending;  // the part of a line that spans a block boundary
  for (;;) {
    const char* p = buffer_.constData();
    qsizetype i = pos_;
    while (i < len_ && p[i] != '\r' && p[i] != '\n') ++i;
    if (i < len_) {
      const char end = p[i];
      if (pending.isEmpty()) {
        line = DecodeWindows1252(p + pos_, i - pos_);
      } else {
        pending.append(p + pos_, i - pos_);
        line = DecodeWindows1252(pending);
      }
      pos_ = i + 1;
      if (end == '\r' && (pos_ < len_ || fill()) && buffer_[pos_] == '\n') ++pos_;
      lineEnded_ = true;
      return true;
    }
    pending.append(p + pos_, len_ - pos_);
    pos_ = len_;
    if (!fill()) {
      line = DecodeWindows1252(pending);
      lineEnded_ = false;
      return true;
    }
  }
}

}  // namespace orv
