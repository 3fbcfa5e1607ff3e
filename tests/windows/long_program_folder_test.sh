#!/usr/bin/env bash
# The Windows lookup started from a program folder deeper than 260 characters, with a Chinese
# name, finds the library beside it: its folder comes from GetModuleFileNameW. Windows itself
# cannot start a program there, so Wine starts it from Linux.
#   long_program_folder_test.sh TOOL.exe LIBRARY_DIR
set -euo pipefail
tool=$(realpath "$1") library=$2
# The build's own prefix unless the caller gives one, as for every Windows test (wine-run.sh).
export WINEPREFIX=${WINEPREFIX:-$(dirname "$tool")/../wine-prefix}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
folder=$work/$(printf 'd%.0s' {1..100})/$(printf 'e%.0s' {1..100})/$(printf 'f%.0s' {1..60})/字典
mkdir -p "$folder/lib"
cp "$tool" "$folder/"
cp "$library/a.lib" "$folder/lib/"
[ ${#folder} -gt 260 ] || { echo "the folder is only ${#folder} characters"; exit 1; }
cd "$folder"
out=$("$(dirname "$(realpath "$0")")/wine-run.sh" "./$(basename "$tool")" apple 2>"$work/err" | od -An -tx1 | tr -d ' \n') || true
expected=$(printf '\r\napple\r\n蘋果\r\n' | od -An -tx1 | tr -d ' \n')
if [ "$out" != "$expected" ]; then
  echo "from a folder of ${#folder} characters the lookup printed $out, not $expected"
  cat "$work/err"
  exit 1
fi
echo "found the library beside the program in a folder of ${#folder} characters"
