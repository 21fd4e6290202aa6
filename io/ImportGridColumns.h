#pragma once
// How the coordinate grid shows the columns of Daten after an import.
#include <QString>

namespace orv {

struct ImportGridColumn {
  QString caption;
  int widthTwips = 1300;
  bool visible = true;
};

// Caption, width and visibility of a column by its field name; a field not
// named in the import's list keeps its name and the width 1300.
ImportGridColumn ImportGridColumnLook(const QString& field);

// Whether the import hides the column (the row number `id`); the view of
// the transformation panel keeps it hidden, the toolbar's view of all
// columns shows it.
bool ImportGridColumnHidden(const QString& field);

}  // namespace orv
