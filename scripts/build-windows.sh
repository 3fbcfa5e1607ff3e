#!/usr/bin/env bash
# Cross-builds Quillbook for Windows with mingw-w64, as root on Debian 12: installs what is
# missing, configures and builds into build-windows/ (or the folder given), and leaves the
# program folder in build-windows/Quillbook/ and the zip and the installer in
# build-windows/package/.
#   scripts/build-windows.sh [DIR [cmake options...]]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build-windows}
shift || true
scripts/install-deps.sh
cmake -S . -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/windows-x86_64.cmake \
      -DCMAKE_BUILD_TYPE=Release -DQB_WERROR=ON "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)"
cmake --build "$dir" --target windows-package windows-installer
