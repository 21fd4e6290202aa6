#include "platform/xls/XlsWriter.h"

#include "foundation/FileErrorReason.h"
#include "foundation/ReplacingFile.h"
#include "platform/xls/CompoundFile.h"

#include <QDir>
#include <QHash>
#include <cerrno>
#include <cstring>

#include <sys/sendfile.h>
#include <QTemporaryFile>
#include <QtEndian>

#include <algorithm>
#include <iterator>
#include <vector>

namespace orv {

namespace {

// BIFF8 record types.
constexpr quint16 RecBof = 0x0809;
constexpr quint16 RecEof = 0x000A;
constexpr quint16 RecCodepage = 0x0042;
constexpr quint16 RecWindow1 = 0x003D;
constexpr quint16 RecFont = 0x0031;
constexpr quint16 RecFormat = 0x041E;
constexpr quint16 RecXf = 0x00E0;
constexpr quint16 RecStyle = 0x0293;
constexpr quint16 RecBoundSheet = 0x0085;
constexpr quint16 RecSst = 0x00FC;
constexpr quint16 RecContinue = 0x003C;
constexpr quint16 RecExtSst = 0x00FF;
constexpr quint16 RecDimensions = 0x0200;
constexpr quint16 RecLabelSst = 0x00FD;
constexpr quint16 RecNumber = 0x0203;
constexpr quint16 RecWindow2 = 0x023E;
constexpr quint16 RecIndex = 0x020B;
constexpr quint16 RecDefColWidth = 0x0055;
constexpr quint16 RecRow = 0x0208;
constexpr quint16 RecDbCell = 0x00D7;

constexpr int MaxRecordData = 8224;  // longest record body; the string table continues beyond it
constexpr int LabelSstRecordSize = 14;
constexpr int NumberRecordSize = 18;
constexpr int RowRecordSize = 20;
constexpr int RowsPerBlock = 32;  // rows are grouped in blocks, each ended by a DBCELL
constexpr quint16 CellXf = 15;    // the first cell format after the 15 style formats
// Number cells with d decimals: cell format CellXf + 1 + d on number format
// FirstNumberFormat + d ("0", "0.0", "0.00" ...), the first free for a workbook's own.
constexpr quint16 FirstNumberFormat = 164;
constexpr quint16 numberXf(int decimals) { return quint16(CellXf + 1 + decimals); }
constexpr int MaxSheetNameLength = 31;
constexpr qsizetype SpoolFlushSize = 1 << 20;
constexpr int RememberedStrings = 1 << 10;  // a power of two
constexpr int PreferredBuckets = 128;       // lookup buckets of the string table's index
constexpr quint32 MaxBucketSize = 32768;
constexpr int MaxBuckets = (MaxRecordData - 2) / 8;

void add8(QByteArray& a, quint8 v) { a.append(static_cast<char>(v)); }
void add16(QByteArray& a, quint16 v) {
  a.append(static_cast<char>(v & 0xFF));
  a.append(static_cast<char>(v >> 8));
}
void add32(QByteArray& a, quint32 v) {
  add16(a, static_cast<quint16>(v & 0xFFFF));
  add16(a, static_cast<quint16>(v >> 16));
}

void addRecord(QByteArray& out, quint16 type, const char* body, qsizetype size) {
  add16(out, type);
  add16(out, static_cast<quint16>(size));
  out.append(body, size);
}

void addRecord(QByteArray& out, quint16 type, const QByteArray& body) {
  addRecord(out, type, body.constData(), body.size());
}

// The characters of one cell: UTF-16 text, or plain ASCII bytes as a
// database returns most of its texts (no conversion needed for those).
struct CellChars {
  const char16_t* u16 = nullptr;
  const char* ascii = nullptr;
  qsizetype size = 0;
  char16_t at(qsizetype i) const { return u16 ? u16[i] : char16_t(static_cast<unsigned char>(ascii[i])); }
  bool wide() const {
    return u16 && std::any_of(u16, u16 + size, [](char16_t c) { return c > 0xFF; });
  }
  size_t hash() const {
    size_t h = 1469598103934665603ull ^ size_t(size);
    if (u16) {
      for (qsizetype i = 0; i < size; ++i) h = (h ^ u16[i]) * 1099511628211ull;
      return h;
    }
    // Plain bytes eight at a time.
    qsizetype i = 0;
    for (; i + 8 <= size; i += 8) {
      quint64 w;
      std::memcpy(&w, ascii + i, 8);
      h = (h ^ w) * 0x9E3779B97F4A7C15ull;
      h ^= h >> 29;
    }
    for (; i < size; ++i) h = (h ^ static_cast<unsigned char>(ascii[i])) * 1099511628211ull;
    return h ^ (h >> 32);
  }
};

// The value and decimals of a text that is plainly a number (see
// XlsWriter::setNumberColumns); false for any other text. With at most 15
// significant digits the digits form an integer below 2^53 and 10^decimals
// is exact too, so one division gives the double nearest to the text.
bool plainNumber(const CellChars& s, double& value, int& decimals) {
  static constexpr double powersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                           1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  static_assert(std::size(powersOfTen) == XlsWriter::MaxNumberDecimals + 1);
  qsizetype i = 0;
  const bool negative = s.size > 0 && s.at(0) == u'-';
  if (negative) ++i;
  quint64 digits = 0;
  // Significant digits: from the first digit that is not zero on; trailing
  // zeros count, as the format shows them.
  int significant = 0;
  const auto take = [&](char16_t c) {
    if (c < u'0' || c > u'9') return false;
    if (significant > 0 || c != u'0') ++significant;
    if (significant <= 15) digits = digits * 10 + (c - u'0');
    return true;
  };
  const qsizetype integerStart = i;
  while (i < s.size && take(s.at(i))) ++i;
  const qsizetype integerDigits = i - integerStart;
  if (integerDigits == 0 || (integerDigits > 1 && s.at(integerStart) == u'0')) return false;
  decimals = 0;
  if (i < s.size) {
    if (s.at(i) != u'.') return false;
    const qsizetype decimalsStart = ++i;
    while (i < s.size && take(s.at(i))) ++i;
    decimals = int(i - decimalsStart);
    if (decimals == 0 || i < s.size || decimals > XlsWriter::MaxNumberDecimals) return false;
  }
  if (significant > 15 || (negative && significant == 0)) return false;
  value = double(digits) / powersOfTen[decimals];
  if (negative) value = -value;
  return true;
}

bool needsWideChars(const QString& s) {
  return std::any_of(s.cbegin(), s.cend(), [](QChar c) { return c.unicode() > 0xFF; });
}

// Characters as the format stores them: one byte each when all are below
// U+0100 ("compressed"), otherwise UTF-16LE.
template <typename Bytes>
void addChars(Bytes& a, const QChar* chars, qsizetype n, bool wide) {
  const qsizetype at = qsizetype(a.size());
  a.resize(at + (wide ? 2 * n : n));
  char* p = a.data() + at;
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t u = chars[i].unicode();
    if (wide) {
      *p++ = static_cast<char>(u & 0xFF);
      *p++ = static_cast<char>(u >> 8);
    } else {
      *p++ = static_cast<char>(u);
    }
  }
}

QByteArray bofRecord(quint16 substreamType) {
  QByteArray b;
  add16(b, 0x0600);  // BIFF8
  add16(b, substreamType);
  add16(b, 0x0DBB);  // build
  add16(b, 0x07CC);  // year
  add32(b, 0);       // file history flags
  add32(b, 0x0006);  // lowest version that can read the file: BIFF8
  QByteArray r;
  addRecord(r, RecBof, b);
  return r;
}

QByteArray eofRecord() {
  QByteArray r;
  addRecord(r, RecEof, {});
  return r;
}

// Workbook globals up to the sheet list: code page, window, fonts, the 15
// style formats readers expect plus one cell format, and the Normal style.
QByteArray globalsHead() {
  QByteArray out = bofRecord(0x0005);
  QByteArray b;
  add16(b, 1200);  // strings are Unicode
  addRecord(out, RecCodepage, b);

  b.clear();
  add16(b, 0x0168);
  add16(b, 0x001E);
  add16(b, 0x3A5C);
  add16(b, 0x2454);
  add16(b, 0x0038);  // visible horizontal scroll bar and sheet tabs
  add16(b, 0);
  add16(b, 0);
  add16(b, 1);
  add16(b, 0x0258);
  addRecord(out, RecWindow1, b);

  // Font index 4 does not exist in this format, so four fonts cover 0 to 3.
  const QString fontName = QStringLiteral("Arial");
  for (int i = 0; i < 4; ++i) {
    b.clear();
    add16(b, 200);  // 10 pt in twentieths of a point
    add16(b, 0);
    add16(b, 0x7FFF);  // automatic colour
    add16(b, 400);     // normal weight
    add16(b, 0);
    add8(b, 0);
    add8(b, 0);
    add8(b, 0);
    add8(b, 0);
    add8(b, static_cast<quint8>(fontName.size()));
    add8(b, 0);
    addChars(b, fontName.constData(), fontName.size(), false);
    addRecord(out, RecFont, b);
  }

  for (int d = 0; d <= XlsWriter::MaxNumberDecimals; ++d) {
    const QString format = d == 0 ? QStringLiteral("0") : QStringLiteral("0.") + QString(d, QLatin1Char('0'));
    b.clear();
    add16(b, static_cast<quint16>(FirstNumberFormat + d));
    add16(b, static_cast<quint16>(format.size()));
    add8(b, 0);
    addChars(b, format.constData(), format.size(), false);
    addRecord(out, RecFormat, b);
  }

  for (int i = 0; i <= numberXf(XlsWriter::MaxNumberDecimals); ++i) {
    const bool style = i < CellXf;
    const bool number = i > CellXf;
    b.clear();
    add16(b, 0);  // font
    // number format: "General", or that of the cell format's decimals
    add16(b, number ? static_cast<quint16>(FirstNumberFormat + i - numberXf(0)) : 0);
    add16(b, style ? 0xFFF5 : 0x0001);  // style format / cell format locked, parent 0
    add8(b, 0x20);                      // aligned to the bottom
    add8(b, 0);
    add8(b, 0);
    add8(b, number ? 0x04 : i == 0 || !style ? 0x00 : 0xF4);  // a number cell's own number format
    add32(b, 0);
    add32(b, 0);
    add16(b, 0x20C0);  // default pattern colours
    addRecord(out, RecXf, b);
  }

  b.clear();
  add16(b, 0x8000);  // built-in style on format 0
  add8(b, 0);        // "Normal"
  add8(b, 0xFF);
  addRecord(out, RecStyle, b);
  return out;
}

QByteArray boundSheetRecord(const QString& name, quint32 sheetOffset) {
  const bool wide = needsWideChars(name);
  QByteArray b;
  add32(b, sheetOffset);
  add8(b, 0);  // visible
  add8(b, 0);  // worksheet
  add8(b, static_cast<quint8>(name.size()));
  add8(b, wide ? 1 : 0);
  addChars(b, name.constData(), name.size(), wide);
  QByteArray r;
  addRecord(r, RecBoundSheet, b);
  return r;
}

// Size of what precedes a sheet's cells: BOF, INDEX, DEFCOLWIDTH, DIMENSIONS.
quint64 sheetHeadSize(std::size_t blocks) { return 20 + (4 + 16 + 4 * quint64(blocks)) + 6 + 18; }

QByteArray sheetTail(bool firstSheet) {
  QByteArray b;
  // Grid lines, headers, zeros, default colours, outline symbols; the
  // first sheet is the selected and shown one.
  add16(b, firstSheet ? 0x06B6 : 0x00B6);
  add16(b, 0);
  add16(b, 0);
  add16(b, 64);
  add16(b, 0);
  add16(b, 0);
  add16(b, 0);
  add32(b, 0);
  QByteArray out;
  addRecord(out, RecWindow2, b);
  out += eofRecord();
  return out;
}

// Sheet names may not hold : \ / ? * [ ] and are at most 31 characters long;
// the number of a continuation sheet always stays visible.
QString sheetNameFor(const QString& base, int sheetNumber) {
  QString name = base;
  for (QChar& c : name) {
    if (QStringLiteral(":\\/?*[]").contains(c) || c.unicode() < 0x20) c = QLatin1Char('_');
  }
  name = name.trimmed();
  while (name.startsWith(QLatin1Char('\''))) name.remove(0, 1);
  if (name.isEmpty()) name = QStringLiteral("Tabelle");
  const QString suffix = sheetNumber > 1 ? QStringLiteral(" %1").arg(sheetNumber) : QString();
  name.truncate(MaxSheetNameLength - suffix.size());
  if (!name.isEmpty() && name.back().isHighSurrogate()) name.chop(1);
  while (name.endsWith(QLatin1Char('\''))) name.chop(1);
  return name + suffix;
}

}  // namespace

