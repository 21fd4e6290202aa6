// clsPDF: document structure, pages, text lines, snapshots and files.
#include "documents/PdfWriter.h"

#include "documents/PdfNumberText.h"
#include "foundation/FileErrorReason.h"
#include "foundation/OrvenilError.h"
#include "foundation/Windows1252.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <limits>

namespace orv {

namespace {

constexpr int kErrFileAccess = 75;

// Portrait paper sizes A0 … A7 in points: 2384 and 3371 halved with integer
// division, so A4 is 596 wide.
constexpr int kPaperWidths[8] = {2384, 1685, 1192, 842, 596, 421, 298, 210};
constexpr int kPaperHeights[8] = {3371, 2384, 1685, 1192, 842, 596, 421, 298};

[[noreturn]] void ThrowOverflow() { throw OrvenilError(kErrOverflow, QStringLiteral("Überlauf")); }

int32_t CheckedAdd(int32_t a, int64_t b) {
  const int64_t r = int64_t(a) + b;
  if (r > std::numeric_limits<int32_t>::max()) ThrowOverflow();
  return static_cast<int32_t>(r);
}

}  // namespace

clsPDF::clsPDF() {
  st_.dropBlankPages = true;
  st_.fontSize = 10;
  st_.newPageString = QString(QChar(12));
  PaperSize(5);
  st_.linesPerPage = 72;
  st_.leftMargin = 80;
  st_.topMargin = 60;
  FillMode(0);
  st_.pageObjects.assign(16 + 1, 0);
  st_.objectOffsets.assign(64 + 1, 0);
  Clear(0, 0);
}

// ---------------------------------------------------------------- properties

void clsPDF::Color(int32_t colour) {
  DrawColor(colour);
  FillColor(colour);
}

void clsPDF::DrawColor(int32_t colour) {
  if (colour == st_.drawColor) return;
  st_.drawColor = colour;
  FlushPaintOperator();
  st_.strokeColorPending = true;
  Invalidate();
}

void clsPDF::DrawWidth(float width) {
  if (width == st_.drawWidth) return;
  st_.drawWidth = width;
  FlushPaintOperator();
  st_.lineWidthPending = true;
  Invalidate();
}

void clsPDF::DropBlankPages(bool drop) { st_.dropBlankPages = drop; }

void clsPDF::FillColor(int32_t colour) {
  if (colour == st_.fillColor) return;
  st_.fillColor = colour;
  FlushPaintOperator();
  st_.fillColorPending = true;
  Invalidate();
}

void clsPDF::FillMode(int32_t mode) {
  st_.fillMode = mode;
  FlushPaintOperator();
  SelectPaintOperator(mode);
  Invalidate();
}

void clsPDF::FontSize(int16_t size) { st_.fontSize = size; }

float clsPDF::PageHeight() const { return st_.orientation == 0 ? st_.paperHeight : st_.paperWidth; }

float clsPDF::Height() const { return PageHeight(); }

void clsPDF::Height(float points) {
  st_.paperHeight = points;
  st_.paperSize = 0;
  Invalidate();
}

float clsPDF::Width() const { return st_.orientation == 0 ? st_.paperWidth : st_.paperHeight; }

void clsPDF::Width(float points) {
  st_.paperWidth = points;
  st_.paperSize = 0;
  Invalidate();
}

void clsPDF::LeftMargin(float points) { st_.leftMargin = points; }
void clsPDF::TopMargin(float points) { st_.topMargin = points; }
void clsPDF::LinesPerPage(int16_t count) { st_.linesPerPage = count; }
void clsPDF::NewPageString(const QString& text) { st_.newPageString = text; }

void clsPDF::Orientation(int32_t orientation) {
  st_.orientation = orientation;
  Invalidate();
}

void clsPDF::PaperSize(int32_t code) {
  st_.paperSize = code;
  if (code >= 1 && code <= 8) {
    st_.paperWidth = float(kPaperWidths[code - 1]);
    st_.paperHeight = float(kPaperHeights[code - 1]);
  }
  Invalidate();
}

// ------------------------------------------------------------------ buffers

void clsPDF::AppendToDocument(const char* data, size_t size) {
  const int32_t newLength = CheckedAdd(st_.documentLength, int64_t(size));
  if (size_t(newLength) > document_.size()) document_.resize(document_.size() + size_t(newLength), ' ');
  std::memcpy(document_.data() + st_.documentLength, data, size);
  st_.documentLength = newLength;
  Invalidate();
}

void clsPDF::WriteDocumentLine(const QByteArray& line) {
  AppendToDocument(line);
  AppendToDocument("\r", 1);
}

void clsPDF::AppendToGraphics(const char* data, size_t size) {
  const int32_t newLength = CheckedAdd(st_.graphicsLength, int64_t(size));
  if (size_t(newLength) > graphics_.size()) graphics_.resize(graphics_.size() + size_t(newLength), ' ');
  std::memcpy(graphics_.data() + st_.graphicsLength, data, size);
  st_.graphicsLength = newLength;
  Invalidate();
}

// ------------------------------------------------------------------ objects

void clsPDF::BeginObject() {
  st_.objectCount = CheckedAdd(st_.objectCount, 1);
  if (size_t(st_.objectCount) >= st_.objectOffsets.size())
    st_.objectOffsets.resize(size_t(st_.objectCount) * 2 + 1, 0);
  st_.objectOffsets[size_t(st_.objectCount)] = st_.documentLength;
  WriteDocumentLine(IntegerText(st_.objectCount) + " 0 obj");
}

void clsPDF::ReserveObject() { st_.objectCount = CheckedAdd(st_.objectCount, 1); }

void clsPDF::BeginReservedObject(int32_t number) {
  if (size_t(number) >= st_.objectOffsets.size()) st_.objectOffsets.resize(size_t(number) * 2 + 1, 0);
  st_.objectOffsets[size_t(number)] = st_.documentLength;
  WriteDocumentLine(IntegerText(number) + " 0 obj");
}

void clsPDF::BeginDictObject() {
  BeginObject();
  WriteDocumentLine("<<");
}

void clsPDF::EndDictObject() {
  WriteDocumentLine(">>");
  WriteDocumentLine("endobj");
}

// ----------------------------------------------------------------- document

void clsPDF::Clear(int16_t fontSize, int16_t linesPerPage) {
  if (fontSize != 0) st_.fontSize = fontSize;
  if (linesPerPage != 0) st_.linesPerPage = linesPerPage;
  st_.pageCount = 0;
  st_.lineNumber = 0;
  st_.objectCount = 0;
  st_.documentLength = 0;
  st_.graphicsLength = 0;
  WriteDocumentHeader();
  SetPaintOperator("");
  // Whatever was drawn before is gone, and with it the colour operators it
  // carried and the path it was building.
  MarkGraphicsStatePending();
  st_.hasCurrentPoint = false;
}

void clsPDF::WriteDocumentHeader() {
  Invalidate();
  WriteDocumentLine("%PDF-1.1");
  WriteDocumentLine(QByteArray("%\xE2\xE3\xCF\xD3"));
  BeginDictObject();
  const QByteArray date = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1();
  WriteDocumentLine("/CreationDate (D:" + date + ")");
  WriteDocumentLine("/Producer (Pelmaro)");
  EndDictObject();
  BeginDictObject();
  WriteDocumentLine("/Type /Catalog");
  WriteDocumentLine("/Pages 3 0 R");
  EndDictObject();
  ReserveObject();  // 3: the page tree, written with every snapshot
  BeginDictObject();
  WriteDocumentLine("/Type /Font");
  WriteDocumentLine("/Subtype /Type1");
  WriteDocumentLine("/Name /F1");
  WriteDocumentLine("/BaseFont /Courier");
  WriteDocumentLine("/Encoding /WinAnsiEncoding");
  EndDictObject();
  BeginDictObject();
  WriteDocumentLine("/Font << /F1 4 0 R >>");
  WriteDocumentLine("/ProcSet [ /PDF /Text ]");
  EndDictObject();
}

void clsPDF::MarkGraphicsStatePending() {
  if (st_.drawWidth != 0) st_.lineWidthPending = true;
  if (st_.drawColor != 0) st_.strokeColorPending = true;
  if (st_.fillColor != 0) st_.fillColorPending = true;
}

void clsPDF::StartPage() {
  st_.pageCount = CheckedAdd(st_.pageCount, 1);
  if (size_t(st_.pageCount) >= st_.pageObjects.size()) st_.pageObjects.resize(size_t(st_.pageCount) * 2 + 1, 0);

  BeginDictObject();
  st_.pageObjects[size_t(st_.pageCount)] = st_.objectCount;
  WriteDocumentLine("/Type /Page");
  WriteDocumentLine("/Parent 3 0 R");
  WriteDocumentLine("/Resources 5 0 R");
  WriteDocumentLine("/Contents " + IntegerText(int64_t(st_.objectCount) + 1) + " 0 R");
  EndDictObject();

  BeginDictObject();
  WriteDocumentLine("/Length " + IntegerText(int64_t(st_.objectCount) + 1) + " 0 R");
  WriteDocumentLine(">>");
  // The keyword must end with CR LF or LF; a lone CR would count as data.
  AppendToDocument("stream\r\n", 8);
  st_.streamStart = st_.documentLength;

  MarkGraphicsStatePending();
  SetPaintOperator("");
  st_.hasCurrentPoint = false;

  if (PageStarted) PageStarted();

  FlushPaintOperator();
  AppendToDocument(graphics_.data(), size_t(st_.graphicsLength));
  st_.graphicsLength = 0;

  if (st_.fillColor != 0) {
    WriteDocumentLine("0 g");  // page text is black
    st_.fillColorPending = true;  // drawings after the text use the fill colour again
  }
  WriteDocumentLine("BT");
  WriteDocumentLine("/F1 " + IntegerText(st_.fontSize) + " Tf");
  WriteDocumentLine(PlainSingleText(st_.leftMargin) + " " + PlainSingleText(PageHeight() - st_.topMargin) +
                    " Td");
  WriteDocumentLine(IntegerText(st_.fontSize) + " TL");
}

void clsPDF::EndPage() {
  WriteDocumentLine("ET");
  if (PageFinished) PageFinished();
  FlushPaintOperator();
  AppendToDocument(graphics_.data(), size_t(st_.graphicsLength));
  st_.graphicsLength = 0;
  st_.hasCurrentPoint = false;
  MarkGraphicsStatePending();

  const int32_t streamLength = st_.documentLength - st_.streamStart;
  WriteDocumentLine("endstream");
  WriteDocumentLine("endobj");
  BeginObject();
  WriteDocumentLine(IntegerText(streamLength));
  WriteDocumentLine("endobj");
  st_.lineNumber = 0;
  Invalidate();
}

void clsPDF::WriteDocumentTrailer() {
  BeginReservedObject(3);
  WriteDocumentLine("<<");
  WriteDocumentLine("/Type /Pages");
  WriteDocumentLine("/Count " + IntegerText(st_.pageCount));
  const bool portrait = st_.orientation == 0;
  const float w = portrait ? st_.paperWidth : st_.paperHeight;
  const float h = portrait ? st_.paperHeight : st_.paperWidth;
  WriteDocumentLine("/MediaBox [0 0 " + PlainSingleText(w) + " " + PlainSingleText(h) + "]");
  QByteArray kids = "/Kids [ ";
  for (int32_t k = 1; k <= st_.pageCount; ++k) kids += IntegerText(st_.pageObjects[size_t(k)]) + " 0 R ";
  kids += "]";
  WriteDocumentLine(kids);
  WriteDocumentLine(">>");
  WriteDocumentLine("endobj");

  const int32_t xref = st_.documentLength;
  WriteDocumentLine("xref");
  WriteDocumentLine("0 " + IntegerText(int64_t(st_.objectCount) + 1));
  // Every entry is exactly 20 bytes: ten digits, blank, five digits, blank,
  // keyword, blank, CR.
  WriteDocumentLine("0000000000 65535 f ");
  for (int32_t n = 1; n <= st_.objectCount; ++n) {
    const QByteArray offset = ("000000000" + IntegerText(st_.objectOffsets[size_t(n)])).right(10);
    WriteDocumentLine(offset + " 00000 n ");
  }
  WriteDocumentLine("trailer");
  WriteDocumentLine("<<");
  WriteDocumentLine("/Size " + IntegerText(int64_t(st_.objectCount) + 1));
  WriteDocumentLine("/Root 2 0 R");
  WriteDocumentLine("/Info 1 0 R");
  WriteDocumentLine(">>");
  WriteDocumentLine("startxref");
  WriteDocumentLine(IntegerText(xref));
  WriteDocumentLine("%%EOF");
  st_.snapshotCurrent = true;
}

// --------------------------------------------------------------------- text

QByteArray clsPDF::EscapePdfText(const QString& text) {
  QString s = replacer_.replace(text, QStringLiteral("\\"), QStringLiteral("\\\\"), 1, -1, 0);
  s = replacer_.replace(s, QStringLiteral("("), QStringLiteral("\\("), 1, -1, 0);
  s = replacer_.replace(s, QStringLiteral(")"), QStringLiteral("\\)"), 1, -1, 0);
  return EncodeWindows1252(s);
}

void clsPDF::PrintLine(const QString& text) {
  // Only an open page can be full; a LinesPerPage below 1 never ends a page.
  if (st_.lineNumber != 0 && st_.lineNumber == st_.linesPerPage) EndPage();
  if (st_.lineNumber == 0) StartPage();
  if (st_.lineNumber == std::numeric_limits<int16_t>::max()) ThrowOverflow();
  WriteDocumentLine("(" + EscapePdfText(text) + ")'");
  ++st_.lineNumber;
  Invalidate();
}

void clsPDF::NewPage(int16_t fontSize, int16_t linesPerPage) {
  if (fontSize != 0) st_.fontSize = fontSize;
  if (linesPerPage != 0) st_.linesPerPage = linesPerPage;
  if (st_.lineNumber != 0) {
    EndPage();
  } else if (!st_.dropBlankPages) {
    StartPage();
    EndPage();
  }
}

namespace {

QString DetectLineSeparator(const QString& text, const QString& fallback) {
  static const QString kCandidates[] = {QStringLiteral("\r\n"), QStringLiteral("\n\r"), QStringLiteral("\r\r"),
                                        QStringLiteral("\n"), QStringLiteral("\r")};
  for (const QString& sep : kCandidates)
    if (text.contains(sep)) return sep;
  return fallback;
}

}  // namespace

void clsPDF::PrintText(const QString& text) {
  const QString separator = DetectLineSeparator(text, QStringLiteral("\r\n"));
  const QStringList pieces = text.split(separator, Qt::KeepEmptyParts);
  for (const QString& piece : pieces) {
    if (piece == st_.newPageString)
      NewPage(0, 0);
    else
      PrintLine(piece);
  }
}

void clsPDF::PrintFile(const QString& path) {
  QString text;
  const QFileInfo info(path);
  if (info.exists() && info.isFile() && info.size() > 0) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
      throw OrvenilError(kErrFileAccess, QStringLiteral("Pfad/Datei-Zugriffsfehler: '%1'").arg(path));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
      throw OrvenilError(kErrFileAccess, QStringLiteral("Pfad/Datei-Zugriffsfehler: '%1'").arg(path));
    text = DecodeWindows1252(bytes);
  }
  PrintText(text);
}

