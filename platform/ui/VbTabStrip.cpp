#include "platform/ui/VbTabStrip.h"

#include <QTabBar>

namespace orv {

VbTabStrip::VbTabStrip(QWidget* parent) : QTabWidget(parent) {
  // The user's click on a tab; choosing the tab in front again runs nothing.
  connect(tabBar(), &QTabBar::tabBarClicked, this, [this](int index) {
    if (index < 0 || index == currentIndex()) return;
    setCurrentIndex(index);
    if (onClick_) onClick_();
  });
}

int VbTabStrip::AddTab(QWidget* page, const QString& caption) { return addTab(page, caption) + 1; }

void VbTabStrip::SelectTab(int number) {
  const int index = number - 1;
  if (index < 0 || index >= count() || index == currentIndex()) return;
  setCurrentIndex(index);
  if (onClick_) onClick_();
}

}  // namespace orv
