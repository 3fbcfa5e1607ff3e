#!/usr/bin/env bash
# A user's whole day with the installed Quillbook, on a virtual X screen with openbox, trayer as
# the notification area and a sound server whose only output is recorded: start, look words up
# every way there is, bring a word back, hear a word spoken, read Help and About and start the
# system's information program from it, drag, hide to the tray and come back, quit and answer
# No and Yes, quit with About open; then a desktop that has no notification area at first, and
# one with no window manager. Every step keeps screenshots; report.html in ARTIFACT_DIR shows
# them all.
# Usage: whole_day_test.sh ARTIFACT_DIR PREFIX           the copy installed in PREFIX
#        whole_day_test.sh ARTIFACT_DIR --install BUILD  installs BUILD into a temporary prefix
set -euo pipefail
artifacts=$1
here=$(cd "$(dirname "$0")" && pwd)
source "$here/common.sh"
source "$here/report.sh"
report_title="Quillbook: a whole day on the desktop"
rm -rf "$artifacts"
mkdir -p "$artifacts"

# A home of the run's own, for the sound server's cookie and the speech service's settings and
# logs, and a stand-in for the desktop's information program, first on PATH, that leaves a
# mark when it is started.
session=$(mktemp -d)
export HOME=$session/home
mkdir -p "$HOME" "$session/tools"
system_info_started=$session/system-info-started
printf '#!/bin/sh\necho "started with: $*" > "%s"\n' "$system_info_started" >"$session/tools/hardinfo"
chmod +x "$session/tools/hardinfo"
export PATH="$session/tools:$PATH"

finish() {
  local rc=$?
  write_report "$rc"
  # The program spawned speech-dispatcher on a socket below the run's XDG_RUNTIME_DIR; it
  # keeps no pid file and outlives the program for a while.
  local pid
  if [ -n "${pulse_dir:-}" ]; then
    cp -r "$pulse_dir/speech-dispatcher/log" "$artifacts/speech-dispatcher-log" 2>/dev/null || true
    for pid in $(pgrep -f -- "--socket-path $pulse_dir/" || true); do kill -KILL "$pid" 2>/dev/null || true; done
  fi
  cleanup
  [ -n "${scratch:-}" ] && rm -rf "$scratch"
  rm -rf "$session"
  return "$rc"
}
trap finish EXIT

if [ "$2" = --install ]; then
  scratch=$(mktemp -d)
  prefix=$scratch/usr
  cmake --install "$3" --prefix "$prefix" >"$artifacts/install.log"
else
  prefix=$2
fi
program=$prefix/bin/quillbook
program_folder=$(dirname "$(readlink -f "$program")")


# What the speech service sent to the sound server, recorded raw so that it can be read while
# it grows: 16-bit mono at 22050 Hz.
speech_format=(-t raw -L -r 22050 -e signed -b 16 -c 1)
# The seconds of sound, without the silence around it, and of the silence after it, in what
# has been recorded so far.
spoken_so_far() {  # spoken_so_far RAW
  local size sound
  size=$(stat -c %s "$1")
  head -c $((size / 2 * 2)) "$1" >"$1.now"
  sox "${speech_format[@]}" "$1.now" "$1.lead.wav" silence 1 0.02 0.5%
  sox "$1.lead.wav" "$1.trimmed.wav" reverse silence 1 0.02 0.5% reverse
  sound=$(soxi -D "$1.trimmed.wav" 2>/dev/null || echo 0)
  awk -v s="$sound" -v l="$(soxi -D "$1.lead.wav" 2>/dev/null || echo 0)" 'BEGIN {print s, l - s}'
}
word_spoken() {  # a word heard, and half a second of quiet after it
  local sound after
  read -r sound after <<<"$(spoken_so_far "$1")"
  awk -v s="$sound" -v a="$after" 'BEGIN {exit !(s >= 0.3 && a >= 0.5)}'
}

# ---------------------------------------------------------------------------------------------
step "Installed" "The commands, the program folder with its library and click sound, the menu entry, icons, metadata and manual pages are where the desktop looks for them, and valid."
[ -x "$program" ] || fail "no $program"
for command in quillbook quillbook-lookup; do
  [ "$(readlink -f "$prefix/bin/$command")" = "$program_folder/$command" ] ||
    fail "$prefix/bin/$command does not lead to the program folder"
