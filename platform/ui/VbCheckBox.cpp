#include "platform/ui/VbCheckBox.h"

namespace orv {

VbCheckBox::VbCheckBox(const QString& caption, QWidget* parent) : QCheckBox(caption, parent) {
  connect(this, &QCheckBox::clicked, this, [this](bool) {
    if (onClick_) onClick_();
  });
}

void VbCheckBox::SetValue(int value) {
  const bool on = value != 0;
  if (on == isChecked()) return;
  setChecked(on);
  if (onClick_) onClick_();
}

}  // namespace orv
