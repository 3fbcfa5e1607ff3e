#!/usr/bin/env bash
# The notification area of most current desktops: a StatusNotifierWatcher with a host on the
# session bus, where the host reports what the user meant (activate, context menu) rather
# than clicks. The host's Activate brings the hidden window back, topmost and focused; its
# ContextMenu opens the menu, whose two entries work.
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
rm -f "$items"
/usr/bin/python3 "$(dirname "$0")/sni_watcher.py" "$items" 2>"$artifacts/watcher.log" &
pids+=($!)
wait_for 5 bash -c 'gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus --method org.freedesktop.DBus.NameHasOwner org.kde.StatusNotifierWatcher | grep -q true' ||
  fail "the watcher did not start"

start_program
wait_for 5 test -s "$items" || fail "the program registered no item with the watcher"
item=$(head -n1 "$items")
sni() { gdbus call --session --dest "$item" --object-path /StatusNotifierItem --method "org.kde.StatusNotifierItem.$1" 0 0 >/dev/null; }
hidden() { ! main_window >/dev/null; }

hide_window() {
  eval "$(xdotool getwindowgeometry --shell "$window")"
  xdotool mousemove $((X + 55)) $((Y + 190)) click 1
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
sleep 1
shot menu
xdotool key Down Return
shown_whole "the menu's first entry"

sni ContextMenu
sleep 1
xdotool key Down Down Return
sleep 1
shot quit-question
xdotool key Return
wait_for 5 program_ended || fail "the program is still running after quitting from the menu"
echo "StatusNotifierItem tray test passed; screenshots in $artifacts"
