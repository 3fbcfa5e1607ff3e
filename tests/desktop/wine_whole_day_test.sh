#!/usr/bin/env bash
# A user's day with the Windows build under Wine, on a virtual X screen with openbox, trayer as
# the notification area and a sound server whose only output is recorded: start, look words up
# every way there is, bring a word back, press the speak button, drag, hide to the tray and come
# back, read Help and About and ask About for the system's information, answer the close
# question No and Yes. Wine makes each top-level window an X window (a window region its shape,
# topmost its above state, a tool window one that skips the taskbar) and docks the icon in
# trayer, so the checks read what a user sees as the Linux day does. Every step keeps
# screenshots; report.html in ARTIFACT_DIR shows them all.
# Usage: wine_whole_day_test.sh ARTIFACT_DIR PROGRAM.exe
#   the program folder beside PROGRAM.exe holds lib\, flip.wav and quillbook-lookup.exe.
set -euo pipefail
artifacts=$1
program=$(realpath "$2")
program_folder=$(dirname "$program")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"
source "$here/report.sh"
report_title="Quillbook for Windows under Wine: a day on the desktop"
rm -rf "$artifacts"
mkdir -p "$artifacts"

# A home and a Wine prefix of the run's own: the sound server's cookie, and a prefix with no
# trace of other runs (no system information program registered, the fonts linked below).
session=$(mktemp -d)
export HOME=$session/home WINEPREFIX=$session/prefix
mkdir -p "$HOME"
export WINEDEBUG=${WINEDEBUG:--all}
# No installers for Mono and Gecko, and no menu entries written into the home.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

finish() {
  local rc=$?
  write_report "$rc"
  wineserver -k 2>/dev/null || true
  cleanup
  rm -rf "$session"
  return "$rc"
}
trap finish EXIT

# Windows text boxes select all with ctrl+a only since Windows 10 (and not under Wine); a
# Windows message box's No button has no Escape.
select_all_keys="ctrl+Home ctrl+shift+End"
answer_no_key=n
# Wine marks a tool window as skipping the taskbar and leaves its type normal.
without_taskbar_button() { grep -q _NET_WM_STATE_SKIP_TASKBAR <<<"$1"; }

# The command-line lookup of the same build: what the window must show.
lookup() { wine "$program_folder/quillbook-lookup.exe" "$@" 2>/dev/null | tr -d '\r'; }

start_program() {
  wine "$program" >"$artifacts/program.log" 2>&1 &
  app=$!
  pids+=($app)
  wait_for 20 main_window >/dev/null || fail "no main window"
  window=$(main_window)
}

# The result box's text once it is the one expected (a lookup under Wine can take a moment).
result_is() { [ "$(result_text | tr -d '\r')" = "$1" ]; }
wait_for_result() {  # wait_for_result EXPECTED
  wait_for 5 result_is "$1" || fail "the result box shows: $(result_text | tr -d '\r')"
}
clear_input() { click_at "${input_box[@]}"; xdotool key ctrl+Home ctrl+shift+End BackSpace; }

# Text typed where the keyboard has no key for it goes in through the clipboard: Wine maps
# keys to characters when it starts, so xdotool's keys made on the fly type nothing there.
paste_text() {
  printf '%s' "$1" | xclip -selection clipboard >/dev/null 2>&1
  xdotool key ctrl+v
}

# Windows of any Windows program on the screen that a user would see as windows of their own:
# managed top-levels (the icon in the panel is embedded and has no WM_STATE).
wine_windows() {
  local w
  for w in $(xdotool search --onlyvisible --classname '\.exe$' 2>/dev/null); do
    xprop -id "$w" WM_STATE 2>/dev/null | grep -q Normal && echo "$w"
  done
  return 0
}
tray_panel_gone() { [ -z "$(tray_panel)" ]; }
wine_tray_window() { xdotool search --onlyvisible --name '^Wine System Tray$' 2>/dev/null | head -n1; }
wine_window_count() { wine_windows | wc -l; }

