#pragma once
// The Windows-1252 code page of the program's text files. All 256 bytes map
// to characters and back without loss: the five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for U+0081 … U+009D. A
// character the code page lacks is written as "?".
#include <QByteArray>
#include <QString>

namespace orv {

QChar DecodeWindows1252(char byte);
// The byte of c, or '?' when the code page has no such character.
char EncodeWindows1252(QChar c);

QString DecodeWindows1252(const QByteArray& bytes);
QString DecodeWindows1252(const char* data, qsizetype size);
QByteArray EncodeWindows1252(const QString& text);
// True when every character of text has its own byte in the code page.
bool FitsWindows1252(QStringView text);
// Appends the encoded text to out.
void AppendWindows1252(QByteArray& out, QStringView text);

}  // namespace orv
