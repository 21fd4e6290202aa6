#pragma once
// Rules of the transformation panel that need no window: the start and
// target systems of a chosen set, the caption that describes the
// transformation, the status-bar text taken from it and the two column
// views of the coordinate grid.
#include <QList>
#include <QString>
#include <QStringList>

namespace orv {

// What a chosen set means for the panel in one direction.
struct TrafoSetSystems {
  QString ellipsoidStart;  // EllipsoidStart
  QString ellipsoidZiel;   // EllipsoidZiel
  QString von;             // start system named in the caption
  QString nach;            // target system named in the caption
  QString boxStart;        // text of txtTrafoParaStart
  QString boxZiel;         // text of txtTrafoParaZiel
};

// A seven-parameter set turns ellipsoid A into ellipsoid B ("Hin"), or back.
// The boxes name systems: WGS1984 data are taken as ETRS89 on side A, and
// Krassowski / Bessel on side B are the systems GK42/83 / RD83.
TrafoSetSystems SevenParameterSetSystems(const QString& name, const QString& ellipsoidA,
                                         const QString& ellipsoidB, bool reverse);
// An NTv2 set names its systems itself; reverse swaps both sides.
TrafoSetSystems Ntv2SetSystems(const QString& startsystem, const QString& zielsystem,
                               const QString& ellipsoidA, const QString& ellipsoidB, bool reverse);

// The row (from 1) of the set `name` in a table whose Name cells are `names`,
// in row order. Sets of the same name are told apart by `occurrence`, the
// number of rows of that name before it (0: the first). 0 when there is no
// such row: the set is gone.
int SetRowByName(const QStringList& names, const QString& name, int occurrence);

// Where row `row` (from 1) of a table is after the rows `deleted` were
// removed from it; 0 when it was one of them.
int RowAfterDeletion(int row, const QList<int>& deleted);

// The refusal of a run whose set (named in the panel's box) is no longer in
// its table: a parameter set, or an NTv2 set.
QString SetGoneMessage(bool ntv2, const QString& name);

// The caption of the coordinate grid that describes the transformation.
// WGS1984 on either side is shown as ETRS89 on GRS80.
QString TrafoCaption(const QString& trafoTyp, const QString& setName, const QString& geoidName,
                     const TrafoSetSystems& systems);

// Status-bar panel 9 for a grid caption: "Trafo: ", the caption's second
// ","-separated field (trimmed, after removing "Startsystem:" and turning
// ", Zielsystem:" into " ->") and two blanks.
QString TrafoStatusText(const QString& caption);

// Whether "Trafo starten" may be pressed for transformation option 0 to 5:
// never for "ohne"; for the seven-parameter and NTv2 types only with a set
// that starts in the job's system (setFits: a set is chosen and neither box
// shows the warning colour); for "nur Höhe" only with a geoid model; the
// two height-database types always.
bool TrafoStartAllowed(int trafoOption, bool setFits, bool geoidModelChosen);

// The column views of the coordinate grid (keys are column names of table
// Daten, compared case-sensitively). Without a transformation the degree,
// radian, target, zone and false-easting columns are hidden; with one only
// the point, the projected start and target coordinates, the ellipsoidal
// height, the undulation and the zone are shown.
bool ColumnShownWithoutTrafo(const QString& key);
bool ColumnShownWithTrafo(const QString& key);

}  // namespace orv
