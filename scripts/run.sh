#!/usr/bin/env bash
# Installs what is missing, builds Quillbook and starts it with the bundled dictionary.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build -DCMAKE_BUILD_TYPE=Release

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display here, so instead of the window: a lookup of \"${1:-apple}\" through the command-line tool."
  exec build/bin/quillbook-lookup -- "${1:-apple}"
fi
exec build/bin/quillbook
