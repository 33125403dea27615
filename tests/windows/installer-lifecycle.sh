#!/bin/sh
# The installer under wine, silently (/S), in a wine prefix made anew for the run: it installs
# the program, its uninstaller and its Start-menu entry, registers the uninstaller, makes
# C:\zorvalit.cfg with COM1 when it is missing and leaves an existing one as it is; the
# uninstaller removes the program and keeps the choice file.
# Usage: installer-lifecycle.sh INSTALLER PREFIX
set -u
installer=$1 prefix=$2
runner="$(dirname "$0")/../support/wine-run.sh"
drive="$prefix/drive_c"
folder="$drive/Program Files/Zorvalit"
shortcut="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Zorvalit/Zorvalit.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zorvalit'
failures=0

fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
wine() { timeout 120 "$runner" --prefix "$prefix" "$@"; }
install() { wine "$installer" /S || fail "the installer failed ($?)"; }
registered() { wine reg query "$key" /v UninstallString 2>/dev/null | grep -q 'Uninstall\.exe'; }

"$runner" --prefix "$prefix" --stop
rm -rf "$prefix"
trap '"$runner" --prefix "$prefix" --stop' EXIT

install
for file in zorvalit.exe Uninstall.exe README.txt; do
  [ -f "$folder/$file" ] || fail "no $file in $folder"
done
[ -f "$shortcut" ] || fail "no Start-menu entry $shortcut"
registered || fail "the uninstaller is not in Add/Remove Programs ($key)"
printf 'Serialport:COM1\r\n' | cmp -s - "$drive/zorvalit.cfg" ||
  fail "C:\\zorvalit.cfg is not 'Serialport:COM1' CR LF"

# The uninstaller copies itself aside and returns at once: wait for the folder to go.
printf 'Serialport:COM3\n' > "$drive/zorvalit.cfg"
wine 'C:\Program Files\Zorvalit\Uninstall.exe' /S || fail "the uninstaller failed ($?)"
tries=0
while [ -e "$folder" ] && [ $tries -lt 300 ]; do
  tries=$((tries + 1))
  sleep 0.1
done
[ -e "$folder" ] && fail "uninstalling left $(ls "$folder")"
[ -e "$shortcut" ] && fail "uninstalling left the Start-menu entry"
registered && fail "uninstalling left the entry in Add/Remove Programs"

# A second install finds the user's choice and keeps it byte for byte.
install
[ -f "$folder/zorvalit.exe" ] || fail "reinstalling did not install the program"
printf 'Serialport:COM3\n' | cmp -s - "$drive/zorvalit.cfg" ||
  fail "installing replaced an existing C:\\zorvalit.cfg"

[ $failures -eq 0 ] && echo "installer: install, uninstall, reinstall as expected"
exit $((failures > 0))
