#pragma once
// `FormInfo`: an info box with a text field and a "Weiter" button. Escape in
// the box or in its text asks the caller to abort: the box keeps no program
// state itself, the caller's onAbort raises whatever flag its run watches.
#include <QDialog>
#include <functional>

class QPlainTextEdit;
class QPushButton;

namespace orv {

class FormInfo : public QDialog {
 public:
  explicit FormInfo(QWidget* parent = nullptr, std::function<void()> onAbort = {});
  QPlainTextEdit* info;
  QPushButton* Command1;
  // Set by Escape.
  bool abortRequested() const { return abort_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void RequestAbort();
  bool abort_ = false;
  std::function<void()> onAbort_;
};

}  // namespace orv
