#!/usr/bin/env bash
# Builds and runs the benchmarks (bench/bench_*.cpp); each prints its own ratios.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
targets=$(ls bench/bench_*.cpp 2>/dev/null | xargs -n1 basename | sed 's/\.cpp$//')
for t in $targets; do
  cmake --build build --target "$t" -j"$(nproc)" >/dev/null
  echo "== $t"; (cd build && QT_QPA_PLATFORM=offscreen "./bench/$t")
done
