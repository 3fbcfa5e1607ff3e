#!/usr/bin/env bash
# The book as a screen reader reads it, through AT-SPI on a session bus of the test's own:
# every pressable control is named, the seven buttons of the book among them; the input and
# result boxes are named; after "apple" and Enter the result box reads 蘋果 and the reader
# heard it once; the help button pressed through its action opens Help. A sighted user sees
# nothing of it: the book after the lookup looks the same, pixel for pixel, with and without a
# screen reader (REFERENCE_PROGRAM, when set, is the program for the run without one).
# Usage: accessibility_test.sh PROGRAM ARTIFACT_DIR
set -euo pipefail
program=$1
artifacts=$2
if [ -z "${QB_OWN_SESSION_BUS:-}" ]; then
  # The accessibility bus is started on demand by the session bus: a private one of each.
  QB_OWN_SESSION_BUS=1 exec dbus-run-session -- "$0" "$@"
fi
source "$(dirname "$0")/common.sh"
runtime=$(mktemp -d)
export XDG_RUNTIME_DIR=$runtime
start_display
tree() { /usr/bin/python3 "$(dirname "$0")/accessibility_tree.py" "$@"; }

# The book after a lookup, kept as NAME.png.
look_up_apple() {  # look_up_apple NAME
  xdotool windowactivate --sync "$window" 2>/dev/null || true
  xdotool type --delay 40 apple
  xdotool key Return
  sleep 1.5
  import -window "$window" "$artifacts/$1.png"
}
same_as_without() {
  import -window "$window" "$artifacts/with-reader.png"
  [ "$(compare -metric AE "$artifacts/with-reader.png" "$artifacts/without-reader.png" null: 2>&1)" = 0 ]
}

# Without a screen reader: the picture to compare with.
unset QT_LINUX_ACCESSIBILITY_ALWAYS_ON
program_under_test=$program
program=${REFERENCE_PROGRAM:-$program}
start_program
look_up_apple without-reader
kill "$app"
wait_for 5 program_ended || fail "the program did not end"

program=$program_under_test
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
start_program
tree >"$artifacts/controls.txt" || fail "the controls: $(cat "$artifacts/controls.txt")"
xdotool windowactivate --sync "$window" 2>/dev/null || true
tree lookup apple 蘋果 >"$artifacts/lookup.txt" || fail "the lookup: $(cat "$artifacts/lookup.txt")"
# The caret blinks in the input box: one of a few pictures catches it as the other did.
wait_for 3 same_as_without || fail "the book looks different with a screen reader"

help_windows() { xdotool search --onlyvisible --name '^Help$' 2>/dev/null || true; }
[ -z "$(help_windows)" ] || fail "Help was open before the button was pressed"
tree press 說明 || fail "the help button could not be pressed"
wait_for 5 test -n "$(help_windows)" || fail "pressing the help button opened no Help window"
shot help
rm -rf "$runtime"
echo "accessibility test passed; tree and screenshots in $artifacts"