// A temporary file written through a large buffer, read back on close.
class XlsSpoolFile {
 public:
  bool open() {
    file_.setFileTemplate(QDir::tempPath() + QStringLiteral("/orvenil-xls-XXXXXX"));
    if (!file_.open()) return fail();
    buffer_.reserve(SpoolFlushSize + MaxRecordData + 64);
    return true;
  }
  QByteArray& buffer() { return buffer_; }
  quint64 size() const { return written_ + quint64(buffer_.size()); }
  bool flushIfFull() { return buffer_.size() < SpoolFlushSize || flush(); }
  bool flush() {
    if (buffer_.isEmpty()) return true;
    errno = 0;
    if (file_.write(buffer_) != buffer_.size()) return fail();
    written_ += quint64(buffer_.size());
    buffer_.resize(0);
    return true;
  }
  bool overwrite(quint64 at, const QByteArray& bytes) {
    if (!flush() || !file_.seek(qint64(at)) || file_.write(bytes) != bytes.size()) return fail();
    return true;
  }
  bool copyTo(QFileDevice& out, quint64 from, quint64 length) {
    if (!flush() || !file_.flush()) return fail();
    // The kernel copies file to file; where it cannot, the bytes go
    // through a buffer.
    if (out.flush() && out.handle() >= 0 && file_.handle() >= 0) {
      off_t offset = off_t(from);
      quint64 left = length;
      while (left > 0) {
        const ssize_t n =
            ::sendfile(out.handle(), file_.handle(), &offset, size_t(std::min<quint64>(left, 1u << 30)));
        if (n <= 0) break;
        left -= quint64(n);
      }
      const quint64 copied = length - left;
      if (!out.seek(out.pos() + qint64(copied))) return false;
      from += copied;
      length = left;
    }
    if (!file_.seek(qint64(from))) return fail();
    QByteArray chunk;
    while (length > 0) {
      const qint64 want = qint64(std::min<quint64>(length, SpoolFlushSize));
      chunk = file_.read(want);
      if (chunk.size() != want) return fail();
      if (out.write(chunk) != chunk.size()) return false;
      length -= quint64(want);
    }
    return true;
  }
  // Why the last operation failed, empty while nothing failed.
  QString errorText() const { return error_; }

