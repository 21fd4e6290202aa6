#pragma once
// A one-line label that keeps its whole text and shows as much of it as its
// width allows: where it is too narrow, the text is shortened at its end
// ("…") and the whole text becomes its tooltip.
#include <QLabel>

namespace orv {

class ElidingLabel : public QLabel {
 public:
  explicit ElidingLabel(const QString& text = QString(), QWidget* parent = nullptr);

  // The whole text; text() reads it back unshortened.
  void setText(const QString& text);
  // What the label shows at its present width.
  QString shownText() const;
  bool isElided() const { return shownText() != text(); }
  // The width that shows the whole text.
  int wholeTextWidth() const;

  // Asks for the whole text's width, makes do with a few pixels.
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  int textRoom() const;
  void updateToolTip();
};

}  // namespace orv
