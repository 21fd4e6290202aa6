// The transformation type and direction options of the transformation panel.
#include <QPushButton>

#include "foundation/DialogService.h"
#include "platform/ui/ContainerControls.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/OptionArray.h"
#include "platform/ui/VbCheckBox.h"
#include "platform/ui/VbComboBox.h"
#include "platform/ui/VbFrame.h"
#include "platform/ui/VbStatusBar.h"
#include "platform/ui/VbTabStrip.h"
#include "platform/ui/VbTextBox.h"
#include "shell/FormOrvenil.h"
#include "shell/ProgramState.h"
#include "shell/TrafoPanelRules.h"

namespace orv {

namespace {

enum TrafoOption { kOhne = 0, kSiebenParameter = 1, kNtv2 = 2, kNurHoehe = 3, kDgm200 = 4, kDhhn2016 = 5 };
constexpr int kHin = 0;
constexpr int kRueck = 1;

const QString kOhneText = QStringLiteral("ohne");

void FillSetList(VbComboBox* combo, const DataGrid* table) {
  combo->Clear();
  for (int r = 1; r <= table->RowCount(); ++r) combo->AddItem(table->CellText(r, QStringLiteral("Name")));
  combo->SetText(kOhneText);
}

}  // namespace

void FormOrvenil::AuswahlTrafoTyp_Click(int /*index*/) {
  ProgramState& state = State();
  // The option chosen now counts, not the index the event carried.
  const int option = AuswahlTrafoTyp->value();

  // Reset the panel.
  ComboTrafoPara->SetText(kOhneText);
  for (VbTextBox* box : {txtTrafoParaStart, txtTrafoParaZiel}) {
    box->SetText(kOhneText);
    box->SetBackColor(ButtonFaceColor());
  }
  cmdTrafoStart->setEnabled(false);
  sevTabStrip1->SelectTab(1);
  AuswahlTrafoRichtung->select(kHin);

  // Groups the type needs.
  if (option == kOhne) {
    for (QWidget* frame : {static_cast<QWidget*>(frameParaTrafo), static_cast<QWidget*>(frameParaTrafoHinRück),
                           static_cast<QWidget*>(frameGeoidModell)})
      EnableContainerControls(frame, false);
    // The type options stay usable.
    frameAuswParaTrafo->setEnabled(true);
    ShowColumnsForTrafo(false);
    ComboTrafoPara->Clear();
    ComboTrafoPara->SetText(kOhneText);
    GridKooDb->SetCaption(QStringLiteral("Koordinaten"));
  } else {
    for (QWidget* frame : {static_cast<QWidget*>(frameParaTrafo), static_cast<QWidget*>(frameParaTrafoHinRück),
                           static_cast<QWidget*>(frameGeoidModell)})
      EnableContainerControls(frame, true);
    ShowColumnsForTrafo(true);
  }
  cmdTrafoStart->setEnabled(false);

  const QString geoidPart = QStringLiteral(", Geoid: ");
  switch (option) {
    case kOhne:
      if (cmbGeoidmodell->ListCount() > 0) cmbGeoidmodell->SetListIndex(0);
      chkUndulationMinus->setEnabled(false);
      chkUndulationMinus->SetValue(0);
      ComboTrafoPara->setEnabled(false);
      break;
    case kSiebenParameter:
    case kNtv2: {
      const bool ntv2 = option == kNtv2;
      ComboTrafoPara->setEnabled(true);
      if (cmbGeoidmodell->ListIndex() >= 1) chkUndulationMinus->setEnabled(true);
      FillSetList(ComboTrafoPara, ntv2 ? GridNTv2Sys : GridTrafoSys);
      GridKooDb->SetCaption(QStringLiteral("Trafo: ") +
                            (ntv2 ? QStringLiteral("NTv2: ") : QStringLiteral("7-Parameter: ")) +
                            ComboTrafoPara->Text() + QStringLiteral(", von: ") + state.SystemnameStart +
                            QStringLiteral(" (") + state.EllipsoidStart + QStringLiteral(")") + geoidPart +
                            cmbGeoidmodell->Text());
      state.TrafoTyp = ntv2 ? QStringLiteral("NTv2") : QStringLiteral("7-Parameter");
      if (ntv2) {
        // Data in ETRS89 go back to the older systems, data in GK42/83 forward;
        // the first NTv2 set is the usual choice for both. Choosing type 2
        // again runs nothing: it is the type being handled.
        const bool haveSet = ComboTrafoPara->ListCount() > 0;
        if (state.StartKoordinatensystem == QLatin1String("ETRS89")) {
          AuswahlTrafoTyp->select(kNtv2);
          AuswahlTrafoRichtung->select(kRueck);
          if (haveSet) ComboTrafoPara->SetListIndex(0);
        } else if (state.StartKoordinatensystem == QLatin1String("GK42/83")) {
          AuswahlTrafoTyp->select(kNtv2);
          if (haveSet) ComboTrafoPara->SetListIndex(0);
          AuswahlTrafoRichtung->select(kHin);
        }
      }
      break;
    }
    case kNurHoehe:
      cmbGeoidmodell->SetText(kOhneText);
      chkUndulationMinus->SetValue(0);
      cmdTrafoStart->setEnabled(cmbGeoidmodell->ListIndex() >= 1);
      chkUndulationMinus->setEnabled(true);
      ComboTrafoPara->Clear();
      ComboTrafoPara->SetText(kOhneText);
      ComboTrafoPara->setEnabled(false);
      GridKooDb->SetCaption(QStringLiteral("Trafo: nur Höhe") + geoidPart + cmbGeoidmodell->Text());
      state.TrafoTyp = QStringLiteral("nur Höhe");
      break;
    case kDgm200:
    case kDhhn2016:
      if (cmbGeoidmodell->ListCount() > 0) cmbGeoidmodell->SetListIndex(0);
      cmbGeoidmodell->setEnabled(false);
      cmdTrafoStart->setEnabled(true);
      break;
    default:
      break;
  }

  // Heights minus undulation only with a geoid model.
  if (cmbGeoidmodell->Text() == kOhneText) {
    chkUndulationMinus->SetValue(0);
    chkUndulationMinus->setEnabled(false);
  } else {
    chkUndulationMinus->setEnabled(true);
  }

  xpStatusBar1->SetPanelText(9, TrafoStatusText(GridKooDb->Caption()));

  DescribeTransformation();
  Dialogs().processEvents();

  // The user chooses the set or the model next.
  if (option == kSiebenParameter || option == kNtv2)
    Dialogs().openDropDown(ComboTrafoPara);
  else if (cmbGeoidmodell->isEnabled() && (option == kNurHoehe || option == kDgm200 || option == kDhhn2016))
    Dialogs().openDropDown(cmbGeoidmodell);
  Dialogs().processEvents();
}

void FormOrvenil::AuswahlTrafoRichtung_Click(int /*index*/) { DescribeTransformation(); }

}  // namespace orv
