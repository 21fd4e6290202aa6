// Field splitting and blank handling for the delimited lines of point files,
// system tables and exchange files.
#include "foundation/TextTokens.h"

namespace orv {

QString TrimBlanks(const QString& s) {
  qsizetype b = 0;
  qsizetype e = s.size();
  while (b < e && s[b] == u' ') ++b;
  while (e > b && s[e - 1] == u' ') --e;
  return (b == 0 && e == s.size()) ? s : s.mid(b, e - b);
}

QByteArrayView TrimBlankBytes(QByteArrayView bytes) {
  qsizetype b = 0;
  qsizetype e = bytes.size();
  while (b < e && bytes[b] == ' ') ++b;
  while (e > b && bytes[e - 1] == ' ') --e;
  return bytes.sliced(b, e - b);
}

QString TrimLeadingBlanks(const QString& s) {
  qsizetype b = 0;
  while (b < s.size() && s[b] == u' ') ++b;
  return b == 0 ? s : s.mid(b);
}

QString TrimTrailingBlanks(const QString& s) {
  qsizetype e = s.size();
  while (e > 0 && s[e - 1] == u' ') --e;
  return e == s.size() ? s : s.left(e);
}

QStringList SplitFields(const QString& s, const QString& sep) {
  if (s.isEmpty()) return {};
  if (sep.isEmpty()) return {s};
  return s.split(sep, Qt::KeepEmptyParts, Qt::CaseSensitive);
}

QString GetToken(const QString& s, int n, const QString& sep) {
  if (n < 1 || s.isEmpty()) return QString();
  if (sep.isEmpty()) return n == 1 ? TrimBlanks(s) : QString();
  // Walk to the n-th field without splitting the whole line: this runs for
  // every field of every line of an import.
  qsizetype from = 0;
  for (int i = 1; i < n; ++i) {
    const qsizetype at = s.indexOf(sep, from, Qt::CaseSensitive);
    if (at < 0) return QString();
    from = at + sep.size();
  }
  const qsizetype end = s.indexOf(sep, from, Qt::CaseSensitive);
  return TrimBlanks(end < 0 ? s.mid(from) : s.mid(from, end - from));
}

QString GetLastToken(const QString& s, const QString& sep) {
  if (s.isEmpty()) return QString();
  if (sep.isEmpty()) return TrimBlanks(s);
  const qsizetype at = s.lastIndexOf(sep, -1, Qt::CaseSensitive);
  return TrimBlanks(at < 0 ? s : s.mid(at + sep.size()));
}

QString GetTokenFromEnd(const QString& s, int n, const QString& sep) {
  if (n < 1) return QString();
  const QStringList fields = SplitFields(s, sep);
  if (n > fields.size()) return QString();
  return TrimBlanks(fields[fields.size() - n]);
}

QString GetFileBaseName(const QString& path, const QString& pathSep, const QString& extSep) {
  QString name = GetLastToken(path, pathSep);
  if (extSep.isEmpty()) return name;
  const QString ext = GetLastToken(name, extSep);
  return name.remove(extSep + ext, Qt::CaseSensitive);
}

QString MidFromRight(const QString& s, int start, int length) {
  if (start < 1 || length <= 0) return QString();
  const qsizetype end = s.size() - (start - 1);  // one past the last character taken
  if (end <= 0) return QString();
  const qsizetype begin = std::max<qsizetype>(0, end - length);
  return s.mid(begin, end - begin);
}

int FindListIndex(const QStringList& items, const QString& text) {
  for (qsizetype i = 0; i < items.size(); ++i)
    if (text.contains(items[i], Qt::CaseSensitive)) return static_cast<int>(i);
  return 0;
}

QString ReplaceRepeated(const QString& s, const QString& find, const QString& repl) {
  if (find.isEmpty()) return s;
  QString result = s;
  if (repl.contains(find, Qt::CaseSensitive)) return result.replace(find, repl, Qt::CaseSensitive);
  while (result.contains(find, Qt::CaseSensitive)) {
    const QString before = result;
    result.replace(find, repl, Qt::CaseSensitive);
    if (result == before) break;
  }
  return result;
}

namespace {

QString CollapseBlanks(const QString& s) {
  QString out;
  out.reserve(s.size());
  bool lastBlank = true;  // drops leading blanks
  for (const QChar c : s) {
    if (c == u' ') {
      if (!lastBlank) out.append(c);
      lastBlank = true;
    } else {
      out.append(c);
      lastBlank = false;
    }
  }
  if (!out.isEmpty() && out.back() == u' ') out.chop(1);
  return out;
}

}  // namespace

QString TrimSpaces(const QString& s) { return CollapseBlanks(s); }

QString TrimSpacesFast(const QString& s) { return CollapseBlanks(s); }

bool IsDigitText(const QString& s) {
  if (s.isEmpty()) return false;
  for (const QChar c : s)
    if (c < u'0' || c > u'9') return false;
  return true;
}

}  // namespace orv
