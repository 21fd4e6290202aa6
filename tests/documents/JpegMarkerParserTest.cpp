// clsJPEGasm: the marker walk, the report, the comment list and the rewrite,
// checked against libjpeg's tools and exiftool.
#include "DocumentTestSupport.h"
#include "documents/JpegMarkerParser.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace orv {
namespace {

using testing::ReadBytes;
using testing::RunTool;
using testing::WriteBytes;

const QString kBadMarkers = QStringLiteral("JPEG start (SOI-FFD8) or end markers (EOI-FFD9) not valid !");

class JpegFiles : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString source;  // a 64 x 48 colour JPEG made by Qt, 300 dpi

  void SetUp() override {
    QImage img(64, 48, QImage::Format_RGB32);
    for (int y = 0; y < 48; ++y)
      for (int x = 0; x < 64; ++x) img.setPixel(x, y, qRgb(x * 4, y * 5, (x * y) % 256));
    img.setDotsPerMeterX(11811);
    img.setDotsPerMeterY(11811);
    source = Path(QStringLiteral("source.jpg"));
    ASSERT_TRUE(img.save(source, "JPG", 90));
  }

  QString Path(const QString& name) const { return dir.filePath(name); }

  // The decoded pixels, as djpeg writes them.
  QByteArray Pixels(const QString& jpeg) {
    const auto r = RunTool(QStringLiteral("djpeg"), {QStringLiteral("-ppm"), jpeg});
    EXPECT_EQ(r.exitCode, 0) << r.err.constData();
    return r.out;
  }

  QString Jpegtran(const QStringList& options, const QString& name) {
    const QString out = Path(name);
    const auto r = RunTool(QStringLiteral("jpegtran"), options + QStringList{QStringLiteral("-outfile"), out, source});
    EXPECT_EQ(r.exitCode, 0) << r.err.constData();
    return out;
  }

  // Rewrites what `jpeg` has read from `input` and checks that the picture
  // itself did not change.
  void ExpectRewriteKeepsPixels(const QString& input, clsJPEGasm& jpeg, const QString& outName) {
    ASSERT_EQ(jpeg.SourceFilename(), input);
    ASSERT_TRUE(jpeg.ParsedWithoutProblems()) << jpeg.FullReport().toStdString();
    const QString out = Path(outName);
    ASSERT_TRUE(jpeg.WriteOutJPEGfile(out)) << jpeg.ErrorMsg().toStdString();
    EXPECT_EQ(jpeg.DestinationFilename(), out);
    const QByteArray want = Pixels(input);
    EXPECT_FALSE(want.isEmpty());
    EXPECT_EQ(Pixels(out), want);
  }
};

// Segment names of exiftool's verbose listing, up to the first scan.
QStringList ExiftoolSegments(const QString& path) {
  const auto r = RunTool(QStringLiteral("exiftool"), {QStringLiteral("-v1"), path});
  QStringList out;
  const QRegularExpression line(QStringLiteral("^JPEG (\\w+)(?: \\((\\d+) bytes\\))?"),
                                QRegularExpression::MultilineOption);
  for (auto it = line.globalMatch(QString::fromUtf8(r.out)); it.hasNext();) {
    const auto m = it.next();
    out << m.captured(1) + QLatin1Char(' ') + m.captured(2);
    if (m.captured(1) == QLatin1String("SOS")) break;
  }
  return out;
}

QStringList OurSegments(const clsJPEGasm& jpeg) {
  static const QMap<QString, QString> names = {
      {QStringLiteral("FFE0"), QStringLiteral("APP0")}, {QStringLiteral("FFE1"), QStringLiteral("APP1")},
      {QStringLiteral("FFED"), QStringLiteral("APP13")}, {QStringLiteral("FFDB"), QStringLiteral("DQT")},
      {QStringLiteral("FFC0"), QStringLiteral("SOF0")}, {QStringLiteral("FFC2"), QStringLiteral("SOF2")},
      {QStringLiteral("FFC4"), QStringLiteral("DHT")}, {QStringLiteral("FFDD"), QStringLiteral("DRI")},
      {QStringLiteral("FFFE"), QStringLiteral("COM")}, {QStringLiteral("FFDA"), QStringLiteral("SOS")}};
  QStringList out;
  for (const JpegSegment& s : jpeg.Segments()) {
    const QString name = names.value(s.Marker, s.Marker);
    if (name == QLatin1String("SOS")) {
      out << QStringLiteral("SOS ");
      break;
    }
    out << name + QLatin1Char(' ') + QString::number(s.SegLength - 4);
  }
  return out;
}

