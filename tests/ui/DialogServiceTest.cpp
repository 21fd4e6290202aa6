// The scripted dialog service of the tests, the open/save dialog control and
// the input gate of the real service while a run is busy.
#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QTimer>
#include <QMouseEvent>
#include <QPushButton>
#include <QTranslator>
#include <gtest/gtest.h>

#include "foundation/OrvenilError.h"
#include "platform/ui/CommonDialog.h"
#include "platform/ui/GermanQtTranslation.h"
#include "platform/ui/QtDialogService.h"
#include "platform/ui/ScriptedDialogService.h"

using namespace orv;

TEST(ScriptedDialogs, AnswersInOrderAndRecordsMessages) {
  ScopedScriptedDialogs dialogs;
  dialogs->expectMessage(QStringLiteral("löschen?"), MsgResult::No)
      .expectInput(QStringLiteral("Sekunden"), QStringLiteral("60; 90"));
  EXPECT_EQ(Dialogs().messageBox(QStringLiteral("3. Datensatz löschen?"), MsgButtons::YesNo,
                                 MsgIcon::Question, QStringLiteral("Löschen")),
            MsgResult::No);
  EXPECT_EQ(Dialogs().inputBox(QStringLiteral("[Breite; Länge] in Sekunden ein: "), QStringLiteral("NTv2"),
                               QStringLiteral("60; 90")),
            QStringLiteral("60; 90"));
  ASSERT_EQ(dialogs->messages().size(), 1);
  EXPECT_EQ(dialogs->messages().first().title, QStringLiteral("Löschen"));
  EXPECT_EQ(dialogs->messages().first().icon, MsgIcon::Question);
  EXPECT_TRUE(dialogs->allDone());
}

TEST(ScriptedDialogs, UnexpectedPromptFailsAndIsRecorded) {
  ScopedScriptedDialogs dialogs;
  QStringList reported;
  dialogs->setFailureHandler([&](const QString& m) { reported << m; });
  EXPECT_THROW(Dialogs().messageBox(QStringLiteral("Daten fehlen! Abbruch!"), MsgButtons::Ok,
                                    MsgIcon::Critical, QStringLiteral("Orvenil")),
               UnexpectedPromptError);
  EXPECT_EQ(reported.size(), 1);
  EXPECT_TRUE(reported.first().contains(QStringLiteral("Daten fehlen")));
  EXPECT_EQ(dialogs->messageTexts(), QStringList{QStringLiteral("Daten fehlen! Abbruch!")});

  // A prompt of the wrong kind or text fails as well.
  dialogs->expectInput(QStringLiteral("Zone"), QStringLiteral("3"));
  EXPECT_THROW(Dialogs().inputBox(QStringLiteral("Spacing"), QString(), QString()), UnexpectedPromptError);
  dialogs->clearRecords();
  dialogs->expectInput(QString(), QStringLiteral("x"));
  FileDialogRequest request;
  EXPECT_THROW(Dialogs().openFileDialog(request), UnexpectedPromptError);
  EXPECT_FALSE(dialogs->allDone());
}

TEST(ScriptedDialogs, PlainReportsCanBeAcceptedWithoutExpectation) {
  ScopedScriptedDialogs dialogs;
  dialogs->setAcceptOkMessages(true);
  dialogs->expectMessage(QStringLiteral("Weiter?"), MsgResult::Yes);
  Dialogs().messageBox(QStringLiteral("Es wurden 3 Höhen überschrieben!   "), MsgButtons::Ok,
                       MsgIcon::Information, QStringLiteral("Orvenil"));
  EXPECT_EQ(Dialogs().messageBox(QStringLiteral("Weiter?"), MsgButtons::YesNo, MsgIcon::Question,
                                 QStringLiteral("Orvenil")),
            MsgResult::Yes);
  EXPECT_EQ(dialogs->messages().size(), 2);
  // Questions still need their expectation.
  EXPECT_THROW(Dialogs().messageBox(QStringLiteral("Nochmal?"), MsgButtons::YesNo, MsgIcon::Question,
                                    QStringLiteral("Orvenil")),
               UnexpectedPromptError);
}

