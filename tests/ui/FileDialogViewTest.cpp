// The open dialog of the real dialog service shows a folder as the rest of
// the program speaks: sizes, types and dates in German, every column whole.
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>

#include "platform/ui/QtDialogService.h"

using namespace orv;

TEST(FileDialogView, SizesTypesAndDatesInGermanInColumnsThatShowThemWhole) {
  QTemporaryDir dir;
  QFile file(dir.filePath(QStringLiteral("Messpunkte_Nord.pkt")));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(QByteArray(12345, 'x'));
  file.close();
  ASSERT_TRUE(file.open(QIODevice::Append));
  ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2026, 12, 9), QTime(11, 35, 12)), QFileDevice::FileModificationTime));
  file.close();

  QtDialogService service;
  bool looked = false;
  QTimer::singleShot(50, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    auto* view = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
    ASSERT_NE(view, nullptr);
    // The folder is read in the background.
    QModelIndex name;
    for (int i = 0; i < 300 && !name.isValid(); ++i) {
      QApplication::processEvents();
      const QModelIndexList found = view->model()->match(view->rootIndex().isValid() ? view->model()->index(0, 0, view->rootIndex()) : QModelIndex(),
                                                         Qt::DisplayRole, QStringLiteral("Messpunkte_Nord.pkt"));
      if (!found.isEmpty()) name = found.first();
      else QThread::msleep(10);
    }
    ASSERT_TRUE(name.isValid());
    const auto text = [&](int column) { return name.siblingAtColumn(column).data().toString().toStdString(); };
    EXPECT_EQ(text(1), "13 KB");
    EXPECT_EQ(text(2), "PKT-Datei");
    EXPECT_EQ(text(3), "09.12.2026 11:35");
    // Each column wider than its text and its caption, and all of them in view.
    const QHeaderView* header = view->header();
    for (int c = 0; c < 4; ++c) {
      const int needed = std::max(view->fontMetrics().horizontalAdvance(QString::fromStdString(text(c))),
                                  header->fontMetrics().horizontalAdvance(view->model()->headerData(c, Qt::Horizontal).toString()));
      EXPECT_GT(header->sectionSize(c), needed) << c;
    }
    EXPECT_LE(header->length(), view->viewport()->width());
    looked = true;
    dialog->reject();
  });
  FileDialogRequest request;
  request.title = QStringLiteral("Datei importieren");
  request.filter = QStringLiteral("Geograf (*.pkt)|*.pkt|");
  request.initialDir = dir.path();
  EXPECT_TRUE(service.openFileDialog(request).cancelled);
  EXPECT_TRUE(looked);
}
