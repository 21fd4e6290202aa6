#include "platform/ui/VbStatusBar.h"

#include <QResizeEvent>
#include <algorithm>
#include <numeric>

#include "platform/ui/ElidingLabel.h"

namespace orv {

namespace {

constexpr int kGap = 2;          // between two panels
constexpr int kEmptyPanel = 24;  // width of a panel without text

int Sum(const QList<int>& widths) { return std::accumulate(widths.begin(), widths.end(), 0); }

// The widths of panels that want `wanted` pixels and share `room`: all they
// want where it is enough, else the widest are cut down to one common width
// so that the narrow ones stay whole.
QList<int> ShareWidth(const QList<int>& wanted, int room) {
  if (Sum(wanted) <= room) return wanted;
  // The common width the widest are cut down to: the narrow ones keep theirs.
  QList<int> sorted = wanted;
  std::sort(sorted.begin(), sorted.end());
  int left = std::max(0, room);
  int cut = 0;
  for (int i = 0; i < sorted.size(); ++i) {
    const int share = left / static_cast<int>(sorted.size() - i);
    if (sorted[i] > share) {
      cut = share;
      break;
    }
    left -= sorted[i];
  }
  QList<int> widths;
  for (int w : wanted) widths << std::min(w, cut);
  return widths;
}

}  // namespace

// The panels side by side, placed by hand: in a box layout a long text of
// one panel (the export's column list) takes the room the other panels'
// texts need.
class VbStatusBar::PanelRow : public QWidget {
 public:
  explicit PanelRow(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  }

  QList<ElidingLabel*> panels;
  QList<bool> springs;

  QSize sizeHint() const override {
    int width = 0, height = 0;
    for (const ElidingLabel* p : panels) {
      width += wanted(p) + kGap;
      height = std::max(height, p->sizeHint().height());
    }
    return {width, height};
  }
  QSize minimumSizeHint() const override { return {kEmptyPanel, sizeHint().height()}; }

  void refit() {
    const int count = static_cast<int>(panels.size());
    if (count == 0) return;
    const int room = width() - kGap * (count - 1);
    QList<int> fixedWanted, springWanted;
    for (int i = 0; i < count; ++i) (springs[i] ? springWanted : fixedWanted) << wanted(panels[i]);
    QList<int> fixedWidths = fixedWanted;
    QList<int> springWidths;
    const int springMinimum = kEmptyPanel * static_cast<int>(springWanted.size());
    if (Sum(fixedWanted) + springMinimum <= room) {
      springWidths = ShareWidth(springWanted, room - Sum(fixedWanted));
      // What is left over goes to the first spring panel.
      if (!springWidths.isEmpty()) springWidths[0] += std::max(0, room - Sum(fixedWanted) - Sum(springWidths));
    } else {
      for (int i = 0; i < springWanted.size(); ++i) springWidths << std::min(kEmptyPanel, springWanted[i]);
      fixedWidths = ShareWidth(fixedWanted, room - Sum(springWidths));
    }
    int x = 0, fixedIndex = 0, springIndex = 0;
    for (int i = 0; i < count; ++i) {
      const int w = springs[i] ? springWidths[springIndex++] : fixedWidths[fixedIndex++];
      panels[i]->setGeometry(x, 0, w, height());
      x += w + kGap;
    }
  }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QWidget::resizeEvent(event);
    refit();
  }

 private:
  static int wanted(const ElidingLabel* p) {
    return p->text().isEmpty() ? kEmptyPanel : std::max(kEmptyPanel, p->wholeTextWidth());
  }
};

VbStatusBar::VbStatusBar(QWidget* parent) : QStatusBar(parent), row_(new PanelRow(this)) {
  setSizeGripEnabled(true);
  addWidget(row_, 1);
}

void VbStatusBar::AddPanel(const QString& key, const QString& text, bool spring) {
  if (keys_.contains(key)) return;
  auto* label = new ElidingLabel(text, row_);
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->show();
  row_->panels << label;
  row_->springs << spring;
  keys_ << key;
  labels_ << label;
  row_->updateGeometry();
  row_->refit();
}

void VbStatusBar::ClearPanels() {
  for (ElidingLabel* l : std::as_const(labels_)) delete l;
  row_->panels.clear();
  row_->springs.clear();
  labels_.clear();
  keys_.clear();
}

ElidingLabel* VbStatusBar::panel(const QString& key) const {
  const int i = keys_.indexOf(key);
  return i >= 0 ? labels_.at(i) : nullptr;
}

QString VbStatusBar::PanelText(const QString& key) const {
  const ElidingLabel* l = panel(key);
  return l ? l->text() : QString();
}

void VbStatusBar::SetPanelText(const QString& key, const QString& text) {
  ElidingLabel* l = panel(key);
  if (!l || l->text() == text) return;
  l->setText(text);
  // Refitted at once: a run changes panels without returning to the event loop.
  row_->refit();
}

}  // namespace orv
