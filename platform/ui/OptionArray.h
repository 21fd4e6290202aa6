#pragma once
// An array of option buttons addressed by index. The handlers rely on these
// rules, so they hold here: choosing an option from code runs the click handler at once (also when the
// option is disabled); choosing the option that is already chosen runs
// nothing. A user's click on another option runs the handler as well.
#include <QMap>
#include <QObject>
#include <QString>
#include <functional>

class QButtonGroup;
class QRadioButton;
class QWidget;

namespace orv {

class OptionArray : public QObject {
 public:
  explicit OptionArray(QObject* parent = nullptr);

  // Creates option `index` with a caption inside `parent`.
  QRadioButton* add(int index, const QString& caption, QWidget* parent);
  QRadioButton* button(int index) const;
  QRadioButton* operator[](int index) const { return button(index); }
  QList<int> indexes() const { return buttons_.keys(); }
  int count() const { return static_cast<int>(buttons_.size()); }

  // The chosen option, -1 when none.
  int value() const { return value_; }
  bool isSelected(int index) const { return value_ == index; }
  // Chooses option `index` from code (click handler runs unless already chosen).
  void select(int index);
  // Sets the chosen option without running anything (start-up state).
  void preset(int index);
  // Clears the choice without running anything.
  void clear();

  void setEnabled(int index, bool enabled);
  bool isEnabled(int index) const;
  QString caption(int index) const;

  // The click handler: receives the index of the chosen option.
  void onClick(std::function<void(int)> handler) { onClick_ = std::move(handler); }

 private:
  void userClicked(int index);
  QMap<int, QRadioButton*> buttons_;
  QButtonGroup* group_;
  int value_ = -1;
  std::function<void(int)> onClick_;
};

}  // namespace orv
