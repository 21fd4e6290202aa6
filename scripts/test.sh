#!/usr/bin/env bash
# Sets up, builds and runs every test headless.
#   scripts/test.sh             normal build in ./build
#   scripts/test.sh --sanitize  build in ./build-asan with AddressSanitizer and
#                               UndefinedBehaviorSanitizer, then the same tests
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen
if [ "${1:-}" = "--sanitize" ]; then
  bash scripts/setup-deps.sh
  launcher=()
  command -v ccache >/dev/null && { launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1; }
  cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORV_SANITIZE=ON "${launcher[@]}" >/dev/null
  cmake --build build-asan -j"$(nproc)"
  export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1"
  export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  cd build-asan
  ctest --output-on-failure -j"$(nproc)" --timeout 900
  exit 0
fi
bash scripts/build.sh
cd build
ctest --output-on-failure -j"$(nproc)" --timeout 900
