#!/bin/sh
# The Debian package of one architecture ("native": the machine's) for the other packaging tests,
# in a folder of its own: copied from ZORVALIT_DEB_DIR when the test command has built it there
# already, else built with dpkg-buildpackage by tools/build-debs.sh.
# Usage: build-deb.sh SOURCE-DIR ARCHITECTURE OUTPUT-DIR
set -eu
. "$(dirname "$0")/common.sh"
source=$1 architecture=$2 output=$3
[ "$architecture" != native ] || architecture=$(dpkg --print-architecture)
rm -rf "$output"
mkdir -p "$output"
if [ -n "${ZORVALIT_DEB_DIR:-}" ]; then
  set -- "$ZORVALIT_DEB_DIR"/zorvalit_*_"$architecture".deb
  [ -f "$1" ] || fail "ZORVALIT_DEB_DIR=$ZORVALIT_DEB_DIR holds no $architecture package"
  cp "$1" "$output/"
else
  need_tools dpkg-buildpackage dh dpkg-shlibdeps
  "$source/tools/build-debs.sh" "$output/built" "$architecture" || fail "dpkg-buildpackage could not build the package"
  mv "$output"/built/zorvalit_*_"$architecture".deb "$output/"
  rm -rf "$output/built"
fi
the_deb "$output"
