#pragma once
// `FormInfo`: an info box with a text field and a "Weiter" button. Escape in
// the box or in its text sets the program's abort flag.
#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace orv {

class FormInfo : public QDialog {
 public:
  explicit FormInfo(QWidget* parent = nullptr);
  QPlainTextEdit* info;
  QPushButton* Command1;
  // Set by Escape; nothing in the program reads it.
  bool abortRequested() const { return abort_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool abort_ = false;
};

}  // namespace orv
