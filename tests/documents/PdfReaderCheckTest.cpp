// clsPDF documents judged by real readers: qpdf and poppler.
#include "DocumentTestSupport.h"
#include "documents/PdfWriter.h"

#include <QImage>
#include <cmath>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace orv {
namespace {

using testing::RunTool;

class PdfReaders : public ::testing::Test {
 protected:
  QTemporaryDir dir;

  QString Save(clsPDF& pdf, const QString& name) {
    const QString path = dir.filePath(name);
    pdf.SavePDF(path);
    return path;
  }

  // Every reader must accept the file without a word of complaint.
  void ExpectAccepted(const QString& path) {
    const auto check = RunTool(QStringLiteral("qpdf"), {QStringLiteral("--check"), path});
    EXPECT_EQ(check.exitCode, 0) << check.out.constData() << check.err.constData();
    const QStringList pdfinfo = {path};
    const QStringList pdftotext = {path, QStringLiteral("-")};
    for (const auto& [tool, args] : {std::pair{QStringLiteral("pdfinfo"), pdfinfo},
                                     std::pair{QStringLiteral("pdftotext"), pdftotext}}) {
      const auto r = RunTool(tool, args);
      EXPECT_EQ(r.exitCode, 0) << tool.toStdString();
      EXPECT_TRUE(r.err.isEmpty()) << tool.toStdString() << ": " << r.err.constData();
    }
  }

  QString Info(const QString& path) {
    return QString::fromLatin1(RunTool(QStringLiteral("pdfinfo"), {path}).out);
  }

  // Page `page` rendered at 72 dpi: one pixel per point.
  QImage Render(const QString& path, int page) {
    const QString prefix = dir.filePath(QStringLiteral("render%1").arg(page));
    const auto r = RunTool(QStringLiteral("pdftoppm"),
                           {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-f"), QString::number(page),
                            QStringLiteral("-l"), QString::number(page), QStringLiteral("-singlefile"), path, prefix});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_FALSE(r.err.contains("Syntax Error")) << r.err.constData();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.constData();
    return QImage(prefix + QStringLiteral(".ppm"));
  }
};

// True when the pixel is within a few units of the colour in every channel.
::testing::AssertionResult Near(const QImage& img, int x, int y, QRgb want) {
  const QRgb got = img.pixel(x, y);
  const int d = std::max({std::abs(qRed(got) - qRed(want)), std::abs(qGreen(got) - qGreen(want)),
                          std::abs(qBlue(got) - qBlue(want))});
  if (d <= 6) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "pixel " << x << "," << y << " is " << std::hex << got << ", want "
                                       << want;
}

TEST_F(PdfReaders, TextPagesAreReadBack) {
  clsPDF pdf;
  for (int i = 1; i <= 75; ++i) pdf.PrintLine(QStringLiteral("Punkt %1 4531234.5678 5678901.2345").arg(i));
  pdf.PrintLine(QStringLiteral("Klammern (a) \\ und Umlaute äöü ß €"));
  const QString path = Save(pdf, QStringLiteral("text.pdf"));
  ExpectAccepted(path);
  const QString info = Info(path);
  EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\n")))) << info.toStdString();
  EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Page size:\\s+596 x 842 pts")))) << info.toStdString();
  EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("PDF version:\\s+1.1"))));
  EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Producer:\\s+Pelmaro"))));

  const auto text = RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
  const QStringList lines = QString::fromUtf8(text.out).split(QLatin1Char('\n'));
  EXPECT_TRUE(lines.contains(QStringLiteral("Punkt 1 4531234.5678 5678901.2345")));
  EXPECT_TRUE(lines.contains(QStringLiteral("Punkt 72 4531234.5678 5678901.2345")));
  const qsizetype feed = text.out.indexOf('\f');
  ASSERT_GT(feed, 0);
  const QString page2 = QString::fromUtf8(text.out.mid(feed + 1));
  EXPECT_TRUE(page2.startsWith(QStringLiteral("Punkt 73 4531234.5678")));
  EXPECT_TRUE(page2.contains(QStringLiteral("Klammern (a) \\ und Umlaute äöü ß €")));
}

