#include "platform/ui/VbStatusBar.h"

#include <QLabel>
#include <QLayout>
#include <QPainter>
#include <QStyle>

namespace orv {

namespace {

// The spring panel: it asks for no room of its own, takes what the other
// panels leave, and shortens its text at the end ("…") where that is too
// little. Its text stays whole in text().
class ElidingPanel : public QLabel {
 public:
  using QLabel::QLabel;
  QSize sizeHint() const override { return minimumSizeHint(); }
  QSize minimumSizeHint() const override {
    const QMargins m = contentsMargins();
    return {m.left() + m.right() + 2 * margin() + indentWidth(), QLabel::minimumSizeHint().height()};
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    drawFrame(&painter);
    const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, area.width());
    style()->drawItemText(&painter, area, alignment(), palette(), isEnabled(), shown, foregroundRole());
  }

 private:
  int indentWidth() const { return indent() > 0 ? indent() : 0; }
};

}  // namespace

VbStatusBar::VbStatusBar(QWidget* parent) : QStatusBar(parent) { setSizeGripEnabled(true); }

void VbStatusBar::AddPanel(const QString& key, const QString& text, bool spring) {
  if (keys_.contains(key)) return;
  QLabel* label = spring ? new ElidingPanel(text, this) : new QLabel(text, this);
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setTextFormat(Qt::PlainText);
  // The other panels are as wide as their texts; only where the bar is too
  // narrow even for them do they shrink, and never below a small rest, so
  // that their texts never widen the window.
  if (!spring) label->setMinimumWidth(24);
  addWidget(label, spring ? 1 : 0);
  keys_ << key;
  labels_ << label;
}

void VbStatusBar::ClearPanels() {
  for (QLabel* l : std::as_const(labels_)) {
    removeWidget(l);
    delete l;
  }
  labels_.clear();
  keys_.clear();
}

QLabel* VbStatusBar::panel(const QString& key) const {
  const int i = keys_.indexOf(key);
  return i >= 0 ? labels_.at(i) : nullptr;
}

QString VbStatusBar::PanelText(const QString& key) const {
  QLabel* l = panel(key);
  return l ? l->text() : QString();
}

void VbStatusBar::SetPanelText(const QString& key, const QString& text) {
  QLabel* l = panel(key);
  if (!l || l->text() == text) return;
  l->setText(text);
  // Refitted at once: a run changes panels without returning to the event loop.
  if (layout()) layout()->activate();
}

}  // namespace orv
