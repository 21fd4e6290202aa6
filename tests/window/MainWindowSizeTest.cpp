// The main window at the widths a user gives it: the toolbar keys after the
// placeholder stay at the right end, every option frame and the tab strip
// stay inside the window, and the status panels are readable.
#include <QApplication>
#include <QLabel>
#include <QToolButton>

#include "MainWindowFixture.h"
#include "platform/ui/VbFrame.h"
#include "platform/ui/VbStatusBar.h"
#include "platform/ui/VbTabStrip.h"
#include "platform/ui/VbToolBar.h"
#include "shell/WindowLayout.h"

using namespace orv;

namespace {

void ResizeTo(FormOrvenil& f, int width, int height) {
  f.resize(width, height);
  QApplication::processEvents();
}

// The help key and "Ende" on the toolbar (not in its overflow menu), at its right end.
void ExpectRightKeysAtTheEnd(FormOrvenil& f) {
  SCOPED_TRACE(f.width());
  auto* overflow = f.Coolbar2->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"));
  EXPECT_TRUE(overflow == nullptr || !overflow->isVisible());
  const int right = f.Coolbar2->KeyLeft(kKeyDBEnde) + f.Coolbar2->KeyWidth(kKeyDBEnde);
  EXPECT_GT(right, f.formClient->width() - 20);
  EXPECT_LE(right, f.formClient->width());
  EXPECT_GT(f.Coolbar2->KeyLeft(kKeyHilfe), f.formClient->width() / 2);
}

// Every option frame and the tab strip lie inside the client area.
void ExpectEverythingReachable(FormOrvenil& f) {
  SCOPED_TRACE(f.width());
  const QRect client = f.formClient->rect();
  for (VbFrame* frame : {f.frameSystem, f.frameAbbildung, f.frameZone, f.frameParaTrafo}) {
    const QRect r(frame->mapTo(f.formClient, QPoint(0, 0)), frame->size());
    EXPECT_TRUE(client.contains(r)) << frame->title().toStdString();
  }
  const QRect band(f.sevFrameOptionen->geometry());
  EXPECT_LT(band.bottom(), f.sevTabStrip1->geometry().top());
  EXPECT_TRUE(client.contains(f.sevTabStrip1->geometry()));
  // No empty band between the tab strip and the status bar.
  EXPECT_GE(f.sevTabStrip1->geometry().bottom(), client.bottom() - 3);
  EXPECT_GT(f.sevTabStrip1->height(), 100);
}

}  // namespace

TEST_F(MainWindowTest, ToolbarKeysStayAtTheRightEndAtEveryWidth) {
  putAllTables();
  FormOrvenil& f = start();
  f.show();
  EXPECT_FALSE(f.Coolbar2->actions().isEmpty());
  const int h = f.height();
  for (const auto& [from, to] : {std::pair{1550, 1298}, {1298, 1200}, {1298, 900}}) {
    ResizeTo(f, from, h);
    ExpectRightKeysAtTheEnd(f);
    ResizeTo(f, to, h);
    ExpectRightKeysAtTheEnd(f);
  }
  f.showMaximized();
  QApplication::processEvents();
  f.showNormal();
  QApplication::processEvents();
  ExpectRightKeysAtTheEnd(f);
}

TEST_F(MainWindowTest, OpensAtTheDesignWidthAndKeepsEveryControlReachable) {
  putAllTables();
  FormOrvenil& f = start();
  f.show();
  QApplication::processEvents();
  EXPECT_EQ(f.width(), TwipsToPixels(kDesignWindowWidth, f.logicalDpiX()));
  // The option frames fit the design width side by side.
  EXPECT_EQ(f.frameParaTrafo->y(), f.frameSystem->y());
  ExpectEverythingReachable(f);
  ResizeTo(f, 900, f.height());
  ExpectEverythingReachable(f);
  ResizeTo(f, f.minimumWidth(), f.minimumHeight());
  EXPECT_GT(f.minimumWidth(), 0);
  ExpectEverythingReachable(f);
}

TEST_F(MainWindowTest, StatusPanelsAreReadableAtTheDesignWidth) {
  putAllTables();
  FormOrvenil& f = start();
  f.show();
  // What start-up, an import, the transformation panel and an export leave
  // there together (panel 6 speaks only while panel 9 is empty).
  const QStringList texts = {"Status  ",
                             "...\\Messpunkte_Nord.txt  ",
                             "Zone: 32  ",
                             "Maßstab: 0.9996  ",
                             "K0: 500000m  ",
                             "",
                             "",
                             "",
                             "Trafo: von: ETRS89 (GRS80)  ",
                             "Speichern Spalten: 1,2,3  "};
  for (int i = 0; i < texts.size(); ++i) f.xpStatusBar1->SetPanelText(i + 1, texts[i]);
  ResizeTo(f, TwipsToPixels(kDesignWindowWidth, f.logicalDpiX()), f.height());
  for (QLabel* panel : f.xpStatusBar1->findChildren<QLabel*>()) {
    if (panel->text().isEmpty()) continue;
    EXPECT_GE(panel->width(), panel->fontMetrics().horizontalAdvance(panel->text().trimmed()))
        << panel->text().toStdString();
  }
}
