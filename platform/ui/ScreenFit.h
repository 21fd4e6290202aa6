#pragma once
// Windows that fit the screen they open on: on a laptop screen with the
// desktop's scale at 125 or 150 % the available area is far smaller than the
// design sizes, and a window reaching below it hides its keys and status bar.
#include <QRect>
#include <QSize>

class QScrollArea;
class QWidget;

namespace orv {

// The available area (without task bars and panels) of the screen the
// widget's window is on, or of the primary screen.
QRect AvailableScreenArea(const QWidget* widget);

// What the window manager's frame adds to a window's size: measured once the
// window is shown with a frame, else a title bar and thin borders as
// estimate.
QSize WindowFrameExtra(const QWidget* window);

// The largest size a window may take so that its frame stays within the
// available area.
QSize LargestWindowSize(const QWidget* window);

// Shrinks a window that would reach beyond the available area to fit it (not
// below its minimum size) and, when it is shown, moves it inside the area.
void FitWindowToScreen(QWidget* window);

// Centres a window over another one, kept inside the available area.
void CentreOver(QWidget* window, const QWidget* over);

// A frameless scroll area holding `body`: a dialog puts its controls in it
// and its keys below it, so the keys stay on screen where the body does not fit.
QScrollArea* ScrollableBody(QWidget* body, QWidget* parent);

// Sizes a dialog whose controls lie in `body`: at least `wanted`, and big
// enough for the whole body, as far as the screen has room; else the body
// scrolls (with room for the scroll bar it then shows).
void SizeDialogWithBody(QWidget* dialog, QScrollArea* body, QSize wanted = QSize());

}  // namespace orv
