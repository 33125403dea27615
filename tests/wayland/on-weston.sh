#!/bin/sh
# Runs a command as a client of a private weston: the headless backend, a runtime folder and
# socket of its own, no X display; weston is stopped at the end. Exits 77 when weston cannot
# start here, 1 when it is not installed. --kiosk runs weston's kiosk shell, which keeps every
# window full screen, instead of its desktop shell. --sway runs sway instead (wlroots, the
# compositor library of labwc and wayfire), headless, as nobody when run as root (sway refuses
# root), and names its IPC socket in SWAYSOCK.
# Usage: on-weston.sh [--kiosk | --sway] COMMAND [ARG...]
set -eu
# The desktop shell is ready once it has launched its own client; the kiosk shell has none.
shell=desktop-shell.so ready=launching compositor_name=weston
if [ "${1-}" = --kiosk ]; then shell=kiosk-shell.so ready=; shift; fi
if [ "${1-}" = --sway ]; then compositor_name=sway; shift; fi
command -v $compositor_name > /dev/null ||
  { echo "FAIL: $compositor_name is missing; sudo ./dev.sh test installs it" >&2; exit 1; }
runtime=$(mktemp -d "${TMPDIR:-/tmp}/zorvalit-$compositor_name.XXXXXX")
chmod 700 "$runtime"
compositor=
stop() {
  [ -z "$compositor" ] || { kill "$compositor" 2> /dev/null || true; wait "$compositor" 2> /dev/null || true; }
  rm -rf "$runtime"
}
trap stop EXIT
trap 'exit 1' INT TERM HUP

if [ $compositor_name = sway ]; then
  printf 'xwayland disable\n' > "$runtime/sway.conf"
  as=
  if [ "$(id -u)" -eq 0 ]; then
    chown nobody "$runtime"
    as="setpriv --reuid=nobody --regid=nogroup --clear-groups"
  fi
  XDG_RUNTIME_DIR=$runtime HOME=$runtime WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    $as sway --config "$runtime/sway.conf" > "$runtime/sway.log" 2>&1 &
  compositor=$!
  for _ in $(seq 100); do
    ls "$runtime"/sway-ipc.*.sock > /dev/null 2>&1 && break
    kill -0 "$compositor" 2> /dev/null || break
    sleep 0.1
  done
  set -- "$runtime"/wayland-[0-9] "$@"
  socket=$1 ipc=$(ls "$runtime"/sway-ipc.*.sock 2> /dev/null || true)
  shift
  if ! [ -S "$socket" ] || [ -z "$ipc" ] || ! kill -0 "$compositor" 2> /dev/null; then
    cat "$runtime/sway.log"
    echo "SKIP: sway could not start here"
    exit 77
  fi
  env -u DISPLAY -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="${socket##*/}" SWAYSOCK="$ipc" "$@"
  exit
fi

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
