#!/bin/sh
# Lintian finds neither errors nor warnings in the package, nor, among the tags it reports as
# information, any hardening- tag: the build hardens every executable (CMakeLists.txt). The
# README's Packaging section explains the tags it still reports.
# Usage: deb-lintian.sh DEB-DIR
set -eu
. "$(dirname "$0")/common.sh"
need_tools lintian
deb=$(the_deb "$1")
said=$(lintian --fail-on error,warning --display-info "$deb") || {
  echo "$said"
  fail "lintian reports errors or warnings, or could not run"
}
echo "$said"
! echo "$said" | grep -q ' hardening-' || fail "lintian finds executables without hardening"
