// Clicks and a close request arriving while an import's progress shows start
// nothing, also in a session's second import, and the import keeps its rows.
#include <QCoreApplication>
#include <QMouseEvent>
#include <QPushButton>

#include "ImportFixture.h"
#include "platform/ui/ProgressWindow.h"
#include "platform/ui/VbToolBar.h"

class OneCommandAtATimeTest : public ImportTest {
 protected:
  void SetUp() override { ImportTest::SetUp(); startWithTables(); form->show(); }
  // A click on the toolbar key (by its text) or a button, queued as the window system queues it.
  void postClick(const QString& key, QWidget* w = nullptr) {
    for (QAction* a : form->Coolbar2->actions())
      if (!w && a->text() == key) w = form->Coolbar2->widgetForAction(a);
    const QPointF at(w->width() / 2.0, w->height() / 2.0);
    for (auto [type, buttons] : {std::pair{QEvent::MouseButtonPress, Qt::LeftButton}, {QEvent::MouseButtonRelease, Qt::NoButton}})
      QCoreApplication::postEvent(w, new QMouseEvent(type, at, w->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier));
  }
  // Imports points through the toolbar key as the user does; `meanwhile`
  // runs once while the progress window shows, and what it posts arrives there.
  void importWhile(int points, const std::function<void()>& meanwhile) {
    QStringList lines;
    for (int i = 1; i <= points; ++i) lines << QString("%1 K 4512345.678 %2.5 101.5").arg(i).arg(5700000 + i);
    dialogs->expectOpenFile(writeFile("p.in", lines), 2);
    expectStartData([](orv::FormOrvenilSystemAuswahl& d) { d.Startsys->select(1); });
    bool posted = false;
    dialogs->setOnProcessEvents([&] {
      if (posted || !meanwhile || !orv::ExistingStatusForm() || !orv::ExistingStatusForm()->isVisible()) return;
      posted = true;
      meanwhile();
      QCoreApplication::processEvents();
    });
    form->Coolbar2->Click(orv::kKeyDbOeffnen);
    dialogs->setOnProcessEvents({});
    EXPECT_EQ(posted, static_cast<bool>(meanwhile));
    EXPECT_EQ(committedRows().first, points);
  }
};

TEST_F(OneCommandAtATimeTest, ImportKeysTakeNoClickDuringTheSecondImport) {
  importWhile(1, {});
  // Any open dialog asked for now would be a second import inside this one.
  importWhile(3, [&] { postClick("Datei importieren"); postClick({}, form->cmdAuswahlImport); });
  EXPECT_TRUE(dialogs->allDone()) << dialogs->failures().join("\n").toStdString();
}

TEST_F(OneCommandAtATimeTest, EndAndCloseRequestsDuringAnImportAreRefused) {
  importWhile(3, [&] {
    QMetaObject::invokeMethod(form.get(), &QWidget::close, Qt::QueuedConnection);
    postClick("Ende");
  });
  EXPECT_EQ(dialogs->exitCode(), -1);  // no end was started under the import
  EXPECT_TRUE(QFile::exists(orv::State().KooDbPfad));
  EXPECT_TRUE(form->isVisible());
}
