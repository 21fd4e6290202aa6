#pragma once
// Shared pieces of the database tests: a temporary folder, a dialog service
// that records message boxes, and a small table maker.
#include <QTemporaryDir>
#include <QVector>
#include <gtest/gtest.h>

#include "foundation/DialogService.h"
#include "foundation/OrvenilError.h"
#include "platform/db/DBEngine.h"
#include "platform/db/DatabaseHelpers.h"

namespace orv::test {

struct ShownMessage {
  QString text;
  MsgIcon icon;
  QString title;
};

class RecordingDialogs : public DialogService {
 public:
  QVector<ShownMessage> messages;
  int busyOn = 0;
  bool busy = false;

  MsgResult messageBox(const QString& text, MsgButtons, MsgIcon icon, const QString& title) override {
    messages.push_back({text, icon, title});
    return MsgResult::Ok;
  }
  QString inputBox(const QString&, const QString&, const QString&) override {
    ADD_FAILURE() << "unexpected input box";
    return {};
  }
  FileDialogResult openFileDialog(const FileDialogRequest&) override {
    ADD_FAILURE() << "unexpected file dialog";
    return {};
  }
  FileDialogResult saveFileDialog(const FileDialogRequest&) override {
    ADD_FAILURE() << "unexpected file dialog";
    return {};
  }
  int showModal(QDialog*) override { return 0; }
  void openDropDown(QComboBox*) override {}
  void closeDropDown(QComboBox*) override {}
  void popupMenu(QMenu*, const QPoint&) override {}
  bool openUrl(const QString&) override { return false; }
  bool startProgram(const QString&, const QStringList&) override { return false; }
  void setBusy(bool on) override {
    busy = on;
    if (on) ++busyOn;
  }
  void processEvents() override {}
  void exitProgram(int) override {}
};

// Every test gets its own folder, its own dialog service, and leaves no
// database open behind it.
class DbTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    SetDialogService(&dialogs);
  }
  void TearDown() override {
    DBEngine::closeAll();
    SetDialogService(nullptr);
  }
  QString path(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }

  // A table with a text field, a long field and the given indexes.
  Database makeTable(const QString& file, const QString& table = QStringLiteral("T")) {
    Database db;
    CreateDatabaseFile(db, path(file), true);
    EXPECT_TRUE(CreateTableWithField(db, table, QStringLiteral("Name"), dbText));
    EXPECT_TRUE(AddTableField(db, table, QStringLiteral("Nr"), dbLong, 0));
    return db;
  }

  static int errorOf(const std::function<void()>& f) {
    try {
      f();
    } catch (const OrvenilError& e) {
      return e.number();
    }
    return 0;
  }

  QTemporaryDir dir;
  RecordingDialogs dialogs;
};

}  // namespace orv::test
