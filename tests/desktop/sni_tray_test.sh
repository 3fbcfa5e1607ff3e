#!/usr/bin/env bash
# The notification area of most current desktops: a StatusNotifierWatcher with a host on the
# session bus, where the host reports what the user meant (activate, context menu) rather
# than clicks. The host's Activate brings the hidden window back, topmost and focused; its
# ContextMenu opens the menu, whose two entries work. Then the same area starting 3 s after the
# program, as a panel that comes up late at login: the icon goes to it, and the dash button,
# which minimised the window while there was no area, hides it there from then on; a watcher
# that goes away and comes back (its host a second after it) gets the icon again.
# Usage: sni_tray_test.sh PROGRAM ARTIFACT_DIR
set -euo pipefail
program=$1
artifacts=$2
source "$(dirname "$0")/common.sh"
start_display

# A session bus of the test's own, with the watcher on it.
bus_address_file="$artifacts/.bus"
rm -f "$bus_address_file"
dbus-daemon --session --nofork --print-address=3 3>"$bus_address_file" >/dev/null 2>&1 &
pids+=($!)
wait_for 5 test -s "$bus_address_file" || fail "no session bus"
export DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$bus_address_file")
items="$artifacts/items"
rm -f "$items" "$artifacts/watcher.log"

watcher_there() {
  gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
    --method org.freedesktop.DBus.NameHasOwner org.kde.StatusNotifierWatcher | grep -q true
}
watcher_gone() { ! watcher_there; }
# start_watcher [--host-after SECONDS]
start_watcher() {
  /usr/bin/python3 "$(dirname "$0")/sni_watcher.py" "$items" "$@" 2>>"$artifacts/watcher.log" &
  watcher_pid=$!
  pids+=($watcher_pid)
  wait_for 5 watcher_there || fail "the watcher did not start"
}
stop_watcher() {
  kill "$watcher_pid"
  wait_for 5 watcher_gone || fail "the watcher did not go away"
}
registrations() { if [ -f "$items" ]; then wc -l <"$items"; else echo 0; fi; }
more_registrations_than() { [ "$(registrations)" -gt "$1" ]; }
# registered_after N WHAT: waits for a registration beyond the first N; the newest is the item.
registered_after() {
  wait_for 5 more_registrations_than "$1" || fail "$2: the program registered no item"
  item=$(tail -n1 "$items")
}

start_watcher
start_program
registered_after 0 "a watcher there before the program"
# A second host changes nothing the user sees: the icon is not made again.
second_host() { [ "$(grep -c 'host registered' "$artifacts/watcher.log")" = 2 ]; }
kill -USR1 "$watcher_pid"
wait_for 5 second_host || fail "no second host"
sleep 1
[ "$(registrations)" = 1 ] || fail "a second host made the icon again"
sni() { gdbus call --session --dest "$item" --object-path /StatusNotifierItem --method "org.kde.StatusNotifierItem.$1" 0 0 >/dev/null; }
hidden() { ! main_window >/dev/null; }

click_hide() {
  eval "$(xdotool getwindowgeometry --shell "$window")"
  xdotool mousemove $((X + 55)) $((Y + 190)) click 1
}
hide_window() {
  click_hide
  wait_for 5 hidden || fail "the hide button did not hide the window"
}

shown_whole() {
  wait_for 5 main_window >/dev/null || fail "$1: the window did not come back"
  window=$(main_window)
  sleep 0.5
  ! xprop -id "$window" WM_STATE | grep -q Iconic || fail "$1: the window came back minimised"
  xprop -id "$window" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE || fail "$1: not topmost"
  [ "$(xdotool getwindowfocus)" = "$window" ] || fail "$1: no focus"
}

hide_window
shot hidden
sni Activate
shown_whole "the host's activation"
shot activated

# The context menu: its first entry shows the window again, its second quits after a Yes.
hide_window
sni ContextMenu
wait_for 10 menu_window >/dev/null || fail "the host's context menu did not open"
shot menu
choose_in_open_menu 1
shown_whole "the menu's first entry"

sni ContextMenu
choose_in_open_menu 2
sleep 1
shot quit-question
xdotool key Return
wait_for 5 program_ended || fail "the program is still running after quitting from the menu"
mv "$artifacts/program.log" "$artifacts/program-watcher-first.log"

# The area starts after the program: until then the dash button minimises to the taskbar.
stop_watcher
start_program
click_hide
wait_for 5 bash -c "xprop -id $window WM_STATE | grep -q Iconic" ||
  fail "without an area the window was not minimised"
shot late-minimised
sleep 3
before=$(registrations)
start_watcher
registered_after "$before" "an area that started after the program"
sni Activate
shown_whole "the late area's activation after the no-area minimise"
shot late-activated
hide_window
sleep 0.5  # a minimised window is unmapped before the window manager marks it so
! xprop -id "$window" WM_STATE | grep -q Iconic || fail "with the late area the window was minimised, not hidden"
shot late-hidden
sni Activate
shown_whole "the late area's activation after hiding"

# The watcher goes away and comes back; its host registers a second after it.
before=$(registrations)
stop_watcher
start_watcher --host-after 1
registered_after "$before" "a watcher that came back"
hide_window
sni Activate
shown_whole "the activation after the watcher came back"
shot watcher-back
kill "$app"
wait_for 5 program_ended || fail "the program did not end"
echo "StatusNotifierItem tray test passed; screenshots in $artifacts"
