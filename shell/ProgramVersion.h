#pragma once
// The program's name and version as the window caption and the about box
// show them: major "." minor "(" revision ")", e.g. "2.0(9)".
#include <QString>

namespace orv {

inline const QString kProgramTitle = QStringLiteral("Orvenil");

// Major, minor and revision (the fourth number of the version); the third
// number does not appear.
QString VersionText(int major, int minor, int revision);
// The version this program was built with.
QString ProgramVersionText();
// "Orvenil 2.0(9)"
QString MainWindowCaption();

}  // namespace orv
