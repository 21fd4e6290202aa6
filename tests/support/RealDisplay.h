#pragma once
// Test programs whose tests need a real X display (font metrics, window
// sizes as a user meets them) get one of their own: when ORV_TEST_DISPLAY is
// "xvfb", main() starts a private Xvfb server before the application object
// and runs on it with the xcb platform. Where Xvfb cannot be started the
// program runs headless and the tests skip, saying why.
#include <QString>

namespace orvtest {

// Called by main() before the application object exists.
void StartRealDisplayIfAsked(int argc, char** argv);
// Ends the server started (called by main() after the tests).
void StopRealDisplay();
// Empty on the private display; otherwise why there is none.
QString RealDisplayMissing();

}  // namespace orvtest

// Skips the test where the program has no real display.
#define ORV_REQUIRE_REAL_DISPLAY()                                              \
  do {                                                                          \
    const QString missing = orvtest::RealDisplayMissing();                      \
    if (!missing.isEmpty()) GTEST_SKIP() << missing.toStdString();              \
  } while (false)