TEST_F(JpegFiles, PictureFactsAndReport) {
  clsJPEGasm jpeg;
  ASSERT_TRUE(jpeg.ReadInJPEGfile(source)) << jpeg.ErrorMsg().toStdString();
  EXPECT_TRUE(jpeg.ParsedWithoutProblems());
  EXPECT_EQ(jpeg.XsizePicture(), 64);
  EXPECT_EQ(jpeg.YsizePicture(), 48);
  EXPECT_EQ(jpeg.ColorDepthInBit(), 24);
  EXPECT_EQ(jpeg.ColorDepthAsText(), QStringLiteral("RGB 24 Bit"));
  EXPECT_EQ(jpeg.JPEGVersion(), QStringLiteral("1.01"));
  EXPECT_EQ(jpeg.Resolution(), QStringLiteral("300 x 300 Dots/inch (DPI)"));
  EXPECT_FALSE(jpeg.HasPreview());
  EXPECT_FALSE(jpeg.HasEXIFHeader());
  EXPECT_EQ(jpeg.FileSizeSourceJPEG(), QFileInfo(source).size());
  EXPECT_EQ(jpeg.SourceFilename(), source);
  EXPECT_EQ(OurSegments(jpeg), ExiftoolSegments(source));

  // The segments tile the file from behind SOI up to EOI.
  int32_t pos = 3;
  for (const JpegSegment& s : jpeg.Segments()) {
    EXPECT_EQ(s.StartPos, pos) << s.Marker.toStdString();
    pos += s.SegLength;
  }
  EXPECT_EQ(pos, jpeg.FileSizeSourceJPEG() - 1);
  EXPECT_EQ(jpeg.SegmentCount(), int32_t(jpeg.Segments().size()));

  const QString report = jpeg.FullReport();
  const QString size = QString::number(jpeg.FileSizeSourceJPEG());
  const QString grouped = size.size() > 3 ? size.left(size.size() - 3) + QLatin1Char(',') + size.right(3) : size;
  EXPECT_TRUE(report.startsWith(QStringLiteral("Filename: ") + source + QStringLiteral("\r\nFilesize: ") + grouped +
                                QStringLiteral(" bytes\r\n\r\nStart-Of-Image and End-Of-Image markers are ok\r\n\r\n"
                                               "FFE0 - Application marker (APP0) starts at: 0x3 / 3  Seg.length: 0x10 / 16 bytes\r\n"
                                               "    JPEG version: 1.01\r\n    Resolution: 300 x 300 Dots/inch (DPI)\r\n\r\n"
                                               "FFDB - Quantization table starts at: 0x15 / 21  Seg.length: 0x43 / 67 bytes\r\n\r\n")))
      << report.toStdString();
  EXPECT_TRUE(report.contains(QStringLiteral("FFC0 - Start of frame starts at: ")));
  EXPECT_TRUE(report.contains(QStringLiteral(
      "\r\n  Length: 17 Bytes\r\n  Pic width: 64 pixels\r\n  Pic height: 48 pixels\r\n  Color depth: RGB 24 Bit\r\n\r\n")));
  EXPECT_TRUE(report.endsWith(QStringLiteral("--> File successfully parsed.\r\n\r\n")));
}

