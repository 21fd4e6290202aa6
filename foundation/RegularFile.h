#pragma once
// Opening a file for reading only when it is a regular file. A named pipe in
// a file's place blocks open() until some program writes into it, and a
// device or a socket holds no file's data: each is refused, named by its
// kind, before a byte is read. The name is opened without waiting and tested
// on the open handle, so nothing can be put in its place in between.
#include <QFile>
#include <QString>

namespace orv {

// Opens path into file for reading (mode: ReadOnly and any further flags);
// "" on success, else why not, in the words shown to the user.
QString OpenRegularFile(QFile& file, const QString& path, QIODevice::OpenMode mode = QIODevice::ReadOnly);

// Why path cannot be opened for reading as OpenRegularFile opens it; "" when
// it can (the file is closed again).
QString RegularFileProblem(const QString& path);

}  // namespace orv
