#!/bin/sh
# Checks that the wine runner refuses to start where a serial port is not masked. In a mount
# namespace of its own, /dev/tty (the controlling terminal, no serial port) is laid over the
# masked /dev/ttyS0, so the runner finds a device there that is not /dev/null. Exits 77
# (skipped) where there is no /dev/ttyS0 to stand in for.
# Usage: wine-run-refuses.sh RUNNER...
[ -e /dev/ttyS0 ] || exit 77
exec unshare -m --propagation private sh -c '
  mount --bind /dev/tty /dev/ttyS0 || exit 77
  "$@" cmd /c exit 2>/dev/null
  status=$?
  [ "$status" -eq 97 ] || { echo "the runner went on (status $status) with /dev/ttyS0 unmasked" >&2; exit 1; }' \
  refuses "$@"
