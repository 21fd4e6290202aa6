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

// Whether the import hides the column (the row number `id`); such a column
// stays hidden in every later column view of the coordinate grid.
bool ImportGridColumnHidden(const QString& field);

}  // namespace orv
