#!/usr/bin/env bash
# Runs the installed program as a user meets it, on a virtual X screen with a window manager:
# the start-up click, shape, size, topmost band, focus, a lookup by Enter, dragging by any
# button, and closing.
# Usage: desktop_test.sh PROGRAM ARTIFACT_DIR
set -euo pipefail
program=$1
artifacts=$2
source "$(dirname "$0")/common.sh"
start_display
start_audio

# The start-up plays the click, all of it, at once.
record_start "$artifacts/start-up.wav"
start_program
sleep 1.5
record_stop
clip=$(dirname "$program")/flip.wav
heard=$(sound_energy "$artifacts/start-up.wav")
played=$(sound_energy "$clip")
echo "start-up click: energy $heard of the file's $played"
# A click broken up or begun late by a busy start-up loses a third to a half of its energy.
awk -v h="$heard" -v p="$played" 'BEGIN {exit !(h >= 0.8 * p && h <= 1.5 * p)}' ||
  fail "the start-up click was not heard in full (energy $heard of $played)"
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

# A drag on the skin by any button moves the window by as much as the pointer moved, and the
# move ends when that button is released: the pointer moving on leaves the window put.
drag_by_80_48() {  # drag_by_80_48 WHAT [BUTTON]
  local button=${2:-1}
  eval "$(xdotool getwindowgeometry --shell "$window")"
  xdotool mousemove $((X + 176)) $((Y + 60)) mousedown "$button"
  for step in 1 2 3 4 5 6 7 8; do xdotool mousemove_relative -- 10 6; sleep 0.05; done
  xdotool mouseup "$button"
  sleep 0.5
  local oldX=$X oldY=$Y
  eval "$(xdotool getwindowgeometry --shell "$window")"
  local dx=$((X - oldX)) dy=$((Y - oldY))
  [ "$dx" -ge 70 ] && [ "$dx" -le 90 ] && [ "$dy" -ge 38 ] && [ "$dy" -le 58 ] ||
    fail "$1: a drag of 80,48 moved the window by $dx,$dy"
  local afterX=$X afterY=$Y
  for step in 1 2 3; do xdotool mousemove_relative -- 20 15; sleep 0.05; done
  sleep 0.3
  eval "$(xdotool getwindowgeometry --shell "$window")"
  [ "$X" = "$afterX" ] && [ "$Y" = "$afterY" ] ||
    fail "$1: the window went on following the pointer after the button was released"
  xdotool mousemove_relative -- -60 -45
}
drag_by_80_48 "with a window manager"
shot dragged
drag_by_80_48 "by the right button" 3
drag_by_80_48 "by the middle button" 2
shot dragged-by-other-buttons

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