TEST_F(JpegFiles, CommentsAreReplacedAndReadByOtherTools) {
  const QString commented = Path(QStringLiteral("commented.jpg"));
  const auto w = RunTool(QStringLiteral("wrjpgcom"), {QStringLiteral("-comment"), QStringLiteral("alt"), source});
  ASSERT_EQ(w.exitCode, 0);
  WriteBytes(commented, w.out);

  clsJPEGasm jpeg;
  ASSERT_TRUE(jpeg.ReadInJPEGfile(commented));
  ASSERT_EQ(jpeg.HowManyComments(), 1);
  EXPECT_EQ(jpeg.Comment(1), QStringLiteral("alt"));  // read to the segment's end, no 0 byte in it
  EXPECT_TRUE(jpeg.FullReport().contains(QStringLiteral("    Comment: 'alt'\r\n")));
  EXPECT_EQ(jpeg.AddComment(QStringLiteral("Punkt 17 gemessen")), 2);
  EXPECT_EQ(jpeg.AddComment(QStringLiteral("Maß Müller")), 3);
  jpeg.Comment(1, QStringLiteral("neu"));
  ExpectRewriteKeepsPixels(commented, jpeg, QStringLiteral("out.jpg"));

  const auto r = RunTool(QStringLiteral("rdjpgcom"), {QStringLiteral("-raw"), Path(QStringLiteral("out.jpg"))});
  QByteArray want;
  for (const QByteArray& c : {QByteArray("neu"), QByteArray("Punkt 17 gemessen"), QByteArray("Ma\xDF M\xFCller")})
    want += c + '\0' + '\n';  // each comment ends with the 0 byte this class writes
  EXPECT_EQ(r.out, want);

  clsJPEGasm back;
  ASSERT_TRUE(back.ReadInJPEGfile(Path(QStringLiteral("out.jpg"))));
  EXPECT_EQ(back.HowManyComments(), 3);
  EXPECT_EQ(back.Comment(3), QStringLiteral("Maß Müller"));
  // All comments stand right behind SOI, the source's comment is gone.
  ASSERT_GE(back.SegmentCount(), 4);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(back.Segments()[size_t(i)].Marker, QStringLiteral("FFFE"));
  EXPECT_EQ(back.Segments()[0].StartPos, 3);

  // Without comments the rewrite is the source without its COM segment.
  back.RemoveAllComments();
  ASSERT_TRUE(back.WriteOutJPEGfile(Path(QStringLiteral("plain.jpg"))));
  EXPECT_EQ(ReadBytes(Path(QStringLiteral("plain.jpg"))), ReadBytes(source));
}

TEST_F(JpegFiles, ProgressiveAndRestartMarkerFiles) {
  {
    const QString progressive = Jpegtran({QStringLiteral("-progressive")}, QStringLiteral("progressive.jpg"));
    clsJPEGasm jpeg;
    jpeg.AddComment(QStringLiteral("lost on reading"));  // reading starts from a cleared state
    ASSERT_TRUE(jpeg.ReadInJPEGfile(progressive));
    ExpectRewriteKeepsPixels(progressive, jpeg, QStringLiteral("progressive-out.jpg"));
    int scans = 0;
    for (const JpegSegment& s : jpeg.Segments()) scans += s.Marker == QLatin1String("FFDA");
    EXPECT_GT(scans, 2);
    EXPECT_EQ(jpeg.HowManyComments(), 0);
    EXPECT_TRUE(jpeg.FullReport().contains(QStringLiteral("FFC2 - Start of frame")));
    EXPECT_EQ(OurSegments(jpeg), ExiftoolSegments(progressive));
    EXPECT_EQ(ReadBytes(Path(QStringLiteral("progressive-out.jpg"))), ReadBytes(progressive));
  }
  {
    const QString restart = Jpegtran({QStringLiteral("-restart"), QStringLiteral("1B")}, QStringLiteral("restart.jpg"));
    const QByteArray bytes = ReadBytes(restart);
    ASSERT_TRUE(bytes.contains("\xFF\xD0") && bytes.contains("\xFF\xD3"));
    clsJPEGasm jpeg;
    ASSERT_TRUE(jpeg.ReadInJPEGfile(restart));
    ExpectRewriteKeepsPixels(restart, jpeg, QStringLiteral("restart-out.jpg"));
    EXPECT_TRUE(jpeg.FullReport().contains(QStringLiteral(
        "FFDD - Restart interval marker starts at: ")));
    EXPECT_TRUE(jpeg.FullReport().contains(QStringLiteral("Seg.length: 0x4 / 4 bytes (always 4 bytes)\r\n")));
    // One scan segment runs over all restart markers up to EOI.
    const JpegSegment& scan = jpeg.Segments().back();
    EXPECT_EQ(scan.Marker, QStringLiteral("FFDA"));
    EXPECT_EQ(scan.StartPos + scan.SegLength, jpeg.FileSizeSourceJPEG() - 1);
    EXPECT_EQ(ReadBytes(Path(QStringLiteral("restart-out.jpg"))), bytes);
  }
}

