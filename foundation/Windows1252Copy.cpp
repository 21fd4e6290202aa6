#include "foundation/Windows1252Copy.h"

#include <QFile>
#include <QStringDecoder>
#include <cerrno>

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
  bool readError = false;
};

TextTraits InspectText(QFile& in) {
  TextTraits t;
  Utf8Check utf8;
  bool previousEndedWithCr = false;
  for (;;) {
    Dialogs().processEvents();
    const QByteArray block = in.read(kBlockSize);
    if (block.isEmpty()) {
      t.readError = in.error() != QFileDevice::NoError;
      break;
    }
    if (!t.crLf) t.crLf = block.contains("\r\n") || (previousEndedWithCr && block.startsWith('\n'));
    previousEndedWithCr = block.endsWith('\r');
    utf8.feed(block);
    if (t.crLf && utf8.invalid()) break;  // Windows-1252 with CR LF: nothing to do
  }
  t.utf8 = utf8.isUtf8();
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
  long linesBefore = 0;
  for (bool first = true;; first = false) {
    Dialogs().processEvents();
    QByteArray block = in.read(kBlockSize);
    if (block.isEmpty()) {
      if (in.error() == QFileDevice::NoError) result.outcome = Windows1252Copy::Outcome::Written;
      return result;
    }
    if (!traits.crLf) block = WithCrLf(std::move(block));
    QString text;
    if (traits.utf8) {
      text = utf8.decode(block);
      if (first && text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
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
  if (!in.seek(0)) return result;
  errno = 0;
  if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    result.writeError = FileErrorReason(errno, out);
    return result;
  }
  result = WriteCopy(in, out, traits);
  result.utf8 = traits.utf8;
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
