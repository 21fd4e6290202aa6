#pragma once
// Why a file could not be written or read, in the words shown to the user:
// the system's own reason (disk full, no permission, …) in German, and the
// messages that name the file with it. Every writer reports through here.
//
// A writer clears errno before the operation that may fail and hands the
// value the system left to FileErrorReason, with the file device whose own
// description stands in where the system set no number.
#include <QFileDevice>
#include <QString>

namespace orv {

// The system's reason for error number errorNumber (errno), in German.
QString SystemErrorReason(int errorNumber);
// The reason of a failed operation on file: from errorNumber when the
// system set one, else the device's own description.
QString FileErrorReason(int errorNumber, const QFileDevice& file);
// "Die Datei <path> konnte nicht geschrieben werden: <reason>"
QString FileNotWrittenMessage(const QString& path, const QString& reason);
// The system's reason why a file could not be opened or read, in German: as
// SystemErrorReason, with a refused access naming the missing read right.
QString SystemReadErrorReason(int errorNumber);
// "Der Datenträger ist voll: Im Ordner '<folder>' ist kein Platz mehr frei."
QString FullFolderText(const QString& folder);
// FullFolderText(folder) when the file system of the folder has less than
// `needed` bytes free, "" when it has room (or cannot be asked): why a write
// there that gave no reason of its own failed.
QString FullFolderTextWhenFull(const QString& folder, qint64 needed);
// "Die Datei <path> konnte nicht gelesen werden: <reason>"
QString FileNotReadMessage(const QString& path, const QString& reason);

}  // namespace orv
