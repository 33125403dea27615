#!/bin/sh
# Runs a command as a client of a private weston: the headless backend, a runtime folder and
# socket of its own, no X display; weston is stopped at the end. Exits 77 when weston cannot
# start here, 1 when it is not installed. --kiosk runs weston's kiosk shell, which keeps every
# window full screen, instead of its desktop shell.
# Usage: on-weston.sh [--kiosk] COMMAND [ARG...]
set -eu
# The desktop shell is ready once it has launched its own client; the kiosk shell has none.
shell=desktop-shell.so ready=launching
if [ "${1-}" = --kiosk ]; then shell=kiosk-shell.so ready=; shift; fi
command -v weston > /dev/null || { echo "FAIL: weston is missing; sudo ./dev.sh test installs it" >&2; exit 1; }
runtime=$(mktemp -d "${TMPDIR:-/tmp}/zorvalit-weston.XXXXXX")
chmod 700 "$runtime"
compositor=
stop() {
  [ -z "$compositor" ] || { kill "$compositor" 2> /dev/null || true; wait "$compositor" 2> /dev/null || true; }
  rm -rf "$runtime"
}
trap stop EXIT
trap 'exit 1' INT TERM HUP

# weston.ini from the user's or the system's folders must not change the desktop.
printf '[core]\nidle-time=0\n[shell]\npanel-position=none\nlocking=false\n' > "$runtime/weston.ini"
XDG_RUNTIME_DIR=$runtime weston --backend=headless-backend.so --width=1024 --height=768 \
  --socket=zorvalit-weston --config="$runtime/weston.ini" --shell="$shell" > "$runtime/weston.log" 2>&1 &
compositor=$!
for _ in $(seq 100); do
  [ -S "$runtime/zorvalit-weston" ] && grep -q "$ready" "$runtime/weston.log" && break
  kill -0 "$compositor" 2> /dev/null || break
  sleep 0.1
done
if ! [ -S "$runtime/zorvalit-weston" ] || ! kill -0 "$compositor" 2> /dev/null; then
  cat "$runtime/weston.log"
  echo "SKIP: weston could not start here"
  exit 77
fi
sleep 0.5  # the desktop shell's client binds its globals
env -u DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY=zorvalit-weston "$@"
