#!/bin/sh
# Prints figures for the Windows program, beside the Linux program's where it is built: the size
# and imported DLLs of zorvalit.exe, and on a private Xvfb display (with openbox) the time from
# start to the window's first map and the CPU used during ten seconds of a display with a silent
# counter (COM1 on a pseudo-terminal that sends nothing). Under wine these are a sanity check,
# not Windows' own figures. Runs as root, every wine process where the real serial ports are
# masked; the wine prefix (build/windows/wineprefix-bench) is made anew each run.
# Usage: bench/windows-bench.sh   (after `cmake --build --preset windows`; for the Linux
#        figures also build/release/qt/zorvalit)
set -eu
cd "$(dirname "$0")/.."
if [ -z "${ZORVALIT_BENCH_MASKED:-}" ]; then
  ZORVALIT_BENCH_MASKED=1 exec tools/no-real-ports.sh "$0" "$@"
fi
exe=build/windows/windows/zorvalit.exe
linux=build/release/qt/zorvalit
prefix=$(realpath -m build/windows/wineprefix-bench)
runner=tests/support/wine-run.sh
. tests/support/private-display.sh
seconds=10
[ -f "$exe" ] || { echo "windows-bench: build $exe first (cmake --build --preset windows)" >&2; exit 1; }

scratch=$(mktemp -d)
pids=
silent=
cleanup() {
  for pid in $pids; do kill "$pid" 2>/dev/null || true; done
  # socat's silent sleeper outlives socat: end its whole session.
  [ -z "$silent" ] || kill -- "-$silent" 2>/dev/null || true
  "$runner" --prefix "$prefix" --stop
  private_display_stop
  rm -rf "$scratch"
}
trap cleanup EXIT

now_ms() { echo $(($(date +%s%N) / 1000000)); }
# User plus system time of a process, in clock ticks (fields 14 and 15 of its stat line).
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
# The wine server of this prefix: it works in a folder named server-DEV-INODE of the prefix.
server_of() {
  dir=$(printf 'server-%x-%x' "$(stat -c %d "$1")" "$(stat -c %i "$1")")
  for p in $(pgrep wineserver); do
    case "$(readlink "/proc/$p/cwd")" in */"$dir") echo "$p" ;; esac
  done
}

echo "zorvalit.exe: $(stat -c %s "$exe") bytes (target: under 2621440), imports:" \
  $(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\tDLL Name: //p')
[ -x "$linux" ] && echo "Linux zorvalit: $(stat -c %s "$linux") bytes, unstripped, with Qt 6 shared"

private_display_start

# A counter that sends nothing: a raw pseudo-terminal whose other end stays open and silent.
setsid socat PTY,link="$scratch/pty",raw,echo=0 SYSTEM:'exec sleep 3600' 2>/dev/null &
silent=$!
until [ -e "$scratch/pty" ]; do sleep 0.1; done
pty=$(readlink -f "$scratch/pty")

# Starts a program in the background ($1: a label; the rest: the command), waits for its
# window "Zorvalit" to be mapped, starts the display (Alt+D, Enter), and prints the figures.
measure() {
  label=$1
  shift
  start=$(now_ms)
  "$@" >/dev/null 2>&1 &
  pid=$!
  pids="$pids $pid"
  window=
  until [ -n "$window" ]; do
    window=$(xdotool search --onlyvisible --name '^Zorvalit$' 2>/dev/null | head -n 1) || true
    kill -0 "$pid" 2>/dev/null || { echo "$label: the program ended before its window showed" >&2; return 1; }
    [ -n "$window" ] || sleep 0.02
  done
  mapped=$(now_ms)
  sleep 2
  xdotool windowactivate --sync "$window" key --delay 100 alt+d Return
  sleep 1
  # The display shows the navy panel: without it the CPU figure would be of an idle window.
  if [ "$(import -window root -depth 8 txt:- | grep -c '#000080')" -eq 0 ]; then
    echo "$label: the display did not start (no navy panel on the screen)" >&2
    return 1
  fi
  before=$(ticks "$pid")
  server=$(server_of "$prefix")
  server_before=$([ -z "$server" ] || ticks "$server")
  sleep "$seconds"
  used=$(($(ticks "$pid") - before))
  tick=$(getconf CLK_TCK)
  echo "$label: first map $((mapped - start)) ms after start;" \
    "silent display: $((used * 1000 / tick)) ms CPU in ${seconds} s"
  if [ "${server:-}" ] && [ "$label" = wine ]; then
    echo "  wineserver meanwhile: $((($(ticks "$server") - server_before) * 1000 / tick)) ms CPU"
  fi
  kill "$pid"
  wait "$pid" 2>/dev/null || true
}

# Wine: a fresh prefix, its server started (which links COM1 to /dev/ttyS0, masked here), then
# COM1 pointed at the silent terminal. The first start of the program is timed with the
# prefix's server and services already running.
"$runner" --prefix "$prefix" --stop
rm -rf "$prefix"
"$runner" --prefix "$prefix" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
  /v 'Comic Sans MS' /t REG_SZ /d 'Comic Neue' /f >/dev/null
ln -sf "$pty" "$prefix/dosdevices/com1"
measure wine "$runner" --prefix "$prefix" "$exe"

if [ -x "$linux" ]; then
  mkdir "$scratch/var-lib"
  measure linux tests/support/isolated-dev.sh --var-lib "$scratch/var-lib" COM1="$pty" -- "$linux"
else
  echo "linux: $linux not built (cmake --preset release && cmake --build --preset release)"
fi
