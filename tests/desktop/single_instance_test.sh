#!/usr/bin/env bash
# Starting the program while it runs: the second start hands over to the running copy and
# ends, and the running copy's book, the only one, comes forward from wherever it was (hidden
# in the tray, minimised, behind another window): shown, topmost, focused, typing into its
# input box, with one icon in the tray. A running copy that hangs, or one that is ending with
# only its About window left, does not keep a start from opening a book of its own. All of it
# once with a session bus and once without one (the copies then meet on a socket in the
# user's runtime folder).
# Usage: single_instance_test.sh PROGRAM ARTIFACT_DIR
set -euo pipefail
program=$1
artifacts=$2
source "$(dirname "$0")/common.sh"
start_display
start_tray_host

runtime=$(mktemp -d)
chmod 700 "$runtime"
export XDG_RUNTIME_DIR=$runtime
trap 'cleanup; rm -rf "$runtime"' EXIT

# The books on screen, by process: "PID WINDOW" a line.
books() {
  local w
  for w in $(xdotool search --onlyvisible --name '^Quillbook$' 2>/dev/null); do
    xwininfo -id "$w" | grep -q 'Width: 352$' && echo "$(xdotool getwindowpid "$w") $w"
  done
  return 0
}
click_at() {  # click_at X Y: on the book
  eval "$(xdotool getwindowgeometry --shell "$window")"
  xdotool mousemove $((X + $1)) $((Y + $2)) click 1
}
iconic() { xprop -id "$window" WM_STATE | grep -q Iconic; }
topmost() { xprop -id "$window" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE; }

# A start while the copy runs: it must end by itself, successfully.
second_start() {  # second_start WHAT
  "$program" >"$artifacts/second-$mode.log" 2>&1 &
  local second=$!
  wait_for 5 bash -c "! kill -0 $second 2>/dev/null" ||
    { kill "$second"; fail "$1 ($mode): the second start is still running"; }
  wait "$second" || fail "$1 ($mode): the second start ended with an error"
}

# The running copy's book, the only book, in front: on screen, not minimised, topmost, the
# active window, and keys go into its input box.
first_in_front() {  # first_in_front WHAT
  wait_for 5 main_window >/dev/null || fail "$1 ($mode): no book on screen"
  sleep 0.5
  [ "$(books | wc -l)" = 1 ] || fail "$1 ($mode): $(books | wc -l) books on screen"
  [ "$(books)" = "$app $window" ] || fail "$1 ($mode): the book on screen is not the first copy's"
  [ "$(tray_icon_count)" = 1 ] || fail "$1 ($mode): $(tray_icon_count) icons in the tray"
  ! iconic || fail "$1 ($mode): the book is still minimised"
  wait_for 5 topmost || fail "$1 ($mode): the book is not topmost"
  [ "$(xdotool getactivewindow)" = "$window" ] || fail "$1 ($mode): the book is not the active window"
  [ "$(xdotool getwindowfocus)" = "$window" ] || fail "$1 ($mode): the book has no focus"
  printf 'nothing-copied' | xclip -selection clipboard
  xdotool type --delay 40 apple
  xdotool key ctrl+a ctrl+c
  sleep 0.4
  [ "$(xclip -o -selection clipboard)" = apple ] || fail "$1 ($mode): typing does not reach the input box"
  xdotool key BackSpace
  shot "$2-$mode"
}

# A start that must open a book of its own: $own is its process.
own_book() {  # own_book WHAT SHOT
  "$program" >"$artifacts/$2-$mode.log" 2>&1 &
  own=$!
  pids+=($own)
  wait_for 10 bash -c "xdotool search --onlyvisible --pid $own --name '^Quillbook$' >/dev/null" ||
    fail "a start $1 opened no book ($mode)"
  shot "$2-$mode"
}

# Where the window lies in the window manager's stacking order, counted from the bottom.
stacking_place() {
  xprop -root _NET_CLIENT_LIST_STACKING | grep -o '0x[0-9a-f]*' |
    grep -n -x -e "$(printf '0x%x' "$1")" | cut -d: -f1
}

for mode in bus socket; do
  if [ "$mode" = bus ]; then
    bus_address_file="$artifacts/.bus"
    rm -f "$bus_address_file"
    dbus-daemon --session --nofork --print-address=3 3>"$bus_address_file" >/dev/null 2>&1 &
    bus_pid=$!
    pids+=($bus_pid)
    wait_for 5 test -s "$bus_address_file" || fail "no session bus"
    export DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$bus_address_file")
  else
    kill "$bus_pid"
    export DBUS_SESSION_BUS_ADDRESS=unix:path=$runtime/no-bus
  fi

  start_program
  wait_for_tray_icon "no icon in the tray ($mode)"

  click_at 55 190  # the dash button: into the tray
  wait_for 5 bash -c '! xdotool search --onlyvisible --name "^Quillbook$" >/dev/null' ||
    fail "the book did not go into the tray ($mode)"
  second_start "hidden in the tray"
  first_in_front "hidden in the tray" from-tray

  xdotool windowminimize "$window"
  wait_for 5 iconic || fail "the book was not minimised ($mode)"
  second_start "minimised"
  first_in_front "minimised" from-minimised

  xmessage -geometry 500x400+0+0 "another program" >/dev/null 2>&1 &
  other=$!
  wait_for 5 bash -c 'xdotool search --onlyvisible --name "^xmessage$" >/dev/null' || fail "no other window"
  other_window=$(xdotool search --onlyvisible --name '^xmessage$' | head -n1)
  xdotool windowactivate --sync "$other_window"
  [ "$(xdotool getactivewindow)" = "$other_window" ] || fail "the other window did not take the focus ($mode)"
  second_start "behind another window"
  first_in_front "behind another window" from-behind
  [ "$(stacking_place "$window")" -gt "$(stacking_place "$other_window")" ] ||
    fail "the book is below the other window ($mode)"
  kill "$other"

  # A copy that does not answer: the next start waits a moment, then opens a book of its own.
  kill -STOP "$app"
  own_book "after a hung copy" after-hung
  kill "$own"
  wait "$own" || true
  kill -CONT "$app"

  # A copy that is ending, with only its About window left: the next start opens a book.
  click_at 136 176
  wait_for 5 bash -c 'xdotool search --onlyvisible --name "^About Quillbook$" >/dev/null' ||
    fail "no About window ($mode)"
  click_at 38 190
  sleep 1
  xdotool key Return  # yes to the quit question
  sleep 1
  ! program_ended || fail "the program ended with its About window open ($mode)"
  own_book "beside an ending copy" after-ending
  kill "$app" "$own"
  wait "$app" "$own" || true
done
echo "single instance test passed; screenshots in $artifacts"
