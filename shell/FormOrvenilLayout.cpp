// Layout of the main window and the locking of its input panels.
#include <QEvent>
#include <QLabel>
#include <QLayout>
#include <QResizeEvent>
#include <QTableView>

#include "foundation/DialogService.h"
#include "foundation/NumberText.h"
#include "foundation/SystemInfo.h"
#include "platform/ui/ContainerControls.h"
#include "platform/ui/DataGrid.h"
#include "platform/ui/OptionArray.h"
#include "platform/ui/ProgressWindow.h"
#include "platform/ui/VbCheckBox.h"
#include "platform/ui/VbComboBox.h"
#include "platform/ui/VbFrame.h"
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

  // The toolbar spans the client area; the options band sits below it.
  const int toolbarHeight = Coolbar2->sizeHint().height();
  Coolbar2->setGeometry(0, 0, formClient->width(), toolbarHeight);
  const int optionsTop = std::max(TwipsToPixels(l.optionsFrameTop, dpiY), toolbarHeight);
  const int tabTop = TwipsToPixels(l.tabTop, dpiY);
  const int tabLeft = TwipsToPixels(l.tabLeft, dpiX);
  const int tabWidth = TwipsToPixels(l.tabWidth, dpiX);
  sevFrameOptionen->setGeometry(tabLeft, optionsTop, std::max(tabWidth, sevFrameOptionen->sizeHint().width()),
                                std::max(0, tabTop - optionsTop - 2));
  sevTabStrip1->setGeometry(tabLeft, tabTop, tabWidth, TwipsToPixels(l.tabHeight, dpiY));
  for (DataGrid* grid : {GridKooDb, GridKoordSys, GridTrafoSys, GridNTv2Sys, GridGeoidmodell}) {
    grid->resize(TwipsToPixels(l.gridWidth, dpiX), TwipsToPixels(l.gridHeight, dpiY));
    grid->view()->viewport()->update();
  }

  // Keep the keys right of the placeholder at the right end of the toolbar.
  if (!isMinimized()) {
    // Measured with the placeholder closed, so the right keys are laid out
    // on the toolbar and not in its overflow menu.
    Coolbar2->SetKeyWidth(kKeyPlaceholder, 0);
    if (Coolbar2->layout()) Coolbar2->layout()->activate();
    const int rightKeys = Coolbar2->KeyWidth(kKeyHilfe) + Coolbar2->KeyWidth(kKeyDBEnde);
    Coolbar2->SetKeyWidth(kKeyPlaceholder,
                          ToolbarPlaceholderWidth(formClient->width(), rightKeys,
                                                  Coolbar2->KeyLeft(kKeyPlaceholder)));
  }
}

void FormOrvenil::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  Form_Resize();
}

void FormOrvenil::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) Form_Resize();
}

}  // namespace orv
