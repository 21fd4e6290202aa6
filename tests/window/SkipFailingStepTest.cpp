// A step that fails is skipped and logged with its name and the error; the
// steps after it still run.
#include <QStringList>
#include <QtGlobal>
#include <gtest/gtest.h>

#include "foundation/OrvenilError.h"
#include "shell/SkipFailingStep.h"

namespace orv {
namespace {

QStringList g_warnings;

void Collect(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtWarningMsg) g_warnings << text;
}

TEST(SkipFailingStep, FailingStepIsLoggedWithItsNameAndSkipped) {
  g_warnings.clear();
  const QtMessageHandler previous = qInstallMessageHandler(Collect);
  bool laterStepRan = false;
  SkipFailingStep("NTv2-Tabelle laden", [] { throw OrvenilError(kErrFileNotFound, QStringLiteral("Datei nicht gefunden")); });
  SkipFailingStep("Datenbanken schließen", [&] { laterStepRan = true; });
  qInstallMessageHandler(previous);
  EXPECT_TRUE(laterStepRan);
  ASSERT_EQ(g_warnings.size(), 1);
  EXPECT_EQ(g_warnings.first(),
            QStringLiteral("Schritt \"NTv2-Tabelle laden\" übersprungen: Fehler 53: Datei nicht gefunden"));
}

}  // namespace
}  // namespace orv
