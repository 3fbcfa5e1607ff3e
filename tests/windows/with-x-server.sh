#!/usr/bin/env bash
# Runs a command on an X server of its own, with a window manager: Wine puts a window on the
# screen only where there is an X server, and without a window manager it waits for each
# closed window to be withdrawn until its patience runs out. ctest's emulator for the tests
# that make windows, in front of wine-run.sh.
set -euo pipefail
fifo=$(mktemp -u /tmp/quillbook-display.XXXXXX)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" 2>/dev/null &
xvfb_pid=$!
wm_pid=
trap 'kill $wm_pid "$xvfb_pid" 2>/dev/null || true; rm -f "$fifo"' EXIT
read -r -t 10 number <"$fifo" || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$number"
openbox >/dev/null 2>&1 &
wm_pid=$!
for _ in $(seq 50); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
"$@"
