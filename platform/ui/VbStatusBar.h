#pragma once
// A status bar of panels addressed by key ("1" … "10").
#include <QStatusBar>
#include <QStringList>

namespace orv {

class ElidingLabel;

class VbStatusBar : public QStatusBar {
 public:
  explicit VbStatusBar(QWidget* parent = nullptr);
  // Panels are as wide as their texts. Spring panels take the width the
  // others leave and share it, the longest text giving way first; a panel
  // too narrow for its text shortens it at the end ("…") and shows it whole
  // as tooltip. Only where the bar is too narrow for the other panels' texts
  // do they shrink, so that their texts never widen the window.
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
  // The panel's label (what it shows, its tooltip); null for an unknown key.
  const ElidingLabel* Panel(const QString& key) const { return panel(key); }
  const ElidingLabel* Panel(int number) const { return panel(QString::number(number)); }

 private:
  class PanelRow;
  ElidingLabel* panel(const QString& key) const;
  PanelRow* row_;
  QStringList keys_;
  QList<ElidingLabel*> labels_;
};

}  // namespace orv
