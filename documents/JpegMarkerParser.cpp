// clsJPEGasm: reading, the marker walk, the report and the comment list.
#include "documents/JpegMarkerParser.h"

#include "foundation/OrvenilError.h"
#include "foundation/Windows1252.h"

#include <QFile>
#include <QFileInfo>
#include <limits>
#include <new>

namespace orv {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString Hex(int64_t v) { return QString::number(v, 16).toUpper(); }

// The number with its digits grouped in thousands ("1,234,567"); 0 gives
// the empty text, as the "#,#" pattern does.
QString Grouped(int64_t v) {
  if (v == 0) return QString();
  QString digits = QString::number(v < 0 ? -v : v);
  for (qsizetype pos = digits.size() - 3; pos > 0; pos -= 3) digits.insert(pos, QLatin1Char(','));
  return v < 0 ? QLatin1Char('-') + digits : digits;
}

QString SegmentPositionText(int64_t start, int64_t length) {
  return QStringLiteral(" starts at: 0x") + Hex(start) + QStringLiteral(" / ") + Grouped(start) +
         QStringLiteral("  Seg.length: 0x") + Hex(length) + QStringLiteral(" / ") + Grouped(length) +
         QStringLiteral(" bytes");
}

QString ColorDepthText(int bits) {
  switch (bits) {
    case 8: return QStringLiteral("Grayscale 8 Bit");
    case 24: return QStringLiteral("RGB 24 Bit");
    case 32: return QStringLiteral("CMYK 32 Bit");
    default: return QStringLiteral("Unknown format with %1 Bit").arg(bits);
  }
}

bool IsExistingFile(const QString& path) {
  if (path.isEmpty()) return false;
  const QFileInfo info(path);
  return info.exists() && !info.isDir();
}

}  // namespace

clsJPEGasm::~clsJPEGasm() { Clear(); }

void clsJPEGasm::ResetState() {
  st_ = JpegState();
  fileBuffer_.clear();
  fileBuffer_.shrink_to_fit();
}

void clsJPEGasm::Clear() { ResetState(); }

// ------------------------------------------------------------ comment list

int32_t clsJPEGasm::AddCommentText(const QString& text) {
  if (text.isEmpty() || text.size() >= 65534) return 0;
  st_.Comments.append(text);
  st_.HowManyComments = int32_t(st_.Comments.size());
  return st_.HowManyComments;
}

int32_t clsJPEGasm::AddComment(const QString& sNewComment) { return AddCommentText(sNewComment); }

void clsJPEGasm::RemoveAllComments() {
  st_.HowManyComments = 0;
  st_.Comments.clear();
}

QString clsJPEGasm::Comment(int32_t lIndex) const {
  if (lIndex < 1 || lIndex > st_.HowManyComments) return QString();
  return st_.Comments.at(lIndex - 1);
}

void clsJPEGasm::Comment(int32_t lIndex, const QString& text) {
  if (lIndex < 1 || lIndex > st_.HowManyComments) return;
  if (!text.isEmpty()) {
    st_.Comments[lIndex - 1] = text;
    return;
  }
  st_.Comments.removeAt(lIndex - 1);
  st_.HowManyComments = int32_t(st_.Comments.size());
}

// ----------------------------------------------------------------- reading

bool clsJPEGasm::ReadInJPEGfile(const QString& PathFilename) {
  Clear();
  st_.SourceFilename = PathFilename;
  if (!IsExistingFile(PathFilename)) {
    st_.ErrorMsg = QStringLiteral("Not a valid file:  '") + PathFilename + QStringLiteral("' !");
    return false;
  }
  if (!ReadFileIntoBuffer(PathFilename)) return false;
  return ParseFile();
}

bool clsJPEGasm::ReadFileIntoBuffer(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    st_.ErrorMsg = QStringLiteral("Error opening file '") + path +
                   QStringLiteral("' to READ from in procedure 'ReadFileIntoBuffer()' at class 'clsJPEGasm'");
    return false;
  }
  try {
    const qint64 size = file.size();
    st_.FileSizeSourceJPEG = int32_t(uint32_t(uint64_t(size) & 0xFFFFFFFFu));
    if (size < 250) {
      st_.ErrorMsg = QStringLiteral("To small to be a valid JPEG file:  '") + path + QStringLiteral("' !");
      return false;
    }
    // Positions are 32-bit; a larger file cannot be walked.
    if (size > std::numeric_limits<int32_t>::max()) throw OrvenilError(kErrOverflow, QStringLiteral("Überlauf"));
    fileBuffer_.assign(size_t(size), 0);
    const qint64 got = file.read(reinterpret_cast<char*>(fileBuffer_.data()), size);
    if (got < 0) {
      st_.ErrorMsg = QStringLiteral("Read error on:  '") + path + QStringLiteral("' !");
      fileBuffer_.clear();
      return false;
    }
    if (got < size) {
      st_.ErrorMsg = QStringLiteral("Want to read %1 bytes from '%2', got only %3 !").arg(size).arg(path).arg(got);
      fileBuffer_.clear();
      return false;
    }
    return true;
  } catch (const OrvenilError& e) {
    st_.ErrorMsg = QLatin1Char('[') + e.description() +
                   QStringLiteral("] in procedure 'ReadFileIntoBuffer()' at class clsJPEGasm");
  } catch (const std::bad_alloc&) {
    st_.ErrorMsg = QStringLiteral("[Nicht genügend Speicher] in procedure 'ReadFileIntoBuffer()' at class clsJPEGasm");
  }
  fileBuffer_.clear();
  return false;
}

