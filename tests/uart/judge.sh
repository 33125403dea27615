#!/bin/sh
# Judges one check of a QEMU guest (boot-guest.sh) from its console log: passes on
# "guest-check NAME ok", fails on anything else or nothing, skips when the boot was skipped.
# Usage: judge.sh CONSOLE_LOG NAME
set -eu
[ $# -eq 2 ] || { echo "usage: judge.sh CONSOLE_LOG NAME" >&2; exit 2; }
log=$1 check=$2
skipped=$(dirname "$log")/skipped
[ ! -f "$skipped" ] || { cat "$skipped"; exit 77; }
[ -f "$log" ] || { echo "no guest console at $log: the boot test did not run" >&2; exit 1; }
line=$(tr -d '\r' < "$log" | grep "^guest-check $check " | head -n 1 || true)
[ -n "$line" ] || { echo "the guest reported nothing for $check" >&2; exit 1; }
echo "$line"
[ "$line" = "guest-check $check ok" ]
