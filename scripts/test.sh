#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: the plain build, the same tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, and the fuzzers for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

scripts/build.sh build -DCMAKE_BUILD_TYPE=Release
ctest --test-dir build --output-on-failure -j "$(nproc)"

scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DQB_SANITIZE=ON -DQB_BENCH=OFF
ctest --test-dir build-asan --output-on-failure -j "$(nproc)"

CXX=clang++ scripts/build.sh build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQB_FUZZ=ON -DQB_GUI=OFF -DQB_BENCH=OFF
ctest --test-dir build-fuzz --output-on-failure -L fuzz
