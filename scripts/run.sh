#!/usr/bin/env bash
# Sets up, builds and starts orvenil (arguments are handed to the program).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
exec ./build/orvenil "$@"
