#!/usr/bin/env bash
# The speak button as a user hears it: with a sound server, "dictionary" is spoken (recorded
# from a null sink's monitor, kept as a WAV); with none, the click changes nothing visible and
# the window stays usable and topmost; with a speech-dispatcher that never answers, quitting
# does not wait for it.
# Usage: speech_test.sh PROGRAM ARTIFACT_DIR
set -euo pipefail
program=$1
artifacts=$2
source "$(dirname "$0")/common.sh"

# A sound server and speech-dispatcher of this test's own: their sockets live under HOME and
# XDG_RUNTIME_DIR, so nothing else on the machine is heard or disturbed.
run=$(mktemp -d)
fresh_session() {
  export HOME=$run/$1 XDG_RUNTIME_DIR=$run/$1/xdg PULSE_RUNTIME_PATH=$run/$1/pulse
  mkdir -p "$PULSE_RUNTIME_PATH" && mkdir -m 700 "$XDG_RUNTIME_DIR"
  export PULSE_SERVER=unix:$PULSE_RUNTIME_PATH/native
}
finish() {
  cleanup
  # The program spawned speech-dispatcher on a socket below $run; it keeps no pid file, and
  # without a sound server it hangs on the way out of a polite stop.
  local pid
  for pid in $(pgrep -f -- "--socket-path $run/" || true); do kill -KILL "$pid" 2>/dev/null || true; done
  rm -rf "$run"
}
trap finish EXIT

start_display
fresh_session with-sound
pulseaudio --daemonize=no -n --exit-idle-time=-1 --load=module-native-protocol-unix \
           --load="module-null-sink sink_name=rec" >"$artifacts/pulseaudio.log" 2>&1 &
pids+=($!)
wait_for 10 pactl info >/dev/null 2>&1 || fail "the sound server did not start"
pactl set-default-sink rec

# Cmd_Voice and Text_Input, by their places on the window.
click_speak() {
  eval "$(xdotool getwindowgeometry --shell "$window")"
  xdotool mousemove $((X + 135)) $((Y + 120)) click 1
}
only_the_main_window() { [ "$(xdotool search --onlyvisible --name '^Quillbook$' | wc -l)" = 1 ]; }

start_program
xdotool type --delay 30 dictionary
sleep 1  # the start-up's click sound is over
wav=$artifacts/dictionary.wav
parec --latency-msec=20 -d rec.monitor --file-format=wav "$wav" &
recorder=$!
sleep 0.5
click_speak
# The first word waits for the voices to be listed, a few seconds.
sleep 10
kill -INT "$recorder"
wait "$recorder" || true
shot spoken
only_the_main_window || fail "a message or another window appeared"

# What was spoken, without the silence around it, nor the recording's first 0.4 s: the speak
# button is clicked after 0.5 s, and on a slow machine (the sanitizers) the end of the
# start-up's click sound can still be playing when the recorder starts.
sox "$wav" "$artifacts/dictionary-trimmed.wav" trim 0.4 \
    silence 1 0.02 0.5% reverse silence 1 0.02 0.5% reverse
duration=$(soxi -D "$artifacts/dictionary-trimmed.wav" 2>/dev/null || echo 0)
rms=$(sox "$artifacts/dictionary-trimmed.wav" -n stat 2>&1 | awk '/RMS +amplitude/ {print $3}')
echo "spoken: ${duration} s, RMS amplitude ${rms:-none}"
awk -v d="$duration" -v r="${rms:-0}" 'BEGIN { exit !(r > 0.01 && d >= 0.3 && d <= 3) }' ||
  fail "the recording holds ${duration} s of sound at RMS ${rms:-none}, not a spoken word"
kill "$app"
wait_for 5 program_ended || fail "the program did not end"

# No sound server at all: the click returns at once and changes nothing but the placement.
fresh_session without-sound
start_program
xdotool type --delay 30 dictionary
click_speak
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + 96)) $((Y + 68)) click 1 key End type " words"
xdotool key ctrl+a ctrl+c
sleep 1
[ "$(xclip -o -selection clipboard 2>/dev/null)" = "dictionary words" ] ||
  fail "the input box did not take typing after the click"
only_the_main_window || fail "a message or another window appeared without a sound server"
xprop -id "$(main_window)" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE ||
  fail "not topmost after speaking without a sound server"
shot without-sound
kill "$app"
wait_for 5 program_ended || fail "the program did not end"

# A speech-dispatcher that takes the connection and never answers: the search for a voice that
# the pointer on the speak button starts never ends, and quitting must not wait for it.
fresh_session mute-dispatcher
socket=$HOME/speechd.sock
python3 -c '
import socket, sys
server = socket.socket(socket.AF_UNIX)
server.bind(sys.argv[1])
server.listen()
held = []
while True:
    held.append(server.accept()[0])
    open(sys.argv[2], "a").write("connected\n")
' "$socket" "$HOME/connections" &
pids+=($!)
wait_for 5 test -S "$socket" || fail "the silent speech-dispatcher did not start"
export SPEECHD_ADDRESS=unix_socket:$socket
start_program
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + 135)) $((Y + 120))
wait_for 10 test -s "$HOME/connections" || fail "the pointer on the speak button started no search"
sleep 1  # the tooltip is due, and asks whether there is a voice
xdotool mousemove $((X + 38)) $((Y + 190)) click 1  # Command_Close
question_box() {
  local w
  for w in $(xdotool search --onlyvisible --name '^Quillbook$' 2>/dev/null); do
    [ "$w" != "$window" ] && { echo "$w"; return 0; }
  done
  return 1
}
wait_for 5 question_box >/dev/null || fail "the close button asked nothing"
shot quit-while-searching
xdotool windowactivate --sync "$(question_box)" key Return
wait_for 5 program_ended || fail "the program did not end after Yes while it searched for a voice"
status=0
wait "$app" || status=$?
[ "$status" = 0 ] || fail "the program ended with status $status after Yes while it searched for a voice"
echo "speech test passed; recording and screenshots in $artifacts"
