#pragma once
// A status bar of panels addressed by key ("1" … "10").
#include <QStatusBar>
#include <QStringList>

class QLabel;

namespace orv {

class VbStatusBar : public QStatusBar {
 public:
  explicit VbStatusBar(QWidget* parent = nullptr);
  // Panels are as wide as their text, refitted whenever a text changes; a
  // spring panel takes the width left over and shortens its text at the end
  // where that is too little. Only where the bar is too narrow for the other
  // panels' texts do they shrink, down to a small rest.
  void AddPanel(const QString& key, const QString& text = QString(), bool spring = false);
  void ClearPanels();
  int PanelCount() const { return static_cast<int>(keys_.size()); }
  QStringList PanelKeys() const { return keys_; }
  bool HasPanel(const QString& key) const { return keys_.contains(key); }
  // Text of a panel; an unknown key reads "" and is not written.
  QString PanelText(const QString& key) const;
  void SetPanelText(const QString& key, const QString& text);
  QString PanelText(int number) const { return PanelText(QString::number(number)); }
  void SetPanelText(int number, const QString& text) { SetPanelText(QString::number(number), text); }

 private:
  QLabel* panel(const QString& key) const;
  QStringList keys_;
  QList<QLabel*> labels_;
};

}  // namespace orv
