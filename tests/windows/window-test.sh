#!/bin/sh
# Runs a Windows test program that makes windows: under wine (tests/support/wine-run.sh) in a
# prefix of its own, on a private X display (tests/support/private-display.sh). Wine's desktop
# process belongs to the display it first met, so the prefix's server is stopped at the end,
# with the display.
# With --dpi N, wine's screen has N dots per inch instead of 96 (LogPixels), to check the scaling.
# Usage: window-test.sh [--dpi N] PREFIX PROGRAM [ARG...]
set -u
dpi=96
if [ "${1:-}" = --dpi ]; then
  dpi=$2
  shift 2
fi
[ $# -ge 2 ] || { echo "usage: window-test.sh [--dpi N] PREFIX PROGRAM [ARG...]" >&2; exit 2; }
prefix=$1
shift
runner=$(dirname "$0")/../support/wine-run.sh
. "$(dirname "$0")/../support/private-display.sh"
trap private_display_stop EXIT
private_display_start || exit 1
"$runner" --prefix "$prefix" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
# A new server, so that every wine process starts with that setting.
"$runner" --prefix "$prefix" --stop
"$runner" --prefix "$prefix" "$@"
status=$?
"$runner" --prefix "$prefix" --stop
exit $status
