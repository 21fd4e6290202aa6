// Run-length encoding as PDF's RunLengthDecode filter reads it.
#include "documents/RunLengthEncoder.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using Bytes = std::vector<uint8_t>;

// The reference decoder of the filter, to check round trips.
Bytes Decode(const Bytes& in) {
  Bytes out;
  size_t i = 0;
  while (i < in.size()) {
    const int h = in[i++];
    if (h < 128) {
      out.insert(out.end(), in.begin() + i, in.begin() + i + h + 1);
      i += size_t(h) + 1;
    } else if (h > 128) {
      out.insert(out.end(), size_t(257 - h), in[i++]);
    } else {
      break;
    }
  }
  return out;
}

TEST(RunLengthEncode, KnownByteSequences) {
  EXPECT_EQ(RunLengthEncode({1, 2, 2, 3}), (Bytes{3, 1, 2, 2, 3}));  // the pair joins the literal
  EXPECT_EQ(RunLengthEncode({1, 1, 2, 2, 3}), (Bytes{255, 1, 255, 2, 0, 3}));
  EXPECT_EQ(RunLengthEncode(Bytes(130, 65)), (Bytes{129, 65, 255, 65}));
  EXPECT_EQ(RunLengthEncode({65}), (Bytes{0, 65}));
  EXPECT_EQ(RunLengthEncode({}), Bytes{});
  EXPECT_EQ(RunLengthEncode(Bytes(128, 7)), (Bytes{129, 7}));
  EXPECT_EQ(RunLengthEncode(Bytes(129, 7)), (Bytes{129, 7, 0, 7}));
}

TEST(RunLengthEncode, LongLiteralRunsSplitAt128Bytes) {
  Bytes in;
  for (int i = 0; i < 300; ++i) in.push_back(uint8_t(i % 251));
  const Bytes out = RunLengthEncode(in);
  EXPECT_EQ(out[0], 127);
  EXPECT_EQ(out[129], 127);
  EXPECT_EQ(Decode(out), in);
  EXPECT_LE(out.size(), in.size() * 128 / 127 + 2);
}

TEST(RunLengthEncode, RoundTripsMixedData) {
  uint32_t seed = 12345;
  for (int round = 0; round < 200; ++round) {
    Bytes in;
    const int n = int(seed % 700);
    while (int(in.size()) < n) {
      seed = seed * 1103515245u + 12345u;
      const uint8_t b = uint8_t(seed >> 24) % 4;  // few values: many runs and pairs
      const int run = 1 + int((seed >> 8) % 5 == 0 ? (seed >> 12) % 200 : (seed >> 12) % 3);
      in.insert(in.end(), size_t(run), b);
    }
    in.resize(size_t(n));
    ASSERT_EQ(Decode(RunLengthEncode(in)), in) << "round " << round;
  }
}

}  // namespace
}  // namespace orv
