// The geoid height run: fresh undulations N from the geoid program for every
// row of Daten, then the target height sZeZiel = sZe + N (or sZe - N when
// "Höhe = Höhe - Geoid" is ticked).
#include <optional>

#include "foundation/DialogService.h"
#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "foundation/TextTokens.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/VbCheckBox.h"
#include "platform/ui/VbComboBox.h"
#include "platform/ui/VbStatusBar.h"
#include "runs/DatenBlockRun.h"
#include "runs/GeoidUndulations.h"
#include "runs/RunFrame.h"
#include "shell/FormOrvenil.h"
#include "shell/ProgramState.h"

namespace orv {

namespace {

const QString kFehler = QStringLiteral("Fehler");

// The start height; none for an empty text ("Fehler" or empty: the import
// found no height) or any other text that is no number, so the target
// height says "Fehler" rather than the undulation alone.
std::optional<double> StartHeight(const QString& value) {
  const QString text = TrimBlanks(value);
  if (text.isEmpty()) return std::nullopt;
  try {
    return ToDoubleStrict(text);
  } catch (const OrvenilError&) {
    return std::nullopt;
  }
}

}  // namespace

void FormOrvenil::ConvertHeightsWithGeoid() {
  ProgramState& s = State();
  auto refuse = [&](const QString& text) {
    Dialogs().messageBox(text, MsgButtons::Ok, MsgIcon::Critical, QStringLiteral("Orvenil"));
    ComboTrafoPara->SetText(QStringLiteral("ohne"));
  };
  if (!s.GeoidBereit || TrimBlanks(cmbGeoidmodell->Text()) == QLatin1String("ohne")) {
    refuse(QStringLiteral("Geoidmodell fehlt! Abbruch!"));
    return;
  }
  if (GridKooDb->RowCount() == 0) {
    refuse(QStringLiteral("Daten fehlen! Abbruch!"));
    return;
  }

  Dialogs().setBusy(true);
  FormVisible(false);
  Dialogs().processEvents();
  bool gridHeld = false;
  auto release = [&] {
    if (gridHeld) {
      GridKooDb->SetRedraw(true);
      GridKooDb->Refresh();
      gridHeld = false;
    }
    FormVisible(true);
    // The job's recordset of an earlier step is let go, as after every height run.
    if (s.KooDbDaten.isSet()) {
      if (s.KooDbDaten.isOpen() && s.KooDbDaten.editing()) s.KooDbDaten.cancelUpdate();
      s.KooDbDaten.close();
      s.KooDbDaten = Recordset();
    }
    Dialogs().setBusy(false);
  };
  try {
    GridKooDb->SetRedraw(false);
    gridHeld = true;
    xpStatusBar1->SetPanelText(6, QStringLiteral("Ziel-Zone: ") + NumberText(s.ZielMeridian) + QStringLiteral("  "));
    xpStatusBar1->SetPanelText(7, QStringLiteral("Ziel-Maßstab: ") + NumberText(s.ZielK0) + QStringLiteral("  "));
    xpStatusBar1->SetPanelText(8, QStringLiteral("Ziel-K0: ") + NumberText(s.ZielFalseEasting) + QStringLiteral("m  "));

    // Without the program's answer every row's target height becomes
    // "Fehler", so that no height of an earlier run passes for one of this
    // run; the exchange has said why. The rows are stored in one
    // transaction; an error keeps the rows stored before it.
    const bool minus = chkUndulationMinus->Value() == 1;
    GeoidUndulationWalk walk;
    walk.readColumns = {QStringLiteral("sZe")};
    walk.writeColumns = {QStringLiteral("Geoidundulation"), QStringLiteral("sZeZiel")};
    walk.walkWithoutAnswer = true;
    walk.title = QStringLiteral("Umrechnung Höhe");
    walk.compute = [minus](DatenRunRow& row, std::optional<double> N) {
      if (!N) {
        row.out.add(kFehler);
        row.out.add(kFehler);
        return;
      }
      const double undulation = N.value();
      const std::optional<double> h = StartHeight(row.in[0]);
      row.out.add(FormatNumber(undulation, QStringLiteral("0.0000")));
      row.out.add(h ? FormatNumber(minus ? *h - undulation : *h + undulation, QStringLiteral("0.0000")) : kFehler);
    };
    ComputeGeoidUndulationsExternal(s, walk);
    release();
  } catch (const std::exception& error) {
    Dialogs().messageBox(FailedRunText(error, QStringLiteral("Einlesefehler! Abbruch!")), MsgButtons::Ok,
                         MsgIcon::Critical, QStringLiteral("Umrechnung Höhe"));
    release();
  }
}

}  // namespace orv