TEST_F(JpegFiles, ApplicationSegmentsAreDroppedAsChosen) {
  const QString tagged = Path(QStringLiteral("tagged.jpg"));
  QFile::copy(source, tagged);
  const auto t = RunTool(QStringLiteral("exiftool"), {QStringLiteral("-overwrite_original"), QStringLiteral("-Artist=Vermesser"),
                                                      QStringLiteral("-IPTC:Keywords=Grenzpunkt"), tagged});
  ASSERT_EQ(t.exitCode, 0) << t.err.constData();

  clsJPEGasm jpeg;
  ASSERT_TRUE(jpeg.ReadInJPEGfile(tagged));
  EXPECT_TRUE(jpeg.HasEXIFHeader());
  EXPECT_TRUE(jpeg.HasPhotoShopComments());
  EXPECT_EQ(OurSegments(jpeg), ExiftoolSegments(tagged));

  auto markersOf = [](const QString& path) {
    clsJPEGasm j;
    EXPECT_TRUE(j.ReadInJPEGfile(path));
    QStringList m;
    for (const JpegSegment& s : j.Segments()) m << s.Marker;
    return m;
  };
  auto tag = [](const QString& path, const QString& name) {
    return QString::fromUtf8(RunTool(QStringLiteral("exiftool"), {QStringLiteral("-s3"), QStringLiteral("-") + name, path}).out).trimmed();
  };

  jpeg.RemoveAllAppHeaders(true);
  ExpectRewriteKeepsPixels(tagged, jpeg, QStringLiteral("noapp.jpg"));
  QStringList m = markersOf(Path(QStringLiteral("noapp.jpg")));
  EXPECT_FALSE(m.contains(QStringLiteral("FFE0")));
  EXPECT_TRUE(m.contains(QStringLiteral("FFE1")));
  EXPECT_TRUE(m.contains(QStringLiteral("FFED")));
  EXPECT_EQ(tag(Path(QStringLiteral("noapp.jpg")), QStringLiteral("Artist")), QStringLiteral("Vermesser"));

  jpeg.RemoveAllAppHeaders(false);
  jpeg.RemoveExifHeader(true);
  jpeg.RemovePhotoShopHeader(true);
  ASSERT_TRUE(jpeg.WriteOutJPEGfile(Path(QStringLiteral("noexif.jpg"))));
  m = markersOf(Path(QStringLiteral("noexif.jpg")));
  EXPECT_TRUE(m.contains(QStringLiteral("FFE0")));
  EXPECT_FALSE(m.contains(QStringLiteral("FFE1")));
  EXPECT_FALSE(m.contains(QStringLiteral("FFED")));
  EXPECT_EQ(tag(Path(QStringLiteral("noexif.jpg")), QStringLiteral("Artist")), QString());
  EXPECT_EQ(tag(Path(QStringLiteral("noexif.jpg")), QStringLiteral("Keywords")), QString());
  EXPECT_EQ(Pixels(Path(QStringLiteral("noexif.jpg"))), Pixels(source));
}

