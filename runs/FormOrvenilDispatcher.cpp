// The start button of the transformation panel, the zone button and the
// column views of the coordinate grid.
#include <QPushButton>
#include <QRadioButton>

#include "foundation/DialogService.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/OptionArray.h"
#include "platform/ui/VbCheckBox.h"
#include "platform/ui/VbComboBox.h"
#include "platform/ui/VbTabStrip.h"
#include "platform/ui/VbToolBar.h"
#include "runs/ColumnViews.h"
#include "shell/FormOrvenil.h"
#include "shell/ProgramState.h"
#include "shell/SkipFailingStep.h"

namespace orv {

void FormOrvenil::cmdTrafoStart_Click() {
  // A second start while a run works would write the same rows twice.
  RunCommand([this] { StartTransformation(); });
}

void FormOrvenil::StartTransformation() {
  if (GridKooDb->RowCount() == 0) return;
  ShowBusyWindow();
  SkipFailingStep("Zone auf Start setzen", [&] {
    chkZoneIndividuell->SetValue(0);
    BtZone->select(0);
    State().EllipsoidZiel.clear();
  });
  // Each run reports its own failures; whatever one leaves, the window is
  // brought back to its idle state below. After a refused or failed
  // transformation nothing further runs: the heights would be written over
  // rows the transformation did not reach.
  SkipFailingStep("Transformation", [&] {
    const bool withGeoid = cmbGeoidmodell->ListIndex() > 0;
    runCompleted_ = false;
    if (AuswahlTrafoTyp->isSelected(1) || AuswahlTrafoTyp->isSelected(2)) {
      // The run records the system of the target columns it writes.
      if (AuswahlTrafoTyp->isSelected(1))
        ParaTrafoDatenRechnen();
      else
        RunNtv2Transformation();
      if (withGeoid && runCompleted_) ConvertHeightsWithGeoid();
    } else if (AuswahlTrafoTyp->isSelected(3)) {
      ConvertHeightsWithGeoid();
    } else if (AuswahlTrafoTyp->isSelected(4)) {
      HeightFromModel(4);
    } else if (AuswahlTrafoTyp->isSelected(5)) {
      HeightFromModel(5);
    }
  });
  SkipFailingStep("Koordinaten zeigen", [&] { sevTabStrip1->SelectTab(1); });
  SkipFailingStep("Eingaben freigeben", [&] { FormVisible(true); });
  SkipFailingStep("Statusfenster schließen", [&] { HideBusyWindow(); });
  SkipFailingStep("Export freigeben", [&] { EnableExport(); });
  SkipFailingStep("Zone-Start wählen", [&] { BtZone->select(0); });
}

void FormOrvenil::cmdZoneÄndern_Click() {
  RunCommand([this] {
    ShowBusyWindow();
    SkipFailingStep("Zonenumrechnung", [&] { ConvertZones(); });
    HideBusyWindow();
  });
}

void FormOrvenil::ShowColumnView(int view) {
  GridKooDb->SetRedraw(false);
  for (int c = 1; c <= GridKooDb->ColumnCount(); ++c) {
    const QString key = GridKooDb->ColumnKey(c);
    GridKooDb->SetColumnVisible(key, ColumnShownInView(view, key));
  }
  GridKooDb->SetRedraw(true);
  GridKooDb->Refresh();
}

void FormOrvenil::ReleaseWindowAfterFailedRun(bool gridHeld) {
  FormVisible(true);
  if (gridHeld) GridKooDb->SetRedraw(true);
  try {
    GridKooDb->Refresh();
  } catch (const std::exception&) {}
  Dialogs().setBusy(false);
}

}  // namespace orv
