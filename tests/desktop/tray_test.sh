#!/usr/bin/env bash
# The notification area as a user meets it, with trayer as the tray host: the icon and its
# tip, hiding, coming back by a double-click, the menu, and quitting from it. Then a desktop
# with no notification area at first: hiding minimises, and the icon arrives with the area.
# Usage: tray_test.sh PROGRAM ARTIFACT_DIR
set -euo pipefail
program=$1
artifacts=$2
source "$(dirname "$0")/common.sh"
start_display
start_tray_host
start_program

wait_for 5 test "$(tray_icon_count)" -ge 1 || fail "no icon in the notification area"
read -r ix iy <<<"$(tray_icon_centre)"
xdotool mousemove "$ix" "$iy"
sleep 2.5
shot icon-tip
# The tip is a small window of the program's, one line of text high.
tip_shown() {
  xwininfo -root -tree | awk '/"Quillbook": \(/ && $0 ~ / [0-9]+x(1[4-9]|2[0-9])\+/ {print $1}' |
    while read -r w; do xwininfo -id "$w" | grep -q IsViewable && echo "$w"; done | grep -q .
}
tip_shown || fail "no tip over the icon"

# The hide button hides the window.
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + 55)) $((Y + 190)) click 1
wait_for 5 bash -c '! xdotool search --onlyvisible --name "^Quillbook$" | xargs -r -n1 xwininfo -id | grep -q "Width: 352"' ||
  fail "the hide button did not hide the window"
shot hidden

# On an embedding tray a single click opens nothing.
xdotool mousemove "$ix" "$iy" click 1
sleep 1.5
! main_window >/dev/null || fail "a single click on the icon brought the window back"

# A double-click on the icon brings it back, topmost, with the focus in the input box.
xdotool mousemove "$ix" "$iy" click --repeat 2 --delay 80 1
wait_for 5 main_window >/dev/null || fail "a double-click did not bring the window back"
window=$(main_window)
sleep 0.5
shot shown-again
xprop -id "$window" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE || fail "not topmost after showing"
[ "$(xdotool getwindowfocus)" = "$window" ] || fail "no focus after showing"
xdotool type --delay 30 q
sleep 0.3
shot typed-after-showing

# A right click opens the menu; its second entry quits, after a Yes.
xdotool mousemove "$ix" "$iy" click 3
sleep 1
shot menu
xdotool key Down Down Return
sleep 1
shot quit-question
xdotool key Return
wait_for 5 program_ended || fail "the program is still running after quitting from the menu"
sleep 0.5
[ "$(tray_icon_count)" = 0 ] || fail "the icon stayed after quitting"
shot after-quit

# No notification area: hiding minimises to the taskbar; the icon arrives with the area.
kill "$tray_pid"; sleep 0.5
start_program
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + 55)) $((Y + 190)) click 1
sleep 1
xprop -id "$window" WM_STATE | grep -q Iconic || fail "without a tray the window was not minimised"
shot minimised-without-tray
start_tray_host
wait_for 5 test "$(tray_icon_count)" -ge 1 || fail "the icon did not arrive with the notification area"
shot icon-arrived

# From the tray that arrived, the window comes back whole, every time: on screen, not
# minimised, topmost, focused, and again without a taskbar button.
back_whole() {
  wait_for 5 main_window >/dev/null || fail "$1: the window did not come back"
  window=$(main_window)
  sleep 0.5
  xwininfo -id "$window" | grep -q IsViewable || fail "$1: the window is not on screen"
  ! xprop -id "$window" WM_STATE | grep -q Iconic || fail "$1: the window came back minimised"
  local state type
  state=$(xprop -id "$window" _NET_WM_STATE)
  type=$(xprop -id "$window" _NET_WM_WINDOW_TYPE)
  grep -q _NET_WM_STATE_ABOVE <<<"$state" || fail "$1: not topmost ($state)"
  grep -q _NET_WM_STATE_SKIP_TASKBAR <<<"$state" || grep -q _NET_WM_WINDOW_TYPE_UTILITY <<<"$type" ||
    fail "$1: the window has a taskbar button ($state; $type)"
  [ "$(xdotool getwindowfocus)" = "$window" ] || fail "$1: no focus"
}
read -r ix iy <<<"$(tray_icon_centre)"
xdotool mousemove "$ix" "$iy" click --repeat 2 --delay 80 1
back_whole "a double-click after the no-tray minimise"
shot back-whole
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + 55)) $((Y + 190)) click 1
sleep 1
xdotool mousemove "$ix" "$iy" click 3
sleep 1
xdotool key Down Return  # the menu's first entry, "顯示字典"
back_whole "the menu after hiding into the tray"
shot back-whole-by-menu
echo "tray desktop test passed; screenshots in $artifacts"
