#!/usr/bin/env bash
# Installs what is missing, then configures and builds everything into ./build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup-deps.sh
# ccache lets several checkouts of the tree share their compiled objects.
launcher=()
if command -v ccache >/dev/null; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
fi
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build build -j"$(nproc)"
