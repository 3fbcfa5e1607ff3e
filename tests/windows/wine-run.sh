#!/usr/bin/env bash
# Runs a Windows program of the build under Wine: ctest's CMAKE_CROSSCOMPILING_EMULATOR.
# The prefix is WINEPREFIX when the caller gives one (scripts/test-windows.sh makes a fresh
# one for each run and ends it with wineserver -k), else one in the build tree. A prefix is
# made on first use, once, however many tests start at the same moment.
set -euo pipefail
program=$1; shift
if [ -z "${WINEPREFIX:-}" ]; then
  export WINEPREFIX=$(cd "$(dirname "$program")/.." && pwd)/wine-prefix
fi
export WINEDEBUG=${WINEDEBUG:--all}
# No installers for Mono and Gecko: the programs need neither.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
mkdir -p "$WINEPREFIX"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  (
    flock 9
    [ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
  ) 9>"$WINEPREFIX.lock"
fi
exec wine "$program" "$@"
