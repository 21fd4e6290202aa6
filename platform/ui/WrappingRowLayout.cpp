#include "platform/ui/WrappingRowLayout.h"

#include <QWidget>
#include <algorithm>

namespace orv {

WrappingRowLayout::WrappingRowLayout(QWidget* parent) : QLayout(parent) {}

WrappingRowLayout::~WrappingRowLayout() {
  while (QLayoutItem* item = takeAt(0)) delete item;
}

void WrappingRowLayout::addItem(QLayoutItem* item) { items_.append(item); }

QLayoutItem* WrappingRowLayout::takeAt(int index) {
  return index >= 0 && index < items_.size() ? items_.takeAt(index) : nullptr;
}

int WrappingRowLayout::heightForWidth(int width) const { return arrange(QRect(0, 0, width, 0), false); }

QSize WrappingRowLayout::sizeHint() const {
  int width = 0;
  int height = 0;
  int shown = 0;
  for (QLayoutItem* item : items_) {
    if (item->isEmpty()) continue;
    width += item->sizeHint().width();
    height = std::max(height, item->sizeHint().height());
    ++shown;
  }
  const QMargins m = contentsMargins();
  return {width + std::max(0, shown - 1) * spacing() + m.left() + m.right(), height + m.top() + m.bottom()};
}

QSize WrappingRowLayout::minimumSize() const {
  int width = 0;
  for (QLayoutItem* item : items_)
    if (!item->isEmpty()) width = std::max(width, item->sizeHint().width());
  const QMargins m = contentsMargins();
  width += m.left() + m.right();
  return {width, heightForWidth(width)};
}

void WrappingRowLayout::setGeometry(const QRect& rect) {
  QLayout::setGeometry(rect);
  arrange(rect, true);
}

int WrappingRowLayout::arrange(const QRect& rect, bool apply) const {
  const QRect area = rect.marginsRemoved(contentsMargins());
  const int gap = std::max(0, spacing());
  // Rows first: which items go together and how high each row is.
  QList<QList<QLayoutItem*>> rowItems(1);
  QList<int> rowHeights(1, 0);
  int x = 0;
  for (QLayoutItem* item : items_) {
    if (item->isEmpty()) continue;
    const QSize hint = item->sizeHint();
    if (!rowItems.last().isEmpty() && x + hint.width() > area.width()) {
      rowItems.append(QList<QLayoutItem*>());
      rowHeights.append(0);
      x = 0;
    }
    rowItems.last().append(item);
    rowHeights.last() = std::max(rowHeights.last(), hint.height());
    x += hint.width() + gap;
  }
  if (rowItems.last().isEmpty()) {
    rowItems.removeLast();
    rowHeights.removeLast();
  }
  int y = area.top();
  for (int r = 0; r < rowItems.size(); ++r) {
    int left = area.left();
    for (QLayoutItem* item : rowItems.at(r)) {
      const int w = item->sizeHint().width();
      if (apply) item->setGeometry(QRect(left, y, w, rowHeights.at(r)));
      left += w + gap;
    }
    y += rowHeights.at(r) + (r + 1 < rowItems.size() ? gap : 0);
  }
  const QMargins m = contentsMargins();
  return y - area.top() + m.top() + m.bottom();
}

}  // namespace orv
