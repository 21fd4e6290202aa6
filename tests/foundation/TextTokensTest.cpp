// Field splitting, blank handling and the small text helpers.
#include "foundation/FastReplace.h"
#include "foundation/RepairUmlauts.h"
#include "foundation/StringBuilder.h"
#include "foundation/TextTokens.h"
#include "foundation/TimeText.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(GetToken, NumbersFieldsFromOneAndTrimsOnlyBlanks) {
  EXPECT_EQ(GetToken("a; b ;c", 2, ";"), "b");
  EXPECT_EQ(GetToken("a;;b", 2, ";"), "");  // empty middle field
  EXPECT_EQ(GetToken("a;;b", 3, ";"), "b");
  EXPECT_EQ(GetToken("a;b", 3, ";"), "");   // missing field
  EXPECT_EQ(GetToken("a;b", 0, ";"), "");
  EXPECT_EQ(GetToken("a;b", -1, ";"), "");
  EXPECT_EQ(GetToken("a;b;", 3, ";"), "");  // trailing separator: empty last field
  EXPECT_EQ(GetToken("", 1, ";"), "");
  EXPECT_EQ(GetToken(" x ", 1, ""), "x");
  EXPECT_EQ(GetToken(" x ", 2, ""), "");
  EXPECT_EQ(GetToken("\t1 2 \t", 1, ";"), "\t1 2 \t");  // tabs stay, inner blanks stay
  EXPECT_EQ(GetToken("A;a", 2, "A"), ";a");              // exact, case-sensitive separator
}

TEST(GetToken, SeparatorOfSeveralCharacters) {
  const QString line = "S_LAT    50.5 S_LAT 51";
  EXPECT_EQ(GetToken(line, 1, "S_LAT"), "");
  EXPECT_EQ(GetToken(line, 2, "S_LAT"), "50.5");
  EXPECT_EQ(GetToken(line, 3, "S_LAT"), "51");
  EXPECT_EQ(GetToken("1<>2<>3", 2, "<>"), "2");
  EXPECT_EQ(GetToken("1<><>3", 3, "<>"), "3");
}

TEST(GetToken, LastAndFromEnd) {
  EXPECT_EQ(GetLastToken("c:\\dir\\file.pkt", "\\"), "file.pkt");
  EXPECT_EQ(GetLastToken("/home/u/file.pkt", "/"), "file.pkt");
  EXPECT_EQ(GetLastToken("file.pkt", "."), "pkt");
  EXPECT_EQ(GetLastToken("", "."), "");
  EXPECT_EQ(GetLastToken("noext", "."), "noext");
  EXPECT_EQ(GetLastToken("a;", ";"), "");
  EXPECT_EQ(GetTokenFromEnd("a b c", 1, " "), "c");
  EXPECT_EQ(GetTokenFromEnd("a b c", 3, " "), "a");
  EXPECT_EQ(GetTokenFromEnd("a b c", 4, " "), "");
  EXPECT_EQ(GetTokenFromEnd("a b c", 0, " "), "");
  EXPECT_EQ(GetTokenFromEnd("", 1, " "), "");
}

TEST(SplitFields, EmptyTextHasNoFieldAndEmptySeparatorOne) {
  EXPECT_TRUE(SplitFields("", ";").isEmpty());
  EXPECT_EQ(SplitFields("a;b", ""), QStringList{"a;b"});
  EXPECT_EQ(SplitFields(";", ";"), (QStringList{"", ""}));
}

TEST(FileNames, BaseNameAndMidFromRight) {
  EXPECT_EQ(GetFileBaseName("c:\\a\\b.pkt", "\\", "."), "b");
  EXPECT_EQ(GetFileBaseName("/data/a.txt.txt", "/", "."), "a");
  EXPECT_EQ(GetFileBaseName("/data/noext", "/", "."), "noext");
  EXPECT_EQ(GetFileBaseName("/data/x.tar.gz", "/", "."), "x.tar");
  EXPECT_EQ(MidFromRight("file.pkt", 1, 4), ".pkt");
  EXPECT_EQ(MidFromRight("file.pkt", 5, 4), "file");
  EXPECT_EQ(MidFromRight("ab", 1, 4), "ab");
  EXPECT_EQ(MidFromRight("ab", 3, 1), "");
  EXPECT_EQ(MidFromRight("ab", 0, 1), "");
}

TEST(FindListIndex, FirstItemContainedInTheText) {
  const QStringList items{"X-SN", "Y-SN"};
  EXPECT_EQ(FindListIndex(items, "Y-SN"), 1);
  EXPECT_EQ(FindListIndex(items, "Wert X-SN und Y-SN"), 0);
  EXPECT_EQ(FindListIndex(items, "nichts"), 0);
  EXPECT_EQ(FindListIndex(items, "y-sn"), 0);  // case-sensitive
}

TEST(ReplaceRepeated, RepeatsUntilGoneAndNeverHangs) {
  EXPECT_EQ(ReplaceRepeated("a     b", "  ", " "), "a b");
  EXPECT_EQ(ReplaceRepeated("aaab", "ab", "b"), "b");
  EXPECT_EQ(ReplaceRepeated("abc", "", "x"), "abc");       // empty find
  EXPECT_EQ(ReplaceRepeated("a b", " ", "  "), "a  b");     // replacement rebuilds find: one pass
  EXPECT_EQ(ReplaceRepeated("xx", "x", "x"), "xx");
}

