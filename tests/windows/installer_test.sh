#!/usr/bin/env bash
# The installer under Wine, in a prefix of its own (the uninstaller's run is awaited with
# wineserver -w, which would wait for every other test sharing a prefix): a silent install
# puts exactly the program folder and the package's text files into Program Files, the
# Start-menu shortcut and the uninstall entry; the installed lookup finds its library; a
# silent uninstall leaves nothing behind, and a second round shows that it keeps a file the
# user put into the folder.
#   installer_test.sh SETUP.exe PROGRAM_FOLDER PACKAGE_FOLDER VERSION
# PACKAGE_FOLDER is the zip's folder, which holds README.txt, COPYRIGHT.txt and licences\.
set -euo pipefail
setup=$(realpath "$1") program=$(realpath "$2") package=$(realpath "$3") version=$4
here=$(dirname "$(realpath "$0")")
work=$(mktemp -d)
export WINEPREFIX=$work/prefix WINEDEBUG=-all
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT

folder="$WINEPREFIX/drive_c/Program Files/Quillbook"
windows_folder='C:\Program Files\Quillbook'
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Quillbook.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillbook'

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
stop_if_failed() {
  [ "$failures" -eq 0 ] || { echo "$failures check(s) failed $1"; exit 1; }
}

# Each file the installer must put into the folder, and the file it must be a copy of.
expected=("Quillbook.exe|$program/Quillbook.exe" "quillbook-lookup.exe|$program/quillbook-lookup.exe"
          "flip.wav|$program/flip.wav" "README.txt|$package/README.txt"
          "COPYRIGHT.txt|$package/COPYRIGHT.txt")
for file in "$program"/lib/*; do expected+=("lib/${file##*/}|$file"); done
for file in "$package"/licences/*; do expected+=("licences/${file##*/}|$file"); done
[ -d "$program/lib" ] && [ -d "$package/licences" ] || { echo "FAIL: no lib\\ or licences\\ to compare with"; exit 1; }

install() {
  "$here/wine-run.sh" "$setup" /S || fail "the installer exited with status $?"
  [ -d "$folder" ] || { echo "FAIL: the installer made no $windows_folder"; exit 1; }
}
uninstall() {
  # The uninstaller starts a copy of itself from the temporary folder and returns at once.
  wine "$folder/uninstall.exe" /S || fail "the uninstaller exited with status $?"
  timeout 120 wineserver -w || fail "the uninstaller was still running after 120 s"
}

install
names=(uninstall.exe)
for entry in "${expected[@]}"; do
  name=${entry%%|*} source=${entry#*|}
  names+=("$name")
  if [ ! -f "$folder/$name" ]; then
    fail "$name is missing from $windows_folder"
  elif ! cmp -s "$source" "$folder/$name"; then
    fail "$name in $windows_folder differs from $source"
  fi
done
unexpected=$(comm -13 <(printf '%s\n' "${names[@]}" | sort) \
                      <(cd "$folder" && find . -type f | sed 's|^\./||' | sort))
[ -z "$unexpected" ] || fail "files nobody asked for in $windows_folder: $unexpected"

if [ ! -f "$shortcut" ]; then
  fail "no Quillbook.lnk in the all-users Start menu"
elif ! grep -qaF "$windows_folder\\Quillbook.exe" "$shortcut"; then
  fail "the Start-menu shortcut does not lead to $windows_folder\\Quillbook.exe"
fi

# The uninstall entry, one value a line as reg prints them: name, type, data.
entry=$(wine reg query "$key" | tr -d '\r') || fail "no uninstall entry $key"
value() { sed -n "s/^    $1    REG_[A-Z_]*    //p" <<<"$entry"; }
for expectation in "DisplayName|Quillbook" "DisplayVersion|$version" \
    "Publisher|Quillbook developers" "InstallLocation|$windows_folder" \
    "DisplayIcon|$windows_folder\\Quillbook.exe,0" \
    "UninstallString|\"$windows_folder\\uninstall.exe\"" \
    "QuietUninstallString|\"$windows_folder\\uninstall.exe\" /S" \
    "NoModify|0x1" "NoRepair|0x1"; do
  name=${expectation%%|*} want=${expectation#*|}
  got=$(value "$name")
  [ "$got" = "$want" ] || fail "the uninstall entry's $name is '$got', not '$want'"
done
# Kilobytes: within one per file of what the folder holds, each file rounded on its own.
size=$(value EstimatedSize)
bytes=$(find "$folder" -type f -printf '%s\n' | paste -sd+ | bc)
if [ -z "$size" ] || [ $(((bytes / 1024 - size) ** 2)) -gt $((${#names[@]} ** 2)) ]; then
  fail "the uninstall entry's EstimatedSize is '$size' KB for a folder of $bytes bytes"
fi

lookup=$(wine "$folder/quillbook-lookup.exe" apple | tr -d '\r') || fail "the installed lookup failed"
grep -qx '蘋果' <<<"$lookup" || fail "the installed lookup printed '$lookup', without the line 蘋果"
stop_if_failed "after installing"

uninstall
[ ! -e "$folder" ] || fail "the uninstaller left $(cd "$folder" && find . | sed 's|^\./||' | tr '\n' ' ')"
[ ! -e "$shortcut" ] || fail "the uninstaller left the Start-menu shortcut"
! wine reg query "$key" >/dev/null 2>&1 || fail "the uninstaller left the uninstall entry $key"
stop_if_failed "after uninstalling"

install
echo "mine" >"$folder/notes.txt"
uninstall
left=$(cd "$folder" 2>/dev/null && find . -mindepth 1 | sed 's|^\./||' | tr '\n' ' ') || true
[ "$left" = "notes.txt " ] || fail "of a folder holding the user's notes.txt, the uninstaller left '$left'"
stop_if_failed "after uninstalling from a folder with a file of the user's"
echo "installed ${#names[@]} files, the shortcut and the uninstall entry; uninstalled them all"
