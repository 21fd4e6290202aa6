#pragma once
// The three start branches of the point-file import: a normalised line of
// projected (P C Y X H), geocentric (P C X Y Z) or geographic (P C B L H)
// start coordinates becomes the start columns of one row of Daten, with
// every other start representation computed. The branches compute only; the
// import run shows their messages and stores the rows.
#include <QString>
#include <array>
#include <bitset>
#include <cstdint>
#include <functional>

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
  }
};

// The start system of one import, prepared before the first line.
struct ImportStartSystem {
  double a = 0;
  double b = 0;
  double e = 0;
  double k0 = 1;
  MeridianArcCoefficients r{};
  QString zoneEllipsoid;       // "GRS1980", "Krassowski", "Bessel" or "WGS1984"
  double approximateHeight = 0;  // for a height of 0
  int geographicFormat = 0;    // 0 D°M'S", 1 decimal degrees, 2 decimal minutes, 3 decimal seconds
  bool vesselA = false;        // lines of the first vessel format
};

// What the branches carry from line to line within one import.
struct ImportBranchState {
  int32_t meridian = 0;         // central meridian of the last line
  double falseEasting = 0;
  int mkzDigit = 0;             // UTM zone digit the user gave for 6-digit eastings
  std::function<QString()> askMkz;  // asks the user for the zone code (31 … 34)
  QString lastVesselName;       // first vessel format: repeated time stamps
  QString lastSuffix;
  int nameCounter = 0;
};

enum class BranchOutcome { Filled, BadLine, NoZone };

struct BranchResult {
  BranchOutcome outcome = BranchOutcome::Filled;
  QString reason;  // for a bad line: what was expected
};

// Longest point number a row takes.
inline constexpr int kMaxPointNumberLength = 20;

// Point number as stored: shorter than 16 characters right-aligned in 20.
QString PaddedPointNumber(const QString& number);

// A whole text as a finite number ("." as decimal point, blanks around it
// allowed); False for anything else ("12,5", "1e999", "12a").
bool ParseCoordinate(const QString& text, double& value);

// x rounded to 15 significant digits, as through its plain number text.
double Round15(double x);

BranchResult ImportGeocentricLine(const QString& line, const ImportStartSystem& sys, ImportBranchState& st,
                                  ImportRow& row);
BranchResult ImportGeographicLine(const QString& line, const QString& rawLine, const ImportStartSystem& sys,
                                  ImportBranchState& st, ImportRow& row);
BranchResult ImportProjectedLine(const QString& line, const ImportStartSystem& sys, ImportBranchState& st,
                                 ImportRow& row);

}  // namespace orv
