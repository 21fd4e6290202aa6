#include "platform/ui/VbToolBar.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>

namespace orv {

VbToolBar::VbToolBar(QWidget* parent) : QToolBar(parent) {
  setMovable(false);
  setFloatable(false);
  setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
}

void VbToolBar::AddButton(const QString& key, const QString& text, const QString& toolTip) {
  QAction* a = addAction(text);
  if (!toolTip.isEmpty()) a->setToolTip(toolTip);
  a->setObjectName(key);
  actions_.insert(key, a);
  order_ << key;
  connect(a, &QAction::triggered, this, [this, key](bool) {
    if (onButton_) onButton_(key);
  });
}

void VbToolBar::AddCheckButton(const QString& key, const QString& text, const QString& toolTip) {
  AddButton(key, text, toolTip);
  actions_.value(key)->setCheckable(true);
}

void VbToolBar::AddMenuButton(const QString& key, const QString& text, const QString& toolTip) {
  auto* menu = new QMenu(text, this);
  auto* button = new QToolButton(this);
  button->setText(text);
  button->setToolTip(toolTip);
  button->setPopupMode(QToolButton::InstantPopup);
  button->setToolButtonStyle(Qt::ToolButtonTextOnly);
  button->setMenu(menu);
  QAction* a = addWidget(button);
  a->setText(text);
  a->setObjectName(key);
  if (!key.isEmpty()) {
    actions_.insert(key, a);
    menus_.insert(key, menu);
  }
  menus_.insert(text, menu);
  order_ << (key.isEmpty() ? text : key);
}

void VbToolBar::AddMenuItem(const QString& menuKeyOrText, const QString& itemKey, const QString& caption) {
  QMenu* menu = menus_.value(menuKeyOrText, nullptr);
  if (!menu) return;
  QAction* item = menu->addAction(caption);
  item->setObjectName(itemKey);
  menuItems_.insert(itemKey, item);
  connect(item, &QAction::triggered, this, [this, itemKey](bool) {
    if (onMenu_) onMenu_(itemKey);
  });
}

void VbToolBar::AddSpacer(int widthPixels) {
  auto* spacer = new QWidget(this);
  spacer->setFixedWidth(widthPixels);
  addWidget(spacer);
}

void VbToolBar::AddPlaceholder(const QString& key) {
  // It takes all the room the keys leave, so the keys after it stay at the
  // right end at every width and never move into the overflow menu.
  auto* spacer = new QWidget(this);
  spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  spacer->setMinimumWidth(0);
  QAction* a = addWidget(spacer);
  a->setObjectName(key);
  actions_.insert(key, a);
  placeholders_.insert(key, spacer);
  order_ << key;
}

bool VbToolBar::HasKey(const QString& key) const { return actions_.contains(key); }
QStringList VbToolBar::Keys() const { return order_; }

bool VbToolBar::IsEnabled(const QString& key) const {
  QAction* a = actions_.value(key, nullptr);
  return a && a->isEnabled();
}

void VbToolBar::SetEnabled(const QString& key, bool enabled) {
  if (QAction* a = actions_.value(key, nullptr)) {
    a->setEnabled(enabled);
    if (QWidget* w = widgetForAction(a)) w->setEnabled(enabled);
  }
}

bool VbToolBar::IsPressed(const QString& key) const {
  QAction* a = actions_.value(key, nullptr);
  return a && a->isChecked();
}

void VbToolBar::SetPressed(const QString& key, bool pressed) {
  if (QAction* a = actions_.value(key, nullptr))
    if (a->isCheckable()) a->setChecked(pressed);
}

QString VbToolBar::Text(const QString& key) const {
  QAction* a = actions_.value(key, nullptr);
  return a ? a->text() : QString();
}

QStringList VbToolBar::MenuItemKeys(const QString& key) const {
  QStringList keys;
  if (QMenu* m = menus_.value(key, nullptr))
    for (QAction* a : m->actions()) keys << a->objectName();
  return keys;
}

QString VbToolBar::MenuItemCaption(const QString& itemKey) const {
  QAction* a = menuItems_.value(itemKey, nullptr);
  return a ? a->text() : QString();
}

void VbToolBar::SetIcon(const QString& key, const QIcon& icon) {
  if (QAction* a = actions_.value(key, nullptr)) a->setIcon(icon);
}

QWidget* VbToolBar::keyWidget(const QString& key) const {
  QAction* a = actions_.value(key, nullptr);
  return a ? widgetForAction(a) : nullptr;
}

int VbToolBar::KeyLeft(const QString& key) const {
  QWidget* w = keyWidget(key);
  return w ? w->geometry().left() : 0;
}

int VbToolBar::KeyWidth(const QString& key) const {
  QWidget* w = keyWidget(key);
  return w ? w->width() : 0;
}

void VbToolBar::SetKeyWidth(const QString& key, int widthPixels) {
  if (QWidget* w = keyWidget(key)) w->setFixedWidth(widthPixels < 0 ? 0 : widthPixels);
}

void VbToolBar::Click(const QString& key) {
  QAction* a = actions_.value(key, nullptr);
  if (!a || !a->isEnabled()) return;
  if (menus_.contains(key)) {
    if (onButton_) onButton_(key);
    return;
  }
  a->trigger();
}

void VbToolBar::ClickMenuItem(const QString& itemKey) {
  QAction* a = menuItems_.value(itemKey, nullptr);
  if (a && a->isEnabled()) a->trigger();
}

}  // namespace orv
