#pragma once
// Commits that fail where no caller can be told: a database handle dropped
// without closing commits its pending writes in a destructor. Such a failure
// is logged at once and shown to the user in a message box at the next
// user-visible step (the next turn of the event loop, or an explicit
// ReportLostCommits() call), so lost rows never pass unnoticed.
#include <QString>
#include <QStringList>
#include <exception>

namespace orv {

// Logs the failed commit of the database at path and keeps it for the report.
void NoteLostCommit(const QString& path, const std::exception& error);
// The failures noted and not yet reported, each as "path: description".
QStringList PendingLostCommits();
// Shows every failure noted so far in one message box and forgets them.
// True when there was something to show.
bool ReportLostCommits();

}  // namespace orv
