// orvenil: the window program.
#include <QApplication>
#include <QStringList>
#include <clocale>

#include "platform/db/DatabaseHelpers.h"
#include "platform/db/LostCommitReport.h"
#include "platform/db/TemporaryFolder.h"
#include "platform/ui/GermanQtTranslation.h"
#include "platform/ui/QtDialogService.h"
#include "shell/FormOrvenil.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // Qt sets the C locale from the environment; numbers are always written
  // with a decimal point here.
  std::setlocale(LC_NUMERIC, "C");
  // File dialogs and message-box keys in German; without the translation
  // they stay English and work the same.
  orv::InstallGermanQtTranslation(app);

  orv::QtDialogService dialogs;
  // Pending writes reach their files before the process ends.
  dialogs.setExitHook([](int) {
    try {
      orv::CloseAllDatabases(true);
    } catch (const std::exception& e) {
      orv::NoteLostCommit(QString(), e);
    }
    orv::ReportLostCommits();
  });
  orv::SetDialogService(&dialogs);

  const QString programFolder = QCoreApplication::applicationDirPath() + QStringLiteral("/");
  const orv::FormOrvenilFolders folders{programFolder, programFolder + QStringLiteral("Orvenil-Datenbanken/"),
                                        orv::DefaultTemporaryFolder()};
  // The point file to import, as the command line names it.
  const QString commandLine = app.arguments().mid(1).join(QLatin1Char(' '));

  orv::FormOrvenil form(folders, commandLine);
  dialogs.setDialogParent(&form);
  form.Form_Load();
  form.show();
  const int code = app.exec();
  try {
    orv::CloseAllDatabases(true);
  } catch (const std::exception& e) {
    orv::NoteLostCommit(QString(), e);  // logged; no window is left to show it
  }
  orv::SetDialogService(nullptr);
  return code;
}
