#!/bin/sh
# Runs a command with every real serial device (/dev/ttyS*, /dev/ttyUSB*, /dev/ttyACM*) masked
# by /dev/null in a private mount namespace: the command can open pseudo-terminals and links to
# them, never a real port. Needs root. Usage: no-real-ports.sh COMMAND [ARG...]
[ $# -ge 1 ] || { echo "usage: no-real-ports.sh COMMAND [ARG...]" >&2; exit 2; }
exec unshare -m --propagation private sh -c '
  for port in /dev/ttyS* /dev/ttyUSB* /dev/ttyACM*; do
    [ -e "$port" ] || continue
    mount --bind /dev/null "$port" || { echo "no-real-ports: cannot mask $port" >&2; exit 97; }
  done
  exec "$@"' no-real-ports "$@"
