#!/bin/sh
# The package's executables carry the hardening that this Debian release's hardening-check asks
# for: PIE, the stack protector, fortified libc calls, read-only relocations and immediate binding
# (and on Debian 13 it looks for stack clash protection too).
#
# hardening-check also asks for x86's control-flow protection, an IBT, SHSTK property note, and
# from Debian 13 on for AArch64's branch protection, whatever the architecture. The linker keeps
# the x86 note only when every object linked has it: Debian 13's dpkg-buildflags compiles with
# -fcf-protection, but the C library's start file (Scrt1.o) carries no note on 12 or 13, so no
# executable linked there shows it. The check asks for it where Scrt1.o has it, and never asks
# for AArch64's: the arm64 package is built on Debian 12, whose flags do not give it.
# Usage: deb-hardening.sh DEB-DIR
set -eu
. "$(dirname "$0")/common.sh"
need_tools hardening-check dpkg-deb readelf gcc
deb=$(the_deb "$1")
scratch
dpkg-deb -x "$deb" "$work"
unasked=
readelf -n "$(gcc -print-file-name=Scrt1.o)" | grep -q 'x86 feature: IBT, SHSTK' || unasked=--nocfprotection
hardening-check --help | grep -q -e --nobranchprotection && unasked="$unasked --nobranchprotection"
# shellcheck disable=SC2086
hardening-check $unasked "$work"/usr/bin/* || fail "an executable of the package lacks hardening"