done
for beside in lib/a.lib lib/z.lib flip.wav; do
  [ -f "$program_folder/$beside" ] || fail "$beside is not beside the program in $program_folder"
done
desktop_file=$prefix/share/applications/org.quillbook.Quillbook.desktop
metainfo=$prefix/share/metainfo/org.quillbook.Quillbook.metainfo.xml
desktop-file-validate "$desktop_file" >"$artifacts/desktop-file-validate.txt" 2>&1 ||
  fail "desktop-file-validate: $(cat "$artifacts/desktop-file-validate.txt")"
appstreamcli validate --no-net "$metainfo" >"$artifacts/appstreamcli.txt" 2>&1 ||
  fail "appstreamcli validate: $(cat "$artifacts/appstreamcli.txt")"
icon=$(sed -n 's/^Icon=//p' "$desktop_file")
icons=()
for size in 16 32 48 64 128 256; do
  file=$prefix/share/icons/hicolor/${size}x${size}/apps/$icon.png
  [ "$(identify -format '%wx%h' "$file" 2>/dev/null)" = "${size}x${size}" ] ||
    fail "the ${size}-pixel icon is missing or of another size"
  icons+=("$file")
done
for page in quillbook quillbook-lookup; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$prefix/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "the manual page of $page warns: $warnings"
done
grep -q 'CC-CEDICT' "$prefix/share/doc/quillbook/copyright" || fail "the copyright file does not name CC-CEDICT"
looked_up=$("$prefix/bin/quillbook-lookup" apple | tr -d '\r')
[ "$looked_up" = $'\napple\n蘋果' ] || fail "quillbook-lookup apple printed: $looked_up"
note "desktop-file-validate and appstreamcli validate --no-net: no complaint"
note "quillbook-lookup apple: $(tr '\n' ' ' <<<"$looked_up")"
montage -background '#e6deac' -geometry +8+8 -tile x1 "${icons[@]}" "$artifacts/01-icons.png"
step_shots[$current]+="01-icons"$'\n'

# ---------------------------------------------------------------------------------------------
step "Start" "The start-up click is heard in full; the book-shaped window is 352x226, cut to its outline, topmost and focused."
start_display
start_tray_host
start_audio
record_start "$artifacts/start-up.wav"
start_program
sleep 1.5
record_stop
heard=$(sound_energy "$artifacts/start-up.wav")
played=$(sound_energy "$program_folder/flip.wav")
note "start-up click: energy $heard of the file's $played"
# A click broken up or begun late by a busy start-up loses a third to a half of its energy.
awk -v h="$heard" -v p="$played" 'BEGIN {exit !(h >= 0.8 * p && h <= 1.5 * p)}' ||
  fail "the start-up click was not heard in full (energy $heard of $played)"
shot started
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$WIDTH" = 352 ] && [ "$HEIGHT" = 226 ] || fail "window is ${WIDTH}x${HEIGHT}, not 352x226"
is_topmost || fail "window is not topmost"
has_focus || fail "the window does not have the focus"
# The corners are cut away: the black screen shows there, the book in the middle.
[ "$(pixel 02-started "$X" "$Y")" = "srgb(0,0,0)" ] || fail "top-left corner is not cut away"
[ "$(pixel 02-started $((X + 351)) $((Y + 100)))" = "srgb(0,0,0)" ] || fail "right frame not cut away"
[ "$(pixel 02-started $((X + 100)) $((Y + 100)))" != "srgb(0,0,0)" ] || fail "the page is missing"

# ---------------------------------------------------------------------------------------------
step "The icon in the notification area" "The icon is in the tray for the whole run, with its tip."
wait_for_tray_icon "no icon in the notification area"
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
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + 176)) $((Y + 60))

# ---------------------------------------------------------------------------------------------
step "An English word with Enter" "Typing \"apple\" and Enter shows its entry in the result box and empties the input box."
type_text apple
xdotool key Return
sleep 1
shot looked-up
[ -z "$(input_text)" ] || fail "the input box was not emptied by the lookup"
shown=$(result_text | tr -d '\r')
[ "$shown" = $'\napple\n蘋果' ] || fail "the result box shows: $shown"
note "result box: $(tr '\n' ' ' <<<"$shown")"

# ---------------------------------------------------------------------------------------------
step "An English word with the 準確 button" "Typing \"Happy\" and clicking the exact-lookup button finds \"happy\", letter case ignored."
click_at "${input_box[@]}"
type_text Happy
click_at "${exact_button[@]}"
sleep 1
shot exact-button
shown=$(result_text | tr -d '\r')
[ "$(sed -n 2p <<<"$shown")" = happy ] && [ "$(wc -l <<<"$shown")" = 3 ] ||
  fail "the result box shows: $shown"
