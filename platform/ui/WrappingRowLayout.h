#pragma once
// A layout that places its items side by side, left to right, each at its
// preferred width, and starts a new row where the next item would not fit.
// Items of one row share the row's height. Its height depends on its width
// (heightForWidth), so a parent can make room for the extra rows.
#include <QLayout>
#include <QList>

namespace orv {

class WrappingRowLayout : public QLayout {
 public:
  explicit WrappingRowLayout(QWidget* parent = nullptr);
  ~WrappingRowLayout() override;

  void addItem(QLayoutItem* item) override;
  int count() const override { return static_cast<int>(items_.size()); }
  QLayoutItem* itemAt(int index) const override { return items_.value(index); }
  QLayoutItem* takeAt(int index) override;
  Qt::Orientations expandingDirections() const override { return {}; }
  bool hasHeightForWidth() const override { return true; }
  int heightForWidth(int width) const override;
  // All items in one row.
  QSize sizeHint() const override;
  // The widest item alone in its row; every item stays whole at that width.
  QSize minimumSize() const override;
  void setGeometry(const QRect& rect) override;

 private:
  // Places the items in rect (when apply) and returns the height used.
  int arrange(const QRect& rect, bool apply) const;

  QList<QLayoutItem*> items_;
};

}  // namespace orv
