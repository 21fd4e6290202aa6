#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <memory>

#include "MainWindowFixture.h"
#include "foundation/LocaleSwitch.h"

using namespace orv;

namespace {
const char* kRestoreMessage = "Das Dezimalkennzeichen wurde von 'Punkt' nach 'Komma' geändert!";
}

TEST_F(MainWindowTest, EndCommandRestoresTheSeparatorOnceAndCleansUp) {
  putAllTables();
  // A comma system: 1.1 prints as "1,1" until the switch has been made.
  auto probes = std::make_shared<int>(0);
  orv::SetSeparatorProbe([probes] { return QString::fromLatin1((*probes)++ == 0 ? "1,1" : "1.1"); });
  dialogs->expectMessage(SeparatorSwitchedMessage());
  FormOrvenil& f = start();
  EXPECT_FALSE(SeparatorsUnchanged());

  const QString savedCurrent = QDir::currentPath();
  QDir::setCurrent(folders.tempFolder);
  QFile("#ManDaten.pkt").open(QIODevice::WriteOnly);
  QFile("For000").open(QIODevice::WriteOnly);
  const QString kooDb = State().KooDbPfad;
  const QString geoidDb = State().GeoidDbPfad;

  dialogs->expectMessage(kRestoreMessage);
  f.Coolbar2_ButtonClick("btnDBEnde");
  const bool workFilesLeft = QFileInfo::exists("#ManDaten.pkt") || QFileInfo::exists("For000");
  QDir::setCurrent(savedCurrent);

  EXPECT_TRUE(dialogs->allDone());
  EXPECT_EQ(dialogs->messageTexts().count(kRestoreMessage), 1);
  EXPECT_TRUE(SeparatorsUnchanged());
  EXPECT_EQ(dialogs->exitCode(), 0);
  EXPECT_FALSE(workFilesLeft);
  EXPECT_FALSE(QFileInfo::exists(kooDb));
  EXPECT_FALSE(QFileInfo::exists(geoidDb));
  // The NTv2 table was saved on the way out.
  EXPECT_TRUE(QFileInfo::exists(dbFile("sys_NTv2.fil")));

  // A later close request finds nothing more to restore.
  f.close();
  EXPECT_EQ(dialogs->messageTexts().count(kRestoreMessage), 1);
}

TEST_F(MainWindowTest, ClosingTheWindowEndsNormallyAndKeepsDatabases) {
  putAllTables();
  FormOrvenil& f = start();
  f.show();
  const QString kooDb = State().KooDbPfad;
  f.close();
  EXPECT_TRUE(dialogs->messages().isEmpty());
  EXPECT_EQ(dialogs->exitCode(), 0);
  EXPECT_FALSE(f.isVisible());
  // Closing the window deletes no database; the next start does.
  EXPECT_TRUE(QFileInfo::exists(kooDb));
}
