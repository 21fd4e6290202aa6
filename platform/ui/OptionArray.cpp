#include "platform/ui/OptionArray.h"

#include <QButtonGroup>
#include <QRadioButton>

namespace orv {

OptionArray::OptionArray(QObject* parent) : QObject(parent), group_(new QButtonGroup(this)) {
  group_->setExclusive(true);
}

QRadioButton* OptionArray::add(int index, const QString& caption, QWidget* parent) {
  auto* b = new QRadioButton(caption, parent);
  buttons_.insert(index, b);
  group_->addButton(b, index);
  // Only the user's click; a choice from code runs the handler in select().
  connect(b, &QRadioButton::clicked, this, [this, index] { userClicked(index); });
  return b;
}

QRadioButton* OptionArray::button(int index) const { return buttons_.value(index, nullptr); }

void OptionArray::userClicked(int index) {
  if (index == value_) return;  // the chosen option clicked again: nothing
  value_ = index;
  if (onClick_) onClick_(index);
}

void OptionArray::select(int index) {
  QRadioButton* b = button(index);
  if (!b || index == value_) return;
  b->setChecked(true);
  value_ = index;
  if (onClick_) onClick_(index);
}

void OptionArray::preset(int index) {
  QRadioButton* b = button(index);
  if (!b) return;
  b->setChecked(true);
  value_ = index;
}

void OptionArray::clear() {
  group_->setExclusive(false);
  for (auto* b : std::as_const(buttons_)) b->setChecked(false);
  group_->setExclusive(true);
  value_ = -1;
}

void OptionArray::setEnabled(int index, bool enabled) {
  if (QRadioButton* b = button(index)) b->setEnabled(enabled);
}

bool OptionArray::isEnabled(int index) const {
  QRadioButton* b = button(index);
  return b && b->isEnabled();
}

QString OptionArray::caption(int index) const {
  QRadioButton* b = button(index);
  return b ? b->text() : QString();
}

}  // namespace orv