// ------------------------------------------------------------ buffer reads

int clsJPEGasm::ByteAt(int64_t p) const {
  if (p < 1 || p > int64_t(fileBuffer_.size()))
    throw OrvenilError(kErrSubscriptOutOfRange, QStringLiteral("Index außerhalb des gültigen Bereichs"));
  return fileBuffer_[size_t(p - 1)];
}

int clsJPEGasm::ReadWordAt(int64_t p) const { return ByteAt(p) * 256 + ByteAt(p + 1); }

QString clsJPEGasm::HexWordAt(int64_t p) const {
  return QStringLiteral("%1%2")
      .arg(ByteAt(p), 2, 16, QLatin1Char('0'))
      .arg(ByteAt(p + 1), 2, 16, QLatin1Char('0'))
      .toUpper();
}

// The comment is the segment's data up to its end or up to a terminating 0
// byte, whichever comes first; nothing beyond the segment is read.
QString clsJPEGasm::CommentTextAt(int64_t first, int64_t last) const {
  if (last >= first) ByteAt(last);  // a segment running past the file's end is an error
  int64_t end = first;
  while (end <= last && ByteAt(end) != 0) ++end;
  if (end == first) return QString();
  return DecodeWindows1252(reinterpret_cast<const char*>(fileBuffer_.data()) + (first - 1), qsizetype(end - first));
}

void clsJPEGasm::AppendToReport(const QString& text) { st_.FullReport += text + kCrLf; }

void clsJPEGasm::AddSegment(const QString& marker, int32_t start, int32_t length) {
  st_.Segments.push_back(JpegSegment{marker, start, length});
  st_.SegmentCount = int32_t(st_.Segments.size());
}

// ------------------------------------------------------------------- walk

