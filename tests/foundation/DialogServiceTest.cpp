// The default dialog service and replacing it.
#include "foundation/DialogService.h"
#include "foundation/OrvenilError.h"
#include "foundation/ProcessHelpers.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

class RecordingDialogs : public DialogService {
 public:
  MsgResult messageBox(const QString&, MsgButtons, MsgIcon, const QString&) override { return MsgResult::Ok; }
  QString inputBox(const QString&, const QString&, const QString&) override { return {}; }
  FileDialogResult openFileDialog(const FileDialogRequest&) override { return {}; }
  FileDialogResult saveFileDialog(const FileDialogRequest&) override { return {}; }
  int showModal(QDialog*) override { return 0; }
  void openDropDown(QComboBox*) override {}
  void closeDropDown(QComboBox*) override {}
  void popupMenu(QMenu*, const QPoint&) override {}
  bool openUrl(const QString& urlOrPath) override {
    opened << urlOrPath;
    return true;
  }
  bool startProgram(const QString&, const QStringList&) override { return true; }
  void setBusy(bool) override {}
  void processEvents() override {}
  void exitProgram(int) override {}
  QStringList opened;
};

TEST(DialogService, FallbackRefusesPromptsButNotBusyOrEvents) {
  SetDialogService(nullptr);
  try {
    Dialogs().messageBox("Text", MsgButtons::YesNo, MsgIcon::Question, "Orvenil");
    ADD_FAILURE() << "the fallback answered a question";
  } catch (const OrvenilError& e) {
    EXPECT_TRUE(e.description().contains("Orvenil"));
  }
  EXPECT_THROW(Dialogs().inputBox("p", "t", "d"), OrvenilError);
  EXPECT_THROW(Dialogs().openFileDialog({}), OrvenilError);
  EXPECT_THROW(Dialogs().openUrl("x"), OrvenilError);
  EXPECT_NO_THROW(Dialogs().setBusy(true));
  EXPECT_NO_THROW(Dialogs().processEvents());
}

TEST(DialogService, InstalledServiceAnswersUntilRemoved) {
  RecordingDialogs rec;
  SetDialogService(&rec);
  EXPECT_EQ(&Dialogs(), &rec);
  OpenWithAssociatedProgram("/tmp/hilfe.htm");
  EXPECT_EQ(rec.opened, QStringList{"/tmp/hilfe.htm"});
  SetDialogService(nullptr);
  EXPECT_NE(&Dialogs(), &rec);
  EXPECT_THROW(OpenWithAssociatedProgram("/tmp/hilfe.htm"), OrvenilError);
}

}  // namespace
}  // namespace orv
