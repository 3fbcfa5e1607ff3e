#!/usr/bin/env bash
# Runs the installed program as a user meets it, on a virtual X screen with a window manager:
# shape, size, topmost band, focus, a lookup by Enter, dragging, and closing.
# Usage: desktop_test.sh PROGRAM ARTIFACT_DIR
set -euo pipefail
program=$1
artifacts=$2
source "$(dirname "$0")/common.sh"
start_display
start_program
shot started

eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$WIDTH" = 352 ] && [ "$HEIGHT" = 226 ] || fail "window is ${WIDTH}x${HEIGHT}, not 352x226"
xprop -id "$window" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE || fail "window is not topmost"
[ "$(xdotool getwindowfocus)" = "$window" ] || fail "the window does not have the focus"
# The corners are cut away: the black screen shows there, the book in the middle.
[ "$(pixel started "$X" "$Y")" = "srgb(0,0,0)" ] || fail "top-left corner is not cut away"
[ "$(pixel started $((X + 351)) $((Y + 100)))" = "srgb(0,0,0)" ] || fail "right frame not cut away"
[ "$(pixel started $((X + 100)) $((Y + 100)))" != "srgb(0,0,0)" ] || fail "the page is missing"

# Typing and Enter: the entry appears in the result box; copy it out to read it.
xdotool type --delay 30 apple
xdotool key Return
sleep 1
shot looked-up
xdotool mousemove $((X + 250)) $((Y + 100)) click 1
xdotool key ctrl+a ctrl+c
sleep 0.5
shown=$(xclip -o -selection clipboard 2>/dev/null || true)
case "$shown" in
  *apple*蘋果*) ;;
  *) fail "the result box shows: $shown" ;;
esac

# A drag on the skin moves the window by as much as the pointer moved.
drag_by_80_48() {
  eval "$(xdotool getwindowgeometry --shell "$window")"
  xdotool mousemove $((X + 176)) $((Y + 60)) mousedown 1
  for step in 1 2 3 4 5 6 7 8; do xdotool mousemove_relative -- 10 6; sleep 0.05; done
  xdotool mouseup 1
  sleep 0.5
  local oldX=$X oldY=$Y
  eval "$(xdotool getwindowgeometry --shell "$window")"
  local dx=$((X - oldX)) dy=$((Y - oldY))
  [ "$dx" -ge 70 ] && [ "$dx" -le 90 ] && [ "$dy" -ge 38 ] && [ "$dy" -le 58 ] ||
    fail "$1: a drag of 80,48 moved the window by $dx,$dy"
}
drag_by_80_48 "with a window manager"
shot dragged

# Close, answered Yes, ends the program.
xdotool mousemove $((X + 38)) $((Y + 190)) click 1
sleep 1
shot close-question
xdotool key Return
wait_for 5 program_ended || fail "the program is still running after Close and Yes"

# With no window manager to run the move, the window follows the pointer by itself.
kill "$wm_pid"; sleep 0.5
start_program
drag_by_80_48 "without a window manager"
shot dragged-without-window-manager
echo "desktop test passed; screenshots in $artifacts"