# Waited for by name: a finder's window on screen or not, a window focused.
shown() { [ -n "$("$1")" ]; }
gone() { [ -z "$("$1")" ]; }
focused() { [ "$(xdotool getwindowfocus)" = "$1" ]; }

# The energy of the sink's monitor recorded so far, raw (what parec writes while it runs).
record_raw=(-t raw -r 44100 -e signed -b 16 -c 2)
energy_so_far() {
  local size
  size=$(stat -c %s "$1")
  head -c $((size / 4 * 4)) "$1" >"$1.now"
  sox "${record_raw[@]}" "$1.now" -n stat 2>&1 | awk '/^Length/ {l=$3} /RMS +amplitude/ {r=$3} END {printf "%.6f\n", r * r * l}'
}
click_heard() { awk -v h="$(energy_so_far "$1")" -v p="$played" 'BEGIN {exit !(h >= 0.8 * p)}'; }

# ---------------------------------------------------------------------------------------------
step "Start" "The start-up click and the focus are recorded; the book-shaped window is 352x226, cut to its outline, topmost and without a taskbar button."
start_display
start_tray_host
start_audio
export PULSE_SERVER=unix:$PULSE_RUNTIME_PATH/native
# The prefix is made with the screen up: its desktop process, which holds the notification
# area's icons, lives on the display it was started with.
wineboot -i >"$artifacts/wineboot.log" 2>&1 || fail "wineboot could not make the prefix"
# Chinese text draws as boxes unless each face the windows ask for is linked to a CJK font.
link=$(printf 'uming.ttc,AR PL UMing TW\0\0' | od -An -tx1 -v | tr -s ' \n' ' ' | sed 's/^ //; s/ $//; s/ /,/g')
{
  printf 'REGEDIT4\r\n\r\n'
  printf '[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO]\r\n\r\n'
  printf '[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools Location]\r\n\r\n'
  printf '[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontLink\\SystemLink]\r\n'
  for face in Courier "Courier New" Arial "MS Sans Serif" "Microsoft Sans Serif" Tahoma \
              "MS Shell Dlg" "MS Shell Dlg 2"; do
    printf '"%s"=hex(7):%s\r\n' "$face" "$link"
  done
} >"$session/fonts.reg"
wine regedit /S "$(winepath -w "$session/fonts.reg")" || fail "the font links could not be written"
note "prefix made, the faces linked to AR PL UMing TW"

played=$(sound_energy "$program_folder/flip.wav")
# sink_record_start NAME / sink_record_stop NAME: the sink's monitor into NAME.wav among the
# artifacts (raw first: this parec keeps no WAV header when stopped).
sink_record_start() {
  parec --latency-msec=20 -d rec.monitor --raw --format=s16le --rate=44100 --channels=2 "$session/$1.raw" &
  recorder=$!
  # Recording once the first samples are written, however long the server takes to answer.
  wait_for 5 test -s "$session/$1.raw" || true
}
sink_record_stop() {
  sleep 0.3  # the click's tail
  kill -INT "$recorder"; wait "$recorder" || true
  sox "${record_raw[@]}" "$session/$1.raw" "$artifacts/$1.wav"
}
# start_recorded: starts the program with the sink's monitor recorded, until the click has
# been heard or ten seconds have passed; leaves the recording in start-up.wav.
start_recorded() {
  sink_record_start start-up
  start_program
  wait_for 10 click_heard "$session/start-up.raw" || true
  sink_record_stop start-up
  heard=$(sound_energy "$artifacts/start-up.wav")
}
start_recorded
note "start-up click: energy $heard of the file's $played (start-up.wav; judged in the last step)"
wait_for 5 has_focus && focused_at_start=yes || focused_at_start=no
note "the window has the focus after start-up: $focused_at_start (see the last step)"
shot started
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$WIDTH" = 352 ] && [ "$HEIGHT" = 226 ] || fail "window is ${WIDTH}x${HEIGHT}, not 352x226"
state=$(xprop -id "$window" _NET_WM_STATE)
grep -q _NET_WM_STATE_ABOVE <<<"$state" || fail "window is not topmost ($state)"
without_taskbar_button "$state" || fail "the window has a taskbar button ($state)"
# The window region is the X window's shape: smaller than the window, and the screen shows
# through at the corners and beside the frame while the page is the book's.
extents=$(xwininfo -id "$window" -shape | awk '/Window shape extents:/ {print $NF}')
[ -n "$extents" ] && [ "$extents" != "352x226+0+0" ] || fail "the window has no shape (extents: ${extents:-none})"
note "shape extents $extents"
[ "$(pixel "$(shot_name started)" "$X" "$Y")" = "srgb(0,0,0)" ] || fail "top-left corner is not cut away"
[ "$(pixel "$(shot_name started)" $((X + 351)) $((Y + 100)))" = "srgb(0,0,0)" ] || fail "right frame not cut away"
[ "$(pixel "$(shot_name started)" $((X + 100)) $((Y + 100)))" != "srgb(0,0,0)" ] || fail "the page is missing"

