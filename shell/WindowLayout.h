#pragma once
// Sizes of the main window's tab strip and grids, worked out in twips
// (1/1440 inch) from the window's outer size, and their fit into the client
// area in pixels.
#include <QString>

namespace orv {

// Design size of the main window and of the controls that follow it.
inline constexpr double kDesignWindowWidth = 15135;
inline constexpr double kDesignWindowHeight = 10485;
inline constexpr double kDesignTabWidth = 14775;
inline constexpr double kDesignTabHeight = 6615;
inline constexpr double kDesignGridWidth = 14535;
inline constexpr double kDesignGridHeight = 6015;
inline constexpr double kTabLeft = 120;
inline constexpr double kTabTop = 2920;
inline constexpr double kOptionsFrameTop = 400;

// Corrections added to every computed width and height.
struct LayoutCorrection {
  int dx = 0;
  int dy = 0;
};

// -80/-80 when the system text names a 64-bit system, otherwise 30/-20.
LayoutCorrection LayoutCorrectionFor(const QString& systemText);

struct WindowLayoutTwips {
  float optionsFrameTop = 0;
  float tabLeft = 0;
  float tabTop = 0;
  float tabWidth = 0;
  float tabHeight = 0;
  float gridWidth = 0;   // each of the five grids
  float gridHeight = 0;
};

// Layout for a window of outerWidth x outerHeight twips. Up to the design
// size in both directions the design layout applies; beyond it both
// dimensions follow the window. Negative sizes become zero.
WindowLayoutTwips ComputeWindowLayout(double outerWidth, double outerHeight, LayoutCorrection c);

// A rectangle in pixels.
struct PixelRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// The tab strip in the client area, in pixels: at the layout's left edge;
// at its top, or below the options band where the band reaches further
// down; as wide as the layout, but never past the right edge (which keeps
// the left margin); down to the bottom of the client area, so no empty band
// stays above the status bar.
PixelRect TabStripPixels(const WindowLayoutTwips& layout, double dpiX, double dpiY, int clientWidth,
                         int clientHeight, int bandBottom);

// Twips <-> pixels at a resolution in dots per inch.
int TwipsToPixels(double twips, double dpi);
double PixelsToTwips(int pixels, double dpi);

}  // namespace orv
