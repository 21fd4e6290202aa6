#include "foundation/Windows1252Copy.h"

#include <QFile>
#include <QStringDecoder>
#include <cerrno>
#include <optional>

#include "foundation/DialogService.h"
#include "foundation/FileErrorReason.h"
#include "foundation/FileIdentity.h"
#include "foundation/RegularFile.h"
#include "foundation/RepairUmlauts.h"
#include "foundation/Windows1252.h"

namespace orv {

namespace {

constexpr qint64 kBlockSize = 1000000;

// Follows the bytes of a file block by block: are they UTF-8 with at least
// one character beyond ASCII?
class Utf8Check {
 public:
  void feed(const QByteArray& bytes) {
    for (const char byte : bytes) {
      if (!valid_) return;
      step(static_cast<unsigned char>(byte));
    }
  }
  bool invalid() const { return !valid_; }
  bool isUtf8() const { return valid_ && need_ == 0 && multibyte_; }

 private:
  void step(unsigned char c) {
    if (need_ > 0) {
      valid_ = (c & 0xC0) == 0x80;
      --need_;
      return;
    }
    if (c < 0x80) return;
    multibyte_ = true;
    if (c >= 0xC2 && c <= 0xDF) need_ = 1;
    else if (c >= 0xE0 && c <= 0xEF) need_ = 2;
    else if (c >= 0xF0 && c <= 0xF4) need_ = 3;
    else valid_ = false;
  }

