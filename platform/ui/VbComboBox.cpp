#include "platform/ui/VbComboBox.h"

#include <QStyleOptionComboBox>
#include <QStylePainter>

#include "foundation/OrvenilError.h"

namespace orv {

VbComboBox::VbComboBox(QWidget* parent) : QComboBox(parent) {
  setEditable(false);
  setMaxVisibleItems(20);
  setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  // The user's choice from the list; code goes through SetListIndex.
  connect(this, &QComboBox::activated, this, [this](int) {
    setPlaceholderText(QString());
    if (onClick_) onClick_();
  });
}

void VbComboBox::AddItem(const QString& text) {
  const int before = currentIndex();
  addItem(text);
  // Adding an item never chooses it (the first item of an empty list would be).
  if (before < 0 && currentIndex() >= 0) setCurrentIndex(-1);
}

void VbComboBox::Clear() {
  clear();
  setPlaceholderText(QString());
}

void VbComboBox::SetListIndex(int index) {
  if (index < -1 || index >= count())
    throw OrvenilError(380, QStringLiteral("Ungültiger Eigenschaftswert"));
  if (index >= 0) setPlaceholderText(QString());
  setCurrentIndex(index);
  if (onClick_) onClick_();
}

QString VbComboBox::Text() const {
  return currentIndex() >= 0 ? currentText() : placeholderText();
}

void VbComboBox::SetText(const QString& text) {
  if (currentIndex() >= 0 && currentText() == text) return;
  setCurrentIndex(-1);
  setPlaceholderText(text);
}

void VbComboBox::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  painter.setPen(palette().color(QPalette::Text));
  QStyleOptionComboBox option;
  initStyleOption(&option);
  painter.drawComplexControl(QStyle::CC_ComboBox, option);
  if (currentIndex() < 0) option.currentText = placeholderText();
  painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

}  // namespace orv
