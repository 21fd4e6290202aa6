#include "foundation/VectorState.h"

namespace orv::detail {

namespace {
bool CpuHasAvx() {
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
  // Runs while the program's static objects are made: the CPU model must be
  // read first.
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx");
#else
  return false;
#endif
}
}  // namespace

const bool kCpuHasAvx = CpuHasAvx();

}  // namespace orv::detail
