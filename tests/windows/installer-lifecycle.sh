#!/bin/sh
# The installer under wine, silently (/S), in a wine prefix made anew for the run: it installs
# the program, README.txt, LICENSE.txt, its uninstaller and one Start-menu shortcut (and no
# Uninstall shortcut), registers the uninstaller in Add/Remove Programs under its name with its
# size, folder and quiet uninstall command, makes C:\zorvalit.cfg with COM1 when it is missing
# and leaves an existing one as it is; the uninstaller removes the program and keeps the choice
# file. While the program runs, neither touches it: the installer stops with exit code 2 and says
# why. Over 1.0.0, installed into another folder by a stand-in for its installer (OLD-SCRIPT,
# which leaves what 1.0.0's left), it installs into that folder, replaces the program, keeps the
# choice and leaves one entry and one shortcut. Windows are made by wine's null graphics driver, so no
# display is needed.
# Usage: installer-lifecycle.sh INSTALLER PREFIX DISPLAY-NAME OLD-SCRIPT
set -u
installer=$1 prefix=$2 name=$3 old_script=$4
runner="$(dirname "$0")/../support/wine-run.sh"
drive="$prefix/drive_c"
folder="$drive/Program Files/Zorvalit"
programs="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs"
shortcut="$programs/$name.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Zorvalit'
failures=0

fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
wine() { timeout 120 "$runner" --prefix "$prefix" "$@"; }
install() { wine "$installer" /S || fail "the installer failed ($?)"; }
registered() { wine reg query "$key" /v UninstallString 2>/dev/null | grep -q 'Uninstall\.exe'; }
# A value of the entry, as reg prints it: "Name  REG_SZ  value".
entry() { wine reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$1 *REG_[A-Z_]* *//p"; }
# The shortcuts in Start, one a line, as paths below its Programs folder.
shortcuts() { (cd "$programs" && find . -name '*.lnk' | sed 's|^\./||' | sort); }
# The entry and Start as this installer leaves them, in FOLDER (a Windows path).
check_entry() {
  [ "$(entry DisplayName)" = "$name" ] || fail "the entry is named '$(entry DisplayName)', not '$name'"
  [ "$(entry InstallLocation)" = "$1" ] || fail "the entry's InstallLocation is '$(entry InstallLocation)', not $1"
  [ "$(entry QuietUninstallString)" = "\"$1\\Uninstall.exe\" /S" ] ||
    fail "the entry's QuietUninstallString is '$(entry QuietUninstallString)'"
  size=$(entry EstimatedSize)
  [ $((${size:-0})) -gt 100 ] || fail "the entry's EstimatedSize is '$size', not the program's size in KiB"
  [ "$(entry StartMenu)" = "" ] || fail "the entry keeps 1.0.0's StartMenu value"
  [ "$(shortcuts)" = "$name.lnk" ] || fail "Start holds $(shortcuts | tr '\n' ' '), not $name.lnk alone"
}

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
for file in zorvalit.exe Uninstall.exe README.txt LICENSE.txt; do
  [ -f "$folder/$file" ] || fail "no $file in $folder"
done
[ -f "$shortcut" ] || fail "no Start-menu entry $shortcut"
registered || fail "the uninstaller is not in Add/Remove Programs ($key)"
check_entry 'C:\Program Files\Zorvalit'
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

# 1.0.0's installer, with this program marked as 1.0.0's, installs into a folder of the user's
# choice; this installer then upgrades it there.
old=$prefix/../installer-1.0.0
rm -rf "$old"
mkdir -p "$old/files"
{ cat "$folder/zorvalit.exe"; printf '1.0.0'; } > "$old/files/zorvalit.exe"
printf '1.0.0\r\n' > "$old/files/README.txt"
case $installer in *-win32-setup.exe) target=x86-unicode ;; *) target=amd64-unicode ;; esac
wine 'C:\Program Files\Zorvalit\Uninstall.exe' /S || fail "the uninstaller failed ($?)"
tries=0
while [ -e "$folder" ] && [ $tries -lt 300 ]; do tries=$((tries + 1)); sleep 0.1; done
here=$(cd "$(dirname "$0")" && pwd)
makensis -V2 "-DOLD_FILES=$old/files" "-DOLD_INSTALLER=$old/setup.exe" \
  "-DOLD_TARGET=$target" "-DNSH=$here/../../packaging/windows" "$old_script" > "$old/makensis.log" 2>&1 ||
  { cat "$old/makensis.log"; fail "1.0.0's installer could not be made"; }
wine "$old/setup.exe" /S '/D=C:\Zorvalit-1.0.0' || fail "1.0.0's installer failed ($?)"
old_folder="$drive/Zorvalit-1.0.0"
[ -f "$programs/Zorvalit/Uninstall.lnk" ] || fail "1.0.0's installer made no Uninstall shortcut"
printf 'Serialport:COM4\r\n' > "$drive/zorvalit.cfg"
install
[ "$(tail -c 5 "$old_folder/zorvalit.exe")" != 1.0.0 ] || fail "the upgrade left 1.0.0's zorvalit.exe"
[ -f "$old_folder/LICENSE.txt" ] || fail "the upgrade installed no LICENSE.txt in 1.0.0's folder"
[ ! -e "$folder" ] || fail "the upgrade installed into $folder, not 1.0.0's folder"
check_entry 'C:\Zorvalit-1.0.0'
[ ! -e "$programs/Zorvalit" ] || fail "the upgrade left 1.0.0's Start-menu folder: $(ls "$programs/Zorvalit")"
[ "$(entry DisplayVersion)" != 1.0.0 ] || fail "the entry still says 1.0.0"
printf 'Serialport:COM4\r\n' | cmp -s - "$drive/zorvalit.cfg" || fail "the upgrade changed C:\\zorvalit.cfg"

[ $failures -eq 0 ] && echo "installer: install, uninstall, reinstall and the upgrade from 1.0.0 as expected"
exit $((failures > 0))
