#pragma once
// Starting programs: the program that opens a document, opening a document
// with it, and running a program to its end.
#include <QString>
#include <QStringList>

namespace orv {

// The program that opens the file, between double quotes: "xdg-open" for an
// existing file that is not itself a program; two double quotes when there is
// none (a missing file, a folder, a program file, no xdg-open installed).
QString FindAssociatedExecutable(const QString& file);

// Opens the file with the desktop's program for it, through the dialog
// service; the outcome is not checked.
void OpenWithAssociatedProgram(const QString& file);

// Runs the program with its arguments, each handed over as it is (never
// through a command line that is split again, so blanks and double quotes in
// a path or an argument stay), without a shell, and waits without time-out
// until it has ended. The window state is kept for callers that pass one;
// programs start without a window of ours. workingFolder empty: the current
// folder. Throws OrvenilError when the program cannot be started. Returns the
// exit code (-1 when the program crashed).
int ShellAndWait(const QString& program, const QStringList& arguments, int windowState = 0,
                 const QString& workingFolder = QString());

}  // namespace orv
