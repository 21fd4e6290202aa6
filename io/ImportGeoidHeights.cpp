#include "io/ImportGeoidHeights.h"

#include "foundation/NumberText.h"
#include "foundation/TextTokens.h"
#include "io/ImportStartBranches.h"

namespace orv {

namespace {
constexpr double kOutsideModel = 999999;
const QString kFehler = QStringLiteral("Fehler");
}  // namespace

GeoidHeights ApplyUndulation(const QString& outputLine, const QString& sHg, const QString& sZe, bool geographic) {
  GeoidHeights out{kFehler, sHg, kFehler};
  double N = 0;
  if (!ParseCoordinate(GetToken(TrimSpacesFast(outputLine), 1, QStringLiteral(" ")), N) || N == kOutsideModel)
    return out;
  const QString fixed4 = QStringLiteral("0.0000");
  out.undulation = FormatNumber(N, fixed4);
  out.sZe = sZe;
  if (geographic) N = 0;
  const double hg = Val(sHg);
  const double ze = Val(sZe);
  if (hg == ze)
    out.sHg = FormatNumber(ze + N, fixed4);
  else if (ze > 0 && hg == 0)
    out.sZe = FormatNumber(ze + N, fixed4);
  else if (ze == 0 && hg > 0)
    out.sZe = FormatNumber(hg + N, fixed4);
  else if (ze == 0 && hg == 0)
    out.sZe = QString();
  return out;
}

}  // namespace orv
