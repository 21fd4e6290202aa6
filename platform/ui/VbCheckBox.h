#pragma once
// A check box with value 0 or 1: a change of the value, from the user or from
// code (also when disabled), runs the click handler; setting the value it
// already has runs nothing.
#include <QCheckBox>
#include <functional>

namespace orv {

class VbCheckBox : public QCheckBox {
 public:
  explicit VbCheckBox(const QString& caption = QString(), QWidget* parent = nullptr);
  int Value() const { return isChecked() ? 1 : 0; }
  void SetValue(int value);
  void onClick(std::function<void()> handler) { onClick_ = std::move(handler); }

 private:
  std::function<void()> onClick_;
};

}  // namespace orv
