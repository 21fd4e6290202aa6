// The NTv2 point grid refuses a grid larger than the import that follows
// reads, before anything is written.
#include <sched.h>
#include <sys/mount.h>

#include <QDir>
#include <cerrno>
#include <cstring>

#include "support/FullFolder.h"
#include "window/MainWindowFixture.h"

using namespace orv;

namespace {

// Mounts made by this process from now on are seen by it alone. Empty when
// that is possible, else the reason why not.
QString EnterPrivateMountNamespace() {
  if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
    return QStringLiteral("no private mount namespace here (") + QString::fromLocal8Bit(std::strerror(errno)) +
           QStringLiteral("); the test needs a small file system of its own");
  return QString();
}

using Ntv2PointGridWindow = MainWindowTest;

// A 2° × 2° area at 0.5" spacing would be 207 million nodes, far more than
// the import that follows reads: the tool refuses it with its first message
// and writes nothing, on a small file system that a written grid would fill.
TEST_F(Ntv2PointGridWindow, GridBeyondWhatTheImportReadsIsRefusedBeforeAnythingIsWritten) {
  const QString noNamespace = EnterPrivateMountNamespace();
  if (!noNamespace.isEmpty()) GTEST_SKIP() << noNamespace.toStdString();
  test::FullFolder small;
  if (small.path().isEmpty()) GTEST_SKIP() << small.skipReason().toStdString();
  putAllTables();
  start();
  const QString corners = small.path() + "ecken.head";
  ASSERT_TRUE(test::FullFolder::Put(corners, "SO\t0\t50\xB0" "00'00\"\t12\xB0" "00'00\"\r\n"
                                             "NW\t0\t52\xB0" "00'00\"\t10\xB0" "00'00\"\r\n"));
  dialogs->expectOpenFile(corners, 2);
  dialogs->expectInput("Gitterabstand", "0.5; 0.5");
  dialogs->expectMessage("Das Punktgitter ergäbe 207388803 Punkte (14401 × 14401 Gitterpunkte und 2 Eckpunkte), "
                         "der folgende Import liest höchstens 2000000 Punkte");
  form->Coolbar2_ButtonMenuClick("btnNTv2erzeugen");
  EXPECT_TRUE(dialogs->allDone()) << dialogs->messageTexts().join("\n").toStdString();
  EXPECT_EQ(dialogs->messages().size(), 1) << dialogs->messageTexts().join("\n").toStdString();
  EXPECT_EQ(QDir(small.path()).entryList(QDir::Files), QStringList{"ecken.head"});
}

}  // namespace
