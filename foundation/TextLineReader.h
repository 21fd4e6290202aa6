#pragma once
// Reads a Windows-1252 text file line by line. A line ends at CR LF, at a CR
// or at a lone LF; the line end is not part of the line, and a last line
// without an end is still a line. Reads in blocks, for files of millions of
// lines.
#include <QByteArray>
#include <QFile>
#include <QString>

namespace orv {

class TextLineReader {
 public:
  TextLineReader() = default;
  // Opens path; check isOpen().
  explicit TextLineReader(const QString& path);
  bool open(const QString& path);
  bool isOpen() const { return file_.isOpen(); }
  void close();

  // The next line; false (line untouched) at the end of the file. A read
  // error of the device throws OrvenilError.
  bool readLine(QString& line);
  // False when the line readLine returned last had no line end (the last
  // line of the file).
  bool lineEnded() const { return lineEnded_; }
  bool atEnd();
  // Goes on reading at the byte offset (one position() returned before a
  // line); false when the file cannot be positioned there. The first read
  // after it is a small one, as a seek is mostly for a few lines.
  bool seek(qint64 offset);

  // Bytes consumed so far and the file's size, for progress displays.
  qint64 position() const { return bufferStart_ + pos_; }
  qint64 size() const { return file_.size(); }

 private:
  bool fill();

  QFile file_;
  QByteArray buffer_;
  qsizetype pos_ = 0;
  qsizetype len_ = 0;
  qint64 bufferStart_ = 0;
  bool lineEnded_ = true;
  bool sought_ = false;  // the next fill follows a seek
};

}  // namespace orv