TEST_F(JpegFiles, Jfif0VariantsFillBytesAndCommentsWithoutZero) {
  QByteArray bytes = ReadBytes(source);
  // Version 1.02, aspect ratio 1 : 1, a 2 x 1 thumbnail announced.
  bytes[11] = 1;
  bytes[12] = 2;
  bytes[13] = 0;
  bytes[14] = 0;
  bytes[15] = 1;
  bytes[16] = 0;
  bytes[17] = 1;
  bytes[18] = 2;
  bytes[19] = 1;
  // A comment without a final 0, then fill bytes before the first
  // quantisation table.
  bytes.insert(20, QByteArray("\xFF\xFF\xFF", 3));
  bytes.insert(20, QByteArray("\xFF\xFE\x00\x06" "abcd", 8));
  const QString crafted = Path(QStringLiteral("crafted.jpg"));
  WriteBytes(crafted, bytes);

  clsJPEGasm jpeg;
  ASSERT_TRUE(jpeg.ReadInJPEGfile(crafted)) << jpeg.ErrorMsg().toStdString();
  EXPECT_EQ(jpeg.JPEGVersion(), QStringLiteral("1.02"));
  EXPECT_EQ(jpeg.Resolution(), QStringLiteral("Aspect ratio width/height = 1 : 1"));
  EXPECT_TRUE(jpeg.HasPreview());
  EXPECT_EQ(jpeg.XsizePreview(), 2);
  EXPECT_EQ(jpeg.YsizePreview(), 1);
  EXPECT_TRUE(jpeg.FullReport().contains(QStringLiteral("    Preview width: 2 pixels\r\n    Preview height: 1 pixels\r\n")));
  ASSERT_EQ(jpeg.HowManyComments(), 1);
  EXPECT_EQ(jpeg.Comment(1), QStringLiteral("abcd"));
  EXPECT_EQ(jpeg.Segments()[2].Marker, QStringLiteral("FFDB"));
  EXPECT_EQ(jpeg.Segments()[2].StartPos, 3 + 18 + 8 + 3);  // behind the fill bytes

  jpeg.RemoveAllComments();
  ASSERT_TRUE(jpeg.WriteOutJPEGfile(Path(QStringLiteral("clean.jpg"))));
  // Neither the comment nor the fill bytes are written back.
  EXPECT_EQ(QFileInfo(Path(QStringLiteral("clean.jpg"))).size(), QFileInfo(source).size());
}

TEST_F(JpegFiles, CommentListRules) {
  clsJPEGasm jpeg;
  EXPECT_EQ(jpeg.AddComment(QString()), 0);
  EXPECT_EQ(jpeg.AddComment(QString(65534, QLatin1Char('x'))), 0);
  EXPECT_EQ(jpeg.HowManyComments(), 0);
  EXPECT_EQ(jpeg.AddComment(QStringLiteral("a")), 1);
  jpeg.Comment(1, QString());
  EXPECT_EQ(jpeg.HowManyComments(), 0);
  EXPECT_EQ(jpeg.Comment(1), QString());
  jpeg.AddComment(QStringLiteral("1"));
  jpeg.AddComment(QStringLiteral("2"));
  jpeg.AddComment(QStringLiteral("3"));
  jpeg.Comment(2, QString());
  EXPECT_EQ(jpeg.HowManyComments(), 2);
  EXPECT_EQ(jpeg.Comment(2), QStringLiteral("3"));
  jpeg.Comment(5, QStringLiteral("ignored"));
  EXPECT_EQ(jpeg.Comment(0), QString());
  EXPECT_EQ(jpeg.Comment(3), QString());

  jpeg.RemoveExifHeader(true);
  ASSERT_TRUE(jpeg.ReadInJPEGfile(source));
  EXPECT_FALSE(jpeg.RemoveExifHeader());  // reading starts from a cleared state
  EXPECT_EQ(jpeg.HowManyComments(), 0);
  jpeg.AddComment(QString(253, QLatin1Char('c')));
  ASSERT_TRUE(jpeg.WriteOutJPEGfile(Path(QStringLiteral("c253.jpg"))));
  const QByteArray out = ReadBytes(Path(QStringLiteral("c253.jpg")));
  EXPECT_EQ(out.left(4), QByteArray("\xFF\xD8\xFF\xFE", 4));
  EXPECT_EQ(out.mid(4, 2), QByteArray("\x01\x00", 2));
  EXPECT_EQ(out.at(4 + 256 - 1), '\0');

  // A comment too long for one segment is refused before any file exists,
  // and an existing destination stays as it was.
  const QString existing = Path(QStringLiteral("existing.jpg"));
  WriteBytes(existing, "keep me");
  EXPECT_EQ(jpeg.AddComment(QString(65533, QLatin1Char('y'))), 2);
  EXPECT_FALSE(jpeg.WriteOutJPEGfile(existing));
  EXPECT_TRUE(jpeg.ErrorMsg().contains(QStringLiteral("too long")));
  EXPECT_EQ(ReadBytes(existing), QByteArray("keep me"));
  EXPECT_FALSE(jpeg.WriteOutJPEGfile(Path(QStringLiteral("new.jpg"))));
  EXPECT_FALSE(QFile::exists(Path(QStringLiteral("new.jpg"))));
  jpeg.Comment(2, QString(65532, QLatin1Char('y')));  // the longest that fits
  EXPECT_TRUE(jpeg.WriteOutJPEGfile(existing)) << jpeg.ErrorMsg().toStdString();
  EXPECT_EQ(RunTool(QStringLiteral("rdjpgcom"), {existing}).exitCode, 0);
  EXPECT_EQ(Pixels(existing), Pixels(source));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral("existing.jpg.")),
            QStringList());  // no temporary file left
}