 private:
  bool fail() {
    if (error_.isEmpty())
      error_ = QStringLiteral("temporäre Datei \"%1\": %2")
                   .arg(QDir::toNativeSeparators(file_.fileName()), FileErrorReason(errno, file_));
    return false;
  }
  QString error_;
  QTemporaryFile file_;
  QByteArray buffer_;
  quint64 written_ = 0;
};

struct XlsWriter::State {
  struct Sheet {
    quint64 begin = 0;  // range of its row blocks in the cell spool
    quint64 end = 0;
    quint32 rows = 0;
    quint16 columns = 0;
    qint32 firstRowWithCells = -1;
    quint32 lastRowWithCells = 0;
    std::vector<quint32> blockIndexes;  // DBCELL positions from begin

    // BOF, the index of the row blocks, the default column width and
    // the dimensions; offset is where the sheet starts in the stream.
    QByteArray head(quint64 offset) const {
      QByteArray out = bofRecord(0x0010);
      const quint64 defColWidthAt = offset + out.size() + 4 + 16 + 4 * quint64(blockIndexes.size());
      const quint64 cellsAt = offset + sheetHeadSize(blockIndexes.size());
      QByteArray b;
      add32(b, 0);
      add32(b, firstRowWithCells < 0 ? 0 : quint32(firstRowWithCells));
      add32(b, firstRowWithCells < 0 ? 0 : lastRowWithCells + 1);
      add32(b, static_cast<quint32>(defColWidthAt));
      for (quint32 at : blockIndexes) add32(b, static_cast<quint32>(cellsAt + at));
      addRecord(out, RecIndex, b);
      b.clear();
      add16(b, 8);
      addRecord(out, RecDefColWidth, b);
      b.clear();
      add32(b, 0);
      add32(b, rows);
      add16(b, 0);
      add16(b, columns);
      add16(b, 0);
      addRecord(out, RecDimensions, b);
      Q_ASSERT(quint64(out.size()) == sheetHeadSize(blockIndexes.size()));
      return out;
    }
  };
  // Rows of the block being collected that hold cells, and their cells.
  struct BlockRow {
    quint16 row;
    quint16 firstColumn;
    quint16 endColumn;
    int cellBytes;
  };

