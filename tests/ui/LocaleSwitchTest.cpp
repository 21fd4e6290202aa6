// The separator switch with a replaced probe, its messages, the time stamp
// and the system text.
#include <QLocale>
#include <gtest/gtest.h>

#include "foundation/LocaleSwitch.h"
#include "foundation/SystemInfo.h"
#include "platform/ui/ScriptedDialogService.h"

using namespace orv;

class LocaleSwitchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetLocaleSwitch();
  }
  void TearDown() override {
    SetSeparatorProbe({});
    ResetLocaleSwitch();
  }
  ScopedScriptedDialogs dialogs;
};

TEST_F(LocaleSwitchTest, CommaLocaleIsSwitchedWithMessage) {
  // A comma locale until the switch; afterwards the process's own formatting answers.
  int probes = 0;
  SetSeparatorProbe([&] { return probes++ == 0 ? QStringLiteral("1,1") : ProbeNumberText(); });
  dialogs->expectMessage(QStringLiteral("Das Dezimaltrennzeichen wurde von 'Komma' nach 'Punkt' geändert!   "));
  CheckDecimalSeparator();
  ASSERT_TRUE(dialogs->allDone());
  const RecordedMessage& m = dialogs->messages().first();
  EXPECT_EQ(m.text, QStringLiteral("Das Dezimaltrennzeichen wurde von 'Komma' nach 'Punkt' geändert!   "));
  EXPECT_EQ(m.title, QStringLiteral("Orvenil Ländereinstellung - Dezimaltrennzeichen"));
  EXPECT_EQ(m.icon, MsgIcon::Exclamation);
  EXPECT_EQ(m.buttons, MsgButtons::Ok);
  EXPECT_FALSE(SeparatorsUnchanged());
  EXPECT_EQ(QLocale().toString(1.1), QStringLiteral("1.1"));
  EXPECT_EQ(QLocale().toString(1234567.5, 'f', 1), QStringLiteral("1234567.5"));
}

TEST_F(LocaleSwitchTest, ProbeStillCommaSwitchesAndTellsAgain) {
  SetSeparatorProbe([] { return QStringLiteral("1,1"); });
  dialogs->expectMessage(QStringLiteral("Komma")).expectMessage(QStringLiteral("Komma"));
  CheckDecimalSeparator();
  EXPECT_TRUE(dialogs->allDone());
  // A later call repeats only the second step; the flag is not touched.
  SetSeparatorsUnchanged(true);
  dialogs->expectMessage(QStringLiteral("Komma"));
  CheckDecimalSeparator();
  EXPECT_TRUE(dialogs->allDone());
  EXPECT_TRUE(SeparatorsUnchanged());
}

TEST_F(LocaleSwitchTest, PointLocaleIsLeftAlone) {
  SetSeparatorProbe([] { return QStringLiteral("1.1"); });
  CheckDecimalSeparator();  // any message would fail the scripted service
  EXPECT_TRUE(SeparatorsUnchanged());
  EXPECT_TRUE(dialogs->messages().isEmpty());
}

TEST_F(LocaleSwitchTest, SwitchBackRestoresTheStartLocale) {
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  ResetLocaleSwitch();
  EXPECT_EQ(ProbeNumberText(), QStringLiteral("1,1"));
  EXPECT_TRUE(SetNumberSeparators(QStringLiteral("."), QStringLiteral(" "), true));
  EXPECT_EQ(ProbeNumberText(), QStringLiteral("1.1"));
  EXPECT_TRUE(SetNumberSeparators(QStringLiteral(","), QStringLiteral("."), true));
  EXPECT_EQ(ProbeNumberText(), QStringLiteral("1,1"));
  EXPECT_FALSE(SetNumberSeparators(QStringLiteral(";"), QString(), true));
  ResetLocaleSwitch();
  QLocale::setDefault(QLocale::c());
}

TEST(TimeStamp, DigitsOnlyDayFirst) {
  const QDateTime at(QDate(2026, 3, 7), QTime(21, 5, 9));
  EXPECT_EQ(TimeStampString(at), QStringLiteral("07032026210509"));
  const QString now = TimeStampString();
  EXPECT_EQ(now.size(), 14);
  for (QChar c : now) EXPECT_TRUE(c.isDigit());
}

TEST(SystemText, WordWidthSuffix) {
  EXPECT_EQ(SystemVersionText(QStringLiteral("Debian GNU/Linux 12 (bookworm)"), QStringLiteral("x86_64")),
            QStringLiteral("Debian GNU/Linux 12 (bookworm), 64-bit"));
  EXPECT_EQ(SystemVersionText(QStringLiteral("Linux"), QStringLiteral("arm64")), QStringLiteral("Linux, 64-bit"));
  EXPECT_EQ(SystemVersionText(QStringLiteral("Linux"), QStringLiteral("i386")), QStringLiteral("Linux, 32-bit"));
  const QString here = GetWindowsVersionText();
  EXPECT_TRUE(here.endsWith(QStringLiteral(", 64-bit")) || here.endsWith(QStringLiteral(", 32-bit")));
}
