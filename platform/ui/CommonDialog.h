#pragma once
// The open/save dialog as a control with state: title, filter string in the
// program's "text|pattern|text|pattern|" form, 1-based filter index, file
// name and initial folder. File name and filter index are kept between uses.
#include <QString>
#include <QStringList>

namespace orv {

// Error number of a cancelled dialog whose cancelError flag is set.
inline constexpr int kErrCancelSelected = 32755;

class CommonDialog {
 public:
  QString DialogTitle;
  QString Filter;
  int FilterIndex = 1;
  QString FileName;
  QString InitDir;
  bool CancelError = false;
  bool OverwritePrompt = false;

  // Shows the dialog through the dialog service. On OK, FileName and
  // FilterIndex take the chosen values and the result is True. On cancel the
  // file name becomes empty and the result is False, or, with CancelError,
  // OrvenilError 32755 is thrown.
  bool ShowOpen();
  bool ShowSave();

 private:
  bool show(bool save);
};

// One filter entry of a dialog: display text and the patterns (Linux form).
struct DialogFilterEntry {
  QString text;
  QStringList patterns;
};

// Splits "text|pattern|text|pattern|…" into entries; a trailing "|" is
// allowed. Patterns separated by ";" become several patterns; "*.*" (meant as
// all files, whether or not a name has a dot) becomes "*".
QList<DialogFilterEntry> ParseDialogFilter(const QString& filter);
// The entries as Qt name filters: "text (patterns)" — a parenthesised pattern
// list at the end of the text is replaced by the converted one.
QStringList QtNameFilters(const QString& filter);

}  // namespace orv
