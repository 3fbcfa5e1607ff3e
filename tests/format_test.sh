#!/usr/bin/env bash
# The code follows .clang-format: every C++ file of the project, as clang-format would write it.
# Usage: format_test.sh SOURCE_DIR
set -euo pipefail
cd "$1"
mapfile -t files < <(find src tools tests bench fuzz -name '*.cpp' -o -name '*.h' | sort)
if ! clang-format --dry-run --Werror "${files[@]}"; then
  echo "Not as .clang-format writes it; run: clang-format -i on the files above" >&2
  exit 1
fi
echo "${#files[@]} files as .clang-format writes them"
