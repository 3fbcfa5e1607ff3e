#!/usr/bin/env bash
# Installs, from Debian's apt, whatever of the build and test tools is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang clang-format libclang-rt-14-dev pkg-config
  libicu-dev libgtest-dev libgmock-dev libbenchmark-dev
  wordnet-base  # WordNet's exception lists: the irregular English forms (src/generators)
  qt6-base-dev qt6-multimedia-dev
  xvfb xauth openbox trayer xdotool xclip imagemagick x11-utils x11-xserver-utils
  pulseaudio pulseaudio-utils sox fonts-arphic-uming
  dbus python3-dbus python3-gi libglib2.0-bin
  at-spi2-core python3-pyatspi  # the accessibility bus a screen reader reads, and its client
  fonts-liberation2
  qt6-speech-dev qt6-declarative-dev qt6-speech-speechd-plugin qt6-speech-flite-plugin
  speech-dispatcher speech-dispatcher-espeak-ng espeak-ng flite
  python3 icu-devtools rime-essay  # the library builder: ICU checks its output, essay.txt ranks it
  libx11-dev linux-perf time
  g++-mingw-w64-x86-64-posix googletest wine wine64 nsis
  dpkg-dev desktop-file-utils appstream lintian man-db
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO=sudo
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