expected=$("$prefix/bin/quillbook-lookup" happy | tr -d '\r')
[ "$shown" = "$expected" ] || fail "the window shows \"$shown\", the command line \"$expected\""
note "result box: $(tr '\n' ' ' <<<"$shown")"

# ---------------------------------------------------------------------------------------------
step "A word's beginning with the 所有 button" "Typing \"appl\" and clicking the all-entries button lists every entry of the a file that contains it."
click_at "${input_box[@]}"
type_text appl
click_at "${all_button[@]}"
sleep 1.5
shot all-entries
shown=$(result_text | tr -d '\r')
expected=$("$prefix/bin/quillbook-lookup" --all appl | tr -d '\r')
grep -qx apple <<<"$shown" && grep -qx application <<<"$shown" || fail "the result box shows: $shown"
[ "$shown" = "$expected" ] || fail "the window shows a list other than the command line's"
note "$(grep -c . <<<"$shown") lines, from \"$(sed -n 2p <<<"$shown")\" to \"$(tail -n2 <<<"$shown" | head -n1)\""

# ---------------------------------------------------------------------------------------------
step "A Chinese word" "Typing 蘋果 and Enter searches all 26 files and lists the English words that contain it."
click_at "${input_box[@]}"
type_text 蘋果
[ "$(input_text)" = 蘋果 ] || fail "the input box did not take the Chinese word"
click_at "${input_box[@]}"
xdotool key End Return
sleep 1.5
shot chinese-word
shown=$(result_text | tr -d '\r')
expected=$("$prefix/bin/quillbook-lookup" 蘋果 | tr -d '\r')
grep -qx apple <<<"$shown" || fail "the result box shows: $shown"
[ "$shown" = "$expected" ] || fail "the window shows a list other than the command line's"
note "$(grep -c . <<<"$shown") lines, among them: $(grep -x -m3 '[a-z ]*' <<<"$shown" | grep . | tr '\n' ';')"

# ---------------------------------------------------------------------------------------------
step "Up brings the last word back" "After a lookup the input box is empty; Up puts the last text looked up back into it."
[ -z "$(input_text)" ] || fail "the input box was not emptied by the lookup"
xdotool key Up
sleep 0.3
shot up
[ "$(input_text)" = 蘋果 ] || fail "Up brought back \"$(input_text)\", not 蘋果"
xdotool key ctrl+a BackSpace

# ---------------------------------------------------------------------------------------------
step "Speak a word" "Typing \"dictionary\" and clicking the lips button speaks it through the sound server; the window stays topmost with the word in the input box, and nothing else opens."
type_text dictionary
speech_raw=$artifacts/speech.raw
parec --latency-msec=20 -d rec.monitor --raw --format=s16le --rate=22050 --channels=1 "$speech_raw" &
recorder=$!
sleep 0.3
click_at "${speak_button[@]}"
# The first word waits for the speech service to start and list its voices.
wait_for 30 word_spoken "$speech_raw" || true
kill -INT "$recorder"
wait "$recorder" || true
shot spoken
sox "${speech_format[@]}" "$speech_raw" "$artifacts/speech.wav"
sox "$artifacts/speech.wav" "$artifacts/speech-trimmed.wav" silence 1 0.02 0.5% reverse silence 1 0.02 0.5% reverse
rm -f "$speech_raw" "$speech_raw".*
duration=$(soxi -D "$artifacts/speech-trimmed.wav" 2>/dev/null || echo 0)
rms=$(sox "$artifacts/speech-trimmed.wav" -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}')
note "spoken: ${duration} s of sound at RMS amplitude ${rms:-none} (speech.wav)"
awk -v d="$duration" -v r="${rms:-0}" 'BEGIN {exit !(r > 0.01 && d >= 0.3 && d <= 3)}' ||
  fail "the recording holds ${duration} s of sound at RMS ${rms:-none}, not a spoken word"
[ "$(xdotool search --onlyvisible --name 'Quillbook' | wc -l)" = 1 ] ||
  fail "a message or another window appeared when speaking"
is_topmost || fail "the window is not topmost after speaking"
[ "$(input_text)" = dictionary ] || fail "the input box holds \"$(input_text)\" after speaking"
xdotool key ctrl+a BackSpace

