// The start button's dispatch and closing steps, the zone button, refusing
// commands while a run works, and the column views of the toolbar.
#include <QFile>

#include "platform/ui/VbCheckBox.h"
#include "platform/ui/VbTabStrip.h"
#include "platform/ui/VbToolBar.h"
#include "runs/RunFixture.h"

using namespace orv;

namespace {

const RunTest::Row kPoint{{"sXz", "3934386.8"}, {"sYz", "881289.7"}, {"sZz", "4925822.4"}, {"sZe", "100.0000"}};

}  // namespace

class DispatcherTest : public RunTest {};

TEST_F(DispatcherTest, EmptyGridDoesNothingAndOhneOnlyClosesUp) {
  FormOrvenil& f = startJob(0, {});
  f.sevTabStrip1->SelectTab(2);
  f.cmdTrafoStart_Click();
  EXPECT_EQ(dialogs->busyChanges(), 0);
  EXPECT_EQ(f.sevTabStrip1->SelectedTab(), 2);
  EXPECT_FALSE(f.Coolbar2->IsEnabled(kKeyDbSpeichernUnter));
  // The panel's export button follows the toolbar key.
  EXPECT_FALSE(f.cmdAuswahlExport->isEnabled());

  startJob(0, {kPoint});
  form->sevTabStrip1->SelectTab(2);
  form->BtZone->preset(1);
  form->cmdTrafoStart_Click();
  EXPECT_EQ(form->sevTabStrip1->SelectedTab(), 1);
  EXPECT_TRUE(form->Coolbar2->IsEnabled(kKeyDbSpeichernUnter));
  EXPECT_TRUE(form->cmdAuswahlExport->isEnabled());
  EXPECT_TRUE(form->BtZone->isSelected(0));
  EXPECT_EQ(rowsOfDaten()[0]["sXzZiel"], "<null>");
  EXPECT_FALSE(dialogs->isBusy());
}

TEST_F(DispatcherTest, GeoidRunFollowsOnlyWhenAModelIsChosen) {
  FormOrvenil& f = startJob(0, {kPoint});
  QFile model(dbFile("egm96.bin"));
  ASSERT_TRUE(model.open(QIODevice::WriteOnly));
  model.write("grid");
  model.close();
  dialogs->setAcceptOkMessages(true);
  chooseSet(f, 0, 0);
  f.cmdTrafoStart_Click();
  EXPECT_TRUE(dialogs->messages().isEmpty()) << dialogs->messageTexts().join("\n").toStdString();
  EXPECT_NE(rowsOfDaten()[0]["sXzZiel"], "<null>");

  chooseSet(f, 0, 0);
  f.cmbGeoidmodell->SetListIndex(1);
  f.cmdTrafoStart_Click();
  // The height run follows: the test's database folder has no geoid program.
  ASSERT_EQ(dialogs->messageTexts().size(), 1);
  EXPECT_TRUE(dialogs->messageTexts()[0].contains("Geoidprogramm"));

  // "nur Höhe" calls the height run whatever the model list shows.
  dialogs->clearRecords();
  f.AuswahlTrafoTyp->select(3);
  f.cmdTrafoStart_Click();
  EXPECT_EQ(dialogs->messageTexts().size(), 1);

  // The zone button with type "ohne" leaves the start button disabled.
  f.AuswahlTrafoTyp->select(0);
  f.cmdTrafoStart->setEnabled(true);
  f.cmdZoneÄndern_Click();
  EXPECT_FALSE(f.cmdTrafoStart->isEnabled());
}

// A refused or failed transformation leaves the target heights alone: the
// height run does not follow it.
TEST_F(DispatcherTest, RefusedRunIsNotFollowedByTheHeightRun) {
  RunTest::Row point = kPoint;
  point["sZeZiel"] = "50.0000";
  FormOrvenil& f = startJob(0, {point});
  QFile model(dbFile("egm96.bin"));
  ASSERT_TRUE(model.open(QIODevice::WriteOnly));
  model.write("grid");
  model.close();
  chooseSet(f, 0, 1);  // the reverse direction does not start in ETRS89
  f.cmbGeoidmodell->SetListIndex(1);
  dialogs->expectMessage("Rück");
  f.cmdTrafoStart_Click();
  f.AuswahlTrafoTyp->select(2);  // the NTv2 set's grid file is missing
  f.cmbGeoidmodell->SetListIndex(1);
  dialogs->expectMessage("fehlt oder ist nicht lesbar");
  f.cmdTrafoStart_Click();
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("|").toStdString();
  EXPECT_EQ(rowsOfDaten()[0]["sZeZiel"], "50.0000");
}

