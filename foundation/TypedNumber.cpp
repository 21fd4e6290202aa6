#include "foundation/TypedNumber.h"

#include <QStringList>

#include "foundation/NumberText.h"

namespace orv {

QString TypedNumberWithPoint(const QString& text) {
  QString t = text.trimmed();
  // Only a lone comma in a text without a point is a decimal comma; any
  // other comma stays and makes the text no number.
  const qsizetype comma = t.indexOf(QLatin1Char(','));
  if (comma >= 0 && t.indexOf(QLatin1Char(','), comma + 1) < 0 && !t.contains(QLatin1Char('.')))
    t[comma] = QLatin1Char('.');
  return t;
}

bool ReadTypedNumber(const QString& text, double& value) {
  return ReadFiniteNumber(TypedNumberWithPoint(text), value);
}

bool ReadTypedNumbers(const QString& text, int count, QList<double>& values) {
  const QStringList fields = text.split(QLatin1Char(';'));
  if (fields.size() != count) return false;
  QList<double> read;
  for (const QString& field : fields) {
    double v = 0;
    if (!ReadTypedNumber(field, v)) return false;
    read << v;
  }
  values = read;
  return true;
}

}  // namespace orv