  ReplacingFile out;
  XlsSpoolFile cells;
  XlsSpoolFile strings;
  std::vector<Sheet> sheets;
  QString spoolError;

  // Shared string table. A repeated text is stored once while it is still
  // in the cache of recently seen texts (one slot per hash value, a new
  // text takes the slot over); the table stays valid when a text occurs
  // twice, so memory and time stay bounded on huge exports.
  // Only short texts are looked for: codes and the like repeat, while longer
  // ones (point numbers, coordinates) hardly ever do. They are kept in the
  // slot itself, so the cache never touches the memory of texts long gone.
  static constexpr int RememberedLength = 10;
  struct RememberedString {
    quint32 index = 0;
    qint32 length = -1;  // -1: empty slot
    bool ascii = false;  // the text is in bytes, else in text
    char bytes[RememberedLength];
    char16_t text[RememberedLength];
  };
  std::vector<RememberedString> remembered;
  quint32 stringCount = 0;
  quint32 stringRefs = 0;
  std::vector<char> record;  // body of the SST or CONTINUE record being filled
  bool firstRecord = true;
  quint32 bucketSize = 8;
  struct Bucket {
    quint64 position;        // from the start of the string table
    quint16 offsetInRecord;  // from the start of the record header
  };
  std::vector<Bucket> buckets;

