#pragma once
// Cutting delimited lines into fields and tidying blanks. Trimming removes the
// blank U+0020 only (tabs and other white space stay); splitting compares the
// separator exactly. A text with k separators has k + 1 fields, an empty text
// has none, and an empty separator leaves the whole text as the one field.
#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace orv {

// Leading and trailing blanks (U+0020 only) removed.
QString TrimBlanks(const QString& s);
QString TrimLeadingBlanks(const QString& s);
QString TrimTrailingBlanks(const QString& s);
// The same on bytes (UTF-8 text as a database returns it), without copying.
QByteArrayView TrimBlankBytes(QByteArrayView bytes);

// The fields of s split at sep, untrimmed (none for an empty s).
QStringList SplitFields(const QString& s, const QString& sep);

// The n-th field (n = 1 is the first), trimmed; "" when n < 1 or missing.
QString GetToken(const QString& s, int n, const QString& sep);
// The last field, trimmed; "" for an empty s.
QString GetLastToken(const QString& s, const QString& sep);
// The n-th field counted from the end (n = 1 is the last), trimmed.
QString GetTokenFromEnd(const QString& s, int n, const QString& sep);

// The file name of path without its extension: every extSep + extension is
// removed from the name ("a.txt.txt" gives "a").
QString GetFileBaseName(const QString& path, const QString& pathSep, const QString& extSep);

// `length` characters ending `start - 1` characters before the end of s
// (start 1, length 4: the last four characters); "" for start < 1.
QString MidFromRight(const QString& s, int start, int length);

// Index (0-based) of the first item that occurs inside text; 0 when none does.
int FindListIndex(const QStringList& items, const QString& text);

// Replaces find by repl again and again until find no longer occurs. An empty
// find gives s unchanged; a replacement that contains find gets one pass, since
// repeating it could never end.
QString ReplaceRepeated(const QString& s, const QString& find, const QString& repl);

// Every run of blanks becomes one blank, then the text is trimmed.
QString TrimSpaces(const QString& s);
// The same result as TrimSpaces, in one pass; for the long lines of imports.
QString TrimSpacesFast(const QString& s);

// True when s is non-empty and every character is one of 0 to 9.
bool IsDigitText(const QString& s);

}  // namespace orv
