#pragma once
// A toolbar whose keys are addressed by key strings: plain keys, check keys
// that stay pressed, drop-down keys with keyed menu items, spacers and a
// placeholder that stretches so that the keys after it stay at the right end.
#include <QHash>
#include <QString>
#include <QToolBar>
#include <functional>

class QAction;
class QMenu;
class QToolButton;

namespace orv {

class VbToolBar : public QToolBar {
 public:
  explicit VbToolBar(QWidget* parent = nullptr);

  void AddButton(const QString& key, const QString& text, const QString& toolTip = QString());
  void AddCheckButton(const QString& key, const QString& text, const QString& toolTip = QString());
  // A drop-down key (key may be empty); items are added with AddMenuItem.
  void AddMenuButton(const QString& key, const QString& text, const QString& toolTip = QString());
  // Adds an item to the drop-down key added last with that text or key.
  void AddMenuItem(const QString& menuKeyOrText, const QString& itemKey, const QString& caption);
  void AddSpacer(int widthPixels);
  // A key without function that takes the room left over.
  void AddPlaceholder(const QString& key);

  bool HasKey(const QString& key) const;
  QStringList Keys() const;
  bool IsEnabled(const QString& key) const;
  void SetEnabled(const QString& key, bool enabled);
  // Pressed state of a check key.
  bool IsPressed(const QString& key) const;
  void SetPressed(const QString& key, bool pressed);
  QString Text(const QString& key) const;
  QStringList MenuItemKeys(const QString& key) const;
  QString MenuItemCaption(const QString& itemKey) const;
  void SetIcon(const QString& key, const QIcon& icon);

  // Geometry of a key in pixels, relative to the toolbar.
  int KeyLeft(const QString& key) const;
  int KeyWidth(const QString& key) const;
  void SetKeyWidth(const QString& key, int widthPixels);

  // Handlers: a key clicked (check keys after their pressed state changed)
  // and a drop-down item chosen.
  void onButtonClick(std::function<void(const QString& key)> handler) { onButton_ = std::move(handler); }
  void onButtonMenuClick(std::function<void(const QString& itemKey)> handler) { onMenu_ = std::move(handler); }

  // Clicks a key or an item as the user would (tests and code paths).
  void Click(const QString& key);
  void ClickMenuItem(const QString& itemKey);

 private:
  QWidget* keyWidget(const QString& key) const;
  QHash<QString, QAction*> actions_;       // keys
  QHash<QString, QAction*> menuItems_;     // item keys
  QHash<QString, QMenu*> menus_;           // menu key or text -> menu
  QHash<QString, QWidget*> placeholders_;
  QStringList order_;
  std::function<void(const QString&)> onButton_;
  std::function<void(const QString&)> onMenu_;
};

}  // namespace orv
