#include "platform/ui/ElidingLabel.h"

#include <QPainter>
#include <QResizeEvent>
#include <QStyle>

namespace orv {

ElidingLabel::ElidingLabel(const QString& text, QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
  setWordWrap(false);
  setText(text);
}

void ElidingLabel::setText(const QString& text) {
  if (text == QLabel::text()) return;
  QLabel::setText(text);
  updateToolTip();
  update();
}

int ElidingLabel::textRoom() const {
  const QRect area = contentsRect();
  return std::max(0, area.width() - 2 * margin() - std::max(0, indent()));
}

QString ElidingLabel::shownText() const {
  const QString& whole = text();
  if (fontMetrics().horizontalAdvance(whole) <= textRoom()) return whole;
  return fontMetrics().elidedText(whole, Qt::ElideRight, textRoom());
}

int ElidingLabel::wholeTextWidth() const {
  const QMargins m = contentsMargins();
  return m.left() + m.right() + 2 * margin() + std::max(0, indent()) + fontMetrics().horizontalAdvance(text()) + 1;
}

QSize ElidingLabel::sizeHint() const { return {wholeTextWidth(), QLabel::sizeHint().height()}; }

QSize ElidingLabel::minimumSizeHint() const {
  const QMargins m = contentsMargins();
  return {m.left() + m.right() + 2 * margin(), QLabel::minimumSizeHint().height()};
}

void ElidingLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  drawFrame(&painter);
  const QRect area = contentsRect().adjusted(margin() + std::max(0, indent()), margin(), -margin(), -margin());
  style()->drawItemText(&painter, area, static_cast<int>(alignment()), palette(), isEnabled(), shownText(),
                        foregroundRole());
}

void ElidingLabel::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  updateToolTip();
}

void ElidingLabel::updateToolTip() { setToolTip(isElided() ? text() : QString()); }

}  // namespace orv
