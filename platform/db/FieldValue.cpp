#include "platform/db/FieldValue.h"

#include <cmath>

#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "platform/db/FieldType.h"

namespace orv {

void InvalidUseOfNull() {
  throw OrvenilError(kErrInvalidUseOfNull, QStringLiteral("Unzulässige Verwendung von Null"));
}

bool IsKnownFieldType(int type) {
  switch (type) {
    case dbLong: case dbSingle: case dbDouble: case dbDate: case dbText: case dbMemo:
      return true;
    default:
      return false;
  }
}

QString FieldValue::toText() const {
  switch (kind()) {
    case Kind::Null: InvalidUseOfNull();
    case Kind::Text: return text();
    case Kind::Long: return QString::number(longValue());
    case Kind::Double: return NumberText(doubleValue());
  }
  return QString();
}

QString FieldValue::textOrEmpty() const { return isNull() ? QString() : toText(); }

double FieldValue::toDouble() const {
  switch (kind()) {
    case Kind::Null: InvalidUseOfNull();
    case Kind::Text: return ToDoubleStrict(text());
    case Kind::Long: return static_cast<double>(longValue());
    case Kind::Double: return doubleValue();
  }
  return 0;
}

qint64 FieldValue::toLong() const {
  if (kind() == Kind::Long) return longValue();
  double x = toDouble();
  if (!std::isfinite(x) || x < -9.2e18 || x > 9.2e18)
    throw OrvenilError(kErrOverflow, QStringLiteral("Überlauf"));
  return static_cast<qint64>(std::nearbyint(x));
}

}  // namespace orv
