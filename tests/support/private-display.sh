#!/bin/sh
# A private X display for tests and benchmarks: Xvfb with the openbox window manager, waited for
# until both answer, and ended with both.
# Sourced (. tests/support/private-display.sh), it offers:
#   private_display_start [WIDTHxHEIGHT]   starts both and exports DISPLAY (default 1024x768)
#   private_display_stop                   ends both; call it from the caller's exit trap
# Run as a command, it runs the command on such a display and ends the display after it:
#   private-display.sh [--screen WIDTHxHEIGHT] COMMAND [ARG...]
# Needs Xvfb (xvfb), openbox and xprop (x11-utils).

private_display_start() {
  private_display_dir=$(mktemp -d "${TMPDIR:-/tmp}/private-display.XXXXXX")
  # -noreset: by default the server resets whenever its last client leaves, and a client that
  # connects during that reset (openbox, just after the xprop below) is refused.
  Xvfb -displayfd 3 -screen 0 "${1:-1024x768}x24" -nolisten tcp -noreset \
    3> "$private_display_dir/display" 2> "$private_display_dir/xvfb.log" &
  private_display_xvfb=$!
  for _ in $(seq 100); do
    [ -s "$private_display_dir/display" ] && break
    sleep 0.1
  done
  if [ ! -s "$private_display_dir/display" ]; then
    echo "private-display: Xvfb did not start" >&2
    cat "$private_display_dir/xvfb.log" >&2
    return 1
  fi
  DISPLAY=:$(cat "$private_display_dir/display")
  export DISPLAY
  for _ in $(seq 100); do
    xprop -root > /dev/null 2>&1 && break
    sleep 0.1
  done
  openbox --sm-disable > "$private_display_dir/openbox.log" 2>&1 &
  private_display_wm=$!
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2> /dev/null | grep -q 'window id' && return 0
    sleep 0.1
  done
  echo "private-display: openbox did not start" >&2
  cat "$private_display_dir/openbox.log" >&2
  return 1
}

private_display_stop() {
  for pid in ${private_display_wm:-} ${private_display_xvfb:-}; do kill "$pid" 2> /dev/null || true; done
  for pid in ${private_display_wm:-} ${private_display_xvfb:-}; do wait "$pid" 2> /dev/null || true; done
  [ -z "${private_display_dir:-}" ] || rm -rf "$private_display_dir"
  private_display_wm= private_display_xvfb= private_display_dir=
}

case "$0" in
  private-display.sh | */private-display.sh)
    screen=1024x768
    if [ "${1:-}" = --screen ]; then
      screen=$2
      shift 2
    fi
    [ $# -ge 1 ] || {
      echo "usage: private-display.sh [--screen WIDTHxHEIGHT] COMMAND [ARG...]" >&2
      exit 2
    }
    trap private_display_stop EXIT
    trap 'exit 1' INT TERM HUP
    private_display_start "$screen" || exit 1
    "$@"
    exit $?
    ;;
esac
