#!/bin/sh
# The package's executables carry Debian's hardening: PIE, the stack protector, fortified libc
# calls, read-only relocations and immediate binding (hardening-check, from devscripts). Debian
# 12's dpkg-buildflags asks for no control-flow protection, so neither does this.
# Usage: deb-hardening.sh DEB-DIR
set -eu
. "$(dirname "$0")/common.sh"
need_tools hardening-check dpkg-deb
deb=$(the_deb "$1")
scratch
dpkg-deb -x "$deb" "$work"
hardening-check --nocfprotection "$work"/usr/bin/* || fail "an executable of the package lacks hardening"