TEST_F(PdfReaders, LandscapeAndSnapshotOfAnOpenPage) {
  clsPDF pdf;
  pdf.Orientation(1);
  pdf.PrintLine(QStringLiteral("quer"));
  pdf.DrawBox(10, 10, 30, 30, -1);
  const QString early = dir.filePath(QStringLiteral("early.pdf"));
  pdf.SavePDF(early);
  pdf.PrintLine(QStringLiteral("weiter"));
  const QString path = Save(pdf, QStringLiteral("landscape.pdf"));
  for (const QString& p : {early, path}) {
    ExpectAccepted(p);
    EXPECT_TRUE(Info(p).contains(QRegularExpression(QStringLiteral("Page size:\\s+842 x 596 pts"))));
  }
  const QImage img = Render(path, 1);
  ASSERT_EQ(img.width(), 842);
  EXPECT_TRUE(Near(img, 25, 25, qRgb(0, 0, 0)));  // the box survived the snapshot
  const auto text = RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
  EXPECT_TRUE(text.out.contains("quer\nweiter"));
}

TEST_F(PdfReaders, DrawingsArePaintedWhereTheyWereAsked) {
  clsPDF pdf;
  pdf.PrintLine(QStringLiteral("Zeichnung"));
  pdf.FillColor(0x0000FF);  // red
  pdf.DrawBox(100, 100, 50, 20, -1);
  pdf.DrawColor(0xFF0000);  // blue
  pdf.DrawWidth(3);
  pdf.MoveTo(0, 0);  // from the page corner
  pdf.DrawLineTo(300, 300);
  pdf.DrawShape(0);
  pdf.FillColor(0x00FF00);
  pdf.DrawCircle(400, 500, 40, -1);
  pdf.FontSize(20);
  pdf.DrawText(100, 400, QStringLiteral("Marke"));
  const QString path = Save(pdf, QStringLiteral("drawing.pdf"));
  ExpectAccepted(path);
  const QImage img = Render(path, 1);
  ASSERT_EQ(img.size(), QSize(596, 842));
  EXPECT_TRUE(Near(img, 125, 110, qRgb(255, 0, 0)));
  EXPECT_TRUE(Near(img, 95, 110, qRgb(255, 255, 255)));
  EXPECT_TRUE(Near(img, 155, 110, qRgb(255, 255, 255)));
  EXPECT_TRUE(Near(img, 3, 3, qRgb(0, 0, 255)));       // the line starts at the corner
  EXPECT_TRUE(Near(img, 150, 150, qRgb(0, 0, 255)));
  EXPECT_TRUE(Near(img, 400, 500, qRgb(0, 255, 0)));   // inside the circle
  EXPECT_TRUE(Near(img, 400, 545, qRgb(255, 255, 255)));

  // The text's baseline lies on the point given, not one line below it.
  const auto box = RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), path, QStringLiteral("-")});
  const QRegularExpression word(QStringLiteral("yMin=\"([0-9.]+)\" xMax=\"[0-9.]+\" yMax=\"([0-9.]+)\">Marke<"));
  const auto m = word.match(QString::fromUtf8(box.out));
  ASSERT_TRUE(m.hasMatch()) << box.out.constData();
  const double yMin = m.captured(1).toDouble();
  const double yMax = m.captured(2).toDouble();
  EXPECT_LT(yMin, 400.0);
  EXPECT_GT(yMax, 400.0);
  EXPECT_LT(yMax, 408.0);
}

