#include "io/ImportGeoidHeights.h"

#include "foundation/NumberText.h"

namespace orv {

GeoidHeights ApplyUndulation(std::optional<double> undulation, const QString& sHg, const QString& sZe,
                             bool geographic) {
  const QString fehler = QStringLiteral("Fehler");
  GeoidHeights out{fehler, sHg, fehler};
  if (!undulation) return out;
  double N = *undulation;
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
