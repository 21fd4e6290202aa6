#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace orv {

// The geometry of a geoid grid file, angles in degrees.
struct GeoidGridHeader {
  double latMin = 0.0;
  double latMax = 0.0;
  double lonMin = 0.0;
  double lonMax = 0.0;
  double latSpacing = 0.0;
  double lonSpacing = 0.0;
  std::int64_t rows = 0;  // row 1 is the northernmost
  std::int64_t cols = 0;  // column 1 is the westernmost
};

// Number of 32-bit records in front of the node values.
inline constexpr int kGridHeaderRecords = 18;
// Node integers from this value on carry no undulation.
inline constexpr std::int32_t kNoValueNode = 99999999;
// What a node without value reads as, in metres.
inline constexpr double kNoValueMetres = 999999.0;
// Node values above this (in metres) count as missing.
inline constexpr double kMissingAboveMetres = 90000.0;

// Angle of three header records (degrees, minutes, micro-arc-seconds); the sign
// of the degrees is dropped.
double GridHeaderAngle(std::int32_t degrees, std::int32_t minutes, std::int32_t microArcSeconds);

// Decodes the 18 header records and derives the number of rows and columns.
// Throws std::runtime_error when the grid has fewer than two rows or columns
// or spacings that are not positive.
GeoidGridHeader DecodeGridHeader(const std::int32_t records[kGridHeaderRecords]);

// Undulation in metres of one node integer (units of 0.1 mm).
double NodeMetres(std::int32_t node);

// Binary geoid grid: little-endian signed 32-bit records, 18 header records
// followed by the nodes row by row from north to south, west to east. Nodes
// are read from the file on demand through a small fixed set of cached pages,
// so grids of any size need constant memory.
class GeoidGridFile {
 public:
  // Opens and checks the file; throws std::runtime_error when it is missing,
  // unreadable, its header is unusable or it holds fewer nodes than the
  // header promises. Bytes after the last node are ignored.
  explicit GeoidGridFile(const std::string& path);

  const GeoidGridHeader& Header() const { return header_; }

  // Reads `count` consecutive nodes of `row` from column `col` on (both from
  // 1) in metres. Throws std::runtime_error when the file cannot be read.
  void ReadNodes(std::int64_t row, std::int64_t col, int count, double* metres);

 private:
  static constexpr std::int64_t kPageBytes = 4096;
  static constexpr int kPageSlots = 64;

  // Copies `count` bytes from `offset` (inside the file) into `out`.
  void ReadBytes(std::int64_t offset, int count, unsigned char* out);

  std::string path_;
  std::ifstream file_;
  std::int64_t fileSize_ = 0;
  GeoidGridHeader header_;
  // Page p of the file lives in slot p % kPageSlots when pageOfSlot_ says so.
  std::vector<unsigned char> pages_;
  std::vector<std::int64_t> pageOfSlot_;
};

}  // namespace orv
