#include "shell/WindowLayout.h"

#include <algorithm>
#include <cmath>

namespace orv {

LayoutCorrection LayoutCorrectionFor(const QString& systemText) {
  if (systemText.contains(QStringLiteral("64-bit"))) return {-80, -80};
  return {30, -20};
}

namespace {
float NonNegative(double v) { return v < 0 ? 0.0f : static_cast<float>(v); }
}  // namespace

WindowLayoutTwips ComputeWindowLayout(double outerWidth, double outerHeight, LayoutCorrection c) {
  WindowLayoutTwips l;
  l.optionsFrameTop = kOptionsFrameTop;
  l.tabLeft = kTabLeft;
  l.tabTop = kTabTop;
  double growW = 0;
  double growH = 0;
  if (!(outerWidth <= kDesignWindowWidth && outerHeight <= kDesignWindowHeight)) {
    // Both dimensions follow the window, also one that is below design size.
    growW = outerWidth - kDesignWindowWidth;
    growH = outerHeight - kDesignWindowHeight;
  }
  l.tabWidth = NonNegative(kDesignTabWidth + growW + c.dx);
  l.tabHeight = NonNegative(kDesignTabHeight + growH + c.dy);
  l.gridWidth = NonNegative(kDesignGridWidth + growW + c.dx);
  l.gridHeight = NonNegative(kDesignGridHeight + growH + c.dy);
  return l;
}

PixelRect TabStripPixels(const WindowLayoutTwips& layout, double dpiX, double dpiY, int clientWidth,
                         int clientHeight, int bandBottom) {
  constexpr int kGap = 2;  // between the band and the tabs, and above the status bar
  PixelRect r;
  r.left = TwipsToPixels(layout.tabLeft, dpiX);
  r.top = std::max(TwipsToPixels(layout.tabTop, dpiY), bandBottom + kGap);
  r.width = std::max(0, std::min(TwipsToPixels(layout.tabWidth, dpiX), clientWidth - 2 * r.left));
  r.height = std::max(0, clientHeight - kGap - r.top);
  return r;
}

int TwipsToPixels(double twips, double dpi) {
  return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

double PixelsToTwips(int pixels, double dpi) { return pixels * 1440.0 / dpi; }

}  // namespace orv
