// Click rules of the VB-like controls: a value chosen from code runs the
// handler at once (also on a disabled control), an unchanged value runs
// nothing, and the user's click runs it once.
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QRadioButton>
#include <gtest/gtest.h>

#include "foundation/OrvenilError.h"
#include "platform/ui/ContainerControls.h"
#include "platform/ui/ListIndex.h"
#include "platform/ui/OptionArray.h"
#include "platform/ui/VbCheckBox.h"
#include "platform/ui/VbComboBox.h"
#include "platform/ui/VbFrame.h"
#include "platform/ui/VbStatusBar.h"
#include "platform/ui/VbTabStrip.h"
#include "platform/ui/VbTextBox.h"
#include "platform/ui/VbToolBar.h"

using namespace orv;

TEST(OptionArray, CodeChoiceClicksOnceAlsoWhenDisabled) {
  QWidget host;
  OptionArray options;
  for (int i = 0; i < 3; ++i) options.add(i, QStringLiteral("Option %1").arg(i), &host);
  options.preset(0);
  QList<int> clicks;
  options.onClick([&](int i) { clicks << i; });

  options.select(0);  // already chosen
  EXPECT_TRUE(clicks.isEmpty());
  options.select(2);
  EXPECT_EQ(clicks, QList<int>{2});
  EXPECT_TRUE(options.button(2)->isChecked());
  EXPECT_FALSE(options.button(0)->isChecked());

  options.setEnabled(1, false);
  options.select(1);
  EXPECT_EQ(clicks, (QList<int>{2, 1}));
  EXPECT_EQ(options.value(), 1);
  options.select(7);  // no such option
  EXPECT_EQ(clicks.size(), 2);
}

TEST(OptionArray, UserClickRunsHandlerOnlyForANewChoice) {
  QWidget host;
  OptionArray options;
  options.add(0, QStringLiteral("a"), &host);
  options.add(1, QStringLiteral("b"), &host);
  options.preset(0);
  int clicks = 0;
  int last = -1;
  options.onClick([&](int i) { ++clicks; last = i; });
  options.button(1)->click();
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(last, 1);
  options.button(1)->click();  // the chosen one again
  EXPECT_EQ(clicks, 1);
  options.clear();
  EXPECT_EQ(options.value(), -1);
  EXPECT_FALSE(options.button(1)->isChecked());
  EXPECT_EQ(clicks, 1);
}

TEST(VbComboBox, TextOutsideListAndListIndexFromCode) {
  VbComboBox combo;
  int clicks = 0;
  combo.onClick([&] { ++clicks; });
  combo.SetText(QStringLiteral("automatisch"));
  EXPECT_EQ(combo.ListIndex(), -1);
  EXPECT_EQ(combo.Text(), QStringLiteral("automatisch"));
  combo.AddItem(QStringLiteral("GRS1980"));
  combo.AddItem(QStringLiteral("Bessel"));
  EXPECT_EQ(combo.ListIndex(), -1);  // adding items chooses none
  EXPECT_EQ(combo.Text(), QStringLiteral("automatisch"));
  EXPECT_EQ(clicks, 0);

  combo.SetListIndex(1);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(combo.Text(), QStringLiteral("Bessel"));
  combo.SetListIndex(1);  // unchanged: still a click
  EXPECT_EQ(clicks, 2);
  combo.setEnabled(false);
  combo.SetListIndex(0);  // disabled: still a click
  EXPECT_EQ(clicks, 3);

  combo.SetText(QStringLiteral("ohne"));
  EXPECT_EQ(combo.ListIndex(), -1);
  EXPECT_EQ(combo.Text(), QStringLiteral("ohne"));
  EXPECT_EQ(clicks, 3);  // the text runs nothing
  EXPECT_THROW(combo.SetListIndex(5), OrvenilError);

  combo.Clear();
  EXPECT_EQ(combo.ListCount(), 0);
  EXPECT_EQ(combo.Text(), QString());
}

