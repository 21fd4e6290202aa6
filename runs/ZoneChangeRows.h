#pragma once
// The zone-change run's work on the rows of one side, without a window: the
// zone each row gets, decided in row order (in the automatic mode the first
// row that has a zone chooses it for all rows), and the row's texts in its
// zone, computed on any thread.
#include <QString>
#include <atomic>
#include <cstdint>

#include "geodesy/ProjectedEllipsoid.h"
#include "runs/DatenBlockRun.h"

namespace orv {

struct RowZone {
  int32_t meridian = 0;  // central meridian, whole degrees
  double falseEasting = 0;
  bool operator==(const RowZone&) const = default;
};

// The choices of one side, fixed for the whole run.
struct ZoneChangeSide {
  bool target = false;
  bool etrsStart = false;  // start side of an ETRS89 job: zone digit before the easting, sign test
  int mode = 0;            // variable-zone box: 0 one zone, 1 a zone per row, other: no determination
  bool automatic = true;   // zone list "automatisch"; otherwise listMeridian
  int32_t listMeridian = 0;
  ProjectedEllipsoid ellipsoid;
  QString zoneEllipsoid;  // the name the zone rules take
  RowZone before;         // the zone before the first row
};

// The zone the rules give the row's own longitude text (decimal degrees),
// where the side's mode asks for it (a zone per row, or the automatic
// mode); an empty zone otherwise.
RowZone OwnZone(const ZoneChangeSide& side, const QString& longitude);

// The zone a worker computes a row in before the window thread has decided
// it: in the automatic mode the zone decided so far (decidedMeridian, 0
// while none is) or else the row's own; in the other modes the one the row
// gets.
RowZone ZoneGuess(const ZoneChangeSide& side, const RowZone& own, int32_t decidedMeridian);

// True for a row without latitude and longitude (radB, radL no numbers)
// that has a target easting or is on the start side: it keeps its
// coordinates. A target row without a positive easting (never
// transformed) is emptied instead.
bool KeepsItsCoordinates(const ZoneChangeSide& side, const QString& radB, const QString& radL,
                         const QString& easting);

// True for a target row that a transformation marked "Fehler" (it had no
// usable start values): it keeps the mark, has no zone and plays no part
// in the choice of the zone.
bool MarkedFehler(const ZoneChangeSide& side, const QString& easting);
// Appends the texts of such a row: Zone and EllipsKO empty, easting and
// northing "Fehler".
void AddFehlerZoneTexts(RowTexts& out);

// Why a row's projected texts were left empty: its easting came out
// negative (on the sides that test the sign), or it would run into the
// zone digit written with it (EastingRunsIntoZoneDigit).
enum class ZoneHint { kNone = 0, kNegative = 1, kBeyondZone = 2 };

// Appends the texts of Zone, EllipsKO, easting and northing of a row with
// latitude radB and longitude radL (radians as text) and, on the target
// side, the easting it has (a row without one is not computed). Returns the
// hint when both projected texts were left empty.
ZoneHint AddZoneTexts(const ZoneChangeSide& side, const QString& radB, const QString& radL, const QString& easting,
                  const RowZone& zone, RowTexts& out);

// The zone of each row in row order, on the window thread.
class ZoneSequence {
 public:
  explicit ZoneSequence(const ZoneChangeSide& side) : side_(side), current_(side.before) {}
  // The zone of the next row that reaches the choice of the zone (the
  // rows that keep their coordinates do not), given whether its longitude
  // text is empty and its own zone (OwnZone); writePanels tells that the
  // status panels show this zone from now on.
  RowZone next(bool longitudeEmpty, const RowZone& own, bool& writePanels);
  const RowZone& current() const { return current_; }
  // Nonzero once the automatic mode has chosen the zone of every later row.
  int32_t decidedMeridian() const;

 private:
  RowZone determined(const RowZone& own) const;

  const ZoneChangeSide& side_;
  RowZone current_;
  int32_t shown_ = 0;
  bool started_ = false;
};

// What a worker notes about a row of a side for the window thread, kept in
// the row's notes from kZoneNoteFirst on.
struct ZoneRowNote {
  bool longitudeEmpty = false;
  RowZone own;         // OwnZone of the row
  RowZone used;        // the zone its texts were computed in
  ZoneHint hint = ZoneHint::kNone;
};
inline constexpr int kZoneNoteFirst = 6;
void PutZoneNote(DatenRunRow& row, const ZoneRowNote& note);
ZoneRowNote TakeZoneNote(const DatenRunRow& row);

// The window thread's part of a side's walk: the zone of each row in row
// order, shared with the workers once the automatic mode has decided it,
// and the count of rows left without easting and northing.
class ZoneRowOrder {
 public:
  explicit ZoneRowOrder(const ZoneChangeSide& side) : sequence_(side) {}
  // For the workers: the meridian decided so far (0 while none is).
  int32_t decidedMeridian() const { return decided_.load(std::memory_order_acquire); }
  // The zone of the next row (ZoneSequence::next); false when the row's
  // texts were computed in another zone and must be computed anew in this one.
  bool place(const ZoneRowNote& note, RowZone& zone, bool& writePanels);
  // Counts the row's hint, from its texts as stored.
  void count(const ZoneRowNote& note) {
    negative_ += note.hint == ZoneHint::kNegative ? 1 : 0;
    beyondZone_ += note.hint == ZoneHint::kBeyondZone ? 1 : 0;
  }
  // Rows left without easting and northing: those with a negative easting
  // and those beyond their zone.
  int negative() const { return negative_; }
  int beyondZone() const { return beyondZone_; }
  const RowZone& current() const { return sequence_.current(); }

 private:
  ZoneSequence sequence_;
  std::atomic<int32_t> decided_{0};
  int negative_ = 0;
  int beyondZone_ = 0;
};

}  // namespace orv