TEST(TrimSpaces, CollapsesBlankRunsButNotTabs) {
  for (auto trim : {&TrimSpaces, &TrimSpacesFast}) {
    EXPECT_EQ(trim("  a   b  "), "a b");
    EXPECT_EQ(trim("a\t\tb"), "a\t\tb");
    EXPECT_EQ(trim(" \t a  \t"), "\t a \t");
    EXPECT_EQ(trim("     "), "");
    EXPECT_EQ(trim(""), "");
  }
  EXPECT_EQ(TrimBlanks("\t x \t"), "\t x \t");
  EXPECT_EQ(TrimBlanks("  x  "), "x");
  EXPECT_EQ(TrimLeadingBlanks("  x  "), "x  ");
  EXPECT_EQ(TrimTrailingBlanks("  x  "), "  x");
}

TEST(IsDigitText, OnlyAsciiDigits) {
  EXPECT_TRUE(IsDigitText("12"));
  EXPECT_TRUE(IsDigitText("0815"));
  EXPECT_FALSE(IsDigitText(""));
  EXPECT_FALSE(IsDigitText("1a"));
  EXPECT_FALSE(IsDigitText("-1"));
  EXPECT_FALSE(IsDigitText(" 1"));
  EXPECT_FALSE(IsDigitText(QString::fromUtf16(u"\u0661")));  // Arabic-Indic one
}

TEST(FastReplace, StartCountAndCaseBlindComparison) {
  EXPECT_EQ(FastReplace("a  b  c", "  ", " "), "a b c");
  EXPECT_EQ(FastReplace("aXbXc", "X", "--", 1, 1, 0), "a--bXc");
  EXPECT_EQ(FastReplace("aXbXc", "X", "", 3, -1, 0), "aXbc");  // text before start is kept
  EXPECT_EQ(FastReplace("aXbXc", "X", "Y", 10, -1, 0), "aXbXc");
  EXPECT_EQ(FastReplace("aXbxc", "x", "_", 1, -1, 1), "a_b_c");
  EXPECT_EQ(FastReplace("aXbxc", "x", "_", 1, -1, 0), "aXb_c");
  EXPECT_EQ(FastReplace("abc", "", "_"), "abc");
  EXPECT_EQ(FastReplace("aaa", "a", "aa"), "aaaaaa");
  EXPECT_EQ(FastReplace("(x)", "(", "\\("), "\\(x)");
  // The shared buffer is reused: an earlier long result must not leak into a short one.
  EXPECT_EQ(FastReplace(QString(5000, 'a'), "a", "bb").size(), 10000);
  EXPECT_EQ(FastReplace("ab", "a", "c"), "cb");
  FastReplaceBuffer own;
  EXPECT_EQ(own.replace("a\\b", "\\", "\\\\", 1, -1, 0), "a\\\\b");
}

TEST(TimeText, HoursMinutesSecondsBothWays) {
  EXPECT_DOUBLE_EQ(HmsToSeconds("12:30:15,5", ":"), 12 * 3600 + 30 * 60 + 15.5);
  EXPECT_DOUBLE_EQ(HmsToSeconds("12:30", ":"), 12 * 3600 + 30 * 60);
  EXPECT_DOUBLE_EQ(HmsToSeconds(" 1 : 2 : 3.25 ", ":"), 3723.25);
  EXPECT_DOUBLE_EQ(HmsToSeconds("x", ":"), 0.0);
  EXPECT_EQ(FormatSecondsAsTime(3600 + 120 + 3.9, "hh:nn:ss"), "01:02:03");
  EXPECT_EQ(FormatSecondsAsTime(3600 + 120 + 3.9, "hhnnsss"), "0102039");
  EXPECT_EQ(FormatSecondsAsTime(3600 + 120 + 3.9, "h:nn:ss.s"), "1:02:03.9");
  EXPECT_EQ(FormatSecondsAsTime(59.96, "h:nn:ss.s"), "0:00:60.0");  // no carry into the minutes
  EXPECT_EQ(FormatSecondsAsTime(36 * 3600.0, "hh:nn:ss"), "36:00:00");
}

TEST(RepairUmlauts, RepairsEveryOriginInOrder) {
  QString t = "Stra~e gr}n";
  EXPECT_EQ(RepairUmlauts(t), "Straße grün");
  EXPECT_EQ(t, "Straße grün");  // in place as well
  // UTF-8 read byte by byte as Windows-1252
  QString utf8 = QString::fromUtf16(u"\u00C3\u00BC \u00C3\u201E \u00C3\u2013 \u00C3\u0178 \u00E2\u20AC\u201C");
  EXPECT_EQ(RepairUmlauts(utf8), QString::fromUtf16(u"ü Ä Ö ß \u2013"));
  // DOS code page 850 bytes read as Windows-1252
  QString dos = QString::fromUtf16(u"\u017D\u0161\u2122\u201E\u0081\u201D\u00E1\u001A");
  EXPECT_EQ(RepairUmlauts(dos), "ÄÜÖäüöß");
}

TEST(StringBuilder, GrowsGeometricallyAndReturnsOnlyWhatWasAdded) {
  clsString s;
  EXPECT_EQ(s.Result(), "");
  QString expected;
  for (int i = 0; i < 150; ++i) {
    const QChar c(u'a' + i % 26);
    s.Add(QString(c));
    expected += c;
  }
  EXPECT_EQ(s.Capacity(), 201);
  EXPECT_EQ(s.Result(), expected);
  s.Add("");
  s.Add(QString(500, u'x'));
  EXPECT_EQ(s.Result(), expected + QString(500, u'x'));
  s.Reset();
  EXPECT_EQ(s.Result(), "");
  s.Add("  ");
  EXPECT_EQ(s.Result(), "  ");

  clsConcat c;
  c.Concat("ab");
  c.Concat("c");
  EXPECT_EQ(c.Value(), "abc");
  EXPECT_EQ(c.Length(), 3);
  c.Clear();
  EXPECT_EQ(c.Value(), "");
}

}  // namespace
}  // namespace orv
