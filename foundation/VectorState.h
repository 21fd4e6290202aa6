#pragma once
// The upper halves of the vector registers. Code built for plain SSE (all of
// this program) runs several times slower on some CPUs while a 256-bit vector
// instruction elsewhere (Qt's string hashing uses vector AES where the CPU
// has it) has left those halves dirty; the state lasts until it is cleared.
// ClearUpperVectorState clears it with VZEROUPPER where the CPU has AVX and
// does nothing elsewhere, so the program still runs on CPUs without AVX.
// It leaves the lower 128 bits, the only ones SSE code uses, as they are,
// so it may be called anywhere.
namespace orv {

namespace detail {
extern const bool kCpuHasAvx;
}

inline void ClearUpperVectorState() {
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
  if (detail::kCpuHasAvx) asm volatile("vzeroupper");
#endif
}

}  // namespace orv
