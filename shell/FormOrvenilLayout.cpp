// Layout of the main window and the locking of its input panels.
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QResizeEvent>
#include <QTabBar>
#include <QTableView>

#include "foundation/DialogService.h"
#include "foundation/NumberText.h"
#include "foundation/SystemInfo.h"
#include "platform/ui/ContainerControls.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/OptionArray.h"
#include "platform/ui/ProgressWindow.h"
#include "platform/ui/ScreenFit.h"
#include "platform/ui/VbCheckBox.h"
#include "platform/ui/VbComboBox.h"
#include "platform/ui/VbFrame.h"
#include "platform/ui/VbStatusBar.h"
#include "platform/ui/VbTabStrip.h"
#include "platform/ui/VbToolBar.h"
#include "shell/FormOrvenil.h"
#include "shell/SkipFailingStep.h"
#include "shell/WindowLayout.h"

namespace orv {

void FormOrvenil::FormVisible(bool enabled) {
  // The start-system panels only show what the start-data dialog chose.
  EnableContainerControls(frameSystem, false);
  EnableContainerControls(frameAbbildung, false);
  EnableContainerControls(frameZone, enabled);
  EnableContainerControls(frameParaTrafo, enabled);
  EnableContainerControls(frameAuswParaTrafo, enabled);
  if (!AuswahlTrafoTyp->isSelected(0)) {
    EnableContainerControls(frameGeoidModell, enabled);
  } else {
    EnableContainerControls(frameGeoidModell, false);
    ComboTrafoPara->setEnabled(false);
    // Choosing the direction runs its handler, which can fail.
    SkipFailingStep("Transformationsrichtung wählen", [&] { AuswahlTrafoRichtung->select(0); });
  }
  cmbStartZone->setEnabled(false);
  cmbStartsys->setEnabled(false);
  chkZoneIndividuell->setEnabled(!(Val(zielZone->Text()) > 0 || !enabled));
  // Unlocking the panel enabled the start button with its frame; whether it
  // may be pressed is the panel's decision.
  if (enabled) ApplyTrafoStartRule();
}

void FormOrvenil::ShowBusyWindow() {
  Dialogs().setBusy(true);
  StatusForm()->Label2->setText(QStringLiteral("Daten werden eingelesen"));
  FormVisible(false);
  Dialogs().processEvents();
}

void FormOrvenil::HideBusyWindow() {
  Dialogs().setBusy(false);
  ReleaseStatusForm();
  FormVisible(true);
  Dialogs().processEvents();
}

void FormOrvenil::zielZone_Click() {
  chkZoneIndividuell->SetValue(0);
  chkZoneIndividuell->setEnabled(!(Val(zielZone->Text()) > 0));
}

void FormOrvenil::Form_Resize() {
  if (!formClient || !sevTabStrip1) return;
  const double dpiX = logicalDpiX();
  const double dpiY = logicalDpiY();
  const QRect outer = frameGeometry();
  const LayoutCorrection correction = LayoutCorrectionFor(GetWindowsVersionText());
  const WindowLayoutTwips l = ComputeWindowLayout(PixelsToTwips(outer.width(), dpiX),
                                                  PixelsToTwips(outer.height(), dpiY), correction);

  // The toolbar spans the client area; its placeholder stretches, so the
  // keys after it stay at the right end.
  const int toolbarHeight = Coolbar2->sizeHint().height();
  Coolbar2->setGeometry(0, 0, formClient->width(), toolbarHeight);

  // The options band below it, wrapped into rows where the window is narrow.
  const int left = TwipsToPixels(l.tabLeft, dpiX);
  const int bandTop = std::max(TwipsToPixels(l.optionsFrameTop, dpiY), toolbarHeight);
  const int bandWidth = std::max(0, formClient->width() - 2 * left);
  const int bandHeight = sevFrameOptionen->heightForWidth(bandWidth);
  sevFrameOptionen->setGeometry(left, bandTop, bandWidth, bandHeight);

  // The tab strip below the band, down to the status bar; the grids keep
  // the design's distance to its edges.
  const PixelRect tabs =
      TabStripPixels(l, dpiX, dpiY, formClient->width(), formClient->height(), bandTop + bandHeight);
  sevTabStrip1->setGeometry(tabs.left, tabs.top, tabs.width, tabs.height);
  const int gridWidth = std::max(0, tabs.width - TwipsToPixels(kDesignTabWidth - kDesignGridWidth, dpiX));
  const int gridHeight = std::max(0, tabs.height - TwipsToPixels(kDesignTabHeight - kDesignGridHeight, dpiY));
  for (DataGrid* grid : {GridKooDb, GridKoordSys, GridTrafoSys, GridNTv2Sys, GridGeoidmodell}) {
    grid->resize(gridWidth, gridHeight);
    grid->view()->viewport()->update();
  }
}

void FormOrvenil::FitOptionsBandToScreen() {
  // The band's texts never get smaller on screen than on a screen at 100 %
  // scale (nor below 6 points); below that the band wraps into more rows.
  const double smallest = std::max(6.0, sevFrameOptionen->font().pointSizeF() / devicePixelRatioF());
  const int room = LargestWindowSize(this).width() - 2 * TwipsToPixels(kTabLeft, logicalDpiX());
  QFont font = sevFrameOptionen->font();
  while (sevFrameOptionen->sizeHint().width() > room && font.pointSizeF() - 0.5 >= smallest) {
    font.setPointSizeF(font.pointSizeF() - 0.5);
    sevFrameOptionen->setFont(font);
  }
}

void FormOrvenil::SetMinimumWindowSize() {
  ensurePolished();
  const int left = TwipsToPixels(kTabLeft, logicalDpiX());
  const QSize largest = LargestWindowSize(this);
  // Every option frame whole (one below the other at worst), every toolbar
  // key on the toolbar, and room for the tab strip with a few rows.
  const int narrowest =
      std::max(sevFrameOptionen->minimumSizeHint().width() + 2 * left, Coolbar2->sizeHint().width());
  const int oneRow = std::max(narrowest, sevFrameOptionen->sizeHint().width() + 2 * left);
  const int bandTop = std::max(TwipsToPixels(kOptionsFrameTop, logicalDpiY()), Coolbar2->sizeHint().height());
  const int rowHeight = GridKooDb->view()->verticalHeader()->defaultSectionSize();
  const auto heightAt = [&](int width, int rows) {
    return bandTop + sevFrameOptionen->heightForWidth(width - 2 * left) + 4 +
           sevTabStrip1->tabBar()->sizeHint().height() + rows * rowHeight + xpStatusBar1->sizeHint().height();
  };
  // Eight rows for the grid's caption, header, a few points and its scroll
  // bar, five on a short screen. The narrowest width whose band leaves the
  // window low enough for the screen: frames that wrap into more rows make
  // the window higher.
  for (int rows : {8, 5}) {
    for (int width = narrowest; width <= oneRow; width += 4) {
      if (heightAt(width, rows) <= largest.height()) {
        setMinimumSize(width, heightAt(width, rows));
        return;
      }
    }
  }
  setMinimumSize(oneRow, heightAt(oneRow, 5));
}

void FormOrvenil::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  Form_Resize();
}

void FormOrvenil::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  FitWindowToScreen(this);
}

void FormOrvenil::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) Form_Resize();
}

}  // namespace orv
