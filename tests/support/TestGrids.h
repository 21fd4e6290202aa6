#pragma once

// Writing and reading geoid grid files for the tests, and an interpolation
// reference that shares no code with the program.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace orv::test {

// A grid described by its edges and spacings in whole micro-arc-seconds, so
// that the header holds them exactly.
struct GridSpec {
    std::int64_t latMin = 0, latMax = 0, lonMin = 0, lonMax = 0, latStep = 0, lonStep = 0;
    int rows() const;
    int cols() const;
    double LatOfRow(int row) const; // row from 1 (north), degrees
    double LonOfCol(int col) const; // column from 1 (west), degrees
};

// Micro-arc-seconds of a whole number of arc-minutes and of degrees.
constexpr std::int64_t Minutes(double m) { return std::int64_t(m * 60e6 + (m >= 0 ? 0.5 : -0.5)); }
constexpr std::int64_t Degrees(double d) { return Minutes(d * 60.0); }

// The 18 header records of a spec (degrees, minutes, micro-arc-seconds each).
std::vector<std::int32_t> HeaderRecords(const GridSpec& spec);

// Writes the header and node(row, col) for every node (rows from north), plus
// `trailing` extra bytes.
void WriteGrid(const std::string& path, const GridSpec& spec,
               const std::function<std::int32_t(int row, int col)>& node,
               const std::string& trailing = {});
void WriteRecords(const std::string& path, const std::vector<std::int32_t>& records,
                  const std::string& trailing = {});

// All records of a grid file.
std::vector<std::int32_t> ReadRecords(const std::string& path);

// Tensor-product cubic convolution (Keys, a = -0.5) at fractional row and
// column positions counted from node (1,1) southwards and eastwards; `node`
// gives metres at 1-based row and column.
double CatmullRom(double rowPos, double colPos, const std::function<double(int, int)>& node);

// Radians that the program turns back into exactly these degrees (as far as
// doubles allow).
double Rad(double degrees);

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

// The folder of the committed default grid and its file name.
std::string DefaultGridPath();

} // namespace orv::test
