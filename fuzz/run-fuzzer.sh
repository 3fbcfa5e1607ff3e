#!/usr/bin/env bash
# run-fuzzer.sh FUZZER CORPUS SECONDS ARTIFACTS [GROWN]
# Runs FUZZER for SECONDS on a scratch copy of CORPUS, so the committed seeds stay as they
# are; an input that fails is kept in ARTIFACTS for reproducing it (FUZZER ARTIFACTS/crash-…).
# With GROWN, the copy is made there and kept, with what the run added to it, for the runs
# over it under each SIMD level (CMakeLists.txt).
set -euo pipefail
fuzzer=$1 corpus=$2 seconds=$3 artifacts=$4 grown=${5:-}
if [ -n "$grown" ]; then
  work=$grown
  rm -rf "$work"
  mkdir -p "$work"
else
  work=$(mktemp -d "${TMPDIR:-/tmp}/quillbook-fuzz.XXXXXX")
  trap 'rm -rf "$work"' EXIT
fi
cp -R "$corpus"/. "$work"/
mkdir -p "$artifacts"
"$fuzzer" -max_total_time="$seconds" -timeout=10 -max_len=65536 \
  -print_final_stats=1 -artifact_prefix="$artifacts/" "$work"
