#include "foundation/TextLineWriter.h"

#include "foundation/OrvenilError.h"
#include "foundation/Windows1252.h"

namespace orv {

namespace {
constexpr qsizetype kFlushSize = 1 << 16;
}

TextLineWriter::TextLineWriter(const QString& path) { open(path); }

TextLineWriter::~TextLineWriter() {
  if (!file_.isOpen()) return;
  try {
    flushBuffer();
  } catch (const OrvenilError&) {
  }
  file_.commit();
}

void TextLineWriter::open(const QString& path) {
  if (file_.isOpen()) discard();
  buffer_.clear();
  file_.setFileName(path);
  // Where no temporary file can be made beside the target (a folder without
  // write permission for new files) the file is written directly.
  file_.setDirectWriteFallback(true);
  if (!file_.open(QIODevice::WriteOnly))
    throw OrvenilError(kErrPathFileAccess, "Die Datei " + path + " kann nicht geschrieben werden: " +
                                               file_.errorString());
}

void TextLineWriter::writeLine(QStringView text) {
  write(text);
  buffer_.append("\r\n", 2);
  if (buffer_.size() >= kFlushSize) flushBuffer();
}

void TextLineWriter::write(QStringView text) {
  if (!file_.isOpen())
    throw OrvenilError(kErrBadFileName, QStringLiteral("Es ist keine Datei zum Schreiben geöffnet."));
  AppendWindows1252(buffer_, text);
  if (buffer_.size() >= kFlushSize) flushBuffer();
}

void TextLineWriter::flushBuffer() {
  if (buffer_.isEmpty()) return;
  const qint64 n = file_.write(buffer_);
  buffer_.clear();
  if (n < 0)
    throw OrvenilError(kErrDeviceIoError,
                       "Fehler beim Schreiben der Datei " + file_.fileName() + ": " + file_.errorString());
}

void TextLineWriter::close() {
  if (!file_.isOpen()) return;
  flushBuffer();
  if (!file_.commit())
    throw OrvenilError(kErrDeviceIoError,
                       "Die Datei " + file_.fileName() + " konnte nicht geschrieben werden: " + file_.errorString());
}

void TextLineWriter::discard() {
  buffer_.clear();
  if (file_.isOpen()) file_.cancelWriting(), file_.commit();
}

}  // namespace orv