TEST_F(JpegFiles, RefusedFilesAndWrites) {
  clsJPEGasm jpeg;
  EXPECT_FALSE(jpeg.ReadInJPEGfile(dir.path()));
  EXPECT_EQ(jpeg.ErrorMsg(), QStringLiteral("Not a valid file:  '") + dir.path() + QStringLiteral("' !"));
  const QString missing = Path(QStringLiteral("missing.jpg"));
  EXPECT_FALSE(jpeg.ReadInJPEGfile(missing));
  EXPECT_EQ(jpeg.ErrorMsg(), QStringLiteral("Not a valid file:  '") + missing + QStringLiteral("' !"));

  // 249 bytes are too few; 250 bytes of SOI, one comment and EOI are read.
  QByteArray exact("\xFF\xD8\xFF\xFE\x00\xF4", 6);
  exact += QByteArray(242, 'z');
  exact += "\xFF\xD9";
  ASSERT_EQ(exact.size(), 250);
  const QString small = Path(QStringLiteral("small.jpg"));
  WriteBytes(small, exact.left(247) + "\xFF\xD9");
  EXPECT_FALSE(jpeg.ReadInJPEGfile(small));
  EXPECT_EQ(jpeg.ErrorMsg(), QStringLiteral("To small to be a valid JPEG file:  '") + small + QStringLiteral("' !"));
  WriteBytes(small, exact);
  EXPECT_TRUE(jpeg.ReadInJPEGfile(small)) << jpeg.ErrorMsg().toStdString();
  EXPECT_TRUE(jpeg.ParsedWithoutProblems());
  EXPECT_EQ(jpeg.Comment(1), QString(242, QLatin1Char('z')));

  // Writing needs a successful parse and a name.
  clsJPEGasm empty;
  EXPECT_FALSE(empty.WriteOutJPEGfile(Path(QStringLiteral("x.jpg"))));
  EXPECT_EQ(empty.ErrorMsg(), QStringLiteral("We have not parsed an input file successfully!"));
  EXPECT_FALSE(jpeg.WriteOutJPEGfile(QString()));
  EXPECT_EQ(jpeg.ErrorMsg(), QStringLiteral("We need a valid filename to write to!"));
  const QString nowhere = Path(QStringLiteral("no/such/folder/x.jpg"));
  EXPECT_FALSE(jpeg.WriteOutJPEGfile(nowhere));
  EXPECT_EQ(jpeg.ErrorMsg(), QStringLiteral("Error opening new file '") + nowhere +
                                 QStringLiteral("' to WRITE in procedure 'WriteNewFile()' at class 'clsJPEGasm'"));

  jpeg.Clear();
  EXPECT_EQ(jpeg.ErrorMsg(), QString());
  EXPECT_EQ(jpeg.SegmentCount(), 0);
  EXPECT_EQ(jpeg.FullReport(), QString());
}

