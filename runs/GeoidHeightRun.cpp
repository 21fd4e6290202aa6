// The geoid height run: fresh undulations N from the geoid program for every
// row of Daten, then the target height sZeZiel = sZe + N (or sZe - N when
// "Höhe = Höhe - Geoid" is ticked).
#include <optional>

#include "foundation/DialogService.h"
#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "foundation/TextTokens.h"
#include "platform/db/RunTransaction.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/ProgressWindow.h"
#include "platform/ui/VbCheckBox.h"
#include "platform/ui/VbComboBox.h"
#include "platform/ui/VbStatusBar.h"
#include "shell/FormOrvenil.h"
#include "shell/ProgramState.h"

namespace orv {

namespace {

const QString kFehler = QStringLiteral("Fehler");

// N from the geoid program's line of a row: its first field; none for a line
// without a number in front, for "Fehler" and for the outside mark 999999.
std::optional<double> UndulationOfLine(const QString& line) {
  const QString first = GetToken(TrimBlanks(ReplaceRepeated(line, QStringLiteral("  "), QStringLiteral(" "))), 1,
                                 QStringLiteral(" "));
  try {
    const double n = ToDoubleStrict(first);
    if (n == 999999.0) return std::nullopt;
    return n;
  } catch (const OrvenilError&) {
    return std::nullopt;
  }
}

// The start height; none for an empty text ("Fehler" or empty: the import
// found no height) or any other text that is no number, so the target
// height says "Fehler" rather than the undulation alone.
std::optional<double> StartHeight(const FieldValue& v) {
  const QString text = TrimBlanks(v.textOrEmpty());
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
    if (s.KooDbDaten.isSet()) {
      if (s.KooDbDaten.isOpen() && s.KooDbDaten.editing()) s.KooDbDaten.cancelUpdate();
      s.KooDbDaten.close();
      s.KooDbDaten = Recordset();
    }
    Dialogs().setBusy(false);
  };
  try {
    // The undulations and heights of all rows are stored in one
    // transaction; an error keeps the rows stored before it.
    RunTransaction transaction(s.KooDb);
    s.KooDbDaten = s.KooDb.openTable(QStringLiteral("Daten"));
    GridKooDb->SetRedraw(false);
    gridHeld = true;
    xpStatusBar1->SetPanelText(6, QStringLiteral("Ziel-Zone: ") + NumberText(s.ZielMeridian) + QStringLiteral("  "));
    xpStatusBar1->SetPanelText(7, QStringLiteral("Ziel-Maßstab: ") + NumberText(s.ZielK0) + QStringLiteral("  "));
    xpStatusBar1->SetPanelText(8, QStringLiteral("Ziel-K0: ") + NumberText(s.ZielFalseEasting) + QStringLiteral("m  "));

    // Without the program's answer every row's target height becomes
    // "Fehler", so that no height of an earlier run passes for one of this
    // run; the exchange has said why.
    const bool ok = ComputeGeoidUndulationsExternal(s.KooDbDaten, QStringLiteral("radBg"), QStringLiteral("radLg"),
                                                    QStringLiteral("Geoidundulation"), s.GeoidApp);
    const qint64 n = s.KooDbDaten.recordCount();
    s.AnzahlDatensaetze = static_cast<qint32>(n);
    if (n > 0) {
      const bool minus = chkUndulationMinus->Value() == 1;
      const int posN = s.KooDbDaten.fieldIndex(QStringLiteral("Geoidundulation"));
      const int posZ = s.KooDbDaten.fieldIndex(QStringLiteral("sZe"));
      const int posZiel = s.KooDbDaten.fieldIndex(QStringLiteral("sZeZiel"));
      s.KooDbDaten.moveFirst();
      for (qint64 i = 1; i <= n; ++i) {
        ShowProgress(static_cast<int>(i), 0, static_cast<int>(n), true,
                     QStringLiteral(" Zeilen, Geoidundulation zuordnen..."));
        s.KooDbDaten.edit();
        const std::optional<double> N =
            ok ? UndulationOfLine(s.KooDbDaten.value(posN).textOrEmpty()) : std::optional<double>();
        const std::optional<double> h = StartHeight(s.KooDbDaten.value(posZ));
        if (N) {
          const double undulation = N.value();
          s.KooDbDaten.setValue(posN, FormatNumber(undulation, QStringLiteral("0.0000")));
          s.KooDbDaten.setValue(posZiel, h ? FormatNumber(minus ? *h - undulation : *h + undulation,
                                                          QStringLiteral("0.0000"))
                                           : kFehler);
        } else {
          s.KooDbDaten.setValue(posN, kFehler);
          s.KooDbDaten.setValue(posZiel, kFehler);
        }
        s.KooDbDaten.update();
        if (i < n) s.KooDbDaten.moveNext();
      }
    }
    transaction.commit();
    release();
  } catch (const std::exception&) {
    Dialogs().messageBox(QStringLiteral("Einlesefehler! Abbruch!"), MsgButtons::Ok, MsgIcon::Critical,
                         QStringLiteral("Umrechnung Höhe"));
    release();
  }
}

}  // namespace orv
