#pragma once
// How much one import reads: at most this many lines of a point file, one
// point each. Tools that write a file for the import to read (the NTv2 point
// grid) refuse to write more.
namespace orv {

constexpr long kMaxImportLines = 2000000;

}  // namespace orv