  int need_ = 0;
  bool valid_ = true;
  bool multibyte_ = false;
};

struct TextTraits {
  bool crLf = false;
  bool utf8 = false;
  // UTF-16 with a byte-order mark ("Unicode" as spreadsheets and editors
  // save it): read as the UTF-8 text it holds.
  std::optional<QStringConverter::Encoding> utf16;
  bool readError = false;
};

// The encoding of a file that begins with a UTF-16 byte-order mark.
std::optional<QStringConverter::Encoding> Utf16ByMark(const QByteArray& head) {
  if (head.startsWith("\xFF\xFE")) return QStringConverter::Utf16LE;
  if (head.startsWith("\xFE\xFF")) return QStringConverter::Utf16BE;
  return std::nullopt;
}

// Reads the next block; the text of a UTF-16 file as UTF-8.
QByteArray ReadBlock(QFile& in, std::optional<QStringDecoder>& utf16) {
  const QByteArray block = in.read(kBlockSize);
  return utf16 && !block.isEmpty() ? QString(utf16->decode(block)).toUtf8() : block;
}

TextTraits InspectText(QFile& in) {
  TextTraits t;
  Utf8Check utf8;
  bool previousEndedWithCr = false;
  t.utf16 = Utf16ByMark(in.peek(2));
  std::optional<QStringDecoder> utf16;
  if (t.utf16) utf16.emplace(*t.utf16);
  for (;;) {
    Dialogs().processEvents();
    const QByteArray block = ReadBlock(in, utf16);
    if (block.isEmpty()) {
      t.readError = in.error() != QFileDevice::NoError;
      break;
    }
    if (!t.crLf) t.crLf = block.contains("\r\n") || (previousEndedWithCr && block.startsWith('\n'));
    previousEndedWithCr = block.endsWith('\r');
    utf8.feed(block);
    if (t.crLf && utf8.invalid()) break;  // Windows-1252 with CR LF: nothing to do
  }
  t.utf8 = utf8.isUtf8() || t.utf16;
  return t;
}

// LF becomes CR LF, then each pair of CRs one CR, left to right.
QByteArray WithCrLf(QByteArray block) {
  block.replace("\n", "\r\n");
  QByteArray halved;
  halved.reserve(block.size());
  for (qsizetype i = 0; i < block.size(); ++i) {
    halved.append(block[i]);
    if (block[i] == '\r' && i + 1 < block.size() && block[i + 1] == '\r') ++i;
  }
  return halved;
}

constexpr char16_t kMinusSign = 0x2212;

// A UTF-8 text's minus sign U+2212 in front of a number, at a field's start,
// becomes the en dash that Windows-1252 writes for it (the import reads
// either in front of a number as its minus); `before` is the character
// before the text.
void MinusSignsAsEnDash(QString& text, QChar before) {
  if (!text.contains(QChar(kMinusSign))) return;
  for (qsizetype i = 0; i + 1 < text.size(); ++i) {
    const QChar previous = i > 0 ? text[i - 1] : before;
    const QChar next = text[i + 1];
    if (text[i] == QChar(kMinusSign) && QStringView(u" \t;,\"\r\n").contains(previous) &&
        (next.isDigit() || next == u'.' || next == u','))
      text[i] = QChar(0x2013);
  }
}

// Position of the first character Windows-1252 cannot write; -1 for none.
qsizetype FirstWithoutWindows1252(const QString& text) {
  for (qsizetype i = 0; i < text.size(); ++i)
    if (EncodeWindows1252(text[i]) == '?' && text[i] != u'?') return i;
  return -1;
}

// Writes the copy; Unencodable stops it at the first character without a form.
Windows1252Copy WriteCopy(QFile& in, QFile& out, const TextTraits& traits) {
  Windows1252Copy result;
  QStringDecoder utf8(QStringDecoder::Utf8);
  std::optional<QStringDecoder> utf16;
  if (traits.utf16) utf16.emplace(*traits.utf16);
  long linesBefore = 0;
  QChar before = u'\n';  // the last character of the block before
  for (bool first = true;; first = false) {
    Dialogs().processEvents();
    QByteArray block = ReadBlock(in, utf16);
    if (block.isEmpty()) {
      if (in.error() == QFileDevice::NoError) result.outcome = Windows1252Copy::Outcome::Written;
      return result;
    }
    if (!traits.crLf) block = WithCrLf(std::move(block));
    QString text;
    if (traits.utf8) {
      text = utf8.decode(block);
      if (first && text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
      MinusSignsAsEnDash(text, before);
      if (!text.isEmpty()) before = text.back();
      if (const qsizetype bad = FirstWithoutWindows1252(text); bad >= 0) {
        result.outcome = Windows1252Copy::Outcome::Unencodable;
        result.line = linesBefore + static_cast<long>(QStringView(text).left(bad).count(u'\n')) + 1;
        result.character = text.mid(bad, text[bad].isHighSurrogate() ? 2 : 1);
        return result;
      }
      linesBefore += static_cast<long>(text.count(u'\n'));
    } else {
      text = DecodeWindows1252(block);
      RepairUmlauts(text);
    }
    errno = 0;
    if (out.write(EncodeWindows1252(text)) < 0) {
      result.writeError = FileErrorReason(errno, out);
      return result;
    }
  }
}

}  // namespace

Windows1252Copy CopyAsWindows1252CrLf(const QString& source, const QString& target) {
  const FileIdentity found(source);
  QFile in;
  if (!OpenRegularFile(in, source).isEmpty()) return {};
  const TextTraits traits = InspectText(in);
  if (traits.readError) return {};
  if (traits.crLf && !traits.utf8) {
    Windows1252Copy notNeeded;
    notNeeded.outcome = Windows1252Copy::Outcome::NotNeeded;
    notNeeded.readIdentity = found;
    return notNeeded;
  }
  QFile out(target);
  Windows1252Copy result;
  result.utf8 = traits.utf8;
  result.utf16 = traits.utf16.has_value();
  if (!in.seek(0)) return result;
  errno = 0;
  if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    result.writeError = FileErrorReason(errno, out);
    return result;
  }
  result = WriteCopy(in, out, traits);
  result.utf8 = traits.utf8;
  result.utf16 = traits.utf16.has_value();
  // A copy of a file cut while it was read would be read as the whole file.
  if (result.outcome == Windows1252Copy::Outcome::Written && found.changed(in.pos()))
    result.outcome = Windows1252Copy::Outcome::Changed;
  errno = 0;
  out.close();
  if (result.outcome == Windows1252Copy::Outcome::Written && out.error() != QFileDevice::NoError) {
    result.outcome = Windows1252Copy::Outcome::Failed;
    result.writeError = FileErrorReason(errno, out);
  }
  if (result.outcome != Windows1252Copy::Outcome::Written)
    QFile::remove(target);
  else
    result.readIdentity = FileIdentity(target);
  return result;
}

}  // namespace orv