TEST(ScriptedDialogs, RecordsStartsBusyAndExit) {
  ScopedScriptedDialogs dialogs;
  Dialogs().openUrl(QStringLiteral("https://www.openstreetmap.org/?mlat=52.5&mlon=13.4#map=15/52.5/13.4"));
  Dialogs().startProgram(QStringLiteral("xdg-open"), {QStringLiteral("/tmp/a b.htm")});
  Dialogs().setBusy(true);
  Dialogs().setBusy(true);
  EXPECT_TRUE(dialogs->isBusy());
  EXPECT_EQ(dialogs->busyChanges(), 1);
  Dialogs().exitProgram(0);
  EXPECT_EQ(dialogs->exitCode(), 0);
  EXPECT_EQ(dialogs->openedUrls().size(), 1);
  EXPECT_EQ(dialogs->startedPrograms().first(),
            (QStringList{QStringLiteral("xdg-open"), QStringLiteral("/tmp/a b.htm")}));
}

TEST(DialogFilter, PipeSeparatedFilterStringsBecomeQtFilters) {
  const auto entries = ParseDialogFilter(
      QStringLiteral("Geograf (*.txt)|*.txt|Alle Dateien (*.*)|*.*|Punkte|*.pkt;*.asc|"));
  ASSERT_EQ(entries.size(), 3);
  EXPECT_EQ(entries.at(1).patterns, QStringList{QStringLiteral("*")});
  EXPECT_EQ(entries.at(2).patterns, (QStringList{QStringLiteral("*.pkt"), QStringLiteral("*.asc")}));
  EXPECT_EQ(QtNameFilters(QStringLiteral("Kalkschiff Vorsel(*.vorsel)|*.vorsel|Geograf (Variante 1)|*.in")),
            (QStringList{QStringLiteral("Kalkschiff Vorsel (*.vorsel)"),
                         QStringLiteral("Geograf (Variante 1) (*.in)")}));
  EXPECT_EQ(QtNameFilters(QStringLiteral("Alle Dateien (*.*)|*.*")),
            QStringList{QStringLiteral("Alle Dateien (*)")});
  EXPECT_TRUE(QtNameFilters(QString()).isEmpty());
}

TEST(CommonDialogControl, KeepsNameAndIndexCancelEmptiesOrThrows) {
  ScopedScriptedDialogs dialogs;
  CommonDialog dlg;
  dlg.DialogTitle = QStringLiteral("Datei importieren");
  dlg.Filter = QStringLiteral("a|*.a|b|*.b|");
  dlg.FilterIndex = 2;
  dlg.FileName = QStringLiteral("/data/punkte.vorsel");
  dialogs->expectOpenFile(QStringLiteral("/data/p.txt"), 1).expectOpenFileCancel().expectSaveFileCancel();

  EXPECT_TRUE(dlg.ShowOpen());
  EXPECT_EQ(dlg.FileName, QStringLiteral("/data/p.txt"));
  EXPECT_EQ(dlg.FilterIndex, 1);
  ASSERT_EQ(dialogs->fileRequests().size(), 1);
  EXPECT_EQ(dialogs->fileRequests().first().filterIndex, 2);
  EXPECT_EQ(dialogs->fileRequests().first().fileName, QStringLiteral("/data/punkte.vorsel"));

  EXPECT_FALSE(dlg.ShowOpen());
  EXPECT_TRUE(dlg.FileName.isEmpty());
  EXPECT_EQ(dlg.FilterIndex, 1);

  dlg.CancelError = true;
  try {
    dlg.ShowSave();
    FAIL() << "cancel must throw";
  } catch (const OrvenilError& e) {
    EXPECT_EQ(e.number(), kErrCancelSelected);
  }
  EXPECT_TRUE(dialogs->allDone());
}

