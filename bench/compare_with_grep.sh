#!/usr/bin/env bash
# Times quillbook-lookup against grep on the large library, both as whole processes with their
# output sent to a pipe, run in turn (A B A B ...), and prints for each case the median time of
# each, the median of the ratios pair by pair, and each side's peak memory.
#
#   bench/compare_with_grep.sh [--runs N] [--tool PATH] [--lib DIR] [--part TEXT]
#                              [--chinese TEXT] [--only CASE]
#
# Needs the large library (bench/make_large_library.py), a Release build
# (scripts/build.sh build -DCMAKE_BUILD_TYPE=Release) and /usr/bin/time for peak memory.
#
# Cases: the lookup's command against grep -F over the same files, printing what it finds:
#   exact      an exact lookup of the last entry of the largest file, which reads all of it,
#              against grep -m1 -i of the same word in that file
#   all        an all-entries search of a word part in the largest file (--all; by default
#              the first letters of its middle entry)
#   chinese    a Chinese word, searched in all 26 files
#   twocodes   十, a character with two Big5 codes: grep gets both
#   fullwidth  ａｐｐｌｅ, full-width letters, each with a case partner: grep gets both cases
#   greek      α, a Greek letter, with its capital
#   fffd       U+FFFD, which every unreadable byte sequence reads as: grep gets one of them
#   digit      1, found in a third of all lines of all 26 files
#   space      a space, found in most lines of all 26 files
set -euo pipefail
cd "$(dirname "$0")/.."

runs=21
tool=build/bin/quillbook-lookup
lib=bench/data/large
chinese=蘋果
part=
only=
while [ $# -gt 0 ]; do
  case $1 in
    --runs) runs=$2; shift 2 ;;
    --tool) tool=$2; shift 2 ;;
    --lib) lib=$2; shift 2 ;;
    --part) part=$2; shift 2 ;;
    --chinese) chinese=$2; shift 2 ;;
    --only) only=$2; shift 2 ;;
    *) echo "usage: $0 [--runs N] [--tool PATH] [--lib DIR] [--part TEXT] [--chinese TEXT] [--only CASE]" >&2
       exit 2 ;;
  esac
done
[ -x "$tool" ] || { echo "no $tool: scripts/build.sh build -DCMAKE_BUILD_TYPE=Release" >&2; exit 2; }
[ -f "$lib/a.lib" ] || { echo "no $lib/a.lib: bench/make_large_library.py" >&2; exit 2; }

# grep as it is compared: byte-wise, without the locale's multibyte handling. The lookup
# reads its argument as UTF-8 whatever the locale.
export LC_ALL=C

work=$(mktemp -d "${TMPDIR:-/tmp}/quillbook-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

biggest=$(ls -S "$lib"/[a-z].lib | head -n 1)
letter=$(basename "$biggest" .lib)
last_word=${letter}benchmarkend
if [ -z "$part" ]; then
  # A word part from the middle of the file: common enough to report many lines.
  middle=$(( $(wc -l < "$biggest") / 2 ))
  part=$(sed -n "${middle}p" "$biggest" | cut -d= -f1 | tr -d '\r' | cut -c1-3)
fi
files="$(echo "$lib"/[a-z].lib)"

# patterns NAME TEXT...: writes the Big5 bytes of each TEXT, one a line, for grep -f (the
# bytes are not valid UTF-8 and do not belong on a command line).
patterns() {
  local name=$1; shift
  : > "$work/$name"
  for text in "$@"; do printf '%s\n' "$text" | iconv -f UTF-8 -t CP950 >> "$work/$name"; done
}
patterns chinese "$chinese"
patterns twocodes 十
printf '\xA2\xCC\n' >> "$work/twocodes"  # iconv gives one code of 十; the other
patterns fullwidth ａｐｐｌｅ ＡＰＰＬＥ
patterns greek α Α
printf '\xA3\xFE\n' > "$work/fffd"  # a pair the code page has no character for
fffd=$(printf '\xEF\xBF\xBD')

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# Runs a command (a string the shell splits) with its output sent to a pipe; prints the
# microseconds it took by bash's clock.
timed() {
  local t0=${EPOCHREALTIME/./}
  $1 2>/dev/null | cat >/dev/null || true
  local t1=${EPOCHREALTIME/./}
  echo $(( t1 - t0 ))
}

# peak KiB of a command (one run)
peak() {
  /usr/bin/time -f '%M' -o "$work/peak" $1 >/dev/null 2>&1 || true
  tail -n 1 "$work/peak"
}

compare() {  # name, lookup command, grep command
  local name=$1 a=$2 b=$3
  [ -z "$only" ] || [ "$only" = "$name" ] || return 0
  : > "$work/a"; : > "$work/b"; : > "$work/r"
  for _ in 1 2 3; do timed "$a" >/dev/null; timed "$b" >/dev/null; done
  for _ in $(seq "$runs"); do
    local ta tb
    ta=$(timed "$a"); tb=$(timed "$b")
    echo "$ta" >> "$work/a"; echo "$tb" >> "$work/b"
    awk -v a="$ta" -v b="$tb" 'BEGIN { print a / b }' >> "$work/r"
  done
  local ma mb mr pa pb
  ma=$(median < "$work/a"); mb=$(median < "$work/b"); mr=$(median < "$work/r")
  pa=$(peak "$a"); pb=$(peak "$b")
  awk -v n="$name" -v ta="$ma" -v tb="$mb" -v r="$mr" -v pa="$pa" -v pb="$pb" 'BEGIN {
    printf "%-10s %9.2f %9.2f %7.2f %9.1f %9.1f\n", n, ta / 1000, tb / 1000, r, pa / 1024, pb / 1024 }'
  # The 26 files are written as the shell pattern that names them.
  echo "$name A: ${a//"$files"/$lib/[a-z].lib}" >> "$work/commands"
  echo "$name B: ${b//"$files"/$lib/[a-z].lib}" >> "$work/commands"
}

echo "library: $lib ($(cat $files | wc -l) lines, $(cat $files | wc -c) bytes); largest file $biggest"
echo "$runs runs of each, A B A B ..., as whole processes with output to a pipe"
printf '%-10s %9s %9s %7s %9s %9s\n' case "A ms" "B ms" "A/B" "A MiB" "B MiB"
compare exact "$tool --lib $lib $last_word" "grep -F -m1 -i $last_word $biggest"
compare all "$tool --all --lib $lib $part" "grep -F $part $biggest"
compare chinese "$tool --lib $lib $chinese" "grep -F -h -f $work/chinese $files"
compare twocodes "$tool --lib $lib 十" "grep -F -h -f $work/twocodes $files"
compare fullwidth "$tool --lib $lib ａｐｐｌｅ" "grep -F -h -f $work/fullwidth $files"
compare greek "$tool --lib $lib α" "grep -F -h -f $work/greek $files"
compare fffd "$tool --lib $lib $fffd" "grep -F -h -f $work/fffd $files"
compare digit "$tool --lib $lib 1" "grep -F -h 1 $files"
# The space goes through an argument of its own: the shell would split it away.
space_tool=$work/space-lookup
printf '#!/bin/sh\nexec %s --lib %s " "\n' "$tool" "$lib" > "$space_tool"
printf '#!/bin/sh\nexec grep -F -h " " %s\n' "$files" > "$work/space-grep"
chmod +x "$space_tool" "$work/space-grep"
compare space "$space_tool" "$work/space-grep"
echo "(A/B is the median of the ratios pair by pair; times and ratios are medians)"
cat "$work/commands"