  std::vector<BlockRow> blockRows;
  std::vector<char> blockCells;

  bool columnsCut = false;
  bool textCut = false;

  bool spoolFailed(const XlsSpoolFile& spool) {
    if (spoolError.isEmpty()) spoolError = spool.errorText();
    return false;
  }

  bool finishStringRecord() {
    addRecord(strings.buffer(), firstRecord ? RecSst : RecContinue, record.data(), qsizetype(record.size()));
    firstRecord = false;
    record.clear();
    return strings.flushIfFull() || spoolFailed(strings);
  }

  void noteBucket() {
    if (buckets.size() == PreferredBuckets && bucketSize < MaxBucketSize) {
      // Twice as many strings a bucket: every other start stays valid.
      std::vector<Bucket> kept;
      for (std::size_t i = 0; i < buckets.size(); i += 2) kept.push_back(buckets[i]);
      buckets.swap(kept);
      bucketSize *= 2;
    }
    if (buckets.size() >= MaxBuckets) return;
    buckets.push_back({strings.size() + 4 + quint64(record.size()), quint16(4 + record.size())});
  }

  bool appendString(const CellChars& s, quint32 index) {
    const bool wide = s.wide();
    const int charSize = wide ? 2 : 1;
    // A string's length and flags never straddle two records.
    if (qsizetype(record.size()) + 3 + charSize > MaxRecordData && !finishStringRecord()) return false;
    if (index % bucketSize == 0) noteBucket();
    char head[3];
    qToLittleEndian<quint16>(static_cast<quint16>(s.size), head);
    head[2] = wide ? 1 : 0;
    record.insert(record.end(), head, head + 3);
    qsizetype done = 0;
    for (;;) {
      const qsizetype fit = (MaxRecordData - qsizetype(record.size())) / charSize;
      const qsizetype take = std::min(fit, s.size - done);
      if (s.u16)
        addChars(record, reinterpret_cast<const QChar*>(s.u16) + done, take, wide);
      else
        record.insert(record.end(), s.ascii + done, s.ascii + done + take);
      done += take;
      if (done >= s.size) return true;
      // The rest continues in the next record, which repeats the flags.
      if (!finishStringRecord()) return false;
      record.push_back(wide ? 1 : 0);
    }
  }

  bool stringIndex(const CellChars& s, quint32& index) {
    ++stringRefs;
    const qsizetype n = s.size;
    RememberedString* slot = nullptr;
    if (n <= RememberedLength) {
      slot = &remembered[s.hash() & (RememberedStrings - 1)];
      const bool same = slot->length == n && slot->ascii == !s.u16 &&
                        (s.u16 ? std::equal(s.u16, s.u16 + n, slot->text)
                               : std::memcmp(s.ascii, slot->bytes, size_t(n)) == 0);
      if (same) {
        index = slot->index;
        return true;
      }
    }
    index = stringCount++;
    if (slot) {
      slot->index = index;
      slot->length = static_cast<qint32>(n);
      slot->ascii = !s.u16;
      if (s.u16)
        std::copy(s.u16, s.u16 + n, slot->text);
      else
        std::memcpy(slot->bytes, s.ascii, size_t(n));
    }
    return appendString(s, index);
  }

