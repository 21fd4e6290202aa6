// The info box: Escape raises the abort flag and keeps the box open; "Weiter" closes it.
#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

#include "platform/ui/InfoBox.h"

using namespace orv;

TEST(InfoBox, EscapeSetsAbortFlagWeiterCloses) {
  bool aborted = false;
  FormInfo box(nullptr, [&aborted] { aborted = true; });
  EXPECT_EQ(box.windowTitle(), QStringLiteral("Infobox - Abbruch Aktion mit [ESC] "));
  EXPECT_EQ(box.Command1->text(), QStringLiteral("Weiter"));
  box.show();
  box.info->setPlainText(QStringLiteral("Zeile 1\nZeile 2"));
  EXPECT_EQ(box.info->textCursor().position(), box.info->toPlainText().size());

  QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(box.info, &esc);
  EXPECT_TRUE(box.abortRequested());
  EXPECT_TRUE(aborted);
  EXPECT_TRUE(box.isVisible());

  box.Command1->click();
  EXPECT_FALSE(box.isVisible());
}
