#pragma once
// The three start branches of the point-file import: a normalised line of
// projected (P C Y X H), geocentric (P C X Y Z) or geographic (P C B L H)
// start coordinates becomes the start columns of one row of Daten, with
// every other start representation computed. The branches compute only; the
// import run shows their messages and stores the rows.
//
// What depends on the lines before (the user's zone code for eastings
// without zone digits, repeated vessel time stamps) is decided
// line by line in file order; the rest of a row depends on its line alone,
// so the run can compute many rows at once.
#include <QString>
#include <array>
#include <bitset>
#include <cstdint>
#include <functional>
#include <optional>

#include "geodesy/TransverseMercator.h"

namespace orv {

// Positions of the columns of Daten (the order of DatenColumnNames()).
enum DatenColumn : int {
  kPunkt = 0, kC, kSYe, kSXe, kSZe, kSXz, kSYz, kSZz, kSBg, kSLg, kBgDez, kLgDez, kBgDezSek, kLgDezSek, kSHg,
  kRadBg, kRadLg, kSYeZiel, kSXeZiel, kSZeZiel, kSXzZiel, kSYzZiel, kSZzZiel, kSBgZiel, kSLgZiel, kSHgZiel,
  kRadBgZiel, kRadLgZiel, kBgDezZiel, kLgDezZiel, kBgDezSekZiel, kLgDezSekZiel, kGeoidundulation, kZone,
  kEllipsKO, kSYori, kSXori, kSZori, kId, kZeile, kDatenColumnCount
};

// One row under construction: the text of every column a branch or the
// run's tail wrote; the others stay Null in the table.
struct ImportRow {
  std::array<QString, kDatenColumnCount> value;
  std::bitset<kDatenColumnCount> written;
  double latitude = 0;   // radians, left for the tail
  double longitude = 0;  // radians
  int32_t meridian = 0;  // central meridian of the row's zone
  double falseEasting = 0;
  void put(int column, const QString& text) {
    value[static_cast<size_t>(column)] = text;
    written.set(static_cast<size_t>(column));
  }
  void put(int column, QString&& text) {
    value[static_cast<size_t>(column)] = std::move(text);
    written.set(static_cast<size_t>(column));
  }
  const QString& at(int column) const { return value[static_cast<size_t>(column)]; }
  bool isBlank(int column) const { return !written[static_cast<size_t>(column)] || at(column).isEmpty(); }
  void reset() {
    written.reset();
    latitude = longitude = 0;
    meridian = 0;
    falseEasting = 0;
  }
};

// The start system of one import, prepared before the first line.
struct ImportStartSystem {
  ProjectedEllipsoid ellipsoid;
  QString zoneEllipsoid;       // "GRS1980", "Krassowski", "Bessel" or "WGS1984"
  double approximateHeight = 0;  // for a height of 0
  int geographicFormat = 0;    // 0 D°M'S", 1 decimal degrees, 2 decimal minutes, 3 decimal seconds
  bool vesselA = false;        // lines of the first vessel format
};

// What the branches carry from line to line within one import.
struct ImportBranchState {
  int32_t meridian = 0;         // central meridian of the projected line just decided
  int mkzDigit = 0;             // UTM zone digit the user gave for 6-digit eastings
  // Asks the user for the zone code (31 … 34); nothing when cancelled.
  std::function<std::optional<QString>()> askMkz;
  QString lastVesselName;       // first vessel format: repeated time stamps
  QString lastSuffix;
  int nameCounter = 0;
};

// The run's tail, the same for every row of one import.
struct ImportTail {
  bool wgsStart = false;   // start ellipsoid WGS1984: no projected values
  bool etrsStart = false;  // start system ETRS89: zone number in front of the easting
};

// Cancelled: the user cancelled the question for the zone code.
// InvalidZone: an easting whose zone digit names no zone of its ellipsoid.
enum class BranchOutcome { Filled, BadLine, NoZone, InvalidZone, Cancelled };

struct BranchResult {
  BranchOutcome outcome = BranchOutcome::Filled;
  QString reason;  // for a bad line: what was expected
};

// Width a short point number is right-aligned in.
inline constexpr int kPaddedPointNumberLength = 20;

// Point number as stored: shorter than 16 characters right-aligned in 20,
// any longer one unchanged.
QString PaddedPointNumber(const QString& number);

// A whole text as a finite number ("." as decimal point, blanks around it
// allowed); False for anything else ("12,5", "1e999", "12a").
bool ParseCoordinate(const QString& text, double& value);

// Projected lines, in file order: the format check and the central meridian
// by the zone rules of the easting's digits (asking the user for the zone
// code once). A line whose digits tell no zone gets none (NoZone), whatever
// lines or jobs came before. Filled means st.meridian holds the line's
// meridian.
BranchResult DecideProjectedZone(const QString& line, const ImportStartSystem& sys, ImportBranchState& st);

// The rows; each depends on its line (and, for projected lines, on the
// meridian decided for it) only.
BranchResult ImportProjectedLine(const QString& line, const ImportStartSystem& sys, int32_t meridian, ImportRow& row);
BranchResult ImportGeocentricLine(const QString& line, const ImportStartSystem& sys, ImportRow& row);
// rawLine: the line as read (the first vessel format keeps it in Zeile).
BranchResult ImportGeographicLine(const QString& line, const QString& rawLine, const ImportStartSystem& sys,
                                  ImportRow& row);

// A stored row's start height replaced (the merge of heights): the start
// columns the import derives from a height, computed as the branch of the
// row's kind (StartAbbildungIndex: 0 projected, 1 geocentric, 2 geographic)
// does from B and L (radians, as radBg and radLg hold them): sZe and sHg
// the height in "0.0000", sZori for projected rows, and the geocentric
// coordinates. A geocentric row keeps its position and takes the height as
// a geographic one does.
void PutNewStartHeight(ImportRow& row, const ImportStartSystem& sys, int kind, double B, double L, double height);

// First vessel format, in file order: a run of equal time stamps gets the
// suffixes _01, _02, … in Punkt and Zeile.
void NameVesselPoint(ImportRow& row, ImportBranchState& st);

// The tail: projected values blanked for a WGS1984 start, the decimal angles
// where the branch left them blank, the zone number before an ETRS89 easting.
void CompleteImportRow(ImportRow& row, const ImportTail& tail);

}  // namespace orv
