#pragma once
// Text <-> bytes in the Windows ANSI code page (Windows-1252), the code page
// the PDF font encoding and JPEG comments of this program are written in.
#include <QByteArray>
#include <QString>

namespace orv {

// Every character the code page lacks becomes "?".
QByteArray ToAnsiBytes(const QString& text);

// Every byte maps to one character; the five bytes the code page leaves
// undefined map to the control characters of the same number, so that
// bytes -> text -> bytes is lossless.
QString FromAnsiBytes(const char* data, qsizetype size);
inline QString FromAnsiBytes(const QByteArray& bytes) { return FromAnsiBytes(bytes.constData(), bytes.size()); }

}  // namespace orv