// After a run the start button follows the panel: a set that does not start
// in the job's system (red boxes) leaves it disabled.
TEST_F(DispatcherTest, StartButtonAfterARunFollowsThePanel) {
  FormOrvenil& f = startJob(0, {kPoint});
  chooseSet(f, 0, 0);
  dialogs->setAcceptOkMessages(true);
  f.cmdTrafoStart_Click();
  EXPECT_TRUE(f.cmdTrafoStart->isEnabled());
  chooseSet(f, 0, 1);
  ASSERT_FALSE(f.cmdTrafoStart->isEnabled());
  f.cmdTrafoStart_Click();  // as the command line starts it: refused
  EXPECT_FALSE(f.cmdTrafoStart->isEnabled());
  f.cmdZoneÄndern_Click();
  EXPECT_FALSE(f.cmdTrafoStart->isEnabled());
}

TEST_F(DispatcherTest, CommandsAreRefusedWhileARunWorks) {
  FormOrvenil& f = startJob(0, {kPoint, kPoint});
  chooseSet(f, 0, 0);
  dialogs->setAcceptOkMessages(true);
  int tabDuringRun = 0;
  dialogs->setOnProcessEvents([&] {
    if (tabDuringRun) return;
    f.sevTabStrip1->SelectTab(2);
    f.cmdTrafoStart_Click();  // a second start would select tab 1
    f.Coolbar2->Click(kKeyDbOeffnen);
    f.Coolbar2->ClickMenuItem("btnSpalten3");
    tabDuringRun = f.sevTabStrip1->SelectedTab();
  });
  f.cmdTrafoStart_Click();
  dialogs->setOnProcessEvents({});
  EXPECT_EQ(tabDuringRun, 2);
  EXPECT_TRUE(dialogs->messages().isEmpty()) << dialogs->messageTexts().join("\n").toStdString();
  EXPECT_TRUE(f.GridKooDb->ColumnVisible("sYe"));
  // Once the run has ended the keys work again.
  f.Coolbar2->ClickMenuItem("btnSpalten3");
  EXPECT_FALSE(f.GridKooDb->ColumnVisible("sYe"));
}

TEST_F(DispatcherTest, ColumnViewsKeepOnlyTheirColumns) {
  putAllTables();
  FormOrvenil& f = start();
  const QStringList all{"Punkt", "sYe", "sBg", "sYeZiel", "sBgZiel", "sHgZiel", "Zone", "Extra", "id"};
  for (const QString& key : all) f.GridKooDb->AddColumn(key, key);
  const auto shown = [&] {
    QStringList keys;
    for (int c = 1; c <= f.GridKooDb->ColumnCount(); ++c)
      if (f.GridKooDb->ColumnVisible(f.GridKooDb->ColumnKey(c))) keys << f.GridKooDb->ColumnKey(c);
    return keys;
  };
  f.Coolbar2->ClickMenuItem("btnSpalten2");
  EXPECT_EQ(shown(), (QStringList{"Punkt", "sYe", "sBg", "Zone"}));
  f.Coolbar2->ClickMenuItem("btnSpalten3");
  EXPECT_EQ(shown(), (QStringList{"Punkt", "sYeZiel", "sBgZiel", "sHgZiel", "Zone"}));
  f.Coolbar2->ClickMenuItem("btnSpalten4");
  EXPECT_EQ(shown(), (QStringList{"Punkt", "sYe", "sYeZiel", "Zone"}));
  // The view of all columns shows the row number too, which the others hide.
  f.Coolbar2->ClickMenuItem("btnSpalten1");
  EXPECT_EQ(shown(), all) << shown().join(",").toStdString();
  EXPECT_TRUE(f.GridKooDb->Redraw());
}
