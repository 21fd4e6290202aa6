#include "documents/RunLengthEncoder.h"

#include <algorithm>

namespace orv {

int CountRepeats(const std::vector<uint8_t>& bytes, uint8_t b, size_t from, size_t to) {
  const size_t end = std::min(to, from + 126);
  int n = 0;
  for (size_t i = from; i <= end && i < bytes.size() && bytes[i] == b; ++i) ++n;
  return n;
}

std::vector<uint8_t> RunLengthEncode(const std::vector<uint8_t>& bytes) {
  const size_t n = bytes.size();
  // Worst case: a header byte for every 127 literal bytes, plus slack.
  std::vector<uint8_t> out(n * 128 / 127 + 2);
  if (n == 0) return {};
  const size_t hi = n - 1;
  int c = 128;      // header of the open literal run; 128 = none open
  size_t p = 0;     // next output position
  size_t q = 0;     // position of the open literal run's header
  size_t i = 0;
  while (i <= hi) {
    const uint8_t b = bytes[i];
    const int r = 1 + (i < hi ? CountRepeats(bytes, b, i + 1, hi) : 0);
    if (c < 126 && r == 2) {
      // A pair costs nothing extra inside an open literal run.
      out[p] = b;
      out[p + 1] = b;
      c += 2;
      p += 2;
      i += 2;
    } else if (r >= 2) {
      if (c < 128) out[q] = static_cast<uint8_t>(c);
      c = 257 - r;
      out[p] = static_cast<uint8_t>(c);
      out[p + 1] = b;
      p += 2;
      i += static_cast<size_t>(r);
    } else if (c < 127) {
      out[p] = b;
      c += 1;
      p += 1;
      i += 1;
    } else {
      if (c < 128) out[q] = static_cast<uint8_t>(c);
      q = p;
      c = 0;
      out[p + 1] = b;
      p += 2;
      i += 1;
    }
  }
  if (c < 128) out[q] = static_cast<uint8_t>(c);
  out.resize(p);
  return out;
}

}  // namespace orv