namespace {
void ClickBySend(QWidget* w) {
  const QPointF at(2, 2);
  QMouseEvent press(QEvent::MouseButtonPress, at, w->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, at, w->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(w, &press);
  QApplication::sendEvent(w, &release);
}
}  // namespace

TEST(QtDialogServiceGate, UserInputIsKeptOutWhileBusy) {
  QtDialogService service;
  QPushButton end(QStringLiteral("Ende"));
  end.resize(80, 30);
  end.show();
  int clicks = 0;
  QObject::connect(&end, &QPushButton::clicked, [&] { ++clicks; });

  ClickBySend(&end);
  EXPECT_EQ(clicks, 1);

  service.setBusy(true);
  service.setBusy(true);  // one state, not a stack
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  ClickBySend(&end);
  service.processEvents();
  EXPECT_EQ(clicks, 1);  // dropped, not delayed

  service.setBusy(false);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  service.processEvents();
  EXPECT_EQ(clicks, 1);
  ClickBySend(&end);
  EXPECT_EQ(clicks, 2);

  // A piece of work keeps the input out though a step of it gives up the busy pointer.
  service.beginWork();
  service.setBusy(true);
  service.setBusy(false);
  ClickBySend(&end);
  service.endWork();
  EXPECT_EQ(clicks, 2);
}

TEST(QtDialogServiceGate, ClassifiesUserInput) {
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QEvent paint(QEvent::Paint);
  QEvent close(QEvent::Close);
  EXPECT_TRUE(IsUserInputEvent(&press));
  EXPECT_FALSE(IsUserInputEvent(&paint));
  EXPECT_FALSE(IsUserInputEvent(&close));  // closed by code, not by the user
}

TEST(QtDialogServiceBoxes, MessageBoxAnswersAndInputBoxCancel) {
  QtDialogService service;
  service.setBusy(true);  // a run's question must stay answerable
  const QString shot = qEnvironmentVariable("ORV_SCREENSHOT");
  QTimer::singleShot(50, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Löschen"));
    EXPECT_EQ(box->text(), QStringLiteral("Achtung!\nEs sind 3 Datensätze selektiert."));
    if (!shot.isEmpty()) box->grab().save(QString(shot).replace(QStringLiteral(".png"), QStringLiteral("-box.png")));
    for (QAbstractButton* b : box->buttons())
      if (b->text() == QStringLiteral("Nein")) b->click();
  });
  EXPECT_EQ(service.messageBox(QStringLiteral("Achtung!\r\nEs sind 3 Datensätze selektiert."), MsgButtons::YesNo,
                               MsgIcon::Question, QStringLiteral("Löschen")),
            MsgResult::No);

  QTimer::singleShot(50, [] {
    auto* input = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(input, nullptr);
    EXPECT_EQ(input->textValue(), QStringLiteral("60; 90"));
    input->reject();
  });
  EXPECT_EQ(service.inputBox(QStringLiteral("Abstand"), QStringLiteral("NTv2"), QStringLiteral("60; 90")), QString());
  // OK with an emptied box is no cancel.
  QTimer::singleShot(50, [] {
    auto* input = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(input, nullptr);
    input->setTextValue(QString());
    input->accept();
  });
  const InputAnswer empty = service.inputBoxAnswer(QStringLiteral("Höhe"), QStringLiteral("Flug"), QStringLiteral("80"));
  EXPECT_FALSE(empty.cancelled);
  EXPECT_EQ(empty.text, QString());
  service.setBusy(false);
}

TEST(QtDialogServiceStarts, LauncherThatFindsNoProgramIsAFailedStart) {
  QtDialogService service;
  EXPECT_TRUE(service.startProgram(QStringLiteral("true"), {}));
  // xdg-open without a browser ends with a code other than 0.
  EXPECT_FALSE(service.startProgram(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("exit 3")}));
  EXPECT_FALSE(service.startProgram(QStringLiteral("/kein/Programm"), {}));
}

TEST(GermanQtTranslation, StandardKeysAndFileDialogSpeakGerman) {
  ASSERT_TRUE(InstallGermanQtTranslation(*QCoreApplication::instance()));
  QMessageBox box(QMessageBox::Question, QStringLiteral("Löschen"), QStringLiteral("?"),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("Abbrechen"));
  EXPECT_EQ(box.button(QMessageBox::No)->text().remove(QLatin1Char('&')), QStringLiteral("Nein"));
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Suchen in:"));
  for (QTranslator* t : QCoreApplication::instance()->findChildren<QTranslator*>()) {
    QCoreApplication::removeTranslator(t);
    delete t;
  }
}
