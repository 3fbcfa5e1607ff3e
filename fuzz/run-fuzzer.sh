#!/usr/bin/env bash
# run-fuzzer.sh FUZZER CORPUS SECONDS ARTIFACTS
# Runs FUZZER for SECONDS on a scratch copy of CORPUS, so the committed seeds stay as they
# are; an input that fails is kept in ARTIFACTS for reproducing it (FUZZER ARTIFACTS/crash-…).
set -euo pipefail
fuzzer=$1 corpus=$2 seconds=$3 artifacts=$4
work=$(mktemp -d "${TMPDIR:-/tmp}/quillbook-fuzz.XXXXXX")
trap 'rm -rf "$work"' EXIT
cp -R "$corpus"/. "$work"/
mkdir -p "$artifacts"
"$fuzzer" -max_total_time="$seconds" -timeout=10 -max_len=65536 \
  -print_final_stats=1 -artifact_prefix="$artifacts/" "$work"
