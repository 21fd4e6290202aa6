#include <QApplication>
#include <QPushButton>
#include <QRadioButton>

#include "MainWindowFixture.h"
#include "platform/ui/OptionArray.h"
#include "platform/ui/VbCheckBox.h"
#include "platform/ui/VbComboBox.h"
#include "platform/ui/VbFrame.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/VbTabStrip.h"
#include "platform/ui/VbTextBox.h"
#include "platform/ui/VbToolBar.h"

using namespace orv;

class PanelStateTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    putAllTables();
    start();
  }
};

TEST_F(PanelStateTest, WithoutTransformationTypeGeoidAndSetStayLocked) {
  FormOrvenil& f = *form;
  f.AuswahlTrafoRichtung->preset(1);
  f.FormVisible(true);
  EXPECT_TRUE(f.zielZone->isEnabled());
  EXPECT_TRUE(f.cmdZoneÄndern->isEnabled());
  EXPECT_FALSE(f.cmdTrafoStart->isEnabled());  // no type, nothing to start
  EXPECT_TRUE(f.AuswahlTrafoTyp->button(2)->isEnabled());
  EXPECT_FALSE(f.cmbGeoidmodell->isEnabled());
  EXPECT_FALSE(f.chkUndulationMinus->isEnabled());
  EXPECT_FALSE(f.ComboTrafoPara->isEnabled());
  EXPECT_TRUE(f.AuswahlTrafoRichtung->isSelected(0));
  // The start-system panels never unlock.
  EXPECT_FALSE(f.Startsys->button(1)->isEnabled());
  EXPECT_FALSE(f.StartAbbildung->button(0)->isEnabled());
  EXPECT_FALSE(f.cmbStartsys->isEnabled());
  EXPECT_FALSE(f.cmbStartZone->isEnabled());
  EXPECT_FALSE(f.orthoNäherungshöhe->isEnabled());
  EXPECT_TRUE(f.chkZoneIndividuell->isEnabled());
}

TEST_F(PanelStateTest, WithTransformationTypeTheGeoidPanelFollows) {
  FormOrvenil& f = *form;
  f.AuswahlTrafoTyp->preset(1);
  f.AuswahlTrafoRichtung->preset(1);
  f.FormVisible(true);
  EXPECT_TRUE(f.cmbGeoidmodell->isEnabled());
  EXPECT_TRUE(f.chkUndulationMinus->isEnabled());
  EXPECT_TRUE(f.AuswahlTrafoRichtung->isSelected(1));

  f.FormVisible(false);
  EXPECT_FALSE(f.cmbGeoidmodell->isEnabled());
  EXPECT_FALSE(f.zielZone->isEnabled());
  EXPECT_FALSE(f.AuswahlTrafoTyp->button(0)->isEnabled());
  EXPECT_FALSE(f.chkZoneIndividuell->isEnabled());
  EXPECT_TRUE(f.AuswahlTrafoRichtung->isSelected(1));

  // Unlocking gives the states back from the current choices.
  f.FormVisible(true);
  EXPECT_TRUE(f.cmbGeoidmodell->isEnabled());
  EXPECT_TRUE(f.zielZone->isEnabled());
}

TEST_F(PanelStateTest, ChosenZoneLocksTheIndividualZone) {
  FormOrvenil& f = *form;
  f.FormVisible(true);
  f.zielZone->AddItem("automatisch");
  f.zielZone->AddItem("09/32");
  f.chkZoneIndividuell->SetValue(1);
  f.zielZone->SetListIndex(1);
  EXPECT_EQ(f.chkZoneIndividuell->Value(), 0);
  EXPECT_FALSE(f.chkZoneIndividuell->isEnabled());
  // FormVisible keeps it locked while a zone is chosen.
  f.FormVisible(true);
  EXPECT_FALSE(f.chkZoneIndividuell->isEnabled());

  f.chkZoneIndividuell->SetValue(1);
  f.zielZone->SetListIndex(0);
  EXPECT_EQ(f.chkZoneIndividuell->Value(), 0);
  EXPECT_TRUE(f.chkZoneIndividuell->isEnabled());
}

TEST_F(PanelStateTest, BusyWindowLocksAndUnlocks) {
  FormOrvenil& f = *form;
  f.FormVisible(true);
  f.ShowBusyWindow();
  EXPECT_TRUE(dialogs->isBusy());
  EXPECT_FALSE(f.zielZone->isEnabled());
  f.HideBusyWindow();
  EXPECT_FALSE(dialogs->isBusy());
  EXPECT_TRUE(f.zielZone->isEnabled());
}

TEST_F(PanelStateTest, ControlsCarryTheirDesignTexts) {
  FormOrvenil& f = *form;
  EXPECT_EQ(f.cmdAuswahlImport->text(), "Datei importieren");
  EXPECT_EQ(f.cmdTrafoStart->text(), "Trafo starten");
  EXPECT_EQ(f.Startsys->caption(2), "RD40/83 ");
  EXPECT_EQ(f.AuswahlTrafoTyp->caption(1), "7-Parameter ");
  EXPECT_EQ(f.AuswahlTrafoTyp->caption(5), "DHHN92>2016");
  EXPECT_EQ(f.AuswahlTrafoRichtung->caption(1), "Rück-Transformation");
  EXPECT_EQ(f.StartAbbildung->caption(1), "geozentrische Koordinaten");
  EXPECT_EQ(f.frameSystem->title(), "Koordinatensystem Eigenschaften Eingabedaten");
  EXPECT_EQ(f.frameZone->title(), "Umrechnung Zentralmeridian");
  EXPECT_EQ(f.chkUndulationMinus->text(), "Höhe = Höhe - Geoid");
  EXPECT_EQ(f.CommonDialog1.DialogTitle, "Datei importieren");
  EXPECT_EQ(f.CommonDialog2.DialogTitle, "Datei exportieren");
}

TEST_F(PanelStateTest, ResizeKeepsTheEndKeyAtTheRightAndGridsInsideTheTabs) {
  FormOrvenil& f = *form;
  f.show();
  f.resize(f.width() + 300, f.height() + 200);
  QApplication::processEvents();
  f.Form_Resize();
  QApplication::processEvents();
  const int right = f.Coolbar2->KeyLeft("btnDBEnde") + f.Coolbar2->KeyWidth("btnDBEnde");
  EXPECT_GT(right, f.formClient->width() - 40);
  EXPECT_LE(right, f.formClient->width());
  EXPECT_GT(f.Coolbar2->KeyWidth("btnHilfe"), 0);
  // The grids grow with the window and stay inside the tab strip.
  EXPECT_LT(f.GridKooDb->width(), f.sevTabStrip1->width());
  EXPECT_LT(f.GridKooDb->height(), f.sevTabStrip1->height());
  EXPECT_GT(f.GridKooDb->width(), f.sevTabStrip1->width() - 40);
  EXPECT_EQ(f.GridGeoidmodell->size(), f.GridKooDb->size());
}
