#!/usr/bin/env bash
# Installs what is missing, builds and runs every test: the plain build, the same tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, the Windows build's tests under Wine, and
# the fuzzers for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

scripts/build.sh build -DCMAKE_BUILD_TYPE=Release
# The engine's tests (lookup_tests@LEVEL) and the fuzzers' corpora (fuzz_*@LEVEL) run once
# under each set of instructions the searches are built for; ctest lists those this machine
# cannot run as skipped.
build/bin/at_simd_level
ctest --test-dir build --output-on-failure --no-tests=error -j "$(nproc)"

scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DQB_SANITIZE=ON -DQB_BENCH=OFF
ctest --test-dir build-asan --output-on-failure --no-tests=error -j "$(nproc)"

# The Windows build, its engine and command-line tests under Wine.
scripts/test-windows.sh

CXX=clang++ scripts/build.sh build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQB_FUZZ=ON -DQB_GUI=OFF -DQB_BENCH=OFF
ctest --test-dir build-fuzz --output-on-failure --no-tests=error -L fuzz

# As someone who is not us builds it: plain CMake, with neither GoogleTest nor Google
# Benchmark in its view.
echo "Building as a user would, without the test and benchmark libraries"
cmake -S . -B build-user -G Ninja -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON \
      -DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON >/dev/null
cmake --build build-user -j "$(nproc)" >/dev/null
test -x build-user/bin/quillbook && test -x build-user/bin/quillbook-lookup
