// clsPDF: paths, colours, free text and inline pictures as content-stream lines.
#include "DocumentTestSupport.h"
#include "documents/PdfNumberText.h"
#include "documents/PdfWriter.h"
#include "foundation/OrvenilError.h"

#include <QImage>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

namespace orv {
namespace {

// What was drawn on the open page: the stream behind the page's text block.
QByteArray Drawn(clsPDF& pdf) {
  const QByteArray s = testing::ContentStreams(pdf.Value()).back();
  return s.mid(s.indexOf("ET\r") + 3);
}

// A writer with an open page and nothing drawn yet.
struct OpenPage : ::testing::Test {
  clsPDF pdf;
  void SetUp() override { pdf.PrintLine(QString()); }
};

TEST(PdfNumbers, RoundedToThousandthsWithoutLocale) {
  EXPECT_EQ(FormatPdfNumber(80.0f), "80");
  EXPECT_EQ(FormatPdfNumber(0.5f), "0.5");
  EXPECT_EQ(FormatPdfNumber(-2.5f), "-2.5");
  EXPECT_EQ(FormatPdfNumber(1.0f / 3.0f), "0.333");
  EXPECT_EQ(FormatPdfNumber(0.0625f), "0.063");     // exact half: towards +infinity
  EXPECT_EQ(FormatPdfNumber(-0.0625f), "-0.062");
  EXPECT_EQ(FormatPdfNumber(-0.0004f), "0");
  EXPECT_EQ(FormatPdfNumber(0.1f), "0.1");
  EXPECT_EQ(FormatPdfNumber(12345.678f), "12345.678");
  EXPECT_EQ(PlainSingleText(595.2756f), "595.2756");
  EXPECT_EQ(PlainSingleText(-0.0f), "0");
  EXPECT_EQ(PlainSingleText(782.0f), "782");
}

TEST_F(OpenPage, BoxesOfOneModeArePaintedTogether) {
  pdf.DrawBox(100, 100, 50, 20, 0);
  pdf.DrawBox(10, 10, 5, 5, 0);
  pdf.DrawBox(0, 0, 1, 1, -1);
  EXPECT_EQ(Drawn(pdf), "100 722 50 20 re\r10 827 5 5 re\rS\r0 841 1 1 re\rf\r");
}

TEST_F(OpenPage, LinesFormOnePathStrokedOnce) {
  pdf.DrawLine(0, 0, 10, 10);
  pdf.DrawLineTo(20, 0);
  pdf.MoveTo(20, 0);  // where the path stands: nothing to write
  pdf.DrawLineTo(30, 10);
  EXPECT_EQ(Drawn(pdf), "0 842 m 10 832 l\r20 842 l\r30 832 l\rS\r");
}

TEST_F(OpenPage, MoveToAlwaysStartsAPathAfterPaintingAndAtPageStart) {
  // At page start no current point exists, so (0, 0) must be written.
  pdf.MoveTo(0, 0);
  pdf.DrawLineTo(10, 0);
  pdf.DrawShape(0);
  pdf.MoveTo(10, 0);  // the painted path left no current point
  pdf.DrawLineTo(10, 10);
  pdf.DrawShape(2);
  EXPECT_EQ(Drawn(pdf), "0 842 m\r10 842 l\rS\r10 842 m\r10 832 l\rs\r");

  clsPDF fresh;
  fresh.DropBlankPages(false);
  fresh.PageStarted = [&] {
    fresh.MoveTo(0, 0);
    fresh.DrawLineTo(5, 5);
    fresh.DrawShape(0);
  };
  fresh.NewPage();
  EXPECT_TRUE(testing::ContentStreams(fresh.Value())[0].startsWith("S\r0 842 m\r5 837 l\rS\rBT\r"));
}

TEST_F(OpenPage, CurvesAndBoxesMoveTheCurrentPoint) {
  pdf.MoveTo(0, 0);
  pdf.DrawCurveTo(1, 1, 2, 2, 3, 3);
  pdf.MoveTo(0, 0);  // back to the start: must be written
  pdf.DrawLineTo(3, 3);
  EXPECT_EQ(Drawn(pdf), "0 842 m\r1 841 2 840 3 839 c\r0 842 m\r3 839 l\r");
}

TEST_F(OpenPage, CircleIsFourCurvesPaintedAtOnce) {
  pdf.DrawCircle(100, 100, 10, 1);
  const QByteArray d = Drawn(pdf);
  EXPECT_EQ(d.count(" m\r"), 1);
  EXPECT_EQ(d.count(" c\r"), 4);
  EXPECT_TRUE(d.startsWith("100 732 m\r105.523 732 110 736.477 110 742 c\r"));
  EXPECT_TRUE(d.endsWith("100 732 c\rb\r"));
}

TEST_F(OpenPage, TextAtAPointPlainAndRotated) {
  pdf.DrawText(50, 100, QStringLiteral("(x)"));
  pdf.DrawText(50, 100, QStringLiteral("up"), float(M_PI / 2));
  pdf.DrawText(50, 100, QStringLiteral("down"), float(-M_PI / 2));
  EXPECT_EQ(Drawn(pdf),
            "BT\r/F1 10 Tf\r50 742 Td\r(\\(x\\)) Tj\rET\r"
            "BT\r/F1 10 Tf\r0 1 -1 0 50 742 Tm\r(up) Tj\rET\r"
            "BT\r/F1 10 Tf\r0 -1 1 0 50 742 Tm\r(down) Tj\rET\r");
}

TEST_F(OpenPage, ColoursAndWidthPrecedeTheNextLine) {
  pdf.DrawColor(0x0000FF);  // red
  pdf.FillColor(0x808080);
  pdf.DrawWidth(2.5f);
  pdf.DrawBox(0, 0, 1, 1, 1);
  pdf.DrawShape(1);
  EXPECT_EQ(Drawn(pdf), "1 0 0 RG\r0.502 g\r2.5 w\r0 841 1 1 re\rb\r");
}

TEST(PdfDrawing, SettingsAreWrittenAgainInEveryContentStream) {
  clsPDF pdf;
  pdf.DrawColor(0xFF0000);
  pdf.FillColor(0x00FF00);
  pdf.PrintLine(QStringLiteral("page 1"));
  pdf.DrawBox(0, 0, 10, 10, -1);
  pdf.NewPage();
  pdf.DrawBox(0, 0, 10, 10, -1);  // drawn between pages: lands on page 2
  pdf.PrintLine(QStringLiteral("page 2"));
  pdf.DrawBox(20, 0, 10, 10, -1);
  const auto streams = testing::ContentStreams(pdf.Value());
  ASSERT_EQ(streams.size(), 2u);
  EXPECT_TRUE(streams[0].contains("0 g\rBT\r"));
  EXPECT_TRUE(streams[0].contains("ET\r0 0 1 RG\r0 1 0 rg\r0 832 10 10 re\r"));
  EXPECT_TRUE(streams[1].startsWith("0 0 1 RG\r0 1 0 rg\r0 832 10 10 re\r"));
  // The page text turns the fill black; drawings after it get their colour back.
  EXPECT_TRUE(streams[1].contains("ET\r0 0 1 RG\r0 1 0 rg\r20 832 10 10 re\r"));
}

TEST(PdfPicture, PaddedWidthsAndHeader) {
  QImage img(3, 2, QImage::Format_RGB32);
  img.fill(Qt::black);
  clsPDF pdf;
  pdf.PrintLine(QString());
  pdf.DrawPicture4(10, 20, 30, 40, img, true);
  pdf.DrawPicture2(10, 20, 30, 40, img, false);
  pdf.DrawPicture1(10, 20, 30, 40, img, true);
  pdf.DrawPicture(10, 20, 30, 40, img, false);
  const QByteArray d = Drawn(pdf);
  EXPECT_TRUE(d.startsWith("q\r30 0 0 40 10 782 cm\rBI\r/W 4\r/H 2\r/BPC 4\r/CS /G\r"));
  EXPECT_TRUE(d.contains("/W 4\r/H 2\r/BPC 2\r/CS /RGB\r"));
  EXPECT_TRUE(d.contains("/W 8\r/H 2\r/BPC 1\r/CS /G\r"));
  EXPECT_TRUE(d.contains("/W 3\r/H 2\r/BPC 8\r/CS /RGB\r"));
  EXPECT_EQ(d.count("EI\rQ\r"), 4);
}

TEST(PdfPicture, SamplesPackedRawOrRunLengthEncoded) {
  clsPDF pdf;
  pdf.PrintLine(QString());
  // 1 x 1 grey: one raw byte is shorter than any encoding.
  QImage dot(1, 1, QImage::Format_RGB32);
  dot.setPixel(0, 0, qRgb(255, 0, 0));
  pdf.DrawPicture(0, 0, 1, 1, dot, true);
  EXPECT_EQ(Drawn(pdf), "q\r1 0 0 1 0 841 cm\rBI\r/W 1\r/H 1\r/BPC 8\r/CS /G\rID \x4D\rEI\rQ\r");

  // 3 x 1 at 4 bits RGB, padded to 4 pixels of which the last is white;
  // half-transparent black lies over white as mid grey.
  clsPDF pdf4;
  pdf4.PrintLine(QString());
  QImage row(3, 1, QImage::Format_ARGB32);
  row.setPixel(0, 0, qRgba(0xFF, 0x12, 0x34, 255));
  row.setPixel(1, 0, qRgba(0, 0, 0, 128));
  row.setPixel(2, 0, qRgba(0x00, 0xAB, 0xCD, 255));
  pdf4.DrawPicture4(0, 0, 4, 1, row, false);
  const QByteArray d = Drawn(pdf4);
  const qsizetype id = d.indexOf("ID ");
  ASSERT_GE(id, 0);
  // Samples: F 1 3 | 7 7 7 | 0 A C | F F F
  EXPECT_EQ(d.mid(id + 3, 6), QByteArray("\xF1\x37\x77\x0A\xCF\xFF", 6));
  EXPECT_FALSE(d.contains("/F /RL"));

  // A large even area is encoded and ends with the filter's end-of-data byte.
  clsPDF pdfRl;
  pdfRl.PrintLine(QString());
  QImage plain(200, 10, QImage::Format_RGB32);
  plain.fill(qRgb(50, 50, 50));
  pdfRl.DrawPicture(0, 0, 200, 10, plain, false);
  const QByteArray e = Drawn(pdfRl);
  EXPECT_TRUE(e.contains("/CS /RGB\r/F /RL\rID "));
  EXPECT_TRUE(e.endsWith("\x80\rEI\rQ\r"));
}

TEST(PdfPicture, NegativeSizeMirrorsInTheSameBox) {
  QImage img(2, 2, QImage::Format_RGB32);
  img.fill(Qt::white);
  clsPDF pdf;
  pdf.PrintLine(QString());
  pdf.DrawPicture(10, 20, -30, -40, img, true);
  EXPECT_TRUE(Drawn(pdf).startsWith("q\r-30 0 0 -40 40 822 cm\r"));
}

TEST(PdfPicture, FilesAndBadPictures) {
  QTemporaryDir dir;
  const QString png = dir.filePath(QStringLiteral("p.png"));
  QImage img(2, 1, QImage::Format_RGB32);
  img.fill(Qt::white);
  ASSERT_TRUE(img.save(png));
  clsPDF pdf;
  pdf.PrintLine(QString());
  pdf.DrawPicture1(0, 0, 2, 1, png, true);
  EXPECT_TRUE(Drawn(pdf).contains("/W 8\r/H 1\r/BPC 1\r/CS /G\rID \xFF\rEI\r"));

  const QByteArray before = pdf.Value();
  try {
    pdf.DrawPicture(0, 0, 1, 1, dir.filePath(QStringLiteral("none.png")), false);
    FAIL() << "no error";
  } catch (const OrvenilError& e) {
    EXPECT_EQ(e.number(), 481);
  }
  EXPECT_THROW(pdf.DrawPicture2(0, 0, 1, 1, QImage(), false), OrvenilError);
  EXPECT_EQ(pdf.Value(), before);  // nothing written for a picture refused
}

}  // namespace
}  // namespace orv
