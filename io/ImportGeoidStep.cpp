// The geoid step at the end of an import: the undulation N of every imported
// point from the geoid program, and the ellipsoidal height derived from it.
#include "foundation/NumberText.h"
#include "shell/ProgramState.h"
#include "platform/ui/ProgressWindow.h"
#include "foundation/TextTokens.h"
#include "io/ImportGeoidHeights.h"
#include "shell/FormOrvenil.h"

namespace orv {

void FormOrvenil::RunImportGeoidStep(Recordset& rs) {
  ProgramState& state = State();
  if (!state.GeoidBereit) return;
  // A program that did not run is reported there and leaves every row as it is.
  if (!ComputeGeoidUndulationsExternal(rs, QStringLiteral("radBg"), QStringLiteral("radLg"),
                                       QStringLiteral("Geoidundulation"), state.GeoidApp))
    return;
  const qint64 n = rs.recordCount();
  state.AnzahlDatensaetze = static_cast<qint32>(n);
  if (n == 0) return;
  const bool geographic = state.StartAbbildungName == QLatin1String("geographisch");
  const QString undulationField = QStringLiteral("Geoidundulation");
  const QString hgField = QStringLiteral("sHg");
  const QString zeField = QStringLiteral("sZe");
  rs.moveFirst();
  for (qint64 i = 1; i <= n; ++i) {
    ShowProgress(static_cast<int>(i), 0, static_cast<int>(n), true, QStringLiteral(" Zeilen, Geoidundulation zuordnen..."));
    rs.edit();
    const GeoidHeights h = ApplyUndulation(rs.value(undulationField).textOrEmpty(), rs.value(hgField).textOrEmpty(),
                                           rs.value(zeField).textOrEmpty(), geographic);
    rs.setValue(undulationField, h.undulation);
    rs.setValue(hgField, h.sHg);
    rs.setValue(zeField, h.sZe);
    rs.update();
    if (i < n) rs.moveNext();
  }
}

}  // namespace orv
