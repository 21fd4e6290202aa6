#pragma once
// The progress window of long runs: a small top-level window with a green bar
// and one text line ("45% von 12000 Zeilen eingelesen..."). A run calls
// ShowProgress from its loop; the window is redrawn only when the whole
// percentage rises, so two million rows draw at most a hundred times.
#include <QString>
#include <QWidget>

class QLabel;

namespace orv {

// What one ShowProgress call does, decided without a window.
struct ProgressStep {
  int percent = 0;         // whole percentage of this call
  bool show = false;       // the window is shown and raised
  bool draw = false;       // the bar is drawn, the text set and events let through
  int nextLastPercent = 0; // the remembered percentage after the call
};

// The percentage rules: cur is clamped to [min, max]; with max > 0 the
// percentage is floor(cur / max * 100 + 0.5) (min is not subtracted), with
// max <= 0 it is 100. Nothing happens unless it exceeds lastPercent; the bar
// is drawn only for a clamped cur above 0. After a drawn 100 the remembered
// value starts again at 0.
ProgressStep DecideProgress(int cur, int min, int max, int lastPercent);

// The progress bar: white background, green filled part.
class ProgressBarBox : public QWidget {
 public:
  explicit ProgressBarBox(QWidget* parent = nullptr);
  int percent() const { return percent_; }
  // Fills the bar to the percentage (a new phase starts it again).
  void fillTo(int percent);
  // Background colour of the box (white after the window is loaded).
  void setBackground(const QColor& colour);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int percent_ = 0;
  QColor background_;
};

// `FormStatus`: caption "Status", bar `picProgress`, texts `Label2` and `Label1`.
class FormStatus : public QWidget {
 public:
  explicit FormStatus(QWidget* parent = nullptr);
  ProgressBarBox* picProgress;
  QLabel* Label2;
  QLabel* Label1;
  // Number of times the bar was drawn in this instance (for tests and checks).
  int drawCount() const { return drawCount_; }
  void countDraw() { ++drawCount_; }

 private:
  int drawCount_ = 0;
};

// The one program-wide instance, created on first use.
FormStatus* StatusForm();
// The instance if one exists, else nullptr (does not create one).
FormStatus* ExistingStatusForm();
// Unloads and releases the instance. The remembered percentage starts again
// at 0, so the next run's progress is drawn from its first percent even when
// the last run ended below 100.
void ReleaseStatusForm();

// Draws the progress in `FormStatus`.`picProgress` (see DecideProgress); with
// showPercent and a non-empty text, Label2 becomes pct "%" " von " max text.
// Pending window events are let through after each drawing.
void ShowProgress(int cur, int min, int max, bool showPercent, const QString& text);

// Which calls of a loop that reports every record to ShowProgress (min 0)
// can change anything: the first one and each one whose whole percentage is
// higher than that of the call let through before. The calls in between
// would find the percentage not risen and do nothing; those after 100 %
// would only draw the full bar again, once per record.
class ProgressThrottle {
 public:
  bool due(int cur, int max);

 private:
  int max_ = 0;
  int next_ = 0;  // the first cur whose percentage rises above the last one let through
};

// The last percentage drawn (`LetzterProzentwert`).
int LastProgressPercent();
void SetLastProgressPercent(int percent);

}  // namespace orv
