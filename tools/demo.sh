#!/bin/sh
# The demo: the stand-in counter as COM1 and Zorvalit on it, with every real serial port masked,
# so that nothing here can reach a real device. Pick Display → Display the Frequency.
# Usage: demo.sh [BINDIR]   (BINDIR holds zorvalit and zorvalit-counter; default: on PATH)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
bin=${1:+$1/}
if [ -e /dev/COM1 ] || [ -L /dev/COM1 ]; then
  case "$(readlink /dev/COM1 || true)" in
    /dev/pts/*) ;;  # left over by an earlier demo: the counter replaces it
    *) echo "demo: /dev/COM1 already exists and is not the counter's; not touching it" >&2; exit 1 ;;
  esac
fi
exec "$here/no-real-ports.sh" sh -c '
  bin=$1
  "${bin}zorvalit-counter" --link /dev/COM1 > /dev/null &
  counter=$!
  for _ in 1 2 3 4 5 6 7 8 9 10; do [ -L /dev/COM1 ] && break; sleep 0.2; done
  [ -L /dev/COM1 ] || { echo "demo: the counter did not come up" >&2; kill $counter; exit 1; }
  "${bin}zorvalit" &
  program=$!
  trap "kill $program 2>/dev/null" INT TERM HUP
  wait $program || wait $program
  kill $counter 2>/dev/null
  wait $counter' demo "$bin"
