#include "platform/ui/VbTextBox.h"

#include <QApplication>
#include <QPalette>

namespace orv {

QColor ButtonFaceColor() { return QApplication::palette().color(QPalette::Button); }

VbTextBox::VbTextBox(QWidget* parent) : QLineEdit(parent) {
  backColor_ = palette().color(QPalette::Base);
}

void VbTextBox::SetBackColor(const QColor& colour) {
  backColor_ = colour;
  QPalette p = palette();
  p.setColor(QPalette::Base, colour);
  setPalette(p);
}

}  // namespace orv
