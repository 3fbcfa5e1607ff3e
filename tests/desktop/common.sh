# Shared by the desktop tests: a virtual X screen of their own with openbox, screenshots
# kept as artifacts, and ways to find the program's windows.
# Needs: $artifacts set by the caller.

# libspeechd reads the voice list with strstr over the whole reply, once per line; with
# AddressSanitizer checking every one of those calls, listing the voices takes minutes.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}intercept_strstr=0"
# What libdbus still holds in Qt's D-Bus thread when the program exits (see lsan.supp).
export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}suppressions=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/lsan.supp"

fail() { echo "FAIL: $*" >&2; shot failure || true; exit 1; }
shot() { import -window root "$artifacts/$1.png"; }
pixel() { convert "$artifacts/$1.png" -format "%[pixel:p{$2,$3}]" info:; }

pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  [ -n "${pulse_dir:-}" ] && { pactl exit 2>/dev/null || true; rm -rf "$pulse_dir"; }
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

start_display() {
  mkdir -p "$artifacts"
  local fifo="$artifacts/.displayfd"
  rm -f "$fifo"; mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "${screen_size:-800x600x24}" -nolisten tcp 3>"$fifo" 2>/dev/null &
  xvfb_pid=$!
  read -r -t 10 number <"$fifo" || fail "Xvfb did not start"
  rm -f "$fifo"
  export DISPLAY=":$number"
  openbox >/dev/null 2>&1 &
  wm_pid=$!
  pids+=($wm_pid)
  sleep 1
}

start_tray_host() {
  trayer --edge bottom --align right --widthtype request --height 32 --tint 0x808080 \
         --transparent false >/dev/null 2>&1 &
  tray_pid=$!
  pids+=($tray_pid)
  sleep 1
}

# The main window: the program's visible window of the skin's size.
main_window() {
  local w
  for w in $(xdotool search --onlyvisible --name '^Quillbook$' 2>/dev/null); do
    if xwininfo -id "$w" | grep -q "Width: ${main_width:-352}\$"; then echo "$w"; return 0; fi
  done
  return 1
}

wait_for() {  # wait_for SECONDS COMMAND...: until the command succeeds
  local tries=$(( $1 * 10 )); shift
  for _ in $(seq "$tries"); do "$@" && return 0; sleep 0.1; done
  return 1
}

tray_panel() { xwininfo -root -tree | awk '/"panel": \("panel" "trayer"\)/ {print $1; exit}'; }

# The icons trayer holds: its panel's embedded windows (an empty panel keeps one of 1x1).
tray_icons() {
  local panel
  panel=$(tray_panel)
  [ -n "$panel" ] || return 0
  xwininfo -id "$panel" -children | awk '/^ +0x/ && $0 !~ / 1x1\+/ {print $1}'
}
tray_icon_count() { tray_icons | wc -l; }
tray_icon_count_is() { [ "$(tray_icon_count)" = "$1" ]; }
# wait_for_tray_icon MESSAGE: until the program's icon sits in the panel and has had a moment to
# finish embedding (a click in the first instant after the panel takes the window can be lost).
wait_for_tray_icon() {
  wait_for 5 tray_icon_count_is 1 || fail "$1 ($(tray_icon_count) icons)"
  sleep 0.5
}

tray_icon_centre() {
  local child
  child=$(tray_icons | head -n1)
  eval "$(xdotool getwindowgeometry --shell "$child")"
  echo "$((X + WIDTH / 2)) $((Y + HEIGHT / 2))"
}

start_program() {
  "$program" >"$artifacts/program.log" 2>&1 &
  app=$!
  pids+=($app)
  wait_for 15 main_window >/dev/null || fail "no main window"
  window=$(main_window)
  sleep 0.5
}

# The program's open popup menu: a visible override-redirect window of its own straight on the
# root (the embedded tray icon is override-redirect too, but sits inside the panel).
menu_window() {
  local w
  for w in $(xdotool search --onlyvisible --pid "$app" 2>/dev/null); do
    xwininfo -id "$w" -children | grep -q '^ *Parent window id: .*(the root window)' || continue
    xwininfo -id "$w" | grep -q 'Override Redirect State: yes' || continue
    xprop -id "$w" _NET_WM_WINDOW_TYPE | grep -q TOOLTIP && continue
    echo "$w"
    return 0
  done
  return 1
}
menu_closed() { ! menu_window >/dev/null; }

# choose_in_open_menu DOWNS: once the menu is on screen (on a busy machine it can take a while),
# the entry that many Downs away.
choose_in_open_menu() {
  wait_for 10 menu_window >/dev/null || fail "the icon's menu did not open"
  sleep 0.3
  local keys=()
  for _ in $(seq "$1"); do keys+=(Down); done
  xdotool key "${keys[@]}" Return
  wait_for 5 menu_closed || fail "the menu stayed open after Return"
}

program_ended() { ! kill -0 "$app" 2>/dev/null; }

# A sound server of the test's own whose only output is a null sink; what the program plays
# can be recorded from the sink's monitor.
start_audio() {
  pulse_dir=$(mktemp -d)
  chmod 700 "$pulse_dir"
  export XDG_RUNTIME_DIR=$pulse_dir PULSE_RUNTIME_PATH=$pulse_dir/pulse
  (cd "$pulse_dir" && pulseaudio --daemonize=yes --exit-idle-time=-1 -n --use-pid-file=no \
    --load="module-null-sink sink_name=rec" --load="module-native-protocol-unix" 2>/dev/null) ||
    fail "no sound server"
  wait_for 5 pactl info >/dev/null || fail "the sound server does not answer"
  pactl set-default-sink rec
}

# record_start FILE / record_stop: the sink's monitor into a WAV file. parec keeps its last
# buffer unless it runs with a short latency and is stopped with SIGINT.
record_start() {
  parec --latency-msec=20 -d rec.monitor --file-format=wav "$1" &
  recorder=$!
  sleep 0.3
}
record_stop() { kill -INT "$recorder"; wait "$recorder" || true; }

# The energy of a recording (sum of squared samples over time), to compare with the file
# that was played.
sound_energy() { sox "$1" -n stat 2>&1 | awk '/^Length/ {l=$3} /RMS +amplitude/ {r=$3} END {printf "%.6f\n", r * r * l}'; }
