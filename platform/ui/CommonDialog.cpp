#include "platform/ui/CommonDialog.h"

#include <QRegularExpression>

#include "foundation/DialogService.h"
#include "foundation/OrvenilError.h"

namespace orv {

QList<DialogFilterEntry> ParseDialogFilter(const QString& filter) {
  QList<DialogFilterEntry> entries;
  QStringList parts = filter.split(QLatin1Char('|'));
  if (!parts.isEmpty() && parts.last().isEmpty()) parts.removeLast();
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    DialogFilterEntry e;
    e.text = parts.at(i);
    for (QString p : parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
      p = p.trimmed();
      if (p == QStringLiteral("*.*")) p = QStringLiteral("*");
      if (!p.isEmpty() && !e.patterns.contains(p)) e.patterns << p;
    }
    if (e.patterns.isEmpty()) e.patterns << QStringLiteral("*");
    entries << e;
  }
  // A lone text without a pattern still is an entry showing every file.
  if (parts.size() % 2 == 1 && !parts.last().isEmpty())
    entries << DialogFilterEntry{parts.last(), {QStringLiteral("*")}};
  return entries;
}

QStringList QtNameFilters(const QString& filter) {
  static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\*[^()]*\\)\\s*$"));
  QStringList out;
  for (const auto& e : ParseDialogFilter(filter)) {
    QString text = e.text;
    text.remove(trailingPatterns);
    text = text.trimmed();
    if (text.isEmpty()) text = e.patterns.join(QLatin1Char(' '));
    out << text + QStringLiteral(" (") + e.patterns.join(QLatin1Char(' ')) + QStringLiteral(")");
  }
  return out;
}

bool CommonDialog::ShowOpen() { return show(false); }
bool CommonDialog::ShowSave() { return show(true); }

bool CommonDialog::show(bool save) {
  FileDialogRequest request;
  request.title = DialogTitle;
  request.filter = Filter;
  request.filterIndex = FilterIndex;
  request.fileName = FileName;
  request.initialDir = InitDir;
  request.overwritePrompt = OverwritePrompt;
  const FileDialogResult result =
      save ? Dialogs().saveFileDialog(request) : Dialogs().openFileDialog(request);
  if (result.cancelled) {
    FileName.clear();
    if (CancelError) throw OrvenilError(kErrCancelSelected, QStringLiteral("Abbrechen gewählt."));
    return false;
  }
  FileName = result.fileName;
  FilterIndex = result.filterIndex;
  return true;
}

}  // namespace orv