// ------------------------------------------------------- snapshot and files

QByteArray clsPDF::Value() {
  if (!st_.snapshotCurrent) {
    // Finish a copy of the document: close the open page, write the page tree,
    // cross-reference table and trailer behind it, then return to the state
    // before, so that the page continues with its drawings and pending
    // operators and later output overwrites the snapshot's tail.
    const State saved = st_;
    const std::string savedGraphics(graphics_.data(), size_t(st_.graphicsLength));
    if (st_.lineNumber != 0) EndPage();
    WriteDocumentTrailer();
    const int32_t snapshotLength = st_.documentLength;
    st_ = saved;
    graphics_.replace(0, savedGraphics.size(), savedGraphics);
    st_.graphicsLength = int32_t(savedGraphics.size());
    st_.snapshotLength = snapshotLength;
    st_.snapshotCurrent = true;
  }
  return QByteArray(document_.data(), st_.snapshotLength);
}

void clsPDF::SavePDF(const QString& path) {
  const QByteArray doc = Value();
  QSaveFile file(path);
  // The device's buffer is written before the commit, which alone would put
  // the file in place even when that last write failed.
  errno = 0;
  bool ok = file.open(QIODevice::WriteOnly) && file.write(doc) == doc.size() && file.flush();
  int errorNumber = errno;
  if (ok) {
    errno = 0;
    ok = file.commit();
    errorNumber = errno;
  }
  if (!ok)
    throw OrvenilError(kErrFileAccess, QStringLiteral("Pfad/Datei-Zugriffsfehler: '%1': ").arg(path) +
                                           FileErrorReason(errorNumber, file));
}

}  // namespace orv
