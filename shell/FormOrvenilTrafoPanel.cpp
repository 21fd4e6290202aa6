// The transformation panel: activating a geoid model, the coordinate grid's
// column views, and the description of the chosen parameter or NTv2 set.
#include <QPushButton>

#include "foundation/DialogService.h"
#include "io/GeoidModelStaging.h"
#include "io/ImportGridColumns.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/OptionArray.h"
#include "platform/ui/VbCheckBox.h"
#include "platform/ui/VbComboBox.h"
#include "platform/ui/VbStatusBar.h"
#include "platform/ui/VbTextBox.h"
#include "shell/FormOrvenil.h"
#include "shell/ProgramState.h"
#include "shell/ProgramVersion.h"
#include "shell/TrafoPanelRules.h"

namespace orv {

namespace {

const QString kOhneText = QStringLiteral("ohne");

void GeoidCritical(const QString& text) {
  Dialogs().messageBox(text, MsgButtons::Ok, MsgIcon::Critical, kProgramTitle);
}

}  // namespace

void FormOrvenil::cmbGeoidmodell_Click() {
  ProgramState& state = State();
  state.GeoidBereit = false;
  chkUndulationMinus->setEnabled(true);

  const int model = cmbGeoidmodell->ListIndex();
  if (model >= 1) {
    // The grid program opens the model under its fixed name.
    const QString error = ActivateGeoidModel(state, GridGeoidmodell, model);
    if (!error.isEmpty()) {
      GeoidCritical(error);
      return;
    }
  } else {
    state.GeoidApp.clear();
    state.GeoidfeldDateiname.clear();
    chkUndulationMinus->SetValue(0);
    chkUndulationMinus->setEnabled(false);
  }

  cmdTrafoStart->setEnabled(cmbGeoidmodell->ListIndex() > 0 || ComboTrafoPara->Text() != kOhneText);
  DescribeTransformation();
}

void FormOrvenil::ShowColumnsForTrafo(bool on) {
  if (!on) {
    ComboTrafoPara->setEnabled(false);
    ComboTrafoPara->SetText(kOhneText);
    cmdTrafoStart->setEnabled(false);
  } else {
    ComboTrafoPara->setEnabled(true);
    cmdTrafoStart->setEnabled(true);
  }
  GridKooDb->SetRedraw(false);
  for (int c = 1; c <= GridKooDb->ColumnCount(); ++c) {
    const QString key = GridKooDb->ColumnKey(c);
    // The columns the import hides stay hidden in either view.
    GridKooDb->SetColumnVisible(key, !ImportGridColumnHidden(key) &&
                                         (on ? ColumnShownWithTrafo(key) : ColumnShownWithoutTrafo(key)));
  }
  GridKooDb->SetRedraw(true);
  GridKooDb->Refresh();
}

void FormOrvenil::ComboTrafoPara_Click() { DescribeTransformation(); }

void FormOrvenil::DescribeTransformation() {
  ProgramState& state = State();
  const QString setName = ComboTrafoPara->Text();
  if (setName == kOhneText) return;
  // The set is found by its name; a name that no row holds describes nothing.
  const int row = ChosenSetRow(SetListTable());
  if (row == 0) return;
  const bool reverse = !AuswahlTrafoRichtung->isSelected(0);

  TrafoSetSystems systems;
  systems.ellipsoidStart = state.EllipsoidStart;
  systems.ellipsoidZiel = state.EllipsoidZiel;
  bool described = false;
  if (AuswahlTrafoTyp->isSelected(1)) {
    const auto cell = [&](const char* key) { return GridTrafoSys->CellText(row, QString::fromUtf8(key)); };
    systems = SevenParameterSetSystems(cell("Name"), cell("EllipsoidA"), cell("EllipsoidB"), reverse);
    described = true;
  } else if (AuswahlTrafoTyp->isSelected(2)) {
    const auto cell = [&](const char* key) { return GridNTv2Sys->CellText(row, QString::fromUtf8(key)); };
    systems = Ntv2SetSystems(cell("Startsystem"), cell("Zielsystem"), cell("EllipsoidA"), cell("EllipsoidB"),
                             reverse);
    described = true;
  }
  if (described) {
    state.EllipsoidStart = systems.ellipsoidStart;
    state.EllipsoidZiel = systems.ellipsoidZiel;
    txtTrafoParaStart->SetText(systems.boxStart);
    txtTrafoParaZiel->SetText(systems.boxZiel);
  }

  GridKooDb->SetCaption(TrafoCaption(state.TrafoTyp, setName, cmbGeoidmodell->Text(), systems));
  xpStatusBar1->SetPanelText(9, TrafoStatusText(GridKooDb->Caption()));

  // Only a set that starts in the data's own system may run.
  const bool fits = txtTrafoParaStart->Text() == state.StartKoordinatensystem;
  for (VbTextBox* box : {txtTrafoParaStart, txtTrafoParaZiel})
    box->SetBackColor(fits ? ButtonFaceColor() : WarningBackColor());
  cmdTrafoStart->setEnabled(fits);
}

void FormOrvenil::ApplyTrafoStartRule() {
  const bool setChosen = ChosenSetRow(SetListTable()) > 0;
  const bool boxesFit =
      txtTrafoParaStart->BackColor() != WarningBackColor() && txtTrafoParaZiel->BackColor() != WarningBackColor();
  cmdTrafoStart->setEnabled(
      TrafoStartAllowed(AuswahlTrafoTyp->value(), setChosen && boxesFit, cmbGeoidmodell->ListIndex() >= 1));
}

}  // namespace orv