  // Writes the collected block: its ROW records, its cells and the DBCELL
  // that lets a reader find the first cell of each row.
  bool finishBlock() {
    if (blockRows.empty()) return true;
    Sheet& sheet = sheets.back();
    QByteArray& buf = cells.buffer();
    const quint64 blockStart = cells.size();
    // The records are put together in place: this runs once per 32 rows
    // of exports of millions.
    char rec[RowRecordSize];
    for (const BlockRow& r : blockRows) {
      const quint16 fields[] = {RecRow, RowRecordSize - 4, r.row, r.firstColumn, r.endColumn,
                                0x00FF,  // default height
                                0,      0, 0x0100, CellXf};
      for (size_t i = 0; i < std::size(fields); ++i) qToLittleEndian<quint16>(fields[i], rec + 2 * i);
      buf.append(rec, RowRecordSize);
    }
    buf.append(blockCells.data(), qsizetype(blockCells.size()));
    // DBCELL: the offset back to the first ROW record, then per row where
    // its cells start: the first row's counted from the second ROW record,
    // each further row's from the first cell of the row before.
    char dbCell[4 + 4 + 2 * RowsPerBlock];
    const qsizetype bodySize = 4 + 2 * qsizetype(blockRows.size());
    qToLittleEndian<quint16>(RecDbCell, dbCell);
    qToLittleEndian<quint16>(static_cast<quint16>(bodySize), dbCell + 2);
    qToLittleEndian<quint32>(static_cast<quint32>(cells.size() - blockStart), dbCell + 4);
    quint32 step = quint32(blockRows.size()) * RowRecordSize - RowRecordSize;
    char* at = dbCell + 8;
    for (const BlockRow& r : blockRows) {
      qToLittleEndian<quint16>(static_cast<quint16>(step), at);
      at += 2;
      step = quint32(r.cellBytes);
    }
    sheet.blockIndexes.push_back(static_cast<quint32>(cells.size() - sheet.begin));
    buf.append(dbCell, 4 + bodySize);
    blockRows.clear();
    blockCells.clear();
    return cells.flushIfFull() || spoolFailed(cells);
  }

  // One row of n cells; cellAt(c, scratch) gives the characters of cell c
  // (scratch holds converted text while the cell is written).
  template <typename CellAt>
  bool writeCells(qsizetype n, const std::vector<bool>& numberColumns, CellAt cellAt) {
    if (sheets.back().rows == quint32(MaxRowsPerSheet)) {
      if (!finishBlock()) return false;
      sheets.back().end = cells.size();
      sheets.push_back({});
      sheets.back().begin = cells.size();
    }
    Sheet& sheet = sheets.back();
    const quint16 rowNumber = static_cast<quint16>(sheet.rows);
    if (!blockRows.empty() && blockRows.back().row / RowsPerBlock != rowNumber / RowsPerBlock &&
        !finishBlock())
      return false;
    if (n > MaxColumns) {
      columnsCut = true;
      n = MaxColumns;
    }
    const qsizetype rowStart = qsizetype(blockCells.size());
    int firstColumn = -1;
    int lastColumn = -1;
    QString scratch;
    for (qsizetype c = 0; c < n; ++c) {
      const CellChars text = cellAt(c, scratch);
      if (text.size == 0) continue;
      double value = 0;
      int decimals = 0;
      if (c < qsizetype(numberColumns.size()) && numberColumns[size_t(c)] &&
          plainNumber(text, value, decimals)) {
        char rec[NumberRecordSize];
        qToLittleEndian<quint16>(RecNumber, rec);
        qToLittleEndian<quint16>(NumberRecordSize - 4, rec + 2);
        qToLittleEndian<quint16>(rowNumber, rec + 4);
        qToLittleEndian<quint16>(static_cast<quint16>(c), rec + 6);
        qToLittleEndian<quint16>(numberXf(decimals), rec + 8);
        quint64 bits;
        std::memcpy(&bits, &value, sizeof bits);
        qToLittleEndian<quint64>(bits, rec + 10);
        blockCells.insert(blockCells.end(), rec, rec + NumberRecordSize);
      } else {
        quint32 index = 0;
        if (!stringIndex(text, index)) return false;
        char rec[LabelSstRecordSize];
        qToLittleEndian<quint16>(RecLabelSst, rec);
        qToLittleEndian<quint16>(LabelSstRecordSize - 4, rec + 2);
        qToLittleEndian<quint16>(rowNumber, rec + 4);
        qToLittleEndian<quint16>(static_cast<quint16>(c), rec + 6);
        qToLittleEndian<quint16>(CellXf, rec + 8);
        qToLittleEndian<quint32>(index, rec + 10);
        blockCells.insert(blockCells.end(), rec, rec + LabelSstRecordSize);
      }
      if (firstColumn < 0) firstColumn = int(c);
      lastColumn = int(c);
      sheet.columns = std::max<quint16>(sheet.columns, static_cast<quint16>(c + 1));
    }
    if (firstColumn >= 0) {
      blockRows.push_back(
          {rowNumber, quint16(firstColumn), quint16(lastColumn + 1), int(qsizetype(blockCells.size()) - rowStart)});
      if (sheet.firstRowWithCells < 0) sheet.firstRowWithCells = rowNumber;
      sheet.lastRowWithCells = rowNumber;
    }
    ++sheet.rows;
    return true;
  }

