// The zone of an easting as the runs ask for it: an easting without a zone is
// reported to the user, a known one is not.
#include <gtest/gtest.h>

#include "platform/ui/ScriptedDialogService.h"
#include "shell/ZoneReport.h"

namespace orv {
namespace {

TEST(ZoneReport, EastingWithoutAZoneIsReported) {
  ScopedScriptedDialogs dialogs;  // an unexpected message fails the test
  EXPECT_EQ(ErmittleZoneVerebnet(3512345.0, QStringLiteral("Bessel")), 9);
  EXPECT_EQ(ErmittleZoneVerebnet(3512345.0, QStringLiteral("WGS1984")), 0);
  dialogs->expectMessage(QStringLiteral("Zone bzw. Koordinatensystem ungültig! Abbruch!"));
  EXPECT_EQ(ErmittleZoneVerebnet(5512345.0, QStringLiteral("GRS1980")), 0);
  ASSERT_TRUE(dialogs->allDone());
  const RecordedMessage& m = dialogs->messages().first();
  EXPECT_EQ(m.title, QStringLiteral("Orvenil ErmittleZoneVerebnet"));
  EXPECT_EQ(m.icon, MsgIcon::Critical);
}

}  // namespace
}  // namespace orv
