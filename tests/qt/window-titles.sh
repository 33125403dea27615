#!/bin/sh
# The real zorvalit on a real X server (Xvfb) under a window manager (openbox): the titles that
# the X server holds for its windows are their captions and nothing more. Started in a private
# /dev without COM1, it first shows the "Could Not Use the 'COM1' Serial Port!" box, titled
# "Zorvalit"; then its window, "Zorvalit"; Alt+H, A opens the About box, titled "About".
# Then, started where it can neither write its port choice nor find COM1, it shows "Can't Write
# ConfigFile!" and would show the port's box next: one SIGTERM while the first is up ends it,
# with status 0 and no second box, as a desktop's logout would.
# Usage: window-titles.sh ZORVALIT ISOLATED-DEV
set -eu
zorvalit=$1 isolated=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
skip() { echo "SKIP: $*"; exit 77; }
[ "$(id -u)" -eq 0 ] || skip "needs root to make a private /dev"
for tool in Xvfb openbox xdotool xprop; do
  command -v "$tool" > /dev/null || fail "$tool is missing; sudo ./dev.sh test installs it"
done

. "$(dirname "$0")/../support/private-display.sh"
work=$(mktemp -d "${TMPDIR:-/tmp}/zorvalit-titles.XXXXXX")
program=
stop_all() {
  [ -z "$program" ] || { kill "$program" 2> /dev/null || true; wait "$program" 2> /dev/null || true; }
  private_display_stop
  rm -rf "$work"
}
trap stop_all EXIT
trap 'exit 1' INT TERM HUP

# Polls a command for up to 20 s; true once it succeeds.
poll() {
  for _ in $(seq 100); do "$@" && return 0; sleep 0.2; done
  return 1
}

private_display_start 800x600 || fail "no private X display"

# A scratch port choice naming COM1, which the private /dev lacks.
mkdir "$work/varlib"
printf 'Serialport:COM1\n' > "$work/varlib/zorvalit.cfg"
# The program's visible window whose first type is the one given (NORMAL or DIALOG), into $found.
visible_of_type() {
  found=
  for window in $(xdotool search --onlyvisible --pid "$program" 2> /dev/null); do
    if xprop -id "$window" _NET_WM_WINDOW_TYPE | grep -q "= _NET_WM_WINDOW_TYPE_$1\(,\|\$\)"; then
      found=$window
      return 0
    fi
  done
  return 1
}

await_window() {
  poll visible_of_type "$1" && return
  if ! kill -0 "$program" 2> /dev/null; then
    wait "$program" && status=0 || status=$?
    program=
    [ "$status" -ne 77 ] || skip "cannot isolate /dev here"
  fi
  cat "$work/zorvalit.log"
  fail "no $1 window of zorvalit appeared"
}

# Both title properties the window manager may show.
expect_title() {
  for property in _NET_WM_NAME WM_NAME; do
    title=$(xprop -id "$1" -notype "$property" | sed -n 's/^[^"]*"\(.*\)"$/\1/p')
    [ "$title" = "$2" ] || fail "$3 has $property '$title', expected '$2'"
  done
  echo "$3: '$2'"
}

start_program() {
  QT_QPA_PLATFORM=xcb sh "$isolated" --var-lib "$1" -- "$zorvalit" > "$work/zorvalit.log" 2>&1 &
  program=$!  # the wrapper execs the program, so this is its pid
}
start_program "$work/varlib"

await_window DIALOG
expect_title "$found" Zorvalit "the start-up message box"
xdotool windowactivate --sync "$found" key --clearmodifiers Return

await_window NORMAL
main=$found
expect_title "$main" Zorvalit "the main window"

# A key lost while the window settles is pressed again; Escape first closes a menu left open.
for _ in 1 2 3; do
  xdotool windowactivate --sync "$main" key --clearmodifiers Escape alt+h
  sleep 0.3
  xdotool key --clearmodifiers a
  for _ in $(seq 10); do visible_of_type DIALOG && break; sleep 0.2; done
  [ -n "$found" ] && break
done
[ -n "$found" ] || fail "Help → About opened no box"
expect_title "$found" About "the About box"

kill "$program"
wait "$program" || true
program=

# A folder where the choice file should be: it can be neither read nor written.
mkdir -p "$work/unwritable/zorvalit.cfg"
start_program "$work/unwritable"
await_window DIALOG
first=$found
kill -TERM "$program"
for _ in $(seq 50); do kill -0 "$program" 2> /dev/null || break; sleep 0.2; done
if kill -0 "$program" 2> /dev/null; then
  visible_of_type DIALOG && [ "$found" != "$first" ] && fail "a second start-up box came up after SIGTERM"
  fail "one SIGTERM at the first start-up box did not end the program"
fi
wait "$program" && status=0 || status=$?
program=
[ "$status" -eq 0 ] || fail "ended with status $status after SIGTERM, expected 0"
echo "one SIGTERM at the first start-up box ended the program with 0"
