#!/usr/bin/env bash
# The main window's two figures, on a fresh Xvfb display:
#   start-up  from the program's start to its window mapped, against the smallest Qt widget
#             program (bench/window/minimal_window.cpp), both started by mapped_after, in
#             turn, N times each
#   lookup    from Enter to the result box painted, against quillbook-lookup of the same text
#             as a whole process (window_lookup_bench), for a text with about 10 results and
#             one with about 100,000
#
#   bench/window_bench.sh [--runs N] [--build DIR] [--lib DIR] [--few TEXT] [--many TEXT]
#                         [--program PATH]
#
# --program times another copy's start-up, such as an installed one (/usr/bin/quillbook).
#
# Needs a Release build with the windows (scripts/build.sh build -DCMAKE_BUILD_TYPE=Release)
# and the large library (bench/make_large_library.py).
set -euo pipefail
cd "$(dirname "$0")/.."

runs=21
build=build
lib=bench/data/large
few=蘋果汁
many=0
program=
while [ $# -gt 0 ]; do
  case $1 in
    --runs) runs=$2; shift 2 ;;
    --build) build=$2; shift 2 ;;
    --lib) lib=$2; shift 2 ;;
    --few) few=$2; shift 2 ;;
    --many) many=$2; shift 2 ;;
    --program) program=$2; shift 2 ;;
    *) echo "usage: $0 [--runs N] [--build DIR] [--lib DIR] [--few TEXT] [--many TEXT] [--program PATH]" >&2; exit 2 ;;
  esac
done
bin=$build/bin
for p in quillbook quillbook-lookup minimal_window mapped_after window_lookup_bench; do
  [ -x "$bin/$p" ] || { echo "no $bin/$p: scripts/build.sh $build -DCMAKE_BUILD_TYPE=Release" >&2; exit 2; }
done
program=${program:-$bin/quillbook}
[ -f "$lib/a.lib" ] || { echo "no $lib/a.lib: bench/make_large_library.py" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/quillbook-window.XXXXXX")
# Xvfb picks a free display itself: a number guessed here can be one another X server on
# the machine already holds. Without -noreset it starts itself afresh each time its last
# client leaves, and a program started at that moment cannot open the display.
mkfifo "$work/displayfd"
Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3>"$work/displayfd" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
read -r -t 10 number <"$work/displayfd" || { echo "Xvfb did not start" >&2; exit 1; }
mkdir -m 700 "$work/runtime"
export DISPLAY=:$number QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$work/runtime

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo "start-up, $runs runs each in turn (microseconds from start to window mapped):"
: > "$work/a"; : > "$work/b"; : > "$work/r"
for i in $(seq -2 "$runs"); do
  a=$("$bin/mapped_after" "$program")
  b=$("$bin/mapped_after" "$bin/minimal_window")
  [ "$i" -gt 0 ] || continue  # warm-up
  echo "$a" >> "$work/a"; echo "$b" >> "$work/b"
  awk -v a="$a" -v b="$b" 'BEGIN { print a / b }' >> "$work/r"
done
awk -v a="$(median < "$work/a")" -v b="$(median < "$work/b")" -v r="$(median < "$work/r")" 'BEGIN {
  printf "  quillbook %.1f ms, minimal Qt window %.1f ms, ratio %.2f (median of pairs)\n", a / 1000, b / 1000, r }'

echo "lookup, $runs runs each in turn (Enter to painted, against the command line):"
"$bin/window_lookup_bench" --lib "$lib" --tool "$bin/quillbook-lookup" --runs "$runs" "$few" "$many" 2>/dev/null
