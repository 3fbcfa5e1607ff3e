#!/usr/bin/env bash
# The Debian package as the archive tools see it: built by CPack from this build tree into a
# folder of its own, free of lintian errors, with its shared-library dependencies computed and
# the run-time ones declared.
# Usage: package_test.sh BUILD_DIR
set -euo pipefail
build=$1
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" ||
  { cat "$out/cpack.log"; echo "FAIL: cpack did not build the package" >&2; exit 1; }
deb=$(ls "$out"/quillbook_*.deb)

lintian --fail-on error "$deb" || { echo "FAIL: lintian reports errors" >&2; exit 1; }

# field | what it must hold (an extended regular expression)
checks=(
  "Depends|(^|, )libqt6widgets6 \(>= [0-9.]+\)"
  "Depends|(^|, )libicu72 \("
  "Depends|(^|, )qt6-qpa-plugins(,|$)"
  "Depends|fonts-arphic-uming \| fonts-noto-cjk"
  "Recommends|pulseaudio \| pipewire-pulse"
  "Recommends|qt6-speech-speechd-plugin \| qt6-speech-flite-plugin"
  "Recommends|speech-dispatcher-espeak-ng \| flite"
  "Recommends|(^|, )fonts-liberation2(,|$)"
  "Depends|(^|, )libqt6multimedia6 \("
  "Section|^text$"
)
failed=0
for check in "${checks[@]}"; do
  field=${check%%|*} pattern=${check#*|}
  value=$(dpkg-deb --field "$deb" "$field")
  grep -Eq "$pattern" <<<"$value" || { echo "FAIL: $field is \"$value\", wants /$pattern/" >&2; failed=1; }
done
copyright=$(dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/quillbook/copyright)
grep -q '^Files: lib/\*' <<<"$copyright" && grep -q '^License: CC-BY-SA-4.0' <<<"$copyright" ||
  { echo "FAIL: the copyright file does not give lib/ its CC BY-SA 4.0 licence" >&2; failed=1; }
[ "$failed" = 0 ] && echo "package test passed: $(basename "$deb")"
exit "$failed"
