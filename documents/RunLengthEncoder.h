#pragma once
// Run-length encoding as PDF's RunLengthDecode filter reads it: a header byte
// 0 … 127 is followed by header + 1 literal bytes, a header 129 … 255 by one
// byte repeated 257 − header times. The end-of-data byte 128 is not included.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace orv {

std::vector<uint8_t> RunLengthEncode(const std::vector<uint8_t>& bytes);

// Number of bytes equal to b from index `from` on, looking at most up to
// index `to` and at most 127 bytes (so a run including its first byte never
// exceeds the 128 bytes one header can repeat).
int CountRepeats(const std::vector<uint8_t>& bytes, uint8_t b, size_t from, size_t to);

}  // namespace orv
