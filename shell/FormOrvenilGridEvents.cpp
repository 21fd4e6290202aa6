// Events of the coordinate grid: the web-map marker of the current row, the
// per-row callback of the grid's own export, and the rounding check that
// marks projected start coordinates differing from the values read.
#include "foundation/DialogService.h"
#include "foundation/TextTokens.h"
#include "platform/ui/ProgressWindow.h"
#include "platform/ui/VbTextBox.h"
#include "platform/ui/VbToolBar.h"
#include "shell/FormOrvenil.h"
#include "shell/GridEventRules.h"
#include "shell/ProgramState.h"

namespace orv {

void FormOrvenil::GridKooDb_RowChange() {
  // While the grid does not draw (an import fills and binds it) its row
  // changes come from code and show nothing.
  if (GridKooDb->Redraw()) ShowPointOnWebMap();
  Dialogs().processEvents();
}

void FormOrvenil::ShowPointOnWebMap() {
  if (!Coolbar2->IsPressed(kKeyGoogleMap)) return;
  if (txtTrafoParaStart->BackColor() == WarningBackColor() ||
      txtTrafoParaZiel->BackColor() == WarningBackColor())
    return;
  const int row = GridKooDb->CurrentRow();
  if (row < 1) return;
  const QString etrs89 = QStringLiteral("ETRS89");
  // The target columns are in the system the run that wrote them computed;
  // the panel's target counts only while no run has recorded one (target
  // columns from a file that names no system are taken as ETRS89).
  const QString targetSystem = State().ZielsystemDaten;
  const bool targetsInEtrs89 =
      targetSystem == etrs89 || (targetSystem.isEmpty() && txtTrafoParaZiel->text() == etrs89);
  QString latitudeKey, longitudeKey;
  if (txtTrafoParaStart->text() == etrs89) {
    latitudeKey = QStringLiteral("BgDez"), longitudeKey = QStringLiteral("LgDez");
  } else if (targetsInEtrs89) {
    latitudeKey = QStringLiteral("BgDezZiel"), longitudeKey = QStringLiteral("LgDezZiel");
  } else if (State().EllipsoidStart == QStringLiteral("GRS1980")) {
    latitudeKey = QStringLiteral("BgDez"), longitudeKey = QStringLiteral("LgDez");
  } else {
    Dialogs().messageBox(
        QStringLiteral("Das Lagesystem im Textfenster 'Start'- oder 'Zielsystem' muss im System "
                       "ETRS89 vorliegen! Bitte wählen Sie die dazu passende Transformation aus!   "),
        MsgButtons::Ok, MsgIcon::Information, QStringLiteral("Marker in OpenStreet"));
    return;
  }
  const QString latitude = TrimBlanks(GridKooDb->CellText(row, latitudeKey));
  const QString longitude = TrimBlanks(GridKooDb->CellText(row, longitudeKey));
  if (latitude.isEmpty() || longitude.isEmpty()) return;
  OpenHelp(WebMapAddress(latitude, longitude));
}

void FormOrvenil::GridKooDb_ExportRow(int row, int total, bool& skip) {
  if (ExportRowSkipped(GridKooDb->CellText(row, QStringLiteral("sYe")),
                       GridKooDb->CellText(row, QStringLiteral("sBgZiel")), State().ExportVorlageAktiv))
    skip = true;
  ShowProgress(row, 0, total, true, QStringLiteral(" Zeilen exportiert..."));
}

void FormOrvenil::GridKooDb_FormatRow(int /*row*/, GridRow& rowObject) {
  static const char* const pairs[3][2] = {{"sYe", "sYori"}, {"sXe", "sXori"}, {"sZe", "sZori"}};
  for (const auto& pair : pairs) {
    const QString key = QLatin1String(pair[0]);
    if (RoundingDifferenceTooLarge(rowObject.CellText(key), rowObject.CellText(QLatin1String(pair[1])))) {
      rowObject.SetCellBackColor(key, QColor(255, 0, 0));
      rowObject.SetCellForeColor(key, Qt::white);
      rowObject.SetCellNote(key, RoundingNote());
    } else {
      rowObject.SetCellBackColor(key, Qt::white);
      rowObject.SetCellForeColor(key, Qt::black);
      rowObject.SetCellNote(key, QString());
    }
  }
}

}  // namespace orv
