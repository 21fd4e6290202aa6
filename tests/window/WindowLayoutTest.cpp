#include <gtest/gtest.h>

#include "shell/WindowLayout.h"

using namespace orv;

namespace {
const LayoutCorrection k64{-80, -80};
const LayoutCorrection k32{30, -20};
}  // namespace

TEST(WindowLayout, CorrectionDependsOnWordWidth) {
  EXPECT_EQ(LayoutCorrectionFor("Linux 6.1, 64-bit").dx, -80);
  EXPECT_EQ(LayoutCorrectionFor("Linux 6.1, 64-bit").dy, -80);
  EXPECT_EQ(LayoutCorrectionFor("Linux 6.1, 32-bit").dx, 30);
  EXPECT_EQ(LayoutCorrectionFor("").dy, -20);
}

TEST(WindowLayout, DesignSizeGetsDesignLayout) {
  const auto l = ComputeWindowLayout(15135, 10485, k32);
  EXPECT_FLOAT_EQ(l.tabWidth, 14805);
  EXPECT_FLOAT_EQ(l.tabHeight, 6595);
  EXPECT_FLOAT_EQ(l.gridWidth, 14565);
  EXPECT_FLOAT_EQ(l.gridHeight, 5995);
  EXPECT_FLOAT_EQ(l.tabLeft, 120);
  EXPECT_FLOAT_EQ(l.tabTop, 2920);
  EXPECT_FLOAT_EQ(l.optionsFrameTop, 400);
  // A smaller window keeps the design layout as long as both sides are small.
  const auto small = ComputeWindowLayout(9000, 6000, k32);
  EXPECT_FLOAT_EQ(small.tabWidth, 14805);
  EXPECT_FLOAT_EQ(small.gridHeight, 5995);
}

TEST(WindowLayout, OneTwipWiderFollowsTheWindow) {
  const auto l = ComputeWindowLayout(15136, 10485, k32);
  EXPECT_FLOAT_EQ(l.tabWidth, 14806);
  EXPECT_FLOAT_EQ(l.tabHeight, 6595);
  EXPECT_FLOAT_EQ(l.gridWidth, 14566);
}

TEST(WindowLayout, LargeWindowOn64Bit) {
  const auto l = ComputeWindowLayout(20000, 12000, k64);
  EXPECT_FLOAT_EQ(l.tabWidth, 19560);
  EXPECT_FLOAT_EQ(l.tabHeight, 8050);
  EXPECT_FLOAT_EQ(l.gridWidth, 19320);
  EXPECT_FLOAT_EQ(l.gridHeight, 7450);
}

TEST(WindowLayout, NarrowButTallWindowFollowsBothWaysAndClampsAtZero) {
  // Taller than the design, so the width follows too, also below design.
  const auto l = ComputeWindowLayout(15135 - 10000, 12000, k32);
  EXPECT_FLOAT_EQ(l.tabWidth, 4805);
  const auto tiny = ComputeWindowLayout(100, 12000, k32);
  EXPECT_FLOAT_EQ(tiny.tabWidth, 0);
  EXPECT_FLOAT_EQ(tiny.gridWidth, 0);
  EXPECT_FLOAT_EQ(tiny.tabHeight, 6615 + 1515 - 20);
}

TEST(WindowLayout, TabStripStaysInsideTheClientAreaAndReachesTheStatusBar) {
  const auto design = ComputeWindowLayout(15135, 10485, k64);
  // Design width: the layout's width, the top of the design, down to the bottom.
  const PixelRect d = TabStripPixels(design, 96, 96, 1009, 640, 150);
  EXPECT_EQ(d.left, 8);
  EXPECT_EQ(d.width, TwipsToPixels(14775 - 80, 96));
  EXPECT_EQ(d.top, TwipsToPixels(2920, 96));
  EXPECT_EQ(d.top + d.height, 638);
  // 900 pixels: narrower than the layout, so it ends at the right margin; a
  // wrapped options band pushes it down.
  const PixelRect n = TabStripPixels(ComputeWindowLayout(13500, 10485, k64), 96, 96, 900, 640, 330);
  EXPECT_EQ(n.left + n.width, 900 - 8);
  EXPECT_EQ(n.top, 332);
  EXPECT_EQ(n.top + n.height, 638);
}

TEST(WindowLayout, TwipsAndPixels) {
  EXPECT_EQ(TwipsToPixels(1440, 96), 96);
  EXPECT_EQ(TwipsToPixels(15135, 96), 1009);
  EXPECT_DOUBLE_EQ(PixelsToTwips(96, 96), 1440);
}