TEST_F(JpegFiles, TruncatedAndCorruptFilesGiveErrorTexts) {
  const QByteArray good = ReadBytes(source);
  clsJPEGasm jpeg;

  const QString truncated = Path(QStringLiteral("truncated.jpg"));
  WriteBytes(truncated, good.left(good.size() / 2));
  EXPECT_FALSE(jpeg.ReadInJPEGfile(truncated));
  EXPECT_EQ(jpeg.ErrorMsg(), kBadMarkers);
  EXPECT_EQ(jpeg.FullReport(), QStringLiteral("Filename: ") + truncated + QStringLiteral("\r\nFilesize: ") +
                                   QString::number(good.size() / 2) + QStringLiteral(" bytes\r\n\r\n"));

  // Trailing bytes behind EOI are refused as well.
  WriteBytes(truncated, good + "junk");
  EXPECT_FALSE(jpeg.ReadInJPEGfile(truncated));
  EXPECT_EQ(jpeg.ErrorMsg(), kBadMarkers);

  // Cut in the middle of the scan and closed with EOI: the walk ends on the EOI.
  WriteBytes(truncated, good.left(good.size() - 200) + "\xFF\xD9");
  EXPECT_TRUE(jpeg.ReadInJPEGfile(truncated));
  // Cut inside the header segments: a length field leads past the end.
  WriteBytes(truncated, good.left(300) + "\xFF\xD9");
  EXPECT_FALSE(jpeg.ReadInJPEGfile(truncated));
  EXPECT_TRUE(jpeg.ErrorMsg().endsWith(QStringLiteral("] in procedure 'ParseFile()' at class 'clsJPEGasm'")))
      << jpeg.ErrorMsg().toStdString();
  EXPECT_TRUE(jpeg.ErrorMsg().startsWith(QLatin1Char('[')));
  EXPECT_FALSE(jpeg.WriteOutJPEGfile(Path(QStringLiteral("never.jpg"))));

  // A walk that stops short of EOI is reported and refused for writing.
  QByteArray shortWalk = good;
  shortWalk.insert(shortWalk.size() - 2, QByteArray("\xFF\xEF\x00\x02", 4));  // APP15 behind the scan
  shortWalk.insert(shortWalk.size() - 2, QByteArray(3, '\x11'));
  WriteBytes(truncated, shortWalk);
  EXPECT_TRUE(jpeg.ReadInJPEGfile(truncated)) << jpeg.ErrorMsg().toStdString();
  EXPECT_FALSE(jpeg.ParsedWithoutProblems());
  EXPECT_TRUE(jpeg.FullReport().endsWith(
      QStringLiteral("--> File not successfully parsed! We reached the end, but parts are missing.\r\n\r\n")));
  EXPECT_FALSE(jpeg.WriteOutJPEGfile(Path(QStringLiteral("never.jpg"))));
  EXPECT_EQ(jpeg.ErrorMsg(), QStringLiteral("We have not parsed an input file successfully!"));

  const QString random = Path(QStringLiteral("random.jpg"));
  QRandomGenerator gen(20261208);
  QByteArray noise(1000, '\0');
  for (char& c : noise) c = char(gen.bounded(256));
  noise[0] = 'x';
  WriteBytes(random, noise);
  EXPECT_FALSE(jpeg.ReadInJPEGfile(random));
  EXPECT_EQ(jpeg.ErrorMsg(), kBadMarkers);

  // Random bodies between valid SOI and EOI markers: never a crash, and a
  // failure always explains itself.
  for (int round = 0; round < 300; ++round) {
    QByteArray body(250 + int(gen.bounded(700)), '\0');
    for (char& c : body) c = char(gen.bounded(4) == 0 ? 0xFF : gen.bounded(256));
    body[0] = char(0xFF);
    body[1] = char(0xD8);
    body[body.size() - 2] = char(0xFF);
    body[body.size() - 1] = char(0xD9);
    WriteBytes(random, body);
    if (!jpeg.ReadInJPEGfile(random)) {
      ASSERT_TRUE(jpeg.ErrorMsg().endsWith(QStringLiteral("in procedure 'ParseFile()' at class 'clsJPEGasm'")))
          << jpeg.ErrorMsg().toStdString();
    } else if (jpeg.ParsedWithoutProblems()) {
      ASSERT_TRUE(jpeg.WriteOutJPEGfile(Path(QStringLiteral("random-out.jpg")))) << jpeg.ErrorMsg().toStdString();
    }
  }
}

}  // namespace
}  // namespace orv
