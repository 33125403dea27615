#!/bin/sh
# Runs a Windows program of the cross build under wine, in a private prefix that is made on first
# use, with its lock file DIR.lock beside it. The prefix is 64-bit, or 32-bit with WINEARCH=win32
# (the 32-bit build's tests: a 32-bit Windows, where no 64-bit program runs). The prefix's
# wineserver is started persistent (-p), so a test run pays wine's start-up once instead of once
# per program; `--stop` ends it.
# Wine links COM1, COM2, ... to /dev/ttyS0, /dev/ttyS1, ... whenever its server starts, so this
# refuses to run where a real serial device is visible: run it inside tools/no-real-ports.sh
# (every real port masked by /dev/null) or tests/support/isolated-dev.sh (no ports at all).
# `--check` says whether programs can run this way here: it exits 77, saying why in one line, where
# this wine cannot start (a kernel that runs no 32-bit x86 program) or no mount namespace can mask
# the real ports; it starts no wine process.
# Usage: wine-run.sh --prefix DIR PROGRAM [ARG...]
#        wine-run.sh --prefix DIR --stop | --check
set -eu
[ "${1:-}" = --prefix ] && [ $# -ge 3 ] || {
  echo "usage: wine-run.sh --prefix DIR PROGRAM [ARG...] | --prefix DIR --stop | --check" >&2
  exit 2
}
WINEPREFIX=$(realpath -m "$2")
shift 2
case "${WINEARCH:=win64}" in
  win64) WINE=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64 ;;
  win32) WINE=/usr/lib/wine/wine WINESERVER=/usr/lib/wine/wineserver32 ;;
  *) echo "wine-run: WINEARCH must be win64 or win32, not $WINEARCH" >&2; exit 2 ;;
esac
# No Mono or Gecko installers on first use, no menu entries or icons made for the host desktop
# (an installer's Start-menu entries), and no debug chatter in the tests' output.
WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
WINEDEBUG=${WINEDEBUG:--all}
export WINEPREFIX WINEARCH WINEDLLOVERRIDES WINEDEBUG

if [ "$1" = --stop ]; then
  rm -f "$WINEPREFIX/.server-ready"
  [ -d "$WINEPREFIX" ] && "$WINESERVER" -k 2>/dev/null || true
  exit 0
fi
if [ "$1" = --check ]; then
  said=$("$WINE" --version 2>&1) || { echo "$WINE cannot start here: ${said##*: }"; exit 77; }
  unshare -m --propagation private true 2>/dev/null ||
    { echo "no mount namespace to mask the real serial ports in (it needs root)"; exit 77; }
  exit 0
fi

for port in /dev/ttyS* /dev/ttyUSB* /dev/ttyACM*; do
  [ -e "$port" ] || continue
  # A masked port is /dev/null: character device 1:3.
  [ "$(stat -L -c %t:%T "$port")" = 1:3 ] || {
    echo "wine-run: $port is a real serial device here; run me inside tools/no-real-ports.sh" >&2
    exit 97
  }
done

# A prefix is made in a scratch folder beside it and renamed into place only once it is complete;
# the mark .initialised is put in last. A start cut short in the middle would otherwise leave a
# half-made prefix (no kernel32.dll) that carries wine's update stamp, so that wine never completes
# it and every later run fails. A prefix folder without the mark is such a leftover: it is removed
# and made again.
# Every prefix of one architecture in a folder is a copy of one base prefix there, made by wineboot
# once, whose programs and libraries (1.2 GB of them) are hard-linked rather than copied: wine
# writes those only when it updates a prefix, and the copies come from the same wine as the base.
# The registry, which wine saves to a new file and renames, and every other file are real copies.
lock=$WINEPREFIX.lock
base=$(dirname "$WINEPREFIX")/wineprefix-base-$WINEARCH
mkdir -p "$(dirname "$WINEPREFIX")"

# Only a folder that holds a wine prefix, or nothing, is removed: never one given by mistake.
remove_unfinished() {
  [ -d "$1" ] || return 0
  if [ -n "$(ls -A "$1")" ] && [ ! -e "$1/drive_c" ] && [ ! -e "$1/system.reg" ] && [ ! -e "$1/dosdevices" ]; then
    echo "wine-run: $1 is not a wine prefix; not removing it" >&2
    exit 1
  fi
  WINEPREFIX=$1 "$WINESERVER" -k 2>/dev/null || true
  rm -rf "$1"
}

# Makes prefix $1 complete, by wineboot or, given a base $2, as a copy of it.
make_prefix() {
  [ -f "$1/.initialised" ] && return 0
  remove_unfinished "$1.making"
  remove_unfinished "$1"
  if [ $# -eq 1 ]; then
    mkdir "$1.making"
    WINEPREFIX=$1.making "$WINE" wineboot -i 8>&- 9>&- </dev/null >/dev/null 2>&1
    WINEPREFIX=$1.making "$WINESERVER" -w
  else
    cp -al "$2" "$1.making"
    rm "$1.making/.initialised"
    find "$1.making" -type f ! -iname '*.dll' ! -iname '*.exe' ! -iname '*.drv' ! -iname '*.sys' \
      ! -iname '*.ocx' ! -iname '*.cpl' ! -iname '*.acm' ! -iname '*.ax' ! -iname '*.tlb' \
      -exec sh -c 'for f; do cp -p "$f" "$f.copy" && mv "$f.copy" "$f"; done' copy {} +
  fi
  [ -f "$1.making/drive_c/windows/system32/kernel32.dll" ] || {
    echo "wine-run: wineboot left $1.making without kernel32.dll" >&2
    exit 1
  }
  touch "$1.making/.initialised"
  mv "$1.making" "$1"
}

# Tests may start in parallel: one of them makes the prefix and starts the server. The server
# and wine's services outlive this script: they must hold neither the lock nor the caller's
# output (a test runner waits for that to close), so they start here, detached from both.
# The server runs in a session of its own, so it outlives a start cut short too: one whose
# wineboot was killed would keep every later program waiting for ever. The mark .server-ready,
# put in once wineboot is done, tells a started server from such a one, which is ended and started
# again.
ready=$WINEPREFIX/.server-ready
(
  flock 9
  if [ ! -f "$WINEPREFIX/.initialised" ]; then
    (flock 8 && make_prefix "$base") 8>"$base.lock"
    make_prefix "$WINEPREFIX" "$base"
  fi
  if [ ! -f "$ready" ]; then
    "$WINESERVER" -k 2>/dev/null || true
    "$WINESERVER" -w
  fi
  if "$WINESERVER" -p 9>&- </dev/null >/dev/null 2>&1; then
    rm -f "$ready"
    "$WINE" wineboot 9>&- </dev/null >/dev/null 2>&1
    touch "$ready"
  fi
) 9>"$lock"
exec "$WINE" "$@"
