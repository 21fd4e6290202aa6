#include "platform/ui/ScreenFit.h"

#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace orv {

QRect AvailableScreenArea(const QWidget* widget) {
  QScreen* screen = widget ? widget->screen() : nullptr;
  if (!screen) screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

QSize WindowFrameExtra(const QWidget* window) {
  const QWidget* top = window->window();
  if (top->isVisible()) {
    const QSize extra = top->frameGeometry().size() - top->geometry().size();
    if (!extra.isEmpty()) return extra;
    // Shown without a frame (no window manager): nothing to allow for.
    if (top->testAttribute(Qt::WA_Mapped)) return {0, 0};
  }
  // Before the window is shown its frame is unknown: a title bar and borders.
  const QStyle* style = top->style();
  const int border = 2 * std::max(1, style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, top));
  return {border, border + std::max(24, style->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, top))};
}

QSize LargestWindowSize(const QWidget* window) {
  return AvailableScreenArea(window).size() - WindowFrameExtra(window);
}

void FitWindowToScreen(QWidget* window) {
  const QSize largest = LargestWindowSize(window);
  const QSize fitted = window->size().boundedTo(largest).expandedTo(window->minimumSize());
  if (fitted != window->size()) window->resize(fitted);
  if (!window->isVisible()) return;
  const QRect area = AvailableScreenArea(window);
  QRect frame = window->frameGeometry();
  frame.moveLeft(std::max(area.left(), std::min(frame.left(), area.right() - frame.width() + 1)));
  frame.moveTop(std::max(area.top(), std::min(frame.top(), area.bottom() - frame.height() + 1)));
  if (frame.topLeft() != window->frameGeometry().topLeft()) window->move(frame.topLeft());
}

void CentreOver(QWidget* window, const QWidget* over) {
  const QRect area = AvailableScreenArea(over ? over : window);
  const QSize frame = window->size() + WindowFrameExtra(window);
  QPoint centre = over ? over->frameGeometry().center() : area.center();
  QPoint topLeft(centre.x() - frame.width() / 2, centre.y() - frame.height() / 2);
  topLeft.setX(std::max(area.left(), std::min(topLeft.x(), area.right() - frame.width() + 1)));
  topLeft.setY(std::max(area.top(), std::min(topLeft.y(), area.bottom() - frame.height() + 1)));
  window->move(topLeft);
}

QScrollArea* ScrollableBody(QWidget* body, QWidget* parent) {
  auto* area = new QScrollArea(parent);
  area->setFrameShape(QFrame::NoFrame);
  area->setWidgetResizable(true);
  area->setWidget(body);
  return area;
}

void SizeDialogWithBody(QWidget* dialog, QScrollArea* body, QSize wanted) {
  dialog->ensurePolished();
  // The scroll area asks for less than its body where the body is large.
  const QSize bodyWhole = body->widget() ? body->widget()->sizeHint() : QSize();
  QSize whole = dialog->sizeHint() + (bodyWhole - body->sizeHint()).expandedTo(QSize(0, 0));
  whole = whole.expandedTo(wanted);
  const QSize largest = LargestWindowSize(dialog);
  if (whole.height() > largest.height()) whole.rwidth() += body->verticalScrollBar()->sizeHint().width();
  if (whole.width() > largest.width()) whole.rheight() += body->horizontalScrollBar()->sizeHint().height();
  dialog->resize(whole.boundedTo(largest).expandedTo(dialog->minimumSizeHint()));
}

}  // namespace orv
