#!/bin/sh
# The installer under wine, silently (/S), in a wine prefix made anew for the run: it installs
# the program, its uninstaller and its Start-menu entry, registers the uninstaller, makes
# C:\zorvalit.cfg with COM1 when it is missing and leaves an existing one as it is; the
# uninstaller removes the program and keeps the choice file. While the program runs, neither
# touches it: the installer stops with exit code 2 and says why. Windows are made by wine's null
# graphics driver, so no display is needed.
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

# Whether a program of that command line (an extended regular expression) runs, and waiting up to
# 30 s for it to start or to end. Wine names its processes by their Windows command line.
running() { pgrep -f "$1" >/dev/null; }
await() {
  tries=0
  while if [ "$1" = start ]; then ! running "$2"; else running "$2"; fi; do
    tries=$((tries + 1))
    [ $tries -le 60 ] || { fail "$2 did not $1"; return 1; }
    sleep 0.5
  done
}
program='^C:\\Program Files\\Zorvalit\\zorvalit\.exe'

"$runner" --prefix "$prefix" --stop
rm -rf "$prefix"
trap '"$runner" --prefix "$prefix" --stop' EXIT
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null
"$runner" --prefix "$prefix" --stop

install
for file in zorvalit.exe Uninstall.exe README.txt; do
  [ -f "$folder/$file" ] || fail "no $file in $folder"
done
[ -f "$shortcut" ] || fail "no Start-menu entry $shortcut"
registered || fail "the uninstaller is not in Add/Remove Programs ($key)"
printf 'Serialport:COM1\r\n' | cmp -s - "$drive/zorvalit.cfg" ||
  fail "C:\\zorvalit.cfg is not 'Serialport:COM1' CR LF"

# With the program running (its window made, its start-up message up), nothing is replaced or
# removed.
wine 'C:\Program Files\Zorvalit\zorvalit.exe' >/dev/null 2>&1 &
await start "$program" && sleep 2
said=$(wine "$installer" /S 2>&1)
status=$?
[ $status -eq 2 ] || fail "installing over the running program ended with $status, not 2"
echo "$said" | grep -q 'Zorvalit is running: close it' || fail "installing over the running program said: $said"
# In place (_?=, unquoted, hence the short name), the uninstaller runs to its end before it
# returns, with its exit code.
wine 'C:\Program Files\Zorvalit\Uninstall.exe' /S '_?=C:\PROGRA~1\Zorvalit' >/dev/null 2>&1
status=$?
[ $status -eq 2 ] || fail "uninstalling the running program ended with $status, not 2"
for file in zorvalit.exe Uninstall.exe README.txt; do
  [ -f "$folder/$file" ] || fail "uninstalling the running program removed $file"
done
registered || fail "uninstalling the running program unregistered it"
wine taskkill /f /im zorvalit.exe >/dev/null
await end "$program"

# The uninstaller copies itself aside and returns at once: wait for the folder and the entry to go.
printf 'Serialport:COM3\n' > "$drive/zorvalit.cfg"
wine 'C:\Program Files\Zorvalit\Uninstall.exe' /S || fail "the uninstaller failed ($?)"
tries=0
while { [ -e "$folder" ] || [ -e "$shortcut" ]; } && [ $tries -lt 300 ]; do
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