  // A text cut to the format's limit when it is longer.
  CellChars fitted(const QString& text, QString& scratch) {
    if (text.size() <= MaxCellLength)
      return {reinterpret_cast<const char16_t*>(text.utf16()), nullptr, text.size()};
    textCut = true;
    scratch = text.left(MaxCellLength);  // text may be scratch itself
    if (scratch.back().isHighSurrogate()) scratch.chop(1);
    return {reinterpret_cast<const char16_t*>(scratch.utf16()), nullptr, scratch.size()};
  }

  bool writeRow(const QStringList& row, const std::vector<bool>& numberColumns) {
    return writeCells(row.size(), numberColumns,
                      [&](qsizetype c, QString& scratch) { return fitted(row.at(c), scratch); });
  }

  bool writeRowUtf8(const QByteArrayView* row, qsizetype n, const std::vector<bool>& numberColumns) {
    return writeCells(n, numberColumns, [&](qsizetype c, QString& scratch) -> CellChars {
      const QByteArrayView bytes = row[c];
      if (bytes.size() <= MaxCellLength && std::all_of(bytes.begin(), bytes.end(), [](char b) {
            return static_cast<unsigned char>(b) < 0x80;
          }))
        return {nullptr, bytes.data(), bytes.size()};
      scratch = QString::fromUtf8(bytes.data(), bytes.size());
      return fitted(scratch, scratch);
    });
  }
};

XlsWriter::XlsWriter(const QString& sheetName) : sheetName_(sheetName) {}

XlsWriter::~XlsWriter() = default;

bool XlsWriter::open(const QString& path) {
  d.reset();
  errorText_.clear();
  auto state = std::make_unique<State>();
  if (!state->out.openFor(path)) {
    errorText_ = QStringLiteral("Die Datei \"%1\" kann nicht angelegt werden: %2")
                     .arg(QDir::toNativeSeparators(path), state->out.lastError());
    return false;
  }
  if (!state->cells.open() || !state->strings.open()) {
    errorText_ = QStringLiteral("Im Ordner für temporäre Dateien kann nicht geschrieben werden: %1")
                     .arg(QDir::toNativeSeparators(QDir::tempPath()));
    return false;
  }
  state->sheets.push_back({});
  state->remembered.resize(RememberedStrings);
  state->record.reserve(MaxRecordData);
  state->record.assign(8, 0);  // reference and string counts, set on close
  d = std::move(state);
  return true;
}

void XlsWriter::writeRowUtf8(const QByteArrayView* cells, qsizetype count) {
  if (!d || !d->spoolError.isEmpty()) return;
  d->writeRowUtf8(cells, count, numberColumns_);
}

void XlsWriter::setNumberColumns(std::vector<bool> columns) { numberColumns_ = std::move(columns); }

void XlsWriter::writeRow(const QStringList& cells) {
  if (!d || !d->spoolError.isEmpty()) return;
  d->writeRow(cells, numberColumns_);
}

