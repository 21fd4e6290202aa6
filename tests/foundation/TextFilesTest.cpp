// The Windows-1252 codec, line reading and writing, whole-file helpers and
// line counting, on real files in a temporary folder.
#include "TempFolderFixture.h"
#include "foundation/FileText.h"
#include "foundation/OrvenilError.h"
#include "foundation/TextLineReader.h"
#include "foundation/TextLineWriter.h"
#include "foundation/Windows1252.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace orv {
namespace {

class TextFiles : public TempFolderTest {
 protected:
  QStringList readLines(const QString& p) const {
    TextLineReader reader(p);
    EXPECT_TRUE(reader.isOpen());
    QStringList lines;
    QString line;
    while (reader.readLine(line)) lines << line;
    EXPECT_TRUE(reader.atEnd());
    return lines;
  }
};

TEST(Windows1252, AllBytesRoundTrip) {
  QByteArray all;
  for (int b = 0; b < 256; ++b) all.append(static_cast<char>(b));
  const QString text = DecodeWindows1252(all);
  ASSERT_EQ(text.size(), 256);
  EXPECT_EQ(EncodeWindows1252(text), all);
  EXPECT_EQ(text[0x80], QChar(0x20AC));
  EXPECT_EQ(text[0x84], QChar(0x201E));
  EXPECT_EQ(text[0x9F], QChar(0x0178));
  EXPECT_EQ(text[0xE4], QChar(u'ä'));
  for (int undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) EXPECT_EQ(text[undefined], QChar(undefined));
}

TEST(Windows1252, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  EXPECT_EQ(EncodeWindows1252(QString::fromUtf16(u"a\u03A9b\u0080\u4E2D")), QByteArray("a?b??"));
  EXPECT_EQ(EncodeWindows1252(QString::fromUtf16(u"\U0001F600")), QByteArray("??"));
  EXPECT_EQ(EncodeWindows1252(QString::fromUtf16(u"Maß €")), QByteArray("Ma\xDF \x80"));
}

TEST_F(TextFiles, LinesEndAtCrLfCrOrLoneLf) {
  EXPECT_EQ(readLines(put("mixed.txt", "a\r\nb\rc\nd")), (QStringList{"a", "b", "c", "d"}));
  EXPECT_EQ(readLines(put("crlf.txt", "a\r\n")), QStringList{"a"});
  EXPECT_EQ(readLines(put("empty.txt", "")), QStringList{});
  EXPECT_EQ(readLines(put("blank.txt", "\n\r\n\r")), (QStringList{"", "", ""}));
  EXPECT_EQ(readLines(put("lfcr.txt", "a\n\rb")), (QStringList{"a", "", "b"}));
  EXPECT_EQ(readLines(put("umlaut.txt", "M\xFCller\r\n")), QStringList{QString::fromUtf16(u"Müller")});
}

TEST_F(TextFiles, LinesAcrossReadBlocks) {
  // A CR LF pair split over two read blocks is one line end; a line longer
  // than a block comes back whole.
  QByteArray bytes(65535, 'x');
  bytes += "\r\nshort\r\n";
  bytes += QByteArray(200000, 'y');
  bytes += "\rlast";
  const QStringList lines = readLines(put("blocks.txt", bytes));
  ASSERT_EQ(lines.size(), 4);
  EXPECT_EQ(lines[0].size(), 65535);
  EXPECT_EQ(lines[1], "short");
  EXPECT_EQ(lines[2], QString(200000, u'y'));
  EXPECT_EQ(lines[3], "last");
  EXPECT_FALSE(TextLineReader(path("missing.txt")).isOpen());
}

TEST_F(TextFiles, WriterEncodesAndEndsLinesWithCrLf) {
  const QString p = path("out.txt");
  {
    TextLineWriter w(p);
    w.writeLine(QString::fromUtf16(u"Höhe;€"));
    w.write(u"a");
    w.writeLine(u"b");
    w.close();
  }
  EXPECT_EQ(bytesOf(p), QByteArray("H\xF6he;\x80\r\nab\r\n"));
  {
    TextLineWriter w(p);
    w.writeLine(u"neu");
  }  // committed by the destructor
  EXPECT_EQ(bytesOf(p), QByteArray("neu\r\n"));
  {
    TextLineWriter w(p);
    w.writeLine(u"verworfen");
    w.discard();
  }
  EXPECT_EQ(bytesOf(p), QByteArray("neu\r\n"));  // the old file stays
  EXPECT_THROW(TextLineWriter(path("no/such/folder/x.txt")), OrvenilError);
}

TEST_F(TextFiles, WholeFileHelpers) {
  const QString p = path("whole.txt");
  WriteFileText(p, QString::fromUtf16(u"eins\r\nzwei ä"));
  EXPECT_EQ(bytesOf(p), QByteArray("eins\r\nzwei \xE4\r\n"));
  EXPECT_EQ(ReadFileText(p), QString::fromUtf16(u"eins\r\nzwei ä\r\n"));
  EXPECT_EQ(ReadFileText(path("missing.txt")), "");
  EXPECT_EQ(ReadFileText(dir_.path()), "");

  QString sep;
  EXPECT_EQ(ReadFileTokens(p, sep), (QStringList{"eins", QString::fromUtf16(u"zwei ä"), ""}));
  EXPECT_EQ(sep, "\r\n");
  sep = " ";
  EXPECT_EQ(ReadFileTokens(p, sep).size(), 2);  // "eins\r\nzwei" and "ä\r\n"
  EXPECT_TRUE(ReadFileTokens(path("missing.txt"), sep).isEmpty());
  EXPECT_TRUE(ReadFileTokens(put("empty.txt", ""), sep).isEmpty());

  EXPECT_EQ(ReadFileLine(p, 0), "");
  EXPECT_EQ(ReadFileLine(p, 1), "eins");
  EXPECT_EQ(ReadFileLine(p, 2), QString::fromUtf16(u"zwei ä"));
  EXPECT_EQ(ReadFileLine(p, 3), "");
  EXPECT_EQ(ReadFileLine(path("missing.txt"), 1), "");
  EXPECT_THROW(WriteFileText(path("no/such/folder/x.txt"), "x"), OrvenilError);
}

TEST_F(TextFiles, CountFileLinesInBothSizeModes) {
  EXPECT_EQ(CountFileLines(put("three.txt", "a\r\nb\r\nc\r\n"), 0), 3);
  EXPECT_EQ(CountFileLines(put("open.txt", "a\r\nb\r\nc"), 0), 2);
  EXPECT_EQ(CountFileLines(put("empty.txt", ""), 0), -1);
  EXPECT_EQ(CountFileLines(put("cr.txt", "a\rb\r"), 0), 0);  // small files count CR LF pairs
  EXPECT_EQ(CountFileLines(path("cr.txt"), 2), 2);           // the block count takes every CR

  // From 1 MiB on the CR characters are counted block by block.
  QByteArray lf;
  QByteArray crlf;
  while (lf.size() < 2 * 1024 * 1024) lf += "1 2 3 4 5\n";
  while (crlf.size() < 1024 * 1024) crlf += "1 2 3 4 5\r\n";
  EXPECT_EQ(CountFileLines(put("lf.txt", lf), 0), 0);
  EXPECT_EQ(CountFileLines(put("crlf.txt", crlf), 0), crlf.count('\n'));
  EXPECT_EQ(CountFileLines(put("crlf-cr.txt", crlf + "\r"), 0), crlf.count('\n') + 1);
  EXPECT_EQ(CountFileLines(path("crlf-cr.txt"), 1), crlf.count('\n'));  // mode 1: pairs only

  try {
    CountFileLines(path("missing.txt"), 0);
    ADD_FAILURE() << "a missing file was counted";
  } catch (const OrvenilError& e) {
    EXPECT_EQ(e.number(), kErrFileNotFound);
  }
}

}  // namespace
}  // namespace orv
