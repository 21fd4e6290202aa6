#pragma once
// A one-line text box with a background colour that code sets and reads back.
#include <QColor>
#include <QLineEdit>

namespace orv {

// The window system's button-face colour (the default background of the
// transformation panel's text boxes).
QColor ButtonFaceColor();
// The warning background RGB(255, 192, 192).
inline QColor WarningBackColor() { return QColor(255, 192, 192); }

class VbTextBox : public QLineEdit {
 public:
  explicit VbTextBox(QWidget* parent = nullptr);
  QString Text() const { return text(); }
  void SetText(const QString& t) { setText(t); }
  QColor BackColor() const { return backColor_; }
  void SetBackColor(const QColor& colour);
  bool Locked() const { return isReadOnly(); }
  void SetLocked(bool locked) { setReadOnly(locked); }

 private:
  QColor backColor_;
};

}  // namespace orv
