#!/bin/sh
# Lintian finds neither errors nor warnings in the package. The README's Packaging section
# explains the tags it still reports as information.
# Usage: deb-lintian.sh DEB-DIR
set -eu
. "$(dirname "$0")/common.sh"
need_tools lintian
deb=$(the_deb "$1")
lintian --fail-on error,warning --display-info "$deb" || fail "lintian reports errors or warnings, or could not run"