TEST(FindListIndex, FirstComboItemContainedInTheText) {
  QComboBox combo;
  combo.addItems({"GK42/83", "ETRS89", "RD83"});
  EXPECT_EQ(FindListIndex(&combo, "nach ETRS89 (UTM)"), 1);
  EXPECT_EQ(FindListIndex(static_cast<QComboBox*>(nullptr), "x"), 0);
}

TEST(VbComboBox, UserChoiceClicks) {
  VbComboBox combo;
  combo.AddItem(QStringLiteral("a"));
  combo.AddItem(QStringLiteral("b"));
  int clicks = 0;
  combo.onClick([&] { ++clicks; });
  Q_EMIT combo.activated(1);  // what the list sends for the user's choice
  EXPECT_EQ(clicks, 1);
}

TEST(VbComboBox, FreeTextLooksLikeAChosenItem) {
  // "ohne" shown as free text must not look disabled (pale placeholder style).
  VbComboBox free;
  free.SetText(QStringLiteral("ohne"));
  VbComboBox chosen;
  chosen.AddItem(QStringLiteral("ohne"));
  chosen.SetListIndex(0);
  for (VbComboBox* box : {&free, &chosen}) box->resize(120, 24);
  EXPECT_EQ(free.grab().toImage(), chosen.grab().toImage());
}

TEST(VbCheckBox, ChangeClicksUnchangedDoesNot) {
  VbCheckBox box(QStringLiteral("Höhe = Höhe - Geoid"));
  int clicks = 0;
  box.onClick([&] { ++clicks; });
  box.SetValue(0);
  EXPECT_EQ(clicks, 0);
  box.setEnabled(false);
  box.SetValue(1);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(box.Value(), 1);
  box.SetValue(1);
  EXPECT_EQ(clicks, 1);
  box.setEnabled(true);
  box.click();  // the user
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(box.Value(), 0);
}

TEST(VbTextBox, BackgroundColourReadsBack) {
  VbTextBox box;
  box.SetBackColor(WarningBackColor());
  EXPECT_EQ(box.BackColor(), QColor(255, 192, 192));
  box.SetBackColor(ButtonFaceColor());
  EXPECT_EQ(box.BackColor(), ButtonFaceColor());
}

TEST(EnableContainerControls, DirectChildrenOnly) {
  VbFrame outer(QStringLiteral("Transformation"));
  OptionArray options;
  QRadioButton* a = options.add(0, QStringLiteral("ohne"), &outer);
  QRadioButton* b = options.add(1, QStringLiteral("NTv2"), &outer);
  auto* label = new QLabel(QStringLiteral("Zone:"), &outer);
  auto* nested = new VbFrame(QStringLiteral("Geoid"), &outer);
  VbCheckBox* inner = new VbCheckBox(QStringLiteral("x"), nested);

  outer.EnableContainerControls(false);
  EXPECT_FALSE(a->isEnabled());
  EXPECT_FALSE(b->isEnabled());
  EXPECT_TRUE(label->isEnabledTo(&outer));  // windowless control untouched
  EXPECT_FALSE(nested->isEnabled());        // the nested frame itself is switched
  EXPECT_TRUE(inner->isEnabledTo(nested));  // its controls are not

  nested->setEnabled(true);
  inner->setEnabled(false);
  outer.EnableContainerControls(true);
  EXPECT_TRUE(a->isEnabled());
  EXPECT_FALSE(inner->isEnabled());  // nested control keeps its own state

  EXPECT_THROW(EnableContainerControls(nullptr, true), OrvenilError);
}

