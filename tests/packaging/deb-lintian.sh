#!/bin/sh
# Lintian finds neither errors nor warnings nor pedantic tags in the package, nor, among the tags
# it reports as information, any hardening- tag: the build hardens every executable. The
# development guide's Packaging section explains the tags it still reports.
# Usage: deb-lintian.sh DEB-DIR
set -eu
. "$(dirname "$0")/common.sh"
need_tools lintian
deb=$(the_deb "$1")
said=$(lintian --pedantic --fail-on error,warning,pedantic --display-info "$deb") || {
  echo "$said"
  fail "lintian reports errors, warnings or pedantic tags, or could not run"
}
echo "$said"
! echo "$said" | grep -q ' hardening-' || fail "lintian finds executables without hardening"
