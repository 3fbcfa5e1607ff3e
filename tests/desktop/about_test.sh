#!/usr/bin/env bash
# The About window as a user meets it: opened from the book, placed and sized as designed,
# its System button starting the desktop's information program found on PATH, its link's
# border, Esc, and keeping the program alive after quitting until it closes. Then the same
# window on a screen scaled to 200 %.
# Usage: about_test.sh PROGRAM ARTIFACT_DIR
set -euo pipefail
program=$1
artifacts=$2
screen_size=1400x900x24
source "$(dirname "$0")/common.sh"

# A stand-in for the desktop's information program, first on PATH.
tools=$(mktemp -d)
trap 'cleanup; rm -rf "$tools"' EXIT
printf '#!/bin/sh\necho started > "%s/started"\n' "$tools" >"$tools/hardinfo"
chmod +x "$tools/hardinfo"
export PATH="$tools:$PATH"

about_window() { xdotool search --onlyvisible --name '^About Quillbook$' 2>/dev/null | head -n1; }
open_about() {
  eval "$(xdotool getwindowgeometry --shell "$window")"
  xdotool mousemove $((X + $1)) $((Y + $2)) click 1
  wait_for 5 test -n "$(about_window)" || fail "the About button did not open the window"
  about=$(about_window)
  sleep 0.5
}
# The client area's place and size, in screen pixels.
client_area() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
    /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}'
}

start_display
start_program
open_about 136 176
shot about
read -r ax ay aw ah <<<"$(client_area "$about")"
[ "$ax $ay $aw $ah" = "156 129 326 236" ] || fail "About's client area is $aw x $ah at $ax,$ay"
[ "$(xdotool getwindowfocus)" = "$about" ] || fail "the About window does not have the focus"
# The etched separator: a grey row over a white one.
[ "$(pixel about $((156 + 250)) $((129 + 163)))" = "srgb(128,128,128)" ] || fail "no grey line of the separator"
[ "$(pixel about $((156 + 250)) $((129 + 164)))" = "srgb(255,255,255)" ] || fail "no white line of the separator"

# The link gains its border under the pointer and loses it over the bare window.
xdotool mousemove $((156 + 130)) $((129 + 144)); sleep 0.5
shot link-border
# The border's top row lies above the text.
[ "$(pixel link-border $((156 + 200)) $((129 + 136)))" = "srgb(0,128,0)" ] ||
  fail "no border around the link under the pointer"
xdotool mousemove $((156 + 114)) $((129 + 100)); sleep 0.5
shot link-no-border
[ "$(pixel link-no-border $((156 + 200)) $((129 + 136)))" != "srgb(0,128,0)" ] ||
  fail "the link kept its border over the bare window"

# Alt+S starts the information program that the registry stand-in found on PATH.
xdotool windowactivate --sync "$about" key alt+s
wait_for 5 test -f "$tools/started" || fail "System did not start the information program"

# Quitting while About is open leaves it, and the program, running until About closes.
xdotool mousemove $((X + 38)) $((Y + 190)) click 1
sleep 1
xdotool key Return
sleep 1
program_ended && fail "the program ended with the About window still open"
[ -n "$(about_window)" ] || fail "quitting closed the About window"
shot after-quit
xdotool windowactivate --sync "$about" key Escape
wait_for 5 program_ended || fail "the program is still running after About closed"

# At 200 %: the same window, twice the pixels, drawn from the @2x pictures.
export QT_SCALE_FACTOR=2 main_width=704
start_program
open_about 272 352
# The topmost book covers most of it: hide the book (no tray here, so to the taskbar).
xdotool mousemove $((X + 110)) $((Y + 380)) click 1
sleep 1
read -r ax ay aw ah <<<"$(client_area "$about")"
[ "$aw $ah" = "652 472" ] || fail "at 200 % About's client area is $aw x $ah"
shot about-200
[ "$(pixel about-200 $((312 + 500)) $((258 + 326)))" = "srgb(128,128,128)" ] ||
  fail "at 200 % the separator's grey line is missing"
echo "About desktop test passed; screenshots in $artifacts"
