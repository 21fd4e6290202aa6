#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

#include "shell/FormAbout.h"
#include "shell/ProgramVersion.h"

using namespace orv;

TEST(AboutBox, VersionUsesMajorMinorAndRevisionOnly) {
  EXPECT_EQ(VersionText(2, 0, 9), "2.0(9)");
  EXPECT_EQ(ProgramVersionText(), "2.0(9)");
  EXPECT_EQ(MainWindowCaption(), "Orvenil 2.0(9)");
}

TEST(AboutBox, TextsAfterLoad) {
  FormAbout box;
  EXPECT_EQ(box.windowTitle(), "Info zu Orvenil");
  EXPECT_EQ(box.lblTitle->text(), "Orvenil");
  EXPECT_EQ(box.lblVersion->text(), "Version 2.0(9)");
  EXPECT_EQ(box.lblDescription->text(),
            "Programm zum Konvertieren und Transformieren von Koordinaten");
  EXPECT_TRUE(box.lblDisclaimer->text().startsWith("Warnung: "));
  EXPECT_EQ(box.cmdOK->text(), "OK");
  EXPECT_EQ(box.cmdSysInfo->text(), "&Systeminfo...");
  box.show();
  box.cmdOK->click();
  EXPECT_FALSE(box.isVisible());
}
