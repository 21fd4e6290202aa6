#include "shell/ProgramVersion.h"

namespace orv {

QString VersionText(int major, int minor, int revision) {
  return QString::number(major) + QLatin1Char('.') + QString::number(minor) + QLatin1Char('(') +
         QString::number(revision) + QLatin1Char(')');
}

QString ProgramVersionText() {
  return VersionText(ORVENIL_VERSION_MAJOR, ORVENIL_VERSION_MINOR, ORVENIL_VERSION_TWEAK);
}

QString MainWindowCaption() { return kProgramTitle + QLatin1Char(' ') + ProgramVersionText(); }

}  // namespace orv
