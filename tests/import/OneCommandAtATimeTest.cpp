// The window with its real event pump and input gate while an import runs:
// clicks and a close request arriving meanwhile start nothing, also in the
// second import of a session, and the import ends with all its rows.
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include "ImportFixture.h"
#include "platform/ui/ProgressWindow.h"
#include "platform/ui/QtDialogService.h"
#include "platform/ui/VbToolBar.h"

namespace {

// The program's own dialog service, its prompts answered by the test's script.
class WindowDialogs : public orv::QtDialogService {
 public:
  explicit WindowDialogs(orv::ScriptedDialogService& script) : script_(script) {}
  orv::MsgResult messageBox(const QString& t, orv::MsgButtons b, orv::MsgIcon i, const QString& title) override {
    return script_.messageBox(t, b, i, title);
  }
  orv::InputAnswer inputBoxAnswer(const QString& p, const QString& t, const QString& d) override {
    return script_.inputBoxAnswer(p, t, d);
  }
  orv::FileDialogResult openFileDialog(const orv::FileDialogRequest& r) override { return script_.openFileDialog(r); }
  int showModal(QDialog* dialog) override { return script_.showModal(dialog); }
  void exitProgram(int code) override { script_.exitProgram(code); }
  void processEvents() override {
    QtDialogService::processEvents();
    if (onPump) onPump();
  }
  std::function<void()> onPump;

 private:
  orv::ScriptedDialogService& script_;
};

void PostClick(QWidget* w) {
  const QPointF at(w->width() / 2.0, w->height() / 2.0);
  for (auto [type, buttons] : {std::pair{QEvent::MouseButtonPress, Qt::LeftButton}, {QEvent::MouseButtonRelease, Qt::NoButton}})
    QCoreApplication::postEvent(w, new QMouseEvent(type, at, w->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier));
}

class OneCommandAtATimeTest : public ImportTest {
 protected:
  void SetUp() override {
    ImportTest::SetUp();
    orv::SetDialogService(&window);
  }
  void TearDown() override {
    form.reset();
    orv::SetDialogService(&*dialogs);
    ImportTest::TearDown();
  }
  QWidget* toolbarKey(const QString& text) {
    for (QAction* a : form->Coolbar2->actions())
      if (a->text() == text) return form->Coolbar2->widgetForAction(a);
    return nullptr;
  }
  // An import of `lines` points, started as the user starts it; `meanwhile` runs
  // once while its progress shows read lines, and the events it posts are
  // let through there.
  void importWhile(int lines, const std::function<void()>& meanwhile) {
    QStringList points;
    for (int i = 1; i <= lines; ++i) points << QString("%1 K 4512345.678 %2.5 101.5").arg(i).arg(5700000 + i);
    const QString path = writeFile(QString("p%1.in").arg(lines), points);
    bool done = false;
    window.onPump = [&] {
      orv::FormStatus* status = orv::ExistingStatusForm();
      if (done || orv::LastProgressPercent() == 0 || !status || !status->Label2->text().contains("eingelesen")) return;
      done = true;
      meanwhile();
      window.QtDialogService::processEvents();
    };
    dialogs->expectOpenFile(path, 2);
    expectStartData([](orv::FormOrvenilSystemAuswahl& d) { d.Startsys->select(1); });
    form->Coolbar2->Click(orv::kKeyDbOeffnen);
    window.onPump = {};
    EXPECT_EQ(done, lines > 1);
    EXPECT_EQ(committedRows().first, lines);
  }

  WindowDialogs window{*dialogs};
};

TEST_F(OneCommandAtATimeTest, ImportKeysTakeNoClickDuringTheSecondImport) {
  startWithTables();
  form->show();
  importWhile(1, {});
  // Any open dialog asked for now would be a second import inside this one.
  importWhile(150000, [&] {
    PostClick(toolbarKey("Datei importieren"));
    PostClick(form->cmdAuswahlImport);
    QMetaObject::invokeMethod(form->cmdAuswahlImport, &QPushButton::click, Qt::QueuedConnection);
  });
  EXPECT_TRUE(dialogs->allDone()) << dialogs->failures().join("\n").toStdString();
}

TEST_F(OneCommandAtATimeTest, CloseRequestsDuringAnImportAreRefused) {
  startWithTables();
  form->show();
  importWhile(150000, [&] {
    QMetaObject::invokeMethod(form.get(), &QWidget::close, Qt::QueuedConnection);
    PostClick(toolbarKey("Ende"));
    QMetaObject::invokeMethod(form->Coolbar2, [&] { form->Coolbar2->Click(orv::kKeyDBEnde); }, Qt::QueuedConnection);
  });
  EXPECT_EQ(dialogs->exitCode(), -1);  // no end was started
  EXPECT_TRUE(QFile::exists(orv::State().KooDbPfad));
  EXPECT_TRUE(form->isVisible());
}

}  // namespace
