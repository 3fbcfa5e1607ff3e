#!/usr/bin/env bash
# The Windows build and its tests under Wine, as part of the test command (scripts/test.sh):
# builds build-windows/ (scripts/build-windows.sh), then runs its tests through ctest in a
# Wine prefix made for this run alone, ended with wineserver -k and removed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build-windows.sh build-windows

WINEPREFIX=$(mktemp -d /tmp/quillbook-wine.XXXXXX)
export WINEPREFIX
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
ctest --test-dir build-windows --output-on-failure --no-tests=error -j "$(nproc)"