# ---------------------------------------------------------------------------------------------
step "The icon in the notification area" "The program's icon docks in the tray."
wait_for_tray_icon "no icon in the notification area"
shot icon

# ---------------------------------------------------------------------------------------------
step "An English word with Enter" "Typing \"apple\" and Enter shows its entry in the result box and empties the input box."
# Typed into the focus the program gave at start-up when it has one (the last step judges it).
[ "$focused_at_start" = yes ] || click_at "${input_box[@]}"
type_text apple
sink_record_start lookup-click
xdotool key Return
wait_for_result $'\napple\n蘋果'
wait_for 5 click_heard "$session/lookup-click.raw" || true
sink_record_stop lookup-click
lookup_heard=$(sound_energy "$artifacts/lookup-click.wav")
note "the lookup's click: energy $lookup_heard of the file's $played (lookup-click.wav; judged in the last step)"
shot looked-up
[ -z "$(input_text)" ] || fail "the input box was not emptied by the lookup"
note "result box: $(result_text | tr '\r\n' '  ')"

# ---------------------------------------------------------------------------------------------
step "An English word with the 準確 button" "Typing \"Happy\" and clicking the exact-lookup button finds \"happy\", letter case ignored."
expected=$(lookup happy)
[ "$(sed -n 2p <<<"$expected")" = happy ] || fail "the command-line lookup of happy printed: $expected"
click_at "${input_box[@]}"
type_text Happy
click_at "${exact_button[@]}"
wait_for_result "$expected"
shot exact-button
note "result box: $(tr '\n' ' ' <<<"$expected")"

# ---------------------------------------------------------------------------------------------
step "A word's beginning with the 所有 button" "Typing \"appl\" and clicking the all-entries button lists every entry of the a file that contains it."
expected=$(lookup --all appl)
grep -qx apple <<<"$expected" && grep -qx application <<<"$expected" ||
  fail "the command-line lookup --all appl printed: $expected"
click_at "${input_box[@]}"
type_text appl
click_at "${all_button[@]}"
wait_for_result "$expected"
shot all-entries
note "$(grep -c . <<<"$expected") lines, from \"$(sed -n 2p <<<"$expected")\" to \"$(tail -n2 <<<"$expected" | head -n1)\""

# ---------------------------------------------------------------------------------------------
step "A Chinese word" "蘋果 pasted into the input box and Enter searches all 26 files and lists the English words that contain it."
expected=$(lookup 蘋果)
grep -qx apple <<<"$expected" || fail "the command-line lookup of 蘋果 printed: $expected"
click_at "${input_box[@]}"
paste_text 蘋果
[ "$(input_text)" = 蘋果 ] || fail "the input box did not take the Chinese word"
click_at "${input_box[@]}"
xdotool key End Return
wait_for_result "$expected"
shot chinese-word
note "$(grep -c . <<<"$expected") lines, among them: $(grep -x -m3 '[a-z ]*' <<<"$expected" | grep . | tr '\n' ';')"

