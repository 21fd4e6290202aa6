#include "foundation/TimeText.h"

#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "foundation/TextTokens.h"

#include <cmath>
#include <limits>

namespace orv {

double HmsToSeconds(const QString& text, const QString& sep) {
  QString t = text;
  t.replace(u',', u'.');
  return Val(GetToken(t, 1, sep)) * 3600.0 + Val(GetToken(t, 2, sep)) * 60.0 + Val(GetToken(t, 3, sep));
}

QString FormatSecondsAsTime(double seconds, const QString& format) {
  if (!std::isfinite(seconds))
    throw OrvenilError(kErrOverflow, QStringLiteral("Überlauf: Die Zeit ist keine endliche Zahl."));
  const double hours = std::trunc(seconds / 3600.0);
  if (hours > std::numeric_limits<qint32>::max() || hours < std::numeric_limits<qint32>::min())
    throw OrvenilError(kErrOverflow, QStringLiteral("Überlauf: Die Zeit ist zu groß."));
  const double h = hours;
  seconds -= h * 3600.0;
  const double m = std::trunc(seconds / 60.0);
  seconds -= m * 60.0;

  if (format == QLatin1String("hh:nn:ss"))
    return FormatNumber(h, "00") + ':' + FormatNumber(m, "00") + ':' + FormatNumber(std::trunc(seconds), "00");
  if (format == QLatin1String("hhnnsss"))
    return FormatNumber(h, "00") + FormatNumber(m, "00") + FormatNumber(seconds * 10.0, "000");
  return FormatNumber(h, "0") + ':' + FormatNumber(m, "00") + ':' + FormatNumber(seconds, "00.0");
}

}  // namespace orv
