#include "foundation/FastReplace.h"

namespace orv {

namespace {

// Lower case character by character, so that positions stay those of the
// given text (a whole-string lower-casing may change the length).
QString LowerPerCharacter(const QString& s) {
  QString out(s.size(), Qt::Uninitialized);
  for (qsizetype i = 0; i < s.size(); ++i) out[i] = s[i].toLower();
  return out;
}

}  // namespace

QString FastReplaceBuffer::replace(const QString& expr, const QString& find, const QString& repl, int start,
                                   int count, int compare) {
  if (find.isEmpty() || count == 0) return expr;
  const bool blind = compare != 0;
  const QString haystack = blind ? LowerPerCharacter(expr) : expr;
  const QString needle = blind ? LowerPerCharacter(find) : find;
  const qsizetype from = start < 2 ? 0 : static_cast<qsizetype>(start) - 1;
  if (from >= expr.size()) return expr;

  qsizetype match = haystack.indexOf(needle, from, Qt::CaseSensitive);
  if (match < 0) return expr;

  buffer_.resize(0);  // keeps the capacity of earlier calls
  const qsizetype needed = expr.size() + (repl.size() > find.size() ? repl.size() - find.size() : 0);
  if (buffer_.capacity() < needed) buffer_.reserve(2 * needed);
  qsizetype copied = 0;
  long long left = count < 0 ? -1 : count;
  while (match >= 0 && left != 0) {
    buffer_.append(QStringView(expr).mid(copied, match - copied));
    buffer_.append(repl);
    copied = match + find.size();
    if (left > 0) --left;
    if (left == 0) break;
    match = haystack.indexOf(needle, copied, Qt::CaseSensitive);
  }
  buffer_.append(QStringView(expr).mid(copied));
  // A deep copy, so the buffer stays unshared and keeps its capacity.
  return QString(buffer_.constData(), buffer_.size());
}

QString FastReplace(const QString& expr, const QString& find, const QString& repl, int start, int count,
                    int compare) {
  static FastReplaceBuffer buffer;
  return buffer.replace(expr, find, repl, start, count, compare);
}

}  // namespace orv
