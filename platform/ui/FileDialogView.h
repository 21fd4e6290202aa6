#pragma once
// How the open and save dialogs show a folder: Qt's own dialog (the same on
// every desktop), in the detail view, its columns wide enough for size, type
// and date, and those in German like the rest of the program ("12 KB",
// "PKT-Datei", "09.12.2026 11:35"), whatever language the system is set to.
#include <QDateTime>
#include <QString>

class QFileDialog;

namespace orv {

// Size as the detail view shows it: whole kilobytes, rounded up, with "."
// between thousands ("0 KB", "1 KB", "12.346 KB").
QString FileSizeText(qint64 bytes);
// Type of a file by its extension ("PKT-Datei", "Datei" without one).
QString FileTypeText(const QString& fileName, bool isFolder);
// Date and time of the last change ("09.12.2026 11:35").
QString FileDateText(const QDateTime& modified);

// Makes the dialog Qt's own, in the detail view with German sizes, types and
// dates, and sizes it so that every column shows whole, as far as the screen
// has room.
void PrepareFileDialog(QFileDialog& dialog);

}  // namespace orv
