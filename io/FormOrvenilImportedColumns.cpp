// How the coordinate grid shows table Daten after an import, set up once for
// every binding that shows a job: the import itself and the two merges.
#include "io/ImportGridColumns.h"
#include "platform/ui/DataGrid.h"
#include "shell/FormOrvenil.h"

namespace orv {

void FormOrvenil::ShowImportedColumns() {
  for (int c = 1; c <= GridKooDb->ColumnCount(); ++c) {
    const QString key = GridKooDb->ColumnKey(c);
    const ImportGridColumn look = ImportGridColumnLook(key);
    GridKooDb->SetColumnCaption(key, look.caption);
    GridKooDb->SetColumnWidth(key, look.widthTwips);
    GridKooDb->SetColumnVisible(key, look.visible);
  }
}

void FormOrvenil::HideColumnsTheImportHides() {
  for (int c = 1; c <= GridKooDb->ColumnCount(); ++c) {
    const QString key = GridKooDb->ColumnKey(c);
    if (ImportGridColumnHidden(key)) GridKooDb->SetColumnVisible(key, false);
  }
}

}  // namespace orv
