#!/usr/bin/env bash
# The Help window as a user meets it: the help button opens one window of the documented size
# that has no taskbar button, a second click opens no other; screenshots of it at 100 % and
# at 200 % are kept to be looked at.
# Usage: help_test.sh PROGRAM ARTIFACT_DIR
set -euo pipefail
program=$1
artifacts=$2
screen_size=1400x1000x24
source "$(dirname "$0")/common.sh"
start_display

help_windows() { xdotool search --onlyvisible --name '^Help$' 2>/dev/null || true; }

# Opens the Help window from the main window at the given scale and keeps its picture.
open_help() {  # open_help SCALE
  local scale=$1 main=""
  QT_SCALE_FACTOR=$scale "$program" >"$artifacts/program-$scale.log" 2>&1 &
  app=$!
  pids+=($app)
  find_main() {
    local w
    for w in $(xdotool search --onlyvisible --name '^Quillbook$' 2>/dev/null); do
      xwininfo -id "$w" | grep -q "Width: $((352 * scale))" && main=$w && return 0
    done
    return 1
  }
  wait_for 15 find_main || fail "no main window at scale $scale"
  sleep 0.5
  xdotool windowmove "$main" 0 0
  sleep 0.3
  eval "$(xdotool getwindowgeometry --shell "$main")"
  local beside=$((X + WIDTH + 20))
  for _ in 1 2; do
    xdotool mousemove $((X + 96 * scale)) $((Y + 176 * scale)) click 1
    wait_for 5 test -n "$(help_windows)" || fail "the help button opened no Help window"
    sleep 0.5
  done
  [ "$(help_windows | wc -l)" = 1 ] || fail "two clicks opened $(help_windows | wc -l) Help windows"
  help=$(help_windows)
  eval "$(xdotool getwindowgeometry --shell "$help")"
  [ "$WIDTH" = $((313 * scale)) ] && [ "$HEIGHT" = $((375 * scale)) ] ||
    fail "the Help window is ${WIDTH}x${HEIGHT} at scale $scale"
  xprop -id "$help" _NET_WM_WINDOW_TYPE | grep -q DIALOG || fail "the Help window is not a dialog"
  xprop -id "$help" _NET_WM_STATE | grep -q SKIP_TASKBAR ||
    fail "the Help window would get a taskbar button"
  # Out from under the topmost main window, to be seen whole.
  xdotool windowmove "$help" "$beside" 40
  sleep 0.5
  import -window "$help" "$artifacts/help-$((scale * 100)).png"
  shot "screen-$((scale * 100))"
  kill "$app"
  wait_for 5 program_ended || fail "the program did not end"
}

open_help 1
open_help 2
echo "help test passed; screenshots in $artifacts"
