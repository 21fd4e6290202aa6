#pragma once
// A combo box with the rules the window's handlers rely on: it can show a
// text outside its list ("ohne", "automatisch") with list index -1; setting the list index from code
// always runs the click handler (also when disabled or unchanged); choosing an
// item runs it too. Setting the text runs nothing.
#include <QComboBox>
#include <functional>

namespace orv {

class VbComboBox : public QComboBox {
 public:
  explicit VbComboBox(QWidget* parent = nullptr);

  void AddItem(const QString& text);
  // Empties the list and the text.
  void Clear();
  int ListCount() const { return count(); }
  QString List(int index) const { return itemText(index); }
  int ListIndex() const { return currentIndex(); }
  // Selects item `index` (-1 for none) and runs the click handler; an index
  // outside the list throws OrvenilError 380.
  void SetListIndex(int index);
  // The text shown: the chosen item's, or the free text while the index is -1.
  QString Text() const;
  // Shows a text. When it is not the chosen item's text the list index becomes -1.
  void SetText(const QString& text);

  void onClick(std::function<void()> handler) { onClick_ = std::move(handler); }

 protected:
  // The free text is drawn as ordinary text, not in the pale placeholder
  // colour: "ohne" and "automatisch" are real choices of an enabled box.
  void paintEvent(QPaintEvent* event) override;

 private:
  std::function<void()> onClick_;
};

}  // namespace orv
