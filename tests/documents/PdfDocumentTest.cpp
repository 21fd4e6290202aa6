// clsPDF: the document structure, pages of text lines, snapshots and files.
#include "DocumentTestSupport.h"
#include "documents/PdfWriter.h"
#include "foundation/OrvenilError.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace orv {
namespace {

using testing::CheckCrossReference;
using testing::ContentStreams;

QByteArray CreationDate(const QByteArray& pdf) {
  const qsizetype p = pdf.indexOf("/CreationDate (D:");
  return pdf.mid(p + 17, 14);
}

int CountOf(const QByteArray& hay, const QByteArray& needle) { return int(hay.count(needle)); }

TEST(PdfDocument, OneLineDocumentIsExact) {
  clsPDF pdf;
  pdf.PrintLine(QStringLiteral("abc"));
  const QByteArray doc = pdf.Value();
  const QByteArray date = CreationDate(doc);
  EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{14}$")).match(QString::fromLatin1(date)).hasMatch());

  QByteArray head = "%PDF-1.1\r%\xE2\xE3\xCF\xD3\r";
  head += "1 0 obj\r<<\r/CreationDate (D:" + date + ")\r/Producer (Pelmaro)\r>>\rendobj\r";
  head += "2 0 obj\r<<\r/Type /Catalog\r/Pages 3 0 R\r>>\rendobj\r";
  head += "4 0 obj\r<<\r/Type /Font\r/Subtype /Type1\r/Name /F1\r/BaseFont /Courier\r"
          "/Encoding /WinAnsiEncoding\r>>\rendobj\r";
  head += "5 0 obj\r<<\r/Font << /F1 4 0 R >>\r/ProcSet [ /PDF /Text ]\r>>\rendobj\r";
  const QByteArray stream = "S\rBT\r/F1 10 Tf\r80 782 Td\r10 TL\r(abc)'\rET\r";
  QByteArray page = "6 0 obj\r<<\r/Type /Page\r/Parent 3 0 R\r/Resources 5 0 R\r/Contents 7 0 R\r>>\rendobj\r";
  page += "7 0 obj\r<<\r/Length 8 0 R\r>>\rstream\r\n" + stream + "endstream\rendobj\r";
  page += "8 0 obj\r" + QByteArray::number(stream.size()) + "\rendobj\r";
  const QByteArray tree = "3 0 obj\r<<\r/Type /Pages\r/Count 1\r/MediaBox [0 0 596 842]\r/Kids [ 6 0 R ]\r>>\rendobj\r";
  const QByteArray body = head + page + tree;
  ASSERT_TRUE(doc.startsWith(body)) << doc.constData();

  const QByteArray tail = doc.mid(body.size());
  EXPECT_TRUE(tail.startsWith("xref\r0 9\r0000000000 65535 f \r"));
  EXPECT_TRUE(tail.endsWith("trailer\r<<\r/Size 9\r/Root 2 0 R\r/Info 1 0 R\r>>\rstartxref\r" +
                            QByteArray::number(body.size()) + "\r%%EOF\r"));
  EXPECT_EQ(tail.size(), 5 + 4 + 9 * 20 + qsizetype(strlen("trailer\r<<\r/Size 9\r/Root 2 0 R\r/Info 1 0 R\r>>\rstartxref\r")) +
                             QByteArray::number(body.size()).size() + 1 + 6);
  EXPECT_EQ(CheckCrossReference(doc), QString());
  EXPECT_FALSE(doc.contains('\n') && doc.indexOf('\n') != doc.indexOf("stream\r\n") + 7);
}

TEST(PdfDocument, PagesHoldLinesPerPageLines) {
  clsPDF pdf;
  for (int i = 1; i <= 72; ++i) pdf.PrintLine(QStringLiteral("line %1").arg(i));
  EXPECT_EQ(pdf.PageNumber(), 1);
  EXPECT_EQ(pdf.LineNumber(), 72);
  pdf.PrintLine(QStringLiteral("line 73"));
  EXPECT_EQ(pdf.PageNumber(), 2);
  EXPECT_EQ(pdf.LineNumber(), 1);
  const QByteArray doc = pdf.Value();
  EXPECT_TRUE(doc.contains("/Kids [ 6 0 R 9 0 R ]"));
  const auto streams = ContentStreams(doc);
  ASSERT_EQ(streams.size(), 2u);
  EXPECT_TRUE(streams[0].contains("(line 72)'"));
  EXPECT_TRUE(streams[1].contains("(line 73)'"));
  EXPECT_EQ(CheckCrossReference(doc), QString());

  // Clear starts afresh with a new font size and page length.
  pdf.Clear(12, 3);
  for (int i = 0; i < 4; ++i) pdf.PrintLine(QStringLiteral("x"));
  EXPECT_EQ(pdf.PageNumber(), 2);
  EXPECT_TRUE(ContentStreams(pdf.Value())[0].contains("/F1 12 Tf\r80 782 Td\r12 TL\r"));
}

TEST(PdfDocument, TextIsEscapedAndWrittenInTheAnsiCodePage) {
  clsPDF pdf;
  pdf.PrintLine(QStringLiteral("a(b)c\\d"));
  pdf.PrintLine(QStringLiteral("Maß 5 € – ok ☃"));
  const QByteArray s = ContentStreams(pdf.Value())[0];
  EXPECT_TRUE(s.contains("(a\\(b\\)c\\\\d)'\r"));
  EXPECT_TRUE(s.contains("(Ma\xDF 5 \x80 \x96 ok ?)'\r"));
}

TEST(PdfDocument, PrintTextSplitsAtTheFirstKindOfSeparatorFound) {
  clsPDF pdf;
  pdf.PrintText(QStringLiteral("x\r\ny\r\n"));
  EXPECT_EQ(pdf.LineNumber(), 3);
  pdf.PrintText(QStringLiteral("p\nq"));
  EXPECT_EQ(pdf.LineNumber(), 5);
  pdf.PrintText(QString());
  EXPECT_EQ(pdf.LineNumber(), 6);
  const QByteArray s = ContentStreams(pdf.Value())[0];
  EXPECT_TRUE(s.contains("(x)'\r(y)'\r()'\r(p)'\r(q)'\r()'\r"));

  // Lines of only a form feed start new pages; one inside a line is text.
  clsPDF paged;
  paged.PrintText(QStringLiteral("one\r\n\f\r\ntwo\fthree"));
  EXPECT_EQ(paged.PageNumber(), 2);
  const auto streams = ContentStreams(paged.Value());
  ASSERT_EQ(streams.size(), 2u);
  EXPECT_TRUE(streams[1].contains("(two\fthree)'"));
}

TEST(PdfDocument, PageWithoutLineLimitEndsInAnOverflowError) {
  clsPDF pdf;
  pdf.LinesPerPage(0);
  for (int i = 0; i < 32767; ++i) pdf.PrintLine(QStringLiteral("z"));
  EXPECT_EQ(pdf.PageNumber(), 1);
  try {
    pdf.PrintLine(QStringLiteral("z"));
    FAIL() << "no overflow";
  } catch (const OrvenilError& e) {
    EXPECT_EQ(e.number(), kErrOverflow);
  }
  EXPECT_EQ(testing::CheckCrossReference(pdf.Value()), QString());
}

TEST(PdfDocument, BlankPagesAreDroppedOrKept) {
  clsPDF pdf;
  pdf.NewPage();
  EXPECT_EQ(pdf.PageNumber(), 0);
  pdf.DropBlankPages(false);
  pdf.NewPage();
  EXPECT_EQ(pdf.PageNumber(), 1);
  pdf.PrintLine(QStringLiteral("a"));
  pdf.NewPage(14, 20);  // ends the open page; the new size holds from the next one
  EXPECT_EQ(pdf.PageNumber(), 2);
  EXPECT_EQ(pdf.LineNumber(), 0);
  pdf.PrintLine(QStringLiteral("b"));
  const auto streams = ContentStreams(pdf.Value());
  ASSERT_EQ(streams.size(), 3u);
  EXPECT_TRUE(streams[0].contains("BT\r/F1 10 Tf"));
  EXPECT_TRUE(streams[2].contains("BT\r/F1 14 Tf\r80 782 Td\r14 TL\r(b)'"));
}

TEST(PdfDocument, PaperSizeAndOrientation) {
  clsPDF pdf;
  pdf.Orientation(1);
  EXPECT_EQ(pdf.Height(), 596.0f);
  EXPECT_EQ(pdf.Width(), 842.0f);
  pdf.PrintLine(QStringLiteral("x"));
  QByteArray doc = pdf.Value();
  EXPECT_TRUE(doc.contains("/MediaBox [0 0 842 596]"));
  EXPECT_TRUE(doc.contains("80 536 Td"));

  clsPDF sized;
  sized.Height(500);
  EXPECT_EQ(sized.PaperSize(), 0);
  sized.PaperSize(9);
  EXPECT_EQ(sized.Height(), 500.0f);
  EXPECT_EQ(sized.Width(), 596.0f);
  sized.PaperSize(8);
  EXPECT_EQ(sized.Width(), 210.0f);
  EXPECT_EQ(sized.Height(), 298.0f);
  sized.Width(595.3f);
  sized.TopMargin(10.25f);
  sized.PrintLine(QStringLiteral("x"));
  doc = sized.Value();
  EXPECT_TRUE(doc.contains("/MediaBox [0 0 595.3 298]"));
  EXPECT_TRUE(doc.contains("80 287.75 Td"));
}

TEST(PdfDocument, ValueIsASnapshotAndTheOpenPageContinues) {
  clsPDF pdf;
  int finished = 0;
  pdf.PageFinished = [&] { ++finished; };
  pdf.PrintLine(QStringLiteral("first"));
  pdf.DrawBox(10, 10, 20, 20, 0);
  const QByteArray one = pdf.Value();
  EXPECT_EQ(pdf.Value(), one);  // unchanged: no second trailer
  EXPECT_EQ(CountOf(one, "\rxref\r"), 1);
  EXPECT_EQ(pdf.LineNumber(), 1);
  EXPECT_EQ(pdf.PageNumber(), 1);

  pdf.PrintLine(QStringLiteral("second"));
  const QByteArray two = pdf.Value();
  EXPECT_EQ(CheckCrossReference(two), QString());
  const auto streams = ContentStreams(two);
  ASSERT_EQ(streams.size(), 1u);
  EXPECT_TRUE(streams[0].contains("(first)'\r(second)'\rET\r"));
  // The box drawn before the first snapshot is still on the page.
  EXPECT_TRUE(streams[0].contains("10 812 20 20 re\rS\r"));

  // A drawing on the open page changes the document.
  pdf.DrawLine(0, 0, 5, 5);
  const QByteArray three = pdf.Value();
  EXPECT_NE(three, two);
  EXPECT_TRUE(ContentStreams(three)[0].contains("0 842 m 5 837 l"));
  EXPECT_EQ(finished, 3);  // once per snapshot of the open page
}

TEST(PdfDocument, PrintFileAndSavePdf) {
  QTemporaryDir dir;
  clsPDF pdf;
  pdf.PrintFile(dir.filePath(QStringLiteral("missing.txt")));
  EXPECT_EQ(pdf.LineNumber(), 1);
  EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("missing.txt"))));

  testing::WriteBytes(dir.filePath(QStringLiteral("in.txt")), "Gau\xDF-Kr\xFCger\r\nzwei");
  pdf.PrintFile(dir.filePath(QStringLiteral("in.txt")));
  EXPECT_EQ(pdf.LineNumber(), 3);
  EXPECT_TRUE(ContentStreams(pdf.Value())[0].contains("()'\r(Gau\xDF-Kr\xFCger)'\r(zwei)'\r"));

  const QString out = dir.filePath(QStringLiteral("out.pdf"));
  pdf.SavePDF(out);
  EXPECT_EQ(testing::ReadBytes(out), pdf.Value());
  EXPECT_THROW(pdf.SavePDF(dir.filePath(QStringLiteral("no/such/folder/x.pdf"))), OrvenilError);
}

}  // namespace
}  // namespace orv
