// The progress display: its percentage rules without a window, and the window
// drawn only when the whole percentage rises.
#include <QLabel>
#include <gtest/gtest.h>

#include "platform/ui/ProgressWindow.h"
#include "platform/ui/ScriptedDialogService.h"

using namespace orv;

TEST(ProgressRules, PercentageClampingAndMemory) {
  // 45.4 % rounds down, 45.5 % up; min is not subtracted.
  EXPECT_EQ(DecideProgress(5448, 0, 12000, 0).percent, 45);
  EXPECT_EQ(DecideProgress(5460, 0, 12000, 0).percent, 46);
  EXPECT_EQ(DecideProgress(60, 50, 100, 0).percent, 60);
  // cur below min counts as min, above max as max.
  EXPECT_EQ(DecideProgress(10, 50, 100, 0).percent, 50);
  EXPECT_EQ(DecideProgress(500, 0, 100, 0).percent, 100);

  // Not above the remembered value: nothing.
  const ProgressStep same = DecideProgress(30, 0, 100, 30);
  EXPECT_FALSE(same.show);
  EXPECT_FALSE(same.draw);
  EXPECT_EQ(same.nextLastPercent, 30);

  // cur 0 gives 0 % and changes nothing.
  EXPECT_FALSE(DecideProgress(0, 0, 100, 0).show);

  // max 0 or less: 100 %, the window shows, nothing is drawn or remembered.
  const ProgressStep empty = DecideProgress(5, 0, 0, 0);
  EXPECT_EQ(empty.percent, 100);
  EXPECT_TRUE(empty.show);
  EXPECT_FALSE(empty.draw);
  EXPECT_EQ(empty.nextLastPercent, 0);

  // 100 % is drawn and the memory starts again at 0.
  const ProgressStep full = DecideProgress(100, 0, 100, 99);
  EXPECT_TRUE(full.draw);
  EXPECT_EQ(full.nextLastPercent, 0);
}

class ProgressWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ReleaseStatusForm();
  }
  void TearDown() override { ReleaseStatusForm(); }
  ScopedScriptedDialogs dialogs;
};

TEST_F(ProgressWindowTest, DrawsOnlyWhenThePercentageRises) {
  for (int cur : {1, 1, 2, 2, 3}) ShowProgress(cur, 0, 100, true, QStringLiteral(" Zeilen eingelesen..."));
  ASSERT_NE(ExistingStatusForm(), nullptr);
  EXPECT_EQ(ExistingStatusForm()->drawCount(), 3);
  EXPECT_EQ(LastProgressPercent(), 3);
  EXPECT_EQ(LastProgressPercent(), 3);
  EXPECT_TRUE(ExistingStatusForm()->isVisible());
  EXPECT_EQ(ExistingStatusForm()->picProgress->percent(), 3);
}

TEST_F(ProgressWindowTest, TextLine) {
  EXPECT_EQ(StatusForm()->Label2->text(), QStringLiteral("Daten werden eingelesen"));
  EXPECT_EQ(StatusForm()->windowTitle(), QStringLiteral("Status"));
  ShowProgress(5400, 0, 12000, true, QStringLiteral(" Zeilen eingelesen..."));
  EXPECT_EQ(StatusForm()->Label2->text(), QStringLiteral("45% von 12000 Zeilen eingelesen..."));
  // An empty text keeps the line.
  ShowProgress(6000, 0, 12000, true, QString());
  EXPECT_EQ(StatusForm()->Label2->text(), QStringLiteral("45% von 12000 Zeilen eingelesen..."));
}

TEST_F(ProgressWindowTest, EmptyRunShowsWindowWithoutDrawing) {
  ShowProgress(0, 0, 0, true, QStringLiteral(" x"));
  ASSERT_NE(ExistingStatusForm(), nullptr);
  EXPECT_TRUE(ExistingStatusForm()->isVisible());
  EXPECT_EQ(ExistingStatusForm()->drawCount(), 0);
  EXPECT_EQ(LastProgressPercent(), 0);
}

TEST_F(ProgressWindowTest, ReleaseLetsTheNextRunDrawFromItsFirstPercent) {
  ShowProgress(60, 0, 100, true, QStringLiteral(" a"));  // a run that stops at 60 %
  EXPECT_EQ(LastProgressPercent(), 60);
  ReleaseStatusForm();
  EXPECT_EQ(ExistingStatusForm(), nullptr);
  EXPECT_EQ(LastProgressPercent(), 0);
  ShowProgress(1, 0, 100, true, QStringLiteral(" b"));
  ASSERT_NE(ExistingStatusForm(), nullptr);
  EXPECT_EQ(ExistingStatusForm()->drawCount(), 1);
  EXPECT_EQ(ExistingStatusForm()->Label2->text(), QStringLiteral("1% von 100 b"));
}

// A loop reporting every record through the throttle draws what it would
// draw without it, each percentage once, and the full bar once.
TEST_F(ProgressWindowTest, ThrottledRunDrawsEachPercentageOnce) {
  ProgressThrottle throttle;
  int passed = 0;
  for (int cur = 1; cur <= 200000; ++cur) {
    if (!throttle.due(cur, 200000)) continue;
    ++passed;
    ShowProgress(cur, 0, 200000, true, QStringLiteral(" r"));
    if (cur == 1000) {
      EXPECT_EQ(StatusForm()->Label2->text(), QStringLiteral("1% von 200000 r"));
    }
  }
  EXPECT_EQ(passed, 101);  // the first record (0 %) and one per percentage
  EXPECT_EQ(ExistingStatusForm()->drawCount(), 100);
  EXPECT_EQ(ExistingStatusForm()->picProgress->percent(), 100);
  EXPECT_EQ(LastProgressPercent(), 0);
}

TEST_F(ProgressWindowTest, FullRunResetsMemory) {
  // 1 … 100 % are drawn once each; 199 of 200 already rounds to 100, after
  // which the memory is 0, so the last call draws its 100 % again.
  for (int cur = 1; cur <= 200; ++cur) ShowProgress(cur, 0, 200, true, QStringLiteral(" r"));
  EXPECT_EQ(ExistingStatusForm()->drawCount(), 101);
  EXPECT_EQ(LastProgressPercent(), 0);
}

// A run of several phases: after a phase that reached 100 % the bar of the
// next one shows the figure of its text line, not the full bar.
TEST_F(ProgressWindowTest, BarShowsTheFigureOfTheTextInEveryPhase) {
  ShowProgress(300000, 0, 300000, true, QStringLiteral(" Zeilen, Daten bereitstellen..."));
  ShowProgress(189000, 0, 300000, true, QStringLiteral(" Zeilen, Geoidundulation zuordnen..."));
  EXPECT_EQ(StatusForm()->Label2->text(), QStringLiteral("63% von 300000 Zeilen, Geoidundulation zuordnen..."));
  EXPECT_EQ(StatusForm()->picProgress->percent(), 63);
}