bool clsJPEGasm::ParseFile() {
  const int64_t n = int64_t(fileBuffer_.size());
  AppendToReport(QStringLiteral("Filename: ") + st_.SourceFilename);
  AppendToReport(QStringLiteral("Filesize: ") + Grouped(st_.FileSizeSourceJPEG) + QStringLiteral(" bytes") + kCrLf);
  try {
    if (HexWordAt(1) != QLatin1String("FFD8") || HexWordAt(n - 1) != QLatin1String("FFD9")) {
      st_.ErrorMsg = QStringLiteral("JPEG start (SOI-FFD8) or end markers (EOI-FFD9) not valid !");
      return false;
    }
    AppendToReport(QStringLiteral("Start-Of-Image and End-Of-Image markers are ok") + kCrLf);
    int64_t i = 3;
    while (i < n - 4) {
      QString m = HexWordAt(i);
      int64_t len = ReadWordAt(i + 2);
      if (m == QLatin1String("FFFF")) {
        // Fill bytes before a marker belong to no segment.
        while (ByteAt(i + 1) == 255) ++i;
        m = HexWordAt(i);
        len = ReadWordAt(i + 2);
      }
      // The marker's second byte, or -1 when the walk stands on no marker.
      const int code = ByteAt(i) == 255 ? ByteAt(i + 1) : -1;
      QString entry;
      if (m == QLatin1String("FFE0")) {
        st_.JPEGVersion = QString::number(ByteAt(i + 9)) + QLatin1Char('.') +
                          QStringLiteral("%1").arg(ByteAt(i + 10), 2, 10, QLatin1Char('0')).right(2);
        const int units = ByteAt(i + 11);
        const int x = ReadWordAt(i + 12);
        const int y = ReadWordAt(i + 14);
        switch (units) {
          case 0: st_.Resolution = QStringLiteral("Aspect ratio width/height = %1 : %2").arg(x).arg(y); break;
          case 1: st_.Resolution = QStringLiteral("%1 x %2 Dots/inch (DPI)").arg(x).arg(y); break;
          case 2: st_.Resolution = QStringLiteral("%1 x %2 Dots/cm").arg(x).arg(y); break;
          default:
            st_.Resolution = QStringLiteral("Error resolving resolution. Opcode is %1Valide opcodes are 0, 1, 2").arg(units);
        }
        if (ReadWordAt(i + 16) != 0) {
          st_.HasPreview = true;
          st_.XsizePreview = ByteAt(i + 16);
          st_.YsizePreview = ByteAt(i + 17);
        }
        entry = m + QStringLiteral(" - Application marker (APP0)") + SegmentPositionText(i, len) + kCrLf +
                QStringLiteral("    JPEG version: ") + st_.JPEGVersion + kCrLf + QStringLiteral("    Resolution: ") +
                st_.Resolution + kCrLf;
        if (st_.HasPreview)
          entry += QStringLiteral("    Preview width: %1 pixels").arg(st_.XsizePreview) + kCrLf +
                   QStringLiteral("    Preview height: %1 pixels").arg(st_.YsizePreview) + kCrLf;
      } else if ((code >= 0xE2 && code <= 0xEC) || code == 0xEF) {
        entry = m + QStringLiteral(" - APP%1 segment").arg(code & 0x0F) + SegmentPositionText(i, len);
      } else if (m == QLatin1String("FFED")) {
        st_.HasPhotoShopComments = true;
        entry = m + QStringLiteral(" - Adobe PhotoShop (TM) picture informations") + SegmentPositionText(i, len);
      } else if (m == QLatin1String("FFEE")) {
        entry = m + QStringLiteral(" - #Unknown app segment - seen in JPEGs written by Adobe PhotoShop (TM)") +
                SegmentPositionText(i, len);
      } else if (m == QLatin1String("FFE1")) {
        st_.HasEXIFHeader = true;
        entry = m + QStringLiteral(" - Exif header") + SegmentPositionText(i, len);
      } else if (m == QLatin1String("FFDD")) {
        entry = m + QStringLiteral(" - Restart interval marker") + SegmentPositionText(i, len) +
                QStringLiteral(" (always 4 bytes)");
      } else if (m == QLatin1String("FFFE")) {
        const QString text = CommentTextAt(i + 4, i + len + 1);
        AddCommentText(text);
        entry = m + QStringLiteral(" - Comment header") + SegmentPositionText(i, len) + kCrLf +
                QStringLiteral("    Comment: '") + text + QLatin1Char('\'') + kCrLf;
      } else if (code == 0xC0 || code == 0xC1 || code == 0xC2 || code == 0xC3 || code == 0xC5 || code == 0xC6 ||
                 code == 0xC7) {
        st_.YsizePicture = ReadWordAt(i + 5);
        st_.XsizePicture = ReadWordAt(i + 7);
        st_.ColorDepthInBit = ByteAt(i + 9) * 8;
        st_.ColorDepthAsText = ColorDepthText(st_.ColorDepthInBit);
        entry = m + QStringLiteral(" - Start of frame") + SegmentPositionText(i, len) + kCrLf +
                QStringLiteral("  Length: ") + Grouped(len) + QStringLiteral(" Bytes") + kCrLf +
                QStringLiteral("  Pic width: %1 pixels").arg(st_.XsizePicture) + kCrLf +
                QStringLiteral("  Pic height: %1 pixels").arg(st_.YsizePicture) + kCrLf +
                QStringLiteral("  Color depth: ") + st_.ColorDepthAsText + kCrLf;
      } else if (m == QLatin1String("FFDA")) {
        // The entropy-coded data run up to the next marker other than a
        // stuffed 0 or a restart marker RST0 … RST7.
        int64_t j = i + len + 2;
        for (;;) {
          if (ByteAt(j) == 255) {
            const int next = ByteAt(j + 1);
            if (next == 0 || (next >= 0xD0 && next <= 0xD7)) {
              j += 2;
              continue;
            }
            break;
          }
          ++j;
        }
        len = j - (i + 2);
        entry = m + QStringLiteral(" - Start of scan") + SegmentPositionText(i, len);
      } else if (m == QLatin1String("FFDB")) {
        entry = m + QStringLiteral(" - Quantization table") + SegmentPositionText(i, len);
      } else if (m == QLatin1String("FFC4")) {
        entry = m + QStringLiteral(" - Huffman table") + SegmentPositionText(i, len);
      } else if ((code >= 0xC8 && code <= 0xCF) || code == 0xDC || code == 0xDE || code == 0xDF || code == 0xF0 ||
                 code == 0xFD) {
        entry = m + QStringLiteral(" - #Usually unsupported marker#") + SegmentPositionText(i, len);
      } else {
        entry = m + QStringLiteral(" - #Unknown segment type#") + SegmentPositionText(i, len);
      }
      if (!entry.endsWith(kCrLf)) entry += kCrLf;
      AppendToReport(entry);
      AddSegment(m, int32_t(i), int32_t(len + 2));
      i += len + 2;
    }
    if (HexWordAt(i) == QLatin1String("FFD9")) {
      st_.ParsedWithoutProblems = true;
      AppendToReport(QStringLiteral("--> File successfully parsed.") + kCrLf);
    } else {
      st_.ParsedWithoutProblems = false;
      AppendToReport(QStringLiteral("--> File not successfully parsed! We reached the end, but parts are missing.") +
                     kCrLf);
    }
    return true;
  } catch (const OrvenilError& e) {
    st_.ErrorMsg = QLatin1Char('[') + e.description() + QStringLiteral("] in procedure 'ParseFile()' at class 'clsJPEGasm'");
  } catch (const std::bad_alloc&) {
    st_.ErrorMsg = QStringLiteral("[Nicht genügend Speicher] in procedure 'ParseFile()' at class 'clsJPEGasm'");
  }
  st_.ParsedWithoutProblems = false;
  return false;
}

}  // namespace orv