TEST_F(PdfReaders, InlineImagesRawAndRunLengthEncoded) {
  const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255), green = qRgb(0, 255, 0), yellow = qRgb(255, 255, 0);
  // A 2 x 2 bitmap of four colours: the raw bytes are shorter than an encoding.
  QImage small(2, 2, QImage::Format_RGB32);
  small.setPixel(0, 0, red);
  small.setPixel(1, 0, blue);
  small.setPixel(0, 1, green);
  small.setPixel(1, 1, yellow);
  // A 40 x 40 bitmap of grey areas with a red block: long runs, so encoded.
  QImage large(40, 40, QImage::Format_RGB32);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) {
      const int level = (y < 20 ? 0 : 128) + (x < 20 ? 0 : 64);
      large.setPixel(x, y, qRgb(level, level, level));
    }
  for (int y = 25; y < 35; ++y)
    for (int x = 25; x < 35; ++x) large.setPixel(x, y, red);

  clsPDF pdf;
  pdf.PrintLine(QStringLiteral("Bilder"));
  pdf.DrawPicture(100, 100, 80, 80, small, false);
  pdf.DrawPicture(300, 100, 80, 80, large, false);
  pdf.DrawPicture4(100, 300, 80, 80, small, false);
  pdf.DrawPicture1(300, 300, 60, 60, QImage(small).scaled(6, 6), true);  // padded to 8 white columns
  QImage grey(40, 40, QImage::Format_RGB32);
  grey.fill(qRgb(128, 128, 128));
  pdf.DrawPicture2(100, 500, 80, 80, grey, true);
  const QByteArray doc = pdf.Value();
  const auto streams = testing::ContentStreams(doc);
  ASSERT_EQ(streams.size(), 1u);
  const QByteArray s = streams[0];
  const qsizetype firstRl = s.indexOf("/F /RL\r");
  EXPECT_GT(firstRl, s.indexOf("/W 40\r/H 40\r/BPC 8\r/CS /RGB\r"));
  EXPECT_LT(s.indexOf("/W 2\r/H 2\r/BPC 8\r/CS /RGB\rID "), firstRl);
  const QString path = Save(pdf, QStringLiteral("images.pdf"));
  ExpectAccepted(path);
  const QImage img = Render(path, 1);
  EXPECT_TRUE(Near(img, 120, 120, red));
  EXPECT_TRUE(Near(img, 160, 120, blue));
  EXPECT_TRUE(Near(img, 120, 160, green));
  EXPECT_TRUE(Near(img, 160, 160, yellow));
  EXPECT_TRUE(Near(img, 320, 120, qRgb(0, 0, 0)));
  EXPECT_TRUE(Near(img, 360, 120, qRgb(64, 64, 64)));
  EXPECT_TRUE(Near(img, 320, 160, qRgb(128, 128, 128)));
  EXPECT_TRUE(Near(img, 360, 175, qRgb(192, 192, 192)));
  EXPECT_TRUE(Near(img, 360, 160, red));
  // 4 bits: full channels stay full.
  EXPECT_TRUE(Near(img, 120, 320, red));
  EXPECT_TRUE(Near(img, 160, 360, yellow));
  // 1-bit grey from the top bit of each channel: the colours turn black, the
  // two padding columns (x 345 … 360) are white.
  EXPECT_TRUE(Near(img, 305, 305, qRgb(0, 0, 0)));
  EXPECT_TRUE(Near(img, 340, 355, qRgb(0, 0, 0)));
  EXPECT_TRUE(Near(img, 355, 330, qRgb(255, 255, 255)));
  // 2-bit grey: 128 keeps its top bit, sample 2 of 3.
  EXPECT_TRUE(Near(img, 140, 540, qRgb(170, 170, 170)));
}

TEST_F(PdfReaders, EmptyAndBlankPageDocuments) {
  clsPDF empty;
  const QString path = Save(empty, QStringLiteral("empty.pdf"));
  const auto check = RunTool(QStringLiteral("qpdf"), {QStringLiteral("--check"), path});
  EXPECT_NE(check.exitCode, 2) << check.out.constData();  // no pages, but no damage

  clsPDF blank;
  blank.DropBlankPages(false);
  blank.NewPage();
  blank.NewPage();
  const QString blankPath = Save(blank, QStringLiteral("blank.pdf"));
  ExpectAccepted(blankPath);
  EXPECT_TRUE(Info(blankPath).contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\n"))));
}

// Huge pages and coordinates are written as plain decimals, which every reader
// takes; the exponent form ("1.234568e+08") is not a PDF number.
TEST_F(PdfReaders, LargeNumbersStayPlainDecimals) {
  for (int e = 7; e <= 15; ++e) {
    const float big = 1.2345678f * std::pow(10.0f, float(e));
    clsPDF pdf;
    pdf.Width(big);
    pdf.Height(big);
    pdf.PrintLine(QStringLiteral("Punkt %1").arg(e));
    pdf.DrawLine(big / 4, big / 5, big / 6, big / 7);
    const QString path = Save(pdf, QStringLiteral("big%1.pdf").arg(e));
    ExpectAccepted(path);
    const auto text = RunTool(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
    EXPECT_TRUE(text.out.contains(QStringLiteral("Punkt %1").arg(e).toLatin1())) << e;
  }
}

}  // namespace
}  // namespace orv
