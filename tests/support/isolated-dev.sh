#!/bin/sh
# Runs a command where no serial device exists: in a private mount namespace whose /dev holds
# only null, zero, full, random, urandom, tty, the pseudo-terminals and shared memory, plus the
# links given as NAME=TARGET (COM1=/dev/pts/3, say). With --var-lib DIR, DIR stands in for
# /var/lib/zorvalit. Needs root (or CAP_SYS_ADMIN); exits 77 when it cannot isolate.
# Usage: isolated-dev.sh [--var-lib DIR] [NAME=TARGET ...] -- COMMAND [ARG...]
set -eu
varlib=
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
  case "$1" in
    --var-lib) varlib=$2; shift 2 ;;
    *=*) links="${links:-} $1"; shift ;;
    *) echo "isolated-dev: unexpected $1" >&2; exit 2 ;;
  esac
done
[ "${1:-}" = "--" ] && [ $# -ge 2 ] || { echo "usage: isolated-dev.sh [--var-lib DIR] [NAME=TARGET ...] -- COMMAND [ARG...]" >&2; exit 2; }
shift
unshare -m --propagation private true 2>/dev/null || { echo "isolated-dev: cannot make a mount namespace" >&2; exit 77; }
exec unshare -m --propagation private sh -eu -c '
  varlib=$1 links=$2; shift 2
  old=$(mktemp -d)
  mount --rbind /dev "$old"
  mount -t tmpfs -o mode=755,size=1m zorvalit-dev /dev
  for node in null zero full random urandom tty ptmx; do
    touch "/dev/$node"; mount --bind "$old/$node" "/dev/$node"
  done
  mkdir /dev/pts /dev/shm
  mount --bind "$old/pts" /dev/pts
  mount --bind "$old/shm" /dev/shm
  umount -l "$old"; rmdir "$old"
  for link in $links; do ln -s "${link#*=}" "/dev/${link%%=*}"; done
  if [ -n "$varlib" ]; then
    # Never create the real folder: lay a scratch /var/lib over the real one when it is absent.
    if [ ! -d /var/lib/zorvalit ]; then
      mount -t tmpfs -o size=1m zorvalit-var /var/lib
      mkdir /var/lib/zorvalit
    fi
    mount --bind "$varlib" /var/lib/zorvalit
  fi
  exec "$@"' isolated-dev "$varlib" "${links:-}" "$@"
