#!/bin/sh
# Keeps every core busy at the caller's own priority with a mix of work, as other software on a
# PC would: stress-ng with an arithmetic worker per core, one touching a quarter of the memory,
# and one writing and syncing files.
# Sourced (. tests/support/busy-machine.sh), it offers:
#   busy_start FOLDER   starts the load, with its files in FOLDER (made anew)
#   busy_stop           ends it and removes FOLDER; call it from the caller's exit trap
# Run as a command, it runs the command on the busy machine: busy-machine.sh FOLDER COMMAND [ARG...]
# Needs stress-ng.

busy_start() {
  busy_folder=$1
  rm -rf "$busy_folder"
  mkdir -p "$busy_folder"
  stress-ng --cpu "$(nproc)" --vm 1 --vm-bytes 25% --hdd 1 --hdd-bytes 512M --temp-path "$busy_folder" \
    --timeout 0 > "$busy_folder/stress-ng.log" 2>&1 &
  busy_load=$!
  sleep 1
  if ! kill -0 "$busy_load" 2> /dev/null; then
    echo "busy-machine: stress-ng did not start" >&2
    cat "$busy_folder/stress-ng.log" >&2
    return 1
  fi
  echo "busy-machine: stress-ng at the caller's priority: $(nproc) arithmetic workers, 1 memory, 1 disk"
}

busy_stop() {
  [ -z "${busy_load:-}" ] || { kill "$busy_load" 2> /dev/null || true; wait "$busy_load" 2> /dev/null || true; }
  [ -z "${busy_folder:-}" ] || rm -rf "$busy_folder"
  busy_load= busy_folder=
}

case "$0" in
  busy-machine.sh | */busy-machine.sh)
    [ $# -ge 2 ] || { echo "usage: busy-machine.sh FOLDER COMMAND [ARG...]" >&2; exit 2; }
    folder=$1
    shift
    trap busy_stop EXIT
    trap 'exit 1' INT TERM HUP
    busy_start "$folder" || exit 1
    "$@"
    exit $?
    ;;
esac
