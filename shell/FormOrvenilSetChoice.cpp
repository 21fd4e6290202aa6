// The set the transformation panel names: found in its table by name, and
// kept chosen while the rows of that table are deleted, added or edited.
#include "platform/ui/DataGrid.h"
#include "platform/ui/OptionArray.h"
#include "platform/ui/VbComboBox.h"
#include "shell/FormOrvenil.h"
#include "shell/TrafoPanelRules.h"

namespace orv {

namespace {

const QString kOhneText = QStringLiteral("ohne");

QStringList NameCells(const DataGrid* table) {
  QStringList names;
  for (int r = 1; r <= table->RowCount(); ++r) names << table->CellText(r, QStringLiteral("Name"));
  return names;
}

// How many entries of the list before the chosen one carry its name.
int ChosenOccurrence(const VbComboBox* combo) {
  int occurrence = 0;
  for (int i = 0; i < combo->ListIndex(); ++i)
    if (combo->List(i) == combo->Text()) ++occurrence;
  return occurrence;
}

}  // namespace

DataGrid* FormOrvenil::SetListTable() const {
  if (AuswahlTrafoTyp->isSelected(1)) return GridTrafoSys;
  if (AuswahlTrafoTyp->isSelected(2)) return GridNTv2Sys;
  // Before a type is chosen the list holds the parameter sets.
  return ComboTrafoPara->ListCount() > 0 ? GridTrafoSys : nullptr;
}

int FormOrvenil::ChosenSetRow(const DataGrid* table) const {
  const QString name = ComboTrafoPara->Text();
  if (table == nullptr || name.trimmed() == kOhneText) return 0;
  return SetRowByName(NameCells(table), name, ChosenOccurrence(ComboTrafoPara));
}

int FormOrvenil::ChosenSetRowInList() const {
  const QString name = ComboTrafoPara->Text();
  if (name.trimmed() == kOhneText) return 0;
  QStringList names;
  for (int i = 0; i < ComboTrafoPara->ListCount(); ++i) names << ComboTrafoPara->List(i);
  return SetRowByName(names, name, ChosenOccurrence(ComboTrafoPara));
}

void FormOrvenil::SetListFollowsTable(const DataGrid* table, int chosenRow) {
  if (table == nullptr || table != SetListTable()) return;
  const QString shown = ComboTrafoPara->Text();
  ComboTrafoPara->Clear();
  for (const QString& name : NameCells(table)) ComboTrafoPara->AddItem(name);
  if (chosenRow > 0 && shown.trimmed() != kOhneText) {
    // Chosen again: the boxes and the caption describe the row as it is now.
    ComboTrafoPara->SetListIndex(chosenRow - 1);
  } else {
    ComboTrafoPara->SetText(shown.isEmpty() ? kOhneText : shown);
  }
}

}  // namespace orv
