#pragma once
// A text line whose fields start at fixed columns (1-based), as the Geograf,
// vessel and LGO files want them. Placing a field pads the line with blanks
// up to its column. A field whose column the line has already passed (the
// field before it was longer than its room) follows after one blank on the
// same line, so a record never breaks into two lines; a field is never
// written onto the one before it: where neither ends or begins with a
// blank, one blank stands between them. Field texts are never cut.
#include <QString>

namespace orv {

class ColumnLine {
 public:
  void place(int column, QStringView field);
  const QString& text() const { return line_; }
  void clear() { line_.clear(); }

 private:
  QString line_;
};

// The text right-aligned in width characters (blanks in front); a longer
// text comes back whole.
QString RightAligned(const QString& text, int width);

}  // namespace orv
