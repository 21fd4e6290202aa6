#pragma once
// One NTv2 run over the rows of Daten, as its steps: the preconditions, the
// preparation (window locked, grid cache opened, start and target
// ellipsoids), the walk over the rows (with the closing zone change inside
// it when Zone-Ziel is chosen, else without it), the end and the failure.
//
// The walk computes the rows on worker threads (DatenBlockRun); computeRow
// reads only what the preparation fixed (cache, direction, target
// ellipsoid, zone side), the window thread does the rest in row order.
#include <QString>
#include <QStringList>
#include <memory>

#include "geodesy/Ntv2GridCache.h"
#include "geodesy/ProjectedEllipsoid.h"
#include "platform/db/Database.h"
#include "runs/DatenBlockRun.h"
#include "runs/ZoneChangeRows.h"

namespace orv {

class FormOrvenil;
class OrvenilError;
struct ProgramState;

class Ntv2RunSteps {
 public:
  Ntv2RunSteps(FormOrvenil& window, ProgramState& state);
  Ntv2RunSteps(const Ntv2RunSteps&) = delete;
  Ntv2RunSteps& operator=(const Ntv2RunSteps&) = delete;

  // A parameter set is chosen and Daten has rows; otherwise the message
  // says what is missing and the set box goes back to "ohne".
  bool preconditionsHold();
  // Locks the window, opens the grid cache (built when needed), sets the
  // start and target ellipsoids. False when the chosen direction does not
  // fit the imported rows: the message is shown and the run ends there.
  bool prepare();
  // Walks every row: with the zone change inside the walk when Zone-Ziel is
  // chosen; should that walk fail, it is undone and done again without.
  void walk();
  // Shows the rows, ends with the zone change (or its result from within
  // the walk) and tells of the rows without usable start values.
  void finish();
  // After an error: the message, and the window given back.
  void fail(const OrvenilError& error);

 private:
  void refuse(const QString& text);
  void lockWindow();
  void openGridCache();
  bool chooseEllipsoids();
  void prepareTarget();
  QStringList writeColumns(bool withZones);
  void walkRows(bool withZones);
  void computeRow(DatenRunRow& row, const RowZone* zone, bool withZones) const;
  void addFehlerTexts(DatenRunRow& row, bool withZones) const;
  void addZoneTexts(DatenRunRow& row, const RowZone* zone, const QString& radB, const QString& radL,
                    const QString& lonText, const QString& easting) const;
  void beforeStore(qint64 i, DatenRunRow& row, bool withZones);
  void showTargetPanels();
  void reportFehlerRows();

  FormOrvenil& window_;
  ProgramState& state_;
  int setRow_ = 0;       // the chosen NTv2 set's row in the system table
  bool forward_ = true;  // "Hin": one interpolation; "Rück": four fixed-point steps
  Ntv2GridCache cache_;
  Database job_;
  ProjectedEllipsoid target_;
  QString zoneEllipsoid_;
  bool redrawOff_ = false;  // the grid does not draw: the failure lets it draw again
  qint64 count_ = 0;
  bool zonesWithin_ = false;
  std::unique_ptr<ZoneChangeSide> side_;
  std::unique_ptr<ZoneRowOrder> order_;
  qint64 fehlerRows_ = 0;
  qint64 noHeightRows_ = 0;
  qint64 beyondZoneRows_ = 0;
};

}  // namespace orv
