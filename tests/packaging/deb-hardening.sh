#!/bin/sh
# The package's executables carry the hardening that this Debian release's dpkg-buildflags gives
# and its hardening-check asks for: PIE, the stack protector, fortified libc calls, read-only
# relocations and immediate binding; on Debian 13 also stack clash and control-flow protection.
# Debian 12's dpkg-buildflags has no control-flow protection (its "branch" feature) to give, so
# there the check does not ask for it.
# Usage: deb-hardening.sh DEB-DIR
set -eu
. "$(dirname "$0")/common.sh"
need_tools hardening-check dpkg-deb dpkg-buildflags
deb=$(the_deb "$1")
scratch
dpkg-deb -x "$deb" "$work"
branch=$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --query-features hardening |
  awk '$0 == "Feature: branch" { found = 1 } found && /^Enabled:/ { print $2; exit }')
unasked=
[ "$branch" = yes ] || unasked=--nocfprotection
# shellcheck disable=SC2086
hardening-check $unasked "$work"/usr/bin/* || fail "an executable of the package lacks hardening"
