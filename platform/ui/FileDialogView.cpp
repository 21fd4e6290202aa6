#include "platform/ui/FileDialogView.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QScrollBar>
#include <QTreeView>
#include <algorithm>

#include "platform/ui/ScreenFit.h"

namespace orv {

namespace {

// The folder's entries with the size, type and date columns in German.
class GermanFileColumns : public QIdentityProxyModel {
 public:
  using QIdentityProxyModel::QIdentityProxyModel;

  QVariant data(const QModelIndex& index, int role) const override {
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (role != Qt::DisplayRole || !files || index.column() < 1 || index.column() > 3)
      return QIdentityProxyModel::data(index, role);
    const QModelIndex source = mapToSource(index);
    const bool folder = files->isDir(source);
    switch (index.column()) {
      case 1: return folder ? QString() : FileSizeText(files->size(source));
      case 2: return FileTypeText(files->filePath(source), folder);
      default: return FileDateText(files->lastModified(source));
    }
  }
};

}  // namespace

QString FileSizeText(qint64 bytes) {
  QString digits = QString::number((std::max<qint64>(0, bytes) + 1023) / 1024);
  for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) digits.insert(i, QLatin1Char('.'));
  return digits + QStringLiteral(" KB");
}

QString FileTypeText(const QString& fileName, bool isFolder) {
  if (isFolder) return QStringLiteral("Dateiordner");
  const QString suffix = QFileInfo(fileName).suffix();
  return suffix.isEmpty() ? QStringLiteral("Datei") : suffix.toUpper() + QStringLiteral("-Datei");
}

QString FileDateText(const QDateTime& modified) {
  return modified.isValid() ? modified.toString(QStringLiteral("dd.MM.yyyy HH:mm")) : QString();
}

void PrepareFileDialog(QFileDialog& dialog) {
  dialog.setOption(QFileDialog::DontUseNativeDialog, true);
  dialog.setViewMode(QFileDialog::Detail);
  dialog.setProxyModel(new GermanFileColumns(&dialog));
  auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
  if (!view) return;
  // Each column as wide as its widest text: a long name, a size of a
  // two-million-line file, a long type, a date.
  const QFontMetrics metrics(view->font());
  const QString widest[] = {QString(36, QLatin1Char('x')), FileSizeText(999999999),
                            FileTypeText(QStringLiteral("a.vorsel"), false), FileDateText(QDateTime(QDate(2000, 12, 28), QTime(20, 58)))};
  QHeaderView* header = view->header();
  int columns = 0;
  for (int i = 0; i < 4; ++i) {
    const QString caption = view->model() ? view->model()->headerData(i, Qt::Horizontal).toString() : QString();
    const int width = std::max(metrics.horizontalAdvance(widest[i]), header->fontMetrics().horizontalAdvance(caption)) +
                      4 * metrics.averageCharWidth();
    header->resizeSection(i, width);
    columns += width;
  }
  // The view gets the room of its columns beside the folder list on the left.
  dialog.ensurePolished();
  const int viewWidth = columns + view->verticalScrollBar()->sizeHint().width() + 2 * view->frameWidth();
  QSize size = dialog.sizeHint();
  size.rwidth() += std::max(0, viewWidth - view->sizeHint().width());
  dialog.resize(size.expandedTo(dialog.size()).boundedTo(LargestWindowSize(&dialog)));
}

}  // namespace orv
