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

# ---------------------------------------------------------------------------------------------
# The book as a user drives it, for the suites that take it through a day. Need: $window, and
# report.sh sourced for note and shot.

# Where the controls sit on the window (pixels from its top-left corner).
input_box=(96 68)       # Text_Input
result_box=(260 100)    # Text_Output
exact_button=(55 120)   # Command_Submit, "準確"
all_button=(95 120)     # Command_AdvanSubmit, "所有"
close_button=(38 190)   # Command_Close
hide_button=(55 190)    # Command_Min
click_at() {  # click_at X Y [BUTTON]: on the main window
  eval "$(xdotool getwindowgeometry --shell "$window")"
  xdotool mousemove $((X + $1)) $((Y + $2)) click "${3:-1}"
}

# What a text box holds, read as a user would: select all, copy, and read the clipboard. A
# box that copies nothing leaves the marker, which reads as empty. select_all_keys: the keys
# that select a box's whole text where ctrl+a does not.
box_text() {  # box_text X Y
  printf 'nothing-copied' | xclip -selection clipboard >/dev/null 2>&1
  click_at "$1" "$2"
  # shellcheck disable=SC2086 # one key name a word
  xdotool key ${select_all_keys:-ctrl+a} ctrl+c
  sleep 0.4
  local text
  text=$(xclip -o -selection clipboard 2>/dev/null || true)
  [ "$text" = nothing-copied ] && text=""
  printf '%s' "$text"
}
result_text() { box_text "${result_box[@]}"; }
input_text() { box_text "${input_box[@]}"; }

# type_text TEXT: into the input box, which has the focus. A character the keyboard lacks gets a
# key of its own first: xdotool would otherwise map it for one key press and take the key back
# at once, and a program slow to read the new map (a sanitiser build) sees the old key.
type_text() {
  local ch code=230 added=0
  while IFS= read -r ch; do
    [ -n "$ch" ] || continue
    xmodmap -e "keycode $code = U$(printf '%s' "$ch" | iconv -f UTF-8 -t UTF-32BE | od -An -tx1 | tr -d ' \n' | sed 's/^0*//')"
    code=$((code + 1)); added=1
  done < <(LC_ALL=C.UTF-8 grep -o '[^ -~]' <<<"$1")
  [ "$added" = 0 ] || sleep 0.5
  xdotool type --delay 40 -- "$1"
  sleep 0.3
}

main_window_gone() { ! main_window >/dev/null; }
message_box() {  # the program's visible window that is not the book: its message box
  local w
  for w in $(xdotool search --onlyvisible --name '^Quillbook$' 2>/dev/null); do
    xwininfo -id "$w" | grep -q 'Width: 352' || { echo "$w"; return 0; }
  done
  return 1
}
# answer_no_key: the key that answers No where Escape does not (a box without a Cancel button).
answer() {  # answer Yes|No: to the message box that is open
  local box
  wait_for 5 message_box >/dev/null || fail "no message box to answer $1"
  box=$(message_box)
  xdotool windowactivate --sync "$box"
  if [ "$1" = Yes ]; then xdotool key Return; else xdotool key "${answer_no_key:-Escape}"; fi
  sleep 0.5
}

# Told by the window's state and type: a taskbar lists every window that does not skip it
# and is of no type it leaves out by itself.
without_taskbar_button() {  # without_taskbar_button STATE TYPE
  grep -q _NET_WM_STATE_SKIP_TASKBAR <<<"$1" && grep -q _NET_WM_WINDOW_TYPE_UTILITY <<<"$2"
}
is_topmost() { xprop -id "$window" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE; }
has_focus() { [ "$(xdotool getwindowfocus)" = "$window" ]; }

