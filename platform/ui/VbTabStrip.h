#pragma once
// A tab strip whose tabs are counted from 1; each tab shows one page.
#include <QTabWidget>
#include <functional>

namespace orv {

class VbTabStrip : public QTabWidget {
 public:
  explicit VbTabStrip(QWidget* parent = nullptr);
  // Adds a tab with its page; returns its number (from 1).
  int AddTab(QWidget* page, const QString& caption);
  int TabCount() const { return count(); }
  QString Caption(int number) const { return tabText(number - 1); }
  // Number of the tab in front (from 1), 0 when there is none.
  int SelectedTab() const { return currentIndex() + 1; }
  // Brings a tab to the front; the click handler runs when the tab changes.
  void SelectTab(int number);
  // Runs when another tab is chosen, by the user or by code.
  void onClick(std::function<void()> handler) { onClick_ = std::move(handler); }

 private:
  std::function<void()> onClick_;
};

}  // namespace orv