# ---------------------------------------------------------------------------------------------
# Help and About open where they were designed to, under the topmost book on this small
# screen: the book goes to the left edge and each window beside it, as a user would move them.
eval "$(xdotool getwindowgeometry --shell "$window")"
bookX=$X bookY=$Y
step "Help" "The help button opens the Help window, without a taskbar button, with the texts beside the buttons' pictures; its close box closes it and the book stays."
xdotool windowmove "$window" 8 "$bookY"
sleep 0.3
click_at "${help_button[@]}"
wait_for 5 test -n "$(help_window)" || fail "the help button opened no Help window"
help=$(help_window)
sleep 0.5
xprop -id "$help" _NET_WM_STATE | grep -q SKIP_TASKBAR || fail "the Help window would get a taskbar button"
xdotool windowmove "$help" 420 30
sleep 0.5
read -r hx hy hw hh <<<"$(client_area "$help")"
[ "$hw $hh" = "313 375" ] || fail "the Help window is ${hw}x${hh}, not 313x375"
shot help
# Where the texts lie on the window, in pixels: the two lookups, speaking, the installers,
# the close and hide buttons and the tray icon.
texts_drawn "$(shot_name help)" "$hx" "$hy" \
  "the exact lookup's text" 72 16 225 41 "the all-entries lookup's text" 72 80 225 57 \
  "the speak button's text" 72 144 225 33 "the installers' text" 72 176 225 33 \
  "the close button's text" 80 248 89 17 "the hide button's text" 80 264 153 17 \
  "the tray icon's text" 160 304 137 49
xdotool windowactivate --sync "$help" key alt+F4
wait_for 5 test -z "$(help_window)" || fail "the close box did not close the Help window"
program_ended && fail "the program ended with the Help window"
main_window >/dev/null || fail "the book went with the Help window"
shot help-closed

# ---------------------------------------------------------------------------------------------
step "About, and System Information from it" "The About button opens \"About Quillbook\" with the program's name, version and home page; its System(&S)... button starts the system's information program; Exit closes it and the book stays."
rm -f "$system_info_started"
click_at "${about_button[@]}"
wait_for 5 test -n "$(about_window)" || fail "the About button opened no About window"
about=$(about_window)
sleep 0.5
[ "$(xdotool getwindowfocus)" = "$about" ] || fail "the About window does not have the focus"
xdotool windowmove "$about" 420 60
sleep 0.5
read -r ax ay aw ah <<<"$(client_area "$about")"
[ "$aw $ah" = "326 236" ] || fail "the About window is ${aw}x${ah}, not 326x236"
shot about
texts_drawn "$(shot_name about)" "$ax" "$ay" \
  "the program's name" 120 16 211 32 "the version" 264 24 73 17 \
  "the home page's link" 120 136 153 17 "the disclaimer" 8 184 217 57
xdotool mousemove $((ax + 277)) $((ay + 216)) click 1    # System(&S)...
wait_for 5 test -f "$system_info_started" ||
  fail "System(&S)... did not start the information program on PATH"
note "the stand-in information program on PATH: $(cat "$system_info_started")"
[ -n "$(about_window)" ] || fail "About closed when System was pressed"
shot system-started
xdotool mousemove $((ax + 278)) $((ay + 186)) click 1    # Exit
wait_for 5 test -z "$(about_window)" || fail "Exit did not close the About window"
program_ended && fail "the program ended with the About window"
main_window >/dev/null || fail "the book went with the About window"
shot about-closed
xdotool windowmove "$window" "$bookX" "$bookY"
sleep 0.3

# ---------------------------------------------------------------------------------------------
step "Dragging the window" "A drag on the book's face by the left, right or middle button moves the window with the pointer and ends when the button is released."
drag_by_80_48 "by the left button"
shot dragged
drag_by_80_48 "by the right button" 3
drag_by_80_48 "by the middle button" 2
shot dragged-by-other-buttons

# ---------------------------------------------------------------------------------------------
step "Hide to the tray, back by a double-click" "The dash button hides the window; a single click on the icon opens nothing, a double-click on the icon brings it back whole where it was: on screen, topmost, focused, no taskbar button."
hide_then_back_by_double_click

# ---------------------------------------------------------------------------------------------
step "Hide to the tray, back by the menu" "The icon's menu entry 顯示字典 brings the hidden window back whole."
hide_to_tray
tray_menu 1 menu
back_whole "the menu's 顯示字典" "$placeX" "$placeY"
shot back-by-menu

