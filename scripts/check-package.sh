#!/usr/bin/env bash
# By hand, as root, on a Debian 12 machine where Quillbook is not installed: builds the .deb,
# lints it, installs it with apt-get as a user would, looks a word up and runs the whole-day
# desktop suite against /usr/bin/quillbook, then purges the package and checks that nothing
# of it is left behind. Changes the machine's installed packages; not for CI.
set -euo pipefail
cd "$(dirname "$0")/.."
[ "$(id -u)" -eq 0 ] || { echo "run this as root: it installs and removes a package" >&2; exit 2; }
if dpkg-query -W -f='${Status}' quillbook 2>/dev/null | grep -q 'ok installed'; then
  echo "quillbook is installed already; remove it first (apt-get purge quillbook)" >&2
  exit 2
fi
apt_get() { DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=300 -y -q "$@"; }

scripts/install-deps.sh
scripts/build.sh build -DCMAKE_BUILD_TYPE=Release
rm -rf build/package
cmake --build build --target package
deb=$(readlink -f build/package/quillbook_*.deb)
echo "== package: $deb"
dpkg-deb --field "$deb" Package Version Architecture Depends Recommends Installed-Size
echo "== lintian"
lintian --fail-on error "$deb" || { echo "FAIL: lintian reports errors" >&2; exit 1; }
echo "(lintian: no errors)"

echo "== apt-get install $deb"
apt_get install "$deb"
trap 'echo "the package is still installed: apt-get purge quillbook" >&2' ERR

echo "== quillbook-lookup apple"
looked_up=$(quillbook-lookup apple)
printf '%s\n' "$looked_up" | tr -d '\r'
[ "$(tr -d '\r' <<<"$looked_up")" = $'\napple\n蘋果' ] || { echo "FAIL: unexpected lookup" >&2; exit 1; }

echo "== the whole-day desktop suite against /usr/bin/quillbook"
tests/desktop/whole_day_test.sh build/artifacts/package-whole-day /usr

echo "== apt-get purge quillbook"
files=$(dpkg -L quillbook)
apt_get purge quillbook
trap - ERR
left=()
while read -r path; do
  # Folders the package shares with the system (/usr/bin, /usr/share/man/man1, ...) stay.
  [ "$path" = /. ] && continue
  [ -d "$path" ] && [ ! -L "$path" ] && dpkg -S "$path" >/dev/null 2>&1 && continue
  [ -e "$path" ] || [ -L "$path" ] && left+=("$path")
done <<<"$files"
while read -r path; do left+=("$path"); done < <(
  find /usr /etc /opt /var/lib/dpkg/info -xdev -iname '*quillbook*' 2>/dev/null)
if dpkg-query -W -f='${Status}\n' quillbook 2>/dev/null | grep -qv 'not-installed'; then
  left+=("dpkg status: $(dpkg-query -W -f='${Status}' quillbook)")
fi
if [ ${#left[@]} -gt 0 ]; then
  printf 'FAIL: left behind: %s\n' "${left[@]}" >&2
  exit 1
fi
echo "nothing of quillbook is left: $(wc -l <<<"$files") paths gone, no dpkg record"
echo "package check passed; report in build/artifacts/package-whole-day/report.html"
