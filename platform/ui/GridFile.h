#pragma once
// The data grid's own save file (".fil"): UTF-8 text, one record a line,
// fields separated by TAB, with TAB, CR, LF and backslash escaped:
//   ORVENIL-GRID<TAB>1
//   columns<TAB><n>
//   column<TAB>key<TAB>caption<TAB>width in twips<TAB>visible 0/1     (n times)
//   rows<TAB><m>
//   row<TAB>cell 1<TAB>cell 2 …                                      (m times)
//   end
// The counts and the end line let a reader tell a complete file from a cut one.
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "platform/ui/DataGridModel.h"

namespace orv {

inline constexpr int kGridFileVersion = 1;

struct GridFileContent {
  QList<GridColumn> columns;
  std::vector<QStringList> rows;
};

// Writes the file through a temporary file that replaces the target only when
// complete. rowAt(i) gives the cells of row i (0-based) of rowCount rows.
bool WriteGridFile(const QString& path, const QList<GridColumn>& columns, int rowCount,
                   const std::function<QStringList(int)>& rowAt, QString* error);
// Reads a whole file; False (with a description) for a missing, foreign,
// newer or damaged file, leaving `content` untouched. Given columnKeys, a
// file whose columns have other keys (or another order) is one of another
// table and is refused as well.
bool ReadGridFile(const QString& path, GridFileContent& content, QString* error,
                  const QStringList* columnKeys = nullptr);

QString EscapeGridField(const QString& text);
QString UnescapeGridField(const QString& text);

}  // namespace orv
