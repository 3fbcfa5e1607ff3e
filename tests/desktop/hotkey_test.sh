#!/usr/bin/env bash
# Ctrl+Alt+Z anywhere on the desktop looks up the text selected in another program: the
# book comes forward, on top and focused, showing what the command-line lookup prints for
# it, from behind another window or from the tray, with any lock key on; a word as it stands
# in a sentence shows its base form's entries; the clipboard stands in for an empty
# selection; nothing selected only brings the book forward. `quillbook --look-up-selection`
# does the same from a shell, starting the book when none runs. Another program holding the
# key: the book says so once and goes on without it.
# Usage: hotkey_test.sh PROGRAM ARTIFACT_DIR
set -euo pipefail
program=$1
artifacts=$2
here=$(dirname "$0")
source "$here/common.sh"
lookup_tool="$(dirname "$program")/quillbook-lookup"
start_display
start_tray_host

# Copies meet on a socket in a runtime folder of the test's own.
runtime=$(mktemp -d)
chmod 700 "$runtime"
export XDG_RUNTIME_DIR=$runtime DBUS_SESSION_BUS_ADDRESS=unix:path=$runtime/no-bus
trap 'cleanup; rm -rf "$runtime"' EXIT

# What another program serves: xclip keeps serving until someone else takes the selection.
select_text() { printf '%s' "$1" | xclip -selection primary; }
copy_text() { printf '%s' "$1" | xclip -selection clipboard; }
looked_up() { "$lookup_tool" "$1" | tr -d '\r'; }
result_is() { [ "$(result_text | tr -d '\r')" = "$1" ]; }

# Another window in front with the focus: the key is pressed "anywhere".
other_window_in_front() {
  if [ -z "${other:-}" ] || ! kill -0 "$other" 2>/dev/null; then
    xmessage -geometry 500x400+0+0 "another program" >/dev/null 2>&1 &
    other=$!
    pids+=($other)
    wait_for 5 bash -c 'xdotool search --onlyvisible --name "^xmessage$" >/dev/null' ||
      fail "no other window"
  fi
  local w
  w=$(xdotool search --onlyvisible --name '^xmessage$' | head -n1)
  xdotool windowactivate --sync "$w"
  [ "$(xdotool getactivewindow)" = "$w" ] || fail "the other window did not take the focus"
}

# The book back whole and in front, showing what the command line prints for WORD, with WORD
# (the form that found the entries) in the input box, for Up and the speak button, or INPUT
# where the box is to stay as it was; Up brings back WORD, the last text looked up.
shows() {  # shows WHAT WORD [INPUT]
  back_whole "$1"
  local expected
  expected=$(looked_up "$2")
  [ -n "$expected" ] || fail "$1: the command line finds nothing for $2"
  wait_for 5 result_is "$expected" || fail "$1: the result box shows: $(result_text | tr -d '\r')"
  ! message_box >/dev/null || fail "$1: a message box"
  [ "$(input_text)" = "${3-$2}" ] || fail "$1: the input box holds \"$(input_text)\", not \"${3-$2}\""
  xdotool key ctrl+a BackSpace Up
  [ "$(input_text)" = "$2" ] || fail "$1: Up brings back \"$(input_text)\", not $2"
  xdotool key ctrl+a BackSpace
}

start_program
wait_for_tray_icon "no icon in the tray"

# From behind another window.
select_text teacher
other_window_in_front
xdotool key ctrl+alt+z
shows "teacher selected, the key" teacher
shot teacher

# From the tray.
hide_to_tray
select_text happy
xdotool key ctrl+alt+z
shows "happy selected, the key with the book in the tray" happy
shot from-tray

# An empty selection: the clipboard's text, here with NumLock and CapsLock on.
select_text ""
copy_text apple
other_window_in_front
xdotool key Num_Lock Caps_Lock
xset q | grep -q 'Caps Lock: *on .*Num Lock: *on' || fail "the lock keys are not on: $(xset q | grep Lock)"
xdotool key ctrl+alt+z
xdotool key Num_Lock Caps_Lock
shows "apple in the clipboard, the key with the lock keys on" apple
shot clipboard-locks-on

# Nothing selected, nothing copied: the book comes forward as it was.
select_text ""
copy_text ""
other_window_in_front
xdotool key ctrl+alt+z
shows "nothing selected, the key" apple ""
shot nothing-selected

# From a shell, while the book runs.
select_text book
other_window_in_front
timeout 10 "$program" --look-up-selection >"$artifacts/second-start.log" 2>&1 ||
  fail "quillbook --look-up-selection ended with $?"
shows "book selected, quillbook --look-up-selection" book
shot from-shell

# Words as they stand in a sentence: their base forms' entries.
select_text went
other_window_in_front
xdotool key ctrl+alt+z
shows "went selected, the key" go
select_text "children's"
other_window_in_front
xdotool key ctrl+alt+z
shows "children's selected, the key" child
shot base-form

# Another program holds the key: the book, started to look up, says so once and goes on.
kill "$app"
wait "$app" || true
wait_for 5 main_window_gone || fail "the book did not end"
"$here/hold_key.py" >"$artifacts/hold_key.log" 2>&1 &
holder=$!
pids+=($holder)
wait_for 5 grep -q holding "$artifacts/hold_key.log" || fail "the other program could not take the key"
select_text teacher
"$program" --look-up-selection >"$artifacts/program.log" 2>&1 &
app=$!
pids+=($app)
wait_for 15 message_box >/dev/null || fail "no message that the key is taken"
# Its text is in the screenshot: a message box's label cannot be copied on Linux.
shot key-taken
box=$(message_box)
xdotool windowactivate --sync "$box"
[ "$(xprop -id "$box" WM_NAME)" = 'WM_NAME(STRING) = "Quillbook"' ] ||
  fail "the message's title: $(xprop -id "$box" WM_NAME)"
xdotool key Return
sleep 1
! message_box >/dev/null || fail "a second message"
wait_for 15 main_window >/dev/null || fail "no book after the message"
window=$(main_window)
shows "the key taken, quillbook --look-up-selection started the book" teacher
kill "$holder"

echo "hotkey test passed; screenshots in $artifacts"
