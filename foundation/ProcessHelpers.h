#pragma once
// Starting programs: the program that opens a document, opening a document
// with it, and running a program to its end.
#include <QString>

namespace orv {

// The program that opens the file, between double quotes: "xdg-open" for an
// existing file that is not itself a program; two double quotes when there is
// none (a missing file, a folder, a program file, no xdg-open installed).
QString FindAssociatedExecutable(const QString& file);

// Opens the file with the desktop's program for it, through the dialog
// service; the outcome is not checked.
void OpenWithAssociatedProgram(const QString& file);

// Runs the command line (a program and its arguments; quote parts that hold
// blanks, or name only an existing program file) without a shell and waits
// without time-out until it has ended. The window state is kept for callers
// that pass one; programs start without a window of ours. workingFolder empty:
// the current folder. Throws OrvenilError when the program cannot be started.
// Returns the exit code (-1 when the program crashed).
int ShellAndWait(const QString& commandLine, int windowState = 0, const QString& workingFolder = QString());

}  // namespace orv
