#!/usr/bin/env bash
# Runs the installed program as a user meets it, on a virtual X screen with a window manager:
# shape, size, topmost band, focus, a lookup by Enter, dragging, and closing.
# Usage: desktop_test.sh PROGRAM ARTIFACT_DIR
set -euo pipefail
program=$1
artifacts=$2
mkdir -p "$artifacts"

fail() { echo "FAIL: $*" >&2; shot failure || true; exit 1; }
shot() { import -window root "$artifacts/$1.png"; }
pixel() { convert "$artifacts/$1.png" -format "%[pixel:p{$2,$3}]" info:; }

# A display of our own, with openbox as its window manager.
exec 3< <(Xvfb -displayfd 1 -screen 0 800x600x24 -nolisten tcp 2>/dev/null)
read -r -t 10 number <&3 || fail "Xvfb did not start"
export DISPLAY=":$number"
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; pkill -f "Xvfb.*-displayfd" -P $$ 2>/dev/null || true; }
trap cleanup EXIT
openbox >/dev/null 2>&1 & pids+=($!)
sleep 1

"$program" >"$artifacts/program.log" 2>&1 & app=$!
pids+=($app)
window=$(xdotool search --sync --onlyvisible --name '^Quillbook$' | head -n1) || fail "no window"
sleep 1
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
xdotool mousemove $((X + 176)) $((Y + 60)) mousedown 1
for step in 1 2 3 4 5 6 7 8; do xdotool mousemove_relative -- 10 6; sleep 0.05; done
xdotool mouseup 1
sleep 0.5
shot dragged
oldX=$X; oldY=$Y
eval "$(xdotool getwindowgeometry --shell "$window")"
dx=$((X - oldX)); dy=$((Y - oldY))
[ "$dx" -ge 70 ] && [ "$dx" -le 90 ] && [ "$dy" -ge 38 ] && [ "$dy" -le 58 ] ||
  fail "a drag of 80,48 moved the window by $dx,$dy"

# Close, answered Yes, ends the program.
xdotool mousemove $((X + 38)) $((Y + 190)) click 1
sleep 1
shot close-question
xdotool key Return
for _ in $(seq 50); do kill -0 "$app" 2>/dev/null || break; sleep 0.1; done
kill -0 "$app" 2>/dev/null && fail "the program is still running after Close and Yes"
echo "desktop test passed; screenshots in $artifacts"