# ---------------------------------------------------------------------------------------------
step "Up brings the last word back" "After a lookup the input box is empty; Up puts the last text looked up back into it."
[ -z "$(input_text)" ] || fail "the input box was not emptied by the lookup"
xdotool key Up
shot up
[ "$(input_text)" = 蘋果 ] || fail "Up brought back \"$(input_text)\", not 蘋果"
clear_input

# ---------------------------------------------------------------------------------------------
step "The speak button without a voice" "Wine has no voice to speak with: clicking the lips button with \"dictionary\" typed shows no message, opens no window and ends nothing; the book stays topmost with the word in the input box."
windows_before=$(wine_window_count)
type_text dictionary
click_at "${speak_button[@]}"
# Nothing is to happen, so there is nothing to wait for: a message would be up by now.
sleep 2
shot spoken
program_ended && fail "the program ended when the speak button was pressed"
[ "$(wine_window_count)" = "$windows_before" ] ||
  fail "a message or another window appeared when speaking ($(wine_window_count) windows, not $windows_before)"
is_topmost || fail "the window is not topmost after speaking"
[ "$(input_text)" = dictionary ] || fail "the input box holds \"$(input_text)\" after speaking"
clear_input

# ---------------------------------------------------------------------------------------------
step "Dragging the window" "A drag on the book's face by the left, right or middle button moves the window with the pointer and ends when the button is released."
xdotool windowmove --sync "$window" 100 100
drag_by_80_48 "by the left button"
shot dragged
drag_by_80_48 "by the right button" 3
drag_by_80_48 "by the middle button" 2
shot dragged-by-other-buttons

# ---------------------------------------------------------------------------------------------
# Help and About open where they were designed to, under the topmost book on this small
# screen: the book goes to the left edge and each window beside it, as a user would move them.
eval "$(xdotool getwindowgeometry --shell "$window")"
bookX=$X bookY=$Y
step "Help, and its installer buttons without the installers" "The help button opens the Help window, without a taskbar button, with the texts beside the buttons' pictures; the installer buttons, with no installer beside the program, show nothing and leave Help open; its close box closes it and the book stays."
xdotool windowmove "$window" 8 "$bookY"
click_at "${help_button[@]}"
wait_for 5 shown help_window || fail "the help button opened no Help window"
help=$(help_window)
xprop -id "$help" _NET_WM_STATE | grep -q SKIP_TASKBAR || fail "the Help window would get a taskbar button"
xdotool windowmove --sync "$help" 420 30
read -r hx hy hw hh <<<"$(client_area "$help")"
[ "$hw $hh" = "313 375" ] || fail "the Help window is ${hw}x${hh}, not 313x375"
shot help
texts_drawn "$(shot_name help)" "$hx" "$hy" \
  "the exact lookup's text" 72 16 225 41 "the all-entries lookup's text" 72 80 225 57 \
  "the speak button's text" 72 144 225 33 "the installers' text" 72 176 225 33 \
  "the close button's text" 80 248 89 17 "the hide button's text" 80 264 153 17 \
  "the tray icon's text" 160 304 137 49
for installer in spchapi.exe msttsl.exe; do
  [ ! -e "$program_folder/$installer" ] || fail "$installer lies beside the program: nothing to check"
done
windows_before=$(wine_window_count)
xdotool mousemove $((hx + 124)) $((hy + 216)) click 1    # Command1, spchapi.exe
xdotool mousemove $((hx + 236)) $((hy + 216)) click 1    # Command2, msttsl.exe
# A message for a missing installer would be up by now.
sleep 2
shot installers-pressed
program_ended && fail "the program ended when an installer button was pressed"
[ "$(wine_window_count)" = "$windows_before" ] ||
  fail "pressing the installer buttons opened $(( $(wine_window_count) - windows_before )) window(s)"
