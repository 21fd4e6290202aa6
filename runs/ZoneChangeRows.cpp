#include "runs/ZoneChangeRows.h"

#include <cmath>

#include "foundation/NumberText.h"
#include "foundation/OrvenilError.h"
#include "geodesy/GeodesyConstants.h"
#include "geodesy/TransverseMercator.h"
#include "geodesy/ZoneRules.h"

namespace orv {

namespace {
const QString kFourDecimals = QStringLiteral("0.0000");

RowZone ZoneOfMeridian(const ZoneChangeSide& side, int32_t meridian) {
  return {meridian, ErmittleFalseEasting(meridian, side.zoneEllipsoid)};
}
}  // namespace

RowZone OwnZone(const ZoneChangeSide& side, const QString& longitude) {
  if (side.mode == 1 || (side.mode == 0 && side.automatic))
    return ZoneOfMeridian(side, ErmittleZoneAusLaenge(longitude, side.zoneEllipsoid));
  return RowZone();
}

RowZone ZoneGuess(const ZoneChangeSide& side, const RowZone& own, int32_t decidedMeridian) {
  if (side.mode == 1) return own;
  if (side.mode != 0) return side.before;
  if (!side.automatic) return ZoneOfMeridian(side, side.listMeridian);
  return decidedMeridian != 0 ? ZoneOfMeridian(side, decidedMeridian) : own;
}

bool KeepsItsCoordinates(const ZoneChangeSide& side, const QString& radB, const QString& radL,
                         const QString& easting) {
  double phi = 0, lambda = 0;
  const bool geographic = ReadFiniteNumber(radB, phi) && ReadFiniteNumber(radL, lambda);
  return !geographic && !(side.target && Val(easting) <= 0);
}

bool MarkedFehler(const ZoneChangeSide& side, const QString& easting) {
  return side.target && easting == QLatin1String("Fehler");
}

void AddFehlerZoneTexts(RowTexts& out) {
  out.add(QString());
  out.add(QString());
  out.add(QStringLiteral("Fehler"));
  out.add(QStringLiteral("Fehler"));
}

ZoneHint AddZoneTexts(const ZoneChangeSide& side, const QString& radB, const QString& radL,
                      const QString& easting, const RowZone& zone, RowTexts& out) {
  out.add(NumberText(zone.meridian));
  out.add(NumberText(zone.falseEasting));
  // Rows never transformed hold no target values: they read as 0.
  if (side.target && Val(easting) <= 0) {
    out.add(QString());
    out.add(QString());
    return ZoneHint::kNone;
  }
  double phi = 0, lambda = 0;
  ReadFiniteNumber(radB, phi);
  ReadFiniteNumber(radL, lambda);
  // A latitude beyond a pole or a longitude beyond a full turn is no
  // position: its projection would be invented figures.
  constexpr double kSlack = 1e-9;
  if (std::fabs(phi) > kPi / 2 + kSlack || std::fabs(lambda) > 2 * kPi + kSlack)
    throw OrvenilError(kErrOverflow, QStringLiteral("Breite oder Länge außerhalb des gültigen Bereichs"));
  const GridCoordinates g =
      GeographischInVerebnet(RoundTo15Digits(phi), RoundTo15Digits(lambda), side.ellipsoid, zone.falseEasting, zone.meridian);
  // The sign is tested where the easting may get a zone digit in front.
  const bool signTested = side.target || side.etrsStart;
  // The zone digit in front of the easting, in metres (0 for none).
  double digit = 0;
  if (side.target)
    digit = Val(MeridianCodeDigit(NumberText(zone.meridian), side.zoneEllipsoid)) * 1000000;
  else if (side.etrsStart)
    digit = ZoneFromCentralMeridian(static_cast<int16_t>(zone.meridian)) * 1000000.0;
  const ZoneHint hint = signTested && g.easting < 0 ? ZoneHint::kNegative
                        : EastingRunsIntoZoneDigit(g.easting, zone.falseEasting, digit) ? ZoneHint::kBeyondZone
                                                                                         : ZoneHint::kNone;
  if (hint != ZoneHint::kNone) {
    out.add(QString());
    out.add(QString());
    return hint;
  }
  // The target's digit goes onto the easting as rounded to four decimals.
  const double plain = side.target      ? Val(FormatNumber(g.easting, kFourDecimals))
                       : side.etrsStart ? RoundTo15Digits(g.easting)
                                        : g.easting;
  out.add(FormatNumber(digit + plain, kFourDecimals));
  out.add(FormatNumber(g.northing, kFourDecimals));
  return ZoneHint::kNone;
}

RowZone ZoneSequence::determined(const RowZone& own) const {
  return side_.automatic ? own : ZoneOfMeridian(side_, side_.listMeridian);
}

RowZone ZoneSequence::next(bool longitudeEmpty, const RowZone& own, bool& writePanels) {
  writePanels = false;
  const bool first = !started_;
  started_ = true;
  if (side_.mode == 1) {
    current_ = own;
    writePanels = first;
  } else if (side_.mode == 0) {
    // A target row without a longitude (not transformed) says nothing
    // about the zone: the next row with one decides.
    const bool silent = side_.target && longitudeEmpty;
    if (first) {
      if (!(silent && side_.automatic)) {
        current_ = determined(own);
        writePanels = true;
        shown_ = current_.meridian;
      }
    } else if (current_.meridian == 0 && !silent) {
      current_ = determined(own);
      if (current_.meridian != shown_) {
        writePanels = true;
        shown_ = current_.meridian;
      }
    }
  }
  return current_;
}

void PutZoneNote(DatenRunRow& row, const ZoneRowNote& note) {
  double* n = row.note + kZoneNoteFirst;
  n[0] = note.longitudeEmpty ? 1 : 0;
  n[1] = note.own.meridian;
  n[2] = note.own.falseEasting;
  n[3] = note.used.meridian;
  n[4] = note.used.falseEasting;
  n[5] = static_cast<double>(note.hint);
}

ZoneRowNote TakeZoneNote(const DatenRunRow& row) {
  const double* n = row.note + kZoneNoteFirst;
  ZoneRowNote note;
  note.longitudeEmpty = n[0] != 0;
  note.own = {static_cast<int32_t>(n[1]), n[2]};
  note.used = {static_cast<int32_t>(n[3]), n[4]};
  note.hint = static_cast<ZoneHint>(static_cast<int>(n[5]));
  return note;
}

bool ZoneRowOrder::place(const ZoneRowNote& note, RowZone& zone, bool& writePanels) {
  zone = sequence_.next(note.longitudeEmpty, note.own, writePanels);
  decided_.store(sequence_.decidedMeridian(), std::memory_order_release);
  return zone == note.used;
}

int32_t ZoneSequence::decidedMeridian() const {
  return started_ && side_.mode == 0 && side_.automatic ? current_.meridian : 0;
}

}  // namespace orv