# The window back from the tray, whole: on screen, not minimised, topmost, focused, and still
# without a taskbar button, where it was before.
topmost_without_taskbar_button() {
  local state
  state=$(xprop -id "$window" _NET_WM_STATE)
  grep -q _NET_WM_STATE_ABOVE <<<"$state" &&
    without_taskbar_button "$state" "$(xprop -id "$window" _NET_WM_WINDOW_TYPE)"
}
back_whole() {  # back_whole HOW [X Y]
  wait_for 5 main_window >/dev/null || fail "$1: the window did not come back"
  window=$(main_window)
  sleep 0.5
  xwininfo -id "$window" | grep -q IsViewable || fail "$1: the window is not on screen"
  ! xprop -id "$window" WM_STATE | grep -q Iconic || fail "$1: the window came back minimised"
  local state type
  # The window manager sets the state some moments after the window maps again, the band and
  # the taskbar button each in its own message.
  wait_for 10 topmost_without_taskbar_button || true
  state=$(xprop -id "$window" _NET_WM_STATE)
  type=$(xprop -id "$window" _NET_WM_WINDOW_TYPE)
  grep -q _NET_WM_STATE_ABOVE <<<"$state" || fail "$1: not topmost ($state)"
  without_taskbar_button "$state" "$type" ||
    fail "$1: the window has a taskbar button ($state; $type)"
  if ! has_focus; then
    # focus_on_return=noted: where the window manager may refuse a program the focus it asks
    # for (see the suite that sets it), the day reports it rather than failing on it.
    [ "${focus_on_return:-required}" = noted ] || fail "$1: no focus"
    note "$1: back without the keyboard focus"
  fi
  if [ $# -ge 3 ]; then
    eval "$(xdotool getwindowgeometry --shell "$window")"
    [ "$X,$Y" = "$2,$3" ] || fail "$1: the window came back at $X,$Y, not at $2,$3"
  fi
}
# The dash button hides the window; a single click on the icon brings nothing back, a
# double-click brings it back whole where it was (placeX, placeY), and typing reaches it.
hide_then_back_by_double_click() {
  eval "$(xdotool getwindowgeometry --shell "$window")"
  placeX=$X placeY=$Y
  hide_to_tray
  shot hidden
  local ix iy
  read -r ix iy <<<"$(tray_icon_centre)"
  xdotool mousemove "$ix" "$iy" click 1
  # A single click is to bring nothing back: nothing to wait for but time.
  sleep 1.5
  ! main_window >/dev/null || fail "a single click on the icon brought the window back"
  double_click_icon
  back_whole "a double-click on the icon" "$placeX" "$placeY"
  shot shown-again
  # Where the focus is only reported (focus_on_return), a click gives it.
  has_focus || click_at "${input_box[@]}"
  type_text q
  [ "$(input_text)" = q ] || fail "typing after showing did not reach the input box"
}
hide_to_tray() {
  click_at "${hide_button[@]}"
  wait_for 5 main_window_gone || fail "the hide button did not hide the window"
}
tray_menu() {  # tray_menu DOWNS: the icon's menu, the entry that many Downs away
  local ix iy
  read -r ix iy <<<"$(tray_icon_centre)"
  xdotool mousemove "$ix" "$iy" click 3
  wait_for 10 menu_window >/dev/null || fail "the icon's menu did not open"
  shot "${2:-menu}"
  choose_in_open_menu "$1"
}
double_click_icon() {
  local ix iy
  read -r ix iy <<<"$(tray_icon_centre)"
  xdotool mousemove "$ix" "$iy" click --repeat 2 --delay 80 1
}

# A drag on the skin by any button moves the window by as much as the pointer moved, and the
# move ends when that button is released: the pointer moving on leaves the window put.
drag_by_80_48() {  # drag_by_80_48 WHAT [BUTTON]
  local button=${2:-1}
  eval "$(xdotool getwindowgeometry --shell "$window")"
  xdotool mousemove $((X + 176)) $((Y + 60)) mousedown "$button"
  for _ in 1 2 3 4 5 6 7 8; do xdotool mousemove_relative -- 10 6; sleep 0.05; done
  xdotool mouseup "$button"
  sleep 0.5
  local oldX=$X oldY=$Y
  eval "$(xdotool getwindowgeometry --shell "$window")"
  local dx=$((X - oldX)) dy=$((Y - oldY))
  [ "$dx" -ge 70 ] && [ "$dx" -le 90 ] && [ "$dy" -ge 38 ] && [ "$dy" -le 58 ] ||
    fail "$1: a drag of 80,48 moved the window by $dx,$dy"
  local afterX=$X afterY=$Y
  for _ in 1 2 3; do xdotool mousemove_relative -- 20 15; sleep 0.05; done
  sleep 0.3
  eval "$(xdotool getwindowgeometry --shell "$window")"
  [ "$X" = "$afterX" ] && [ "$Y" = "$afterY" ] ||
    fail "$1: the window went on following the pointer after the button was released"
  note "$1: moved by $dx,$dy"
  # Back to where it was, so the next drag has room.
  xdotool mousemove $((X + 176)) $((Y + 60)) mousedown 1
  for _ in 1 2 3 4 5 6 7 8; do xdotool mousemove_relative -- -10 -6; sleep 0.05; done
  xdotool mouseup 1
  sleep 0.3
}

speak_button=(135 120)   # Cmd_Voice, the lips
help_button=(96 176)     # Cmd_Help
about_button=(136 176)   # Cmd_About

help_window() { xdotool search --onlyvisible --name '^Help$' 2>/dev/null | head -n1; }
about_window() { xdotool search --onlyvisible --name '^About Quillbook$' 2>/dev/null | head -n1; }
shot_name() { printf '%02d-%s' "$((current + 1))" "$1"; }  # the name shot gives a screenshot
viewable() { xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }
# A window's client area, in screen pixels: X Y WIDTH HEIGHT.
# The share of dark pixels, in per cent, in a rectangle of a screenshot: text drawn there
# darkens a few per cent of it, a bare surface none.
dark_share() {  # dark_share SHOT X Y WIDTH HEIGHT
  convert "$artifacts/$1.png" -crop "$4x$5+$2+$3" +repage -colorspace gray -threshold 40% \
    -format '%[fx:round(100 * (1 - mean))]' info:
}
texts_drawn() {  # texts_drawn SHOT WINDOW_X WINDOW_Y WHAT X Y WIDTH HEIGHT [WHAT X Y W H...]
  local shot=$1 wx=$2 wy=$3 share
  shift 3
  while [ $# -ge 5 ]; do
    share=$(dark_share "$shot" $((wx + $2)) $((wy + $3)) "$4" "$5")
    [ "$share" -ge 2 ] || fail "$1 is not drawn (dark pixels: $share %)"
    shift 5
  done
}

client_area() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
    /Width:/ {w=$NF} /Height:/ {h=$NF} END {print x, y, w, h}'
}
