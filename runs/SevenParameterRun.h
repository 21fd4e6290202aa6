#pragma once
// One seven-parameter run over table Daten, as its steps: the checks of the
// chosen set and of the data, the window locked, the preparation (target
// ellipsoid, transformation chain, grid held), the walk over the rows, the
// end and the failure.
//
// The walk computes the rows on the block workers (computeRow, which reads
// only the chain and the zone ellipsoid) and follows them on the window
// thread in row order (followRow: the zone of the row, the notice of a
// second zone); the zone panels follow the progress and the end of the run.
// The rows are stored in one transaction.
#include <QString>
#include <cstdint>
#include <exception>
#include <optional>

#include "runs/SevenParameterChain.h"

namespace orv {

class FormOrvenil;
struct ProgramState;
struct DatenRunRow;

class SevenParameterRun {
 public:
  SevenParameterRun(FormOrvenil& window, ProgramState& state);
  SevenParameterRun(const SevenParameterRun&) = delete;
  SevenParameterRun& operator=(const SevenParameterRun&) = delete;

  // The chosen set, its model and parameters, the data and the target
  // ellipsoid; False after the message that says why the run does not start
  // (or silently when start and target are the same ellipsoid).
  bool preconditionsHold();
  // Names start and target in the status bar and locks the window.
  void lockWindow();
  // The target ellipsoid and the chain; holds the grid and counts the rows.
  void prepare();
  // Computes and stores every row.
  void walk();
  // Gives the window back and reports rows without usable start values,
  // without a start height, or beyond their zone.
  void finish();
  // After an error: the rows stored before it keep their values, the
  // message tells of the stop, and the window is given back.
  void fail(const std::exception& error);

 private:
  bool refuse(const QString& text);
  QString cell(const QString& key) const;
  bool setChosen();
  bool readSet();
  bool targetFits();
  void computeRow(DatenRunRow& row) const;
  void followRow(const DatenRunRow& row);
  void showZonePanels();

  FormOrvenil& window_;
  ProgramState& state_;
  const bool forward_;
  int setRow_ = 0;  // the set's row in the parameter-set grid
  SevenParameterSet set_;
  std::optional<SevenParameterChain> chain_;
  QString zoneEllipsoid_;
  bool gridLocked_ = false;

  // Followed on the window thread, in row order.
  int32_t previousMeridian_ = 0;
  bool noticeShown_ = false;
  int32_t shownMeridian_ = -1;
  double shownFalseEasting_ = -1;
  qint64 unusable_ = 0;
  qint64 noHeight_ = 0;    // rows without a start height
  qint64 beyondZone_ = 0;  // rows whose easting lay beyond their zone
  bool firstComputed_ = true;  // rows marked "Fehler" take no part in the zone notice
};

}  // namespace orv
