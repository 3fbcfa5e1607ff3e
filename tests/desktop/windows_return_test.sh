#!/usr/bin/env bash
# Help and About are never lost, on both kinds of notification area. Neither has a taskbar
# button while the book leads to it (the book has none either), yet openbox draws a minimise
# box on them: minimised by the window manager, each comes back, un-minimised and focused,
# when its button on the book is pressed again. Left minimised when the book quits, About
# comes back on screen with a taskbar button, and closing it ends the program.
# Usage: windows_return_test.sh PROGRAM ARTIFACT_DIR
set -euo pipefail
program=$1
artifacts=$2
screen_size=1200x800x24
source "$(dirname "$0")/common.sh"

help_button=(96 176)
about_button=(136 176)
close_button=(38 190)

help_window() { xdotool search --onlyvisible --name '^Help$' 2>/dev/null | head -n1; }
about_window() { xdotool search --onlyvisible --name '^About Quillbook$' 2>/dev/null | head -n1; }
click_at() {
  eval "$(xdotool getwindowgeometry --shell "$window")"
  xdotool mousemove $((X + $1)) $((Y + $2)) click 1
}
iconic() { xprop -id "$1" WM_STATE | grep -q Iconic; }
on_screen() { xwininfo -id "$1" 2>/dev/null | grep -q IsViewable && ! iconic "$1"; }
focused() { [ "$(xdotool getwindowfocus)" = "$1" ]; }
skips_taskbar() { xprop -id "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_SKIP_TASKBAR; }

# The window's type and taskbar state ask every window manager for no taskbar button.
no_taskbar_button() {  # no_taskbar_button WHAT WINDOW TYPE
  local state
  wait_for 5 skips_taskbar "$2" || true
  state=$(xprop -id "$2" _NET_WM_STATE)
  grep -q _NET_WM_STATE_SKIP_TASKBAR <<<"$state" && grep -q _NET_WM_STATE_SKIP_PAGER <<<"$state" ||
    fail "$1: would get a taskbar button ($state)"
  xprop -id "$2" _NET_WM_WINDOW_TYPE | grep -q "_NET_WM_WINDOW_TYPE_$3" || fail "$1: not of type $3"
}

# Opens a window by its button, minimises it by the window manager and presses the button
# again: it must come back whole.
minimise_and_press() {  # minimise_and_press WHAT FINDER X Y
  local what=$1 finder=$2 w
  click_at "$3" "$4"
  wait_for 5 test -n "$($finder)" || fail "$what: its button opened no window"
  w=$($finder)
  no_taskbar_button "$what" "$w" DIALOG
  xdotool windowminimize --sync "$w"
  wait_for 5 iconic "$w" || fail "$what: the window manager did not minimise it"
  click_at "$3" "$4"
  wait_for 5 on_screen "$w" || fail "$what: its button left it minimised"
  wait_for 5 focused "$w" || fail "$what: back, but without the focus"
  no_taskbar_button "$what, back" "$w" DIALOG
}

run_on() {  # run_on KIND: trayer or a StatusNotifierItem host
  local kind=$1
  start_display
  if [ "$kind" = trayer ]; then
    start_tray_host
  else
    local bus_file="$artifacts/.bus"
    rm -f "$bus_file"
    dbus-daemon --session --nofork --print-address=3 3>"$bus_file" >/dev/null 2>&1 &
    pids+=($!)
    wait_for 5 test -s "$bus_file" || fail "no session bus"
    export DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$bus_file")
    /usr/bin/python3 "$(dirname "$0")/sni_watcher.py" "$artifacts/items" 2>"$artifacts/watcher.log" &
    pids+=($!)
    sleep 1
  fi
  start_program
  no_taskbar_button "$kind: the book" "$window" UTILITY

  minimise_and_press "$kind: Help" help_window "${help_button[@]}"
  help=$(help_window)
  xdotool windowmove "$help" 700 40
  minimise_and_press "$kind: About" about_window "${about_button[@]}"
  about=$(about_window)
  xdotool windowmove "$about" 20 40
  sleep 0.5
  # What openbox draws on the two: the frame's buttons, which the windows do not ask for.
  shot "$kind-help-and-about"

  # Quit with About minimised: About comes back, now with a taskbar button, and Help too.
  xdotool windowminimize --sync "$about"
  wait_for 5 iconic "$about" || fail "$kind: About was not minimised"
  click_at "${close_button[@]}"
  local box=""
  find_box() {
    local w
    for w in $(xdotool search --onlyvisible --name '^Quillbook$' 2>/dev/null); do
      xwininfo -id "$w" | grep -q 'Width: 352' || { box=$w; return 0; }
    done
    return 1
  }
  wait_for 5 find_box || fail "$kind: no quit question"
  xdotool windowactivate --sync "$box" key Return
  wait_for 5 on_screen "$about" || fail "$kind: quitting the book left About minimised"
  wait_for 5 bash -c "! xprop -id $about _NET_WM_STATE | grep -q SKIP_TASKBAR" ||
    fail "$kind: with the book gone About still has no taskbar button"
  sleep 0.5
  shot "$kind-after-quit"
  ! program_ended || fail "$kind: the program ended with About and Help open"
  xdotool windowactivate --sync "$help" key alt+F4
  wait_for 5 bash -c "! xwininfo -id $help 2>/dev/null | grep -q IsViewable" || fail "$kind: Alt+F4 did not close Help"
  xdotool windowactivate --sync "$about" key Escape
  wait_for 5 program_ended || fail "$kind: closing About did not end the program"

  cleanup
  pids=()
  unset DBUS_SESSION_BUS_ADDRESS
}

run_on trayer
run_on sni
echo "windows return test passed; screenshots in $artifacts"
