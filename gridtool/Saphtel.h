#pragma once

#include <iosfwd>
#include <string>

namespace orv {

// File names in the working folder of the geoid interpolation program.
inline constexpr const char* kSaphtelGridFile = "saphtel";
inline constexpr const char* kSaphtelInputFile = "INPUT.USR";
inline constexpr const char* kSaphtelOutputFile = "OUTPUT.USR";

// Runs the geoid interpolation program in `folder`: interpolates an undulation
// for every line of INPUT.USR (latitude and longitude in radians) in the grid
// file `saphtel` and writes one line per input line, in the same order, to
// OUTPUT.USR (CR LF line ends). A line without two numbers gives the
// no-value marker like a point outside the grid. Returns 0 on success.
// When the grid or INPUT.USR is missing or unusable, or a file cannot be read
// or written, it reports the reason to `errors`, leaves no OUTPUT.USR behind
// and returns 1.
int RunSaphtel(const std::string& folder, std::ostream& errors);

}  // namespace orv