[ -n "$(help_window)" ] || fail "Help closed when an installer button was pressed"
xdotool windowactivate --sync "$help" key alt+F4
wait_for 5 gone help_window || fail "the close box did not close the Help window"
program_ended && fail "the program ended with the Help window"
main_window >/dev/null || fail "the book went with the Help window"
shot help-closed

# ---------------------------------------------------------------------------------------------
step "About, and System without the information program" "The About button opens \"About Quillbook\" with the program's name, version and home page; with no information program registered, System(&S)... shows 目前無法提供系統資訊 over About; after OK, Esc closes About and the book stays."
click_at "${about_button[@]}"
wait_for 5 shown about_window || fail "the About button opened no About window"
about=$(about_window)
wait_for 5 focused "$about" || fail "the About window does not have the focus"
xdotool windowmove --sync "$about" 420 60
read -r ax ay aw ah <<<"$(client_area "$about")"
[ "$aw $ah" = "326 236" ] || fail "the About window is ${aw}x${ah}, not 326x236"
shot about
texts_drawn "$(shot_name about)" "$ax" "$ay" \
  "the program's name" 120 16 211 32 "the version" 264 24 73 17 \
  "the home page's link" 120 136 153 17 "the disclaimer" 8 184 217 57
xdotool mousemove $((ax + 277)) $((ay + 216)) click 1    # System(&S)...
wait_for 5 message_box >/dev/null || fail "System(&S)... showed no message without the information program"
box=$(message_box)
read -r mx my mw mh <<<"$(client_area "$box")"
shot system-message
# The one line of text, and no more: ten characters of the box's font beside its icon.
texts_drawn "$(shot_name system-message)" "$mx" "$my" "the message's text" 0 0 "$mw" $((mh / 2))
note "the message box: ${mw}x${mh} (its text in $(shot_name system-message).png)"
[ -n "$(about_window)" ] || fail "About closed when System was pressed"
xdotool windowactivate --sync "$box" key Return
wait_for 5 gone message_box || fail "Return did not close the message"
[ -n "$(about_window)" ] || fail "About closed with the message"
xdotool windowactivate --sync "$about" key Escape
wait_for 5 gone about_window || fail "Esc did not close the About window"
program_ended && fail "the program ended with the About window"
main_window >/dev/null || fail "the book went with the About window"
shot about-closed
xdotool windowmove "$window" "$bookX" "$bookY"

# ---------------------------------------------------------------------------------------------
step "Close button, answered No" "The cross asks whether to quit; No keeps the program running and the window where it was, out of the topmost band until the next lookup puts it back."
eval "$(xdotool getwindowgeometry --shell "$window")"
placeX=$X placeY=$Y
click_at "${close_button[@]}"
wait_for 5 message_box >/dev/null || fail "the cross asked nothing"
shot close-question
answer No
program_ended && fail "the program ended after No"
main_window >/dev/null || fail "the window is gone after No"
window=$(main_window)
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$X,$Y" = "$placeX,$placeY" ] || fail "the window moved to $X,$Y after No"
! is_topmost || fail "the window is still topmost after No"
[ "$(tray_icon_count)" -ge 1 ] || fail "the icon went after No"
shot after-no
clear_input
type_text apple
xdotool key Return
wait_for 5 is_topmost || fail "a lookup after No did not put the window back on top"
shot topmost-after-lookup

# ---------------------------------------------------------------------------------------------
step "Close button, answered Yes" "Yes ends the program, and its icon leaves the tray."
click_at "${close_button[@]}"
wait_for 5 message_box >/dev/null || fail "the cross asked nothing"
answer Yes
wait_for 10 program_ended || fail "the program is still running after Close and Yes"
wait_for 5 tray_icon_count_is 0 || fail "the icon stayed after quitting"
shot after-quit

