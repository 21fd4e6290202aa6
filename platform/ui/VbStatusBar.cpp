#include "platform/ui/VbStatusBar.h"

#include <QLabel>

namespace orv {

VbStatusBar::VbStatusBar(QWidget* parent) : QStatusBar(parent) { setSizeGripEnabled(true); }

void VbStatusBar::AddPanel(const QString& key, const QString& text, bool spring) {
  if (keys_.contains(key)) return;
  auto* label = new QLabel(text, this);
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setTextFormat(Qt::PlainText);
  // The spring panel keeps its whole text; the others give way first.
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
  if (QLabel* l = panel(key)) l->setText(text);
}

}  // namespace orv