bool XlsWriter::close() {
  if (!d) {
    if (errorText_.isEmpty()) errorText_ = QStringLiteral("Es ist keine Datei zum Schreiben geöffnet.");
    return false;
  }
  std::unique_ptr<State> s = std::move(d);
  const QString path = QDir::toNativeSeparators(s->out.target());
  auto failed = [&](const QString& why) {
    errorText_ = QStringLiteral("Die Datei \"%1\" konnte nicht geschrieben werden: %2").arg(path, why);
    s->out.cancelWriting();
    return false;
  };
  if (!s->spoolError.isEmpty()) return failed(s->spoolError);

  // Finish the string table and the cell records.
  QByteArray counts;
  add32(counts, s->stringRefs);
  add32(counts, s->stringCount);
  if (!s->finishBlock() || !s->finishStringRecord() || !s->strings.overwrite(4, counts) || !s->cells.flush())
    return failed(s->spoolError + s->strings.errorText() + s->cells.errorText());
  s->sheets.back().end = s->cells.size();

  // Offsets of the sheets follow from the sizes of everything before them.
  QStringList names;
  for (std::size_t i = 0; i < s->sheets.size(); ++i) names << sheetNameFor(sheetName_, int(i) + 1);
  const QByteArray head = globalsHead();
  quint64 sheetListSize = 0;
  for (const QString& name : names) sheetListSize += quint64(boundSheetRecord(name, 0).size());

  QByteArray extSst;
  {
    QByteArray b;
    add16(b, static_cast<quint16>(s->bucketSize));
    const quint64 sstStart = quint64(head.size()) + sheetListSize;
    for (const State::Bucket& bucket : s->buckets) {
      add32(b, static_cast<quint32>(sstStart + bucket.position));
      add16(b, bucket.offsetInRecord);
      add16(b, 0);
    }
    addRecord(extSst, RecExtSst, b);
    extSst += eofRecord();
  }
  const quint64 globalsSize =
      quint64(head.size()) + sheetListSize + s->strings.size() + quint64(extSst.size());

  std::vector<quint64> offsets;
  quint64 streamSize = globalsSize;
  for (std::size_t i = 0; i < s->sheets.size(); ++i) {
    const State::Sheet& sheet = s->sheets[i];
    offsets.push_back(streamSize);
    streamSize += sheetHeadSize(sheet.blockIndexes.size()) + (sheet.end - sheet.begin) +
                  quint64(sheetTail(i == 0).size());
  }
  if (streamSize > CompoundFileLayout::MaximumStreamSize)
    return failed(QStringLiteral("Die Tabelle ist für eine .xls-Datei zu groß."));
  // Short workbooks are padded so that they stay out of the mini stream.
  streamSize = std::max(streamSize, CompoundFileLayout::MinimumStreamSize);

  const CompoundFileLayout layout(QStringLiteral("Workbook"), streamSize);
  QFileDevice& out = s->out;
  auto write = [&](const QByteArray& bytes) { return out.write(bytes) == bytes.size(); };
  bool ok = write(layout.header()) && write(head);
  for (qsizetype i = 0; ok && i < names.size(); ++i)
    ok = write(boundSheetRecord(names[i], static_cast<quint32>(offsets[i])));
  ok = ok && s->strings.copyTo(out, 0, s->strings.size()) && write(extSst);
  for (std::size_t i = 0; ok && i < s->sheets.size(); ++i) {
    const State::Sheet& sheet = s->sheets[i];
    ok = write(sheet.head(offsets[i])) && s->cells.copyTo(out, sheet.begin, sheet.end - sheet.begin) &&
         write(sheetTail(i == 0));
  }
  const quint64 streamEnd = CompoundFileLayout::SectorSize * (1 + quint64(layout.streamSectors()));
  if (ok && quint64(out.pos()) <= streamEnd)
    ok = write(QByteArray(qsizetype(streamEnd - quint64(out.pos())), '\0')) && write(layout.trailer());
  else
    ok = false;
  if (!ok || quint64(out.pos()) != layout.fileSize()) {
    const QString spools = s->strings.errorText() + s->cells.errorText();
    return failed(!spools.isEmpty() ? spools : s->out.lastError());
  }
  if (!s->out.commit()) {
    errorText_ =
        QStringLiteral("Die Datei \"%1\" konnte nicht geschrieben werden: %2").arg(path, s->out.lastError());
    return false;
  }

  // The file is complete; what did not fit the format is reported.
  if (s->columnsCut || s->textCut) {
    QStringList lost;
    if (s->columnsCut) lost << QStringLiteral("Spalten nach der %1. Spalte fehlen").arg(MaxColumns);
    if (s->textCut)
      lost << QStringLiteral("Zellen mit mehr als %1 Zeichen wurden gekürzt").arg(MaxCellLength);
    errorText_ = QStringLiteral("Die Datei \"%1\" wurde geschrieben, aber nicht vollständig: %2.")
                     .arg(path, lost.join(QStringLiteral("; ")));
    return false;
  }
  return true;
}

QString XlsWriter::errorText() const { return errorText_; }

}  // namespace orv
