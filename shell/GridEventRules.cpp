#include "shell/GridEventRules.h"

#include <algorithm>
#include <cmath>

#include "foundation/NumberText.h"
#include "foundation/TextTokens.h"

namespace orv {

bool RoundingDifferenceTooLarge(const QString& stored, const QString& read) {
  const qsizetype n = std::min(stored.size(), read.size());
  const qint64 a = std::llround(Val(stored.right(n)) * 1e6);
  const qint64 b = std::llround(Val(read.right(n)) * 1e6);
  return std::llabs(a - b) > kRoundingToleranceMicrometres;
}

QString RoundingNote() {
  return QStringLiteral("Rundungsdifferenz > ") + QLatin1String(kRoundingToleranceText) + QStringLiteral("m");
}

QString WebMapAddress(const QString& latitude, const QString& longitude) {
  return QStringLiteral("https://www.openstreetmap.org/?mlat=") + latitude + QStringLiteral("&mlon=") +
         longitude + QStringLiteral("#map=15/") + latitude + QLatin1Char('/') + longitude;
}

bool ExportRowSkipped(const QString& startEasting, const QString& targetLatitude, bool presetActive) {
  return TrimBlanks(presetActive ? targetLatitude : startEasting).isEmpty();
}

}  // namespace orv
