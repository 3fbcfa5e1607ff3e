#!/usr/bin/env bash
# Times quillbook-lookup against grep on the large library, both as whole processes, and
# prints the medians, their ratio and each side's peak memory.
#
#   bench/compare_with_grep.sh [--runs N] [--tool PATH] [--lib DIR] [--part TEXT]
#                              [--chinese TEXT]
#
# Needs the large library (bench/make_large_library.py) and a Release build
# (scripts/build.sh build-rel -DCMAKE_BUILD_TYPE=Release). Uses hyperfine when it is
# installed (apt-get install hyperfine), otherwise a plain loop; peak memory comes from
# /usr/bin/time -v (apt-get install time).
#
# Three comparisons:
#   exact    an exact lookup of the last entry of the largest file, which reads all of it,
#            against grep -F -m1 -i of the same word in that file
#   all      an all-entries search of a word part in the largest file (--all; by default
#            the first letters of its middle entry), against grep -F -c of it in that file
#   chinese  a Chinese text, which is searched in all 26 files, against grep -F -c of its
#            Big5 bytes in all 26 files
set -euo pipefail
cd "$(dirname "$0")/.."

runs=30
tool=build-rel/bin/quillbook-lookup
lib=bench/data/large
chinese=蘋果
part=
while [ $# -gt 0 ]; do
  case $1 in
    --runs) runs=$2; shift 2 ;;
    --tool) tool=$2; shift 2 ;;
    --lib) lib=$2; shift 2 ;;
    --part) part=$2; shift 2 ;;
    --chinese) chinese=$2; shift 2 ;;
    *) echo "usage: $0 [--runs N] [--tool PATH] [--lib DIR] [--part TEXT] [--chinese TEXT]" >&2
       exit 2 ;;
  esac
done
[ -x "$tool" ] || { echo "no $tool: scripts/build.sh build-rel -DCMAKE_BUILD_TYPE=Release" >&2; exit 2; }
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
# grep gets the Big5 bytes from a file: they are not valid UTF-8, and hyperfine's command
# lines must be.
printf '%s' "$chinese" | iconv -f UTF-8 -t CP950 > "$work/chinese.big5"
files=("$lib"/[a-z].lib)

# median of the numbers on standard input
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# seconds A B: prints the median seconds of command A and of command B (each a string that
# the shell splits), run in turn.
seconds() {
  if command -v hyperfine >/dev/null; then
    hyperfine -N --warmup 3 --runs "$runs" --export-json "$work/h.json" "$1" "$2" >/dev/null
    python3 -c 'import json,sys; r=json.load(open(sys.argv[1]))["results"]; print(r[0]["median"], r[1]["median"])' "$work/h.json"
  else
    : > "$work/a"; : > "$work/b"
    for _ in 1 2 3; do $1 >/dev/null || true; $2 >/dev/null || true; done
    for _ in $(seq "$runs"); do
      # microseconds, from bash's own clock
      local t0=${EPOCHREALTIME/./}; $1 >/dev/null || true; local t1=${EPOCHREALTIME/./}
      $2 >/dev/null || true; local t2=${EPOCHREALTIME/./}
      echo $(( t1 - t0 )) >> "$work/a"
      echo $(( t2 - t1 )) >> "$work/b"
    done
    echo "$(median < "$work/a" | awk '{ print $1 / 1e6 }') $(median < "$work/b" | awk '{ print $1 / 1e6 }')"
  fi
}

# peak KiB of a command (one run)
peak() {
  if [ -x /usr/bin/time ]; then
    /usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F: '/Maximum resident set size/ { gsub(/ /, "", $2); print $2 }'
  else
    echo "?"
  fi
}

compare() {  # name, lookup command, grep command
  local name=$1 a=$2 b=$3 ta tb
  read -r ta tb < <(seconds "$a" "$b")
  local pa pb
  pa=$(peak $a); pb=$(peak $b)
  echo "$name:"
  echo "  A: $a"
  echo "  B: $b"
  awk -v ta="$ta" -v tb="$tb" -v pa="$pa" -v pb="$pb" 'BEGIN {
    printf "  median A %.2f ms, B %.2f ms, A/B %.2f; peak memory A %.1f MiB, B %.1f MiB\n",
      ta * 1000, tb * 1000, ta / tb, pa / 1024, pb / 1024 }'
}

echo "library: $lib ($(cat "${files[@]}" | wc -l) lines, $(cat "${files[@]}" | wc -c) bytes); largest file $biggest"
echo "median of $runs runs each, as whole processes$(command -v hyperfine >/dev/null && echo ', by hyperfine')"
compare exact "$tool --lib $lib $last_word" "grep -F -m1 -i $last_word $biggest"
compare all "$tool --all --lib $lib $part" "grep -F -c $part $biggest"
compare chinese "$tool --lib $lib $chinese" "grep -F -c -f $work/chinese.big5 ${files[*]}"