# ---------------------------------------------------------------------------------------------
# Wine hands no mouse input to an icon docked in an X11 embedding tray such as trayer: its X
# window gets the button events, but the icon's window in Wine never sees a mouse message, so
# no program's icon there can be clicked (measured with Wine 8.0). Wine's own notification
# area, which it shows where the desktop has none, passes the clicks on; the icon's clicks are
# driven there, the same Shell_NotifyIcon icon in the same program.
focus_on_return=noted
# Keys reach the icon's menu only with the keyboard focus, which the program does not get
# here (see the last step): the entry is clicked, as a user with a mouse does.
choose_in_open_menu() {  # choose_in_open_menu ENTRY: 1 the first of the menu's two
  wait_for 10 menu_window >/dev/null || fail "the icon's menu did not open"
  local x y w h
  read -r x y w h <<<"$(client_area "$(menu_window)")"
  xdotool mousemove $((x + w / 2)) $((y + h * (2 * $1 - 1) / 4)) click 1
  wait_for 5 menu_closed || fail "the menu stayed open after a click on its entry $1"
}
kill "$tray_pid"
wait_for 5 tray_panel_gone || fail "the tray host did not go"
start_program
wait_for 10 shown wine_tray_window || fail "Wine showed no notification area of its own"
wine_tray=$(wine_tray_window)
# Its icons sit from the left of its client area, one 20-pixel square each.
tray_icon_centre() {
  local x y w h
  read -r x y w h <<<"$(client_area "$wine_tray")"
  echo "$((x + 10)) $((y + 10))"
}
xdotool windowmove --sync "$wine_tray" 600 20
xdotool windowmove --sync "$window" 100 100

# ---------------------------------------------------------------------------------------------
step "Hide to the tray, back by a double-click" "The dash button hides the window; a single click on the icon opens nothing, a double-click on the icon brings it back whole where it was: on screen, topmost, focused, no taskbar button."
hide_then_back_by_double_click
clear_input

# ---------------------------------------------------------------------------------------------
step "Hide to the tray, back by the menu" "The icon's menu entry 顯示字典 brings the hidden window back whole."
hide_to_tray
tray_menu 1 menu
back_whole "the menu's 顯示字典" "$placeX" "$placeY"
shot back-by-menu

# ---------------------------------------------------------------------------------------------
step "A second start" "Starting Quillbook.exe again while it runs in the tray brings the running book back and ends: one book, one program."
hide_to_tray
timeout 20 wine "$program" >"$artifacts/second-start.log" 2>&1 || fail "the second start ended with $?"
back_whole "the second start" "$placeX" "$placeY"
books=0
for w in $(xdotool search --onlyvisible --name '^Quillbook$' 2>/dev/null); do
  xwininfo -id "$w" | grep -q "Width: 352$" && books=$((books + 1))
done
[ "$books" = 1 ] || fail "$books books on screen after the second start"
program_ended && fail "the running copy ended at the second start"
shot second-start

# ---------------------------------------------------------------------------------------------
# Judged last, so that a lost click does not hide what the rest of the day shows. The focus is
# reported, not judged: openbox gives a Wine program's window the focus it asks for only when
# that program had the user's last input (Wine marks its windows with the time of the
# process's own last input), so neither a window new at start-up nor one brought back by a
# click on Wine's tray, whose input went to Wine's own process, gets it here. A click in the
# book gives it, as the steps above show by typing after one.
step "The click sound" "The click the program plays at a lookup was heard in full; the one at start-up is reported."
# Wine 8 now and then drops a process's very first short sound (its stream is reset before the
# sound server starts it), so the start-up click is reported and the lookup's judged.
note "start-up click: energy $heard of the file's $played"
awk -v h="$lookup_heard" -v p="$played" 'BEGIN {exit !(h >= 0.8 * p && h <= 1.5 * p)}' ||
  fail "the lookup's click was not heard in full (energy $lookup_heard of $played, lookup-click.wav)"

echo "Wine whole-day desktop suite passed; report and screenshots in $artifacts"
