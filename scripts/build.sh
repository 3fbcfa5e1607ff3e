#!/usr/bin/env bash
# Configures and builds one build tree: scripts/build.sh DIR [cmake options...]
set -euo pipefail
dir=$1; shift
cd "$(dirname "$0")/.."
# Our own builds treat warnings as errors and build the benchmarks; later options win.
cmake -S . -B "$dir" -G Ninja -DQB_WERROR=ON -DQB_BENCH=ON "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)"
