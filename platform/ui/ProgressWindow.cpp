#include "platform/ui/ProgressWindow.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMainWindow>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>

#include "foundation/DialogService.h"
#include "platform/ui/ScreenFit.h"

namespace orv {

namespace {
const QColor kBarColour(6, 176, 37);
QPointer<FormStatus> g_statusForm;
int g_lastPercent = 0;  // `LetzterProzentwert`
}  // namespace

ProgressStep DecideProgress(int cur, int min, int max, int lastPercent) {
  ProgressStep step;
  int c = cur < min ? min : cur;
  if (c > max) c = max;
  if (max > 0)
    step.percent = static_cast<int>(std::floor(static_cast<double>(c) / max * 100.0 + 0.5));
  else
    step.percent = 100;
  step.nextLastPercent = lastPercent;
  if (step.percent <= lastPercent) return step;
  step.show = true;
  if (c <= 0) return step;
  step.draw = true;
  step.nextLastPercent = step.percent == 100 ? 0 : step.percent;
  return step;
}

ProgressBarBox::ProgressBarBox(QWidget* parent) : QWidget(parent), background_(Qt::white) {
  setMinimumHeight(18);
}

void ProgressBarBox::fillTo(int percent) {
  // A new phase of a run starts its bar again: the bar shows the figure of
  // the text line under it.
  percent_ = percent;
  update();
}

void ProgressBarBox::setBackground(const QColor& colour) {
  background_ = colour;
  update();
}

void ProgressBarBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), background_);
  const int w = static_cast<int>(std::lround(width() / 100.0 * percent_));
  p.fillRect(QRect(0, 0, w, height()), kBarColour);
  // The percentage in the middle of the bar: white on the filled part, black beside it.
  const QString label = QString::number(percent_) + QStringLiteral("%");
  const int textWidth = fontMetrics().horizontalAdvance(label);
  const int left = (width() - textWidth) / 2;
  p.setPen(left < w ? Qt::white : Qt::black);
  p.drawText(rect(), Qt::AlignCenter, label);
}

FormStatus::FormStatus(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
  setWindowTitle(QStringLiteral("Status"));
  setAttribute(Qt::WA_ShowWithoutActivating);
  auto* layout = new QVBoxLayout(this);
  picProgress = new ProgressBarBox(this);
  picProgress->setObjectName(QStringLiteral("picProgress"));
  Label2 = new QLabel(QStringLiteral("Daten werden eingelesen"), this);
  Label2->setObjectName(QStringLiteral("Label2"));
  Label1 = new QLabel(QStringLiteral("Bitte haben Sie einen Augenblick Geduld..."), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  layout->addWidget(picProgress);
  layout->addWidget(Label2);
  layout->addWidget(Label1);
  resize(360, 110);
  // Form_Load: the bar starts white.
  picProgress->setBackground(Qt::white);
}

namespace {

// The window the run works on: the program's main window, else the active one.
QWidget* ProgressOwner() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible() && qobject_cast<QMainWindow*>(w)) return w;
  QWidget* active = QApplication::activeWindow();
  return active != g_statusForm ? active : nullptr;
}

}  // namespace

FormStatus* StatusForm() {
  if (!g_statusForm) g_statusForm = new FormStatus();
  return g_statusForm;
}

FormStatus* ExistingStatusForm() { return g_statusForm; }

void ReleaseStatusForm() {
  if (g_statusForm) {
    g_statusForm->hide();
    delete g_statusForm;
  }
  // A run that ended below 100 % must not hide the next run's progress.
  SetLastProgressPercent(0);
}

bool ProgressThrottle::due(int cur, int max) {
  if (max <= 0) return true;
  if (max != max_) {
    max_ = max;
    next_ = 0;
  }
  if (cur < next_) return false;
  const int percent = DecideProgress(cur, 0, max, -1).percent;
  if (percent >= 100) {
    next_ = std::numeric_limits<int>::max();
    return true;
  }
  // The percentage never falls as cur grows: the first cur above it that
  // rounds to more is found by halving.
  int low = std::max(cur, 0), high = max;  // percent(low) == percent, percent(high) == 100
  while (high - low > 1) {
    const int mid = low + (high - low) / 2;
    (DecideProgress(mid, 0, max, -1).percent > percent ? high : low) = mid;
  }
  next_ = high;
  return true;
}

int LastProgressPercent() { return g_lastPercent; }
void SetLastProgressPercent(int percent) { g_lastPercent = percent; }

void ShowProgress(int cur, int min, int max, bool showPercent, const QString& text) {
  const ProgressStep step = DecideProgress(cur, min, max, LastProgressPercent());
  if (!step.show) return;
  FormStatus* form = StatusForm();
  if (!form->picProgress->isVisible()) form->picProgress->setVisible(true);
  if (!form->isVisible()) {
    // Over the window the run locked, not in a corner of the screen.
    form->ensurePolished();
    CentreOver(form, ProgressOwner());
    form->show();
  }
  // Brought to the front (a platform without window order has nothing to raise).
  if (QGuiApplication::platformName() != QStringLiteral("offscreen")) form->raise();
  if (!step.draw) return;
  form->picProgress->fillTo(step.percent);
  form->countDraw();
  if (showPercent) {
    if (!text.isEmpty())
      form->Label2->setText(QString::number(step.percent) + QStringLiteral("%") +
                            QStringLiteral(" von ") + QString::number(max) + text);
    Dialogs().processEvents();
    SetLastProgressPercent(step.nextLastPercent);
  }
}

}  // namespace orv
