#include "io/ColumnLine.h"

namespace orv {

void ColumnLine::place(int column, QStringView field) {
  const qsizetype start = column - 1;
  if (line_.size() < start)
    line_.append(QString(start - line_.size(), QLatin1Char(' ')));
  else if (line_.size() > start)
    line_.append(QLatin1Char(' '));
  else if (start > 0 && !field.isEmpty() && line_.back() != QLatin1Char(' ') && field.front() != QLatin1Char(' '))
    line_.append(QLatin1Char(' '));  // a field that filled its room exactly
  line_.append(field);
}

QString RightAligned(const QString& text, int width) {
  return text.size() >= width ? text : QString(width - text.size(), QLatin1Char(' ')) + text;
}

}  // namespace orv
