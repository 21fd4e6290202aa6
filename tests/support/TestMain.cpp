// Test entry point: one QApplication for the whole test program, then GoogleTest.
#include <QApplication>
#include <clocale>
#include <gtest/gtest.h>

#include "RealDisplay.h"

int main(int argc, char** argv) {
  orvtest::StartRealDisplayIfAsked(argc, argv);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  // Headless windows open on a full HD screen, as on a surveyor's desktop;
  // the offscreen platform's own screen is 800 x 600.
  if (qgetenv("QT_QPA_PLATFORM") == "offscreen")
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" ORV_TEST_DATA_DIR "/offscreen-screen.json");
  int result = 0;
  {
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    ::testing::InitGoogleTest(&argc, argv);
    result = RUN_ALL_TESTS();
  }
  orvtest::StopRealDisplay();
  return result;
}