TEST(VbToolBar, KeysMenusAndPressedState) {
  VbToolBar bar;
  bar.AddButton(QStringLiteral("btnDbÖffnen"), QStringLiteral("Datei importieren"));
  bar.AddCheckButton(QStringLiteral("btnGoogleMap"), QStringLiteral("OpenStreet"));
  bar.AddMenuButton(QString(), QStringLiteral("Spaltenansicht"),
                    QStringLiteral("Spalten entsprechend Transformation anzeigen"));
  bar.AddMenuItem(QStringLiteral("Spaltenansicht"), QStringLiteral("btnSpalten1"), QStringLiteral("alle Spalten"));
  bar.AddMenuButton(QStringLiteral("btnNTv2"), QStringLiteral("NTv2"));
  bar.AddMenuItem(QStringLiteral("btnNTv2"), QStringLiteral("btnNTv2erzeugen"), QStringLiteral("NTv2 Trafo erstellen"));
  bar.AddPlaceholder(QStringLiteral("btnPlaceholder"));
  bar.AddButton(QStringLiteral("btnDBEnde"), QStringLiteral("Ende"));

  QStringList keys;
  QStringList items;
  bar.onButtonClick([&](const QString& k) { keys << k; });
  bar.onButtonMenuClick([&](const QString& k) { items << k; });

  bar.Click(QStringLiteral("btnDbÖffnen"));
  bar.SetEnabled(QStringLiteral("btnDBEnde"), false);
  EXPECT_FALSE(bar.IsEnabled(QStringLiteral("btnDBEnde")));
  bar.Click(QStringLiteral("btnDBEnde"));  // disabled: no click
  bar.Click(QStringLiteral("btnGoogleMap"));
  EXPECT_TRUE(bar.IsPressed(QStringLiteral("btnGoogleMap")));
  bar.Click(QStringLiteral("btnGoogleMap"));
  EXPECT_FALSE(bar.IsPressed(QStringLiteral("btnGoogleMap")));
  EXPECT_EQ(keys, (QStringList{QStringLiteral("btnDbÖffnen"), QStringLiteral("btnGoogleMap"),
                               QStringLiteral("btnGoogleMap")}));

  bar.ClickMenuItem(QStringLiteral("btnSpalten1"));
  bar.ClickMenuItem(QStringLiteral("btnNTv2erzeugen"));
  EXPECT_EQ(items, (QStringList{QStringLiteral("btnSpalten1"), QStringLiteral("btnNTv2erzeugen")}));
  EXPECT_EQ(bar.MenuItemKeys(QStringLiteral("btnNTv2")), QStringList{QStringLiteral("btnNTv2erzeugen")});
  EXPECT_EQ(bar.MenuItemCaption(QStringLiteral("btnSpalten1")), QStringLiteral("alle Spalten"));

  bar.SetKeyWidth(QStringLiteral("btnPlaceholder"), 120);
  EXPECT_EQ(bar.KeyWidth(QStringLiteral("btnPlaceholder")), 120);
  bar.SetKeyWidth(QStringLiteral("btnPlaceholder"), -5);
  EXPECT_EQ(bar.KeyWidth(QStringLiteral("btnPlaceholder")), 0);
}

TEST(VbStatusBar, PanelsByKey) {
  VbStatusBar bar;
  for (int i = 1; i <= 10; ++i) bar.AddPanel(QString::number(i));
  bar.SetPanelText(QStringLiteral("1"), QStringLiteral("Status  "));
  bar.SetPanelText(10, QStringLiteral("Speichern Spalten: Punkt  "));
  bar.SetPanelText(QStringLiteral("11"), QStringLiteral("lost"));
  EXPECT_EQ(bar.PanelCount(), 10);
  EXPECT_EQ(bar.PanelText(1), QStringLiteral("Status  "));
  EXPECT_EQ(bar.PanelText(QStringLiteral("10")), QStringLiteral("Speichern Spalten: Punkt  "));
  EXPECT_EQ(bar.PanelText(QStringLiteral("11")), QString());
}

TEST(VbTabStrip, CountedFromOneClickOnChange) {
  VbTabStrip tabs;
  tabs.AddTab(new QWidget, QStringLiteral("   Koordinaten   "));
  EXPECT_EQ(tabs.AddTab(new QWidget, QStringLiteral("   Koordinatensysteme ...")), 2);
  int clicks = 0;
  tabs.onClick([&] { ++clicks; });
  EXPECT_EQ(tabs.SelectedTab(), 1);
  tabs.SelectTab(1);
  EXPECT_EQ(clicks, 0);
  tabs.SelectTab(2);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(tabs.SelectedTab(), 2);
  EXPECT_EQ(tabs.Caption(1), QStringLiteral("   Koordinaten   "));
}