# ---------------------------------------------------------------------------------------------
step "Close button, answered No" "The cross asks whether to quit; No keeps the program running and the window where it was, out of the topmost band until the next lookup puts it back."
eval "$(xdotool getwindowgeometry --shell "$window")"
placeX=$X placeY=$Y
click_at "${close_button[@]}"
sleep 1
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
click_at "${input_box[@]}"
xdotool key ctrl+a BackSpace
type_text apple
xdotool key Return
sleep 1
window=$(main_window)
is_topmost || fail "a lookup after No did not put the window back on top"
shot topmost-after-lookup

# ---------------------------------------------------------------------------------------------
step "Close button, answered Yes" "Yes ends the program, and its icon leaves the tray."
click_at "${close_button[@]}"
sleep 1
answer Yes
wait_for 5 program_ended || fail "the program is still running after Close and Yes"
sleep 0.5
[ "$(tray_icon_count)" = 0 ] || fail "the icon stayed after quitting"
shot after-quit

# ---------------------------------------------------------------------------------------------
step "Quit from the tray menu, No and then Yes" "The icon's menu entry 離開 asks too: No keeps the program and its icon, Yes ends it and takes the icon away."
start_program
wait_for_tray_icon "no icon in the notification area"
tray_menu 2 menu-quit
sleep 1
shot quit-question
answer No
program_ended && fail "the program ended after No"
[ "$(tray_icon_count)" -ge 1 ] || fail "the icon went after No"
main_window >/dev/null || fail "the window is gone after No"
tray_menu 2 menu-quit-again
sleep 1
answer Yes
wait_for 5 program_ended || fail "the program is still running after quitting from the menu"
sleep 0.5
[ "$(tray_icon_count)" = 0 ] || fail "the icon stayed after quitting"
shot after-menu-quit

# ---------------------------------------------------------------------------------------------
step "Quit with About open" "Yes to the tray menu's 離開 takes the book and its icon away, while About stays open and the program runs on; Exit on About then ends the program."
start_program
wait_for_tray_icon "no icon in the notification area"
click_at "${about_button[@]}"
wait_for 5 test -n "$(about_window)" || fail "the About button opened no About window"
about=$(about_window)
sleep 0.5
xdotool windowmove "$about" 420 60
sleep 0.5
tray_menu 2 menu-quit-with-about
sleep 1
shot quit-question-with-about
answer Yes
wait_for 5 main_window_gone || fail "the book stayed after Yes"
sleep 1
program_ended && fail "the program ended with the About window still open"
viewable "$about" || fail "quitting closed the About window"
[ "$(tray_icon_count)" = 0 ] || fail "the icon stayed after Yes"
shot about-left-open
read -r ax ay aw ah <<<"$(client_area "$about")"
xdotool mousemove $((ax + 278)) $((ay + 186)) click 1    # Exit
wait_for 5 program_ended || fail "the program is still running after About closed"
[ -z "$(about_window)" ] || fail "the About window stayed after the program ended"
[ "$(tray_icon_count)" = 0 ] || fail "the icon stayed after the program ended"
shot after-about-closed

# ---------------------------------------------------------------------------------------------
step "A desktop without a notification area" "Hiding minimises to the taskbar; the icon arrives with the area, and the window comes back whole from it by a double-click and by the menu."
kill "$tray_pid"; sleep 0.5
start_program
click_at "${hide_button[@]}"
sleep 1
xprop -id "$window" WM_STATE | grep -q Iconic || fail "without a tray the window was not minimised"
shot minimised-without-tray
start_tray_host
wait_for_tray_icon "the icon did not arrive with the notification area"
shot icon-arrived
double_click_icon
back_whole "a double-click after the no-tray minimise"
shot back-whole
hide_to_tray
tray_menu 1 menu-after-arrival
back_whole "the menu after hiding into the tray"
shot back-whole-by-menu
kill "$app"
wait_for 5 program_ended || fail "the program did not end"

# ---------------------------------------------------------------------------------------------
step "A desktop without a window manager" "With nothing to run the move, the window follows the pointer by itself."
kill "$wm_pid"; sleep 0.5
start_program
drag_by_80_48 "without a window manager"
shot dragged-without-window-manager

echo "whole-day desktop suite passed; report and screenshots in $artifacts"
