#!/usr/bin/env bash
# Cold start, exec to window mapped, of an installed Quillbook against a minimal Qt 6 window
# program started the same way: on a virtual X screen with no window manager (so each program's
# own window is what maps) and with a sound server, as on a desktop. Prints each program's
# median over RUNS alternating starts and the ratio of the medians.
# Usage: bench/coldstart/coldstart.sh BUILD_DIR [PROGRAM] [RUNS]   (default /usr/bin/quillbook, 21)
set -euo pipefail
build=$(readlink -f "$1")
program=${2:-/usr/bin/quillbook}
runs=${3:-21}
waiter=$build/bin/until_mapped
reference=$build/bin/minimal_window
artifacts=$(mktemp -d)
source "$(dirname "$0")/../../tests/desktop/common.sh"
trap 'cleanup; rm -rf "$artifacts"' EXIT
start_display
kill "$wm_pid"
start_audio
median() { sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }
"$waiter" "$program" >/dev/null; "$waiter" "$reference" >/dev/null  # warm the caches
ours=() theirs=()
for _ in $(seq "$runs"); do
  ours+=("$("$waiter" "$program" 2>/dev/null)")
  theirs+=("$("$waiter" "$reference" 2>/dev/null)")
done
a=$(printf '%s\n' "${ours[@]}" | median)
b=$(printf '%s\n' "${theirs[@]}" | median)
echo "exec to window mapped, median of $runs: $program ${a} ms, minimal Qt 6 window ${b} ms," \
     "ratio $(awk -v a="$a" -v b="$b" 'BEGIN {printf "%.2f", a / b}')"
