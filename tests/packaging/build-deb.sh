#!/bin/sh
# Builds the Debian package from the build folder with CPack, into a folder of its own, for the
# other packaging tests. Usage: build-deb.sh CPACK BUILD-DIR OUTPUT-DIR
set -eu
. "$(dirname "$0")/common.sh"
cpack=$1 build=$2 output=$3
need_tools dpkg-deb dpkg-shlibdeps
rm -rf "$output"
mkdir -p "$output"
cd "$build"
"$cpack" -G DEB -B "$output" || fail "cpack could not build the package"
rm -rf "$output/_CPack_Packages"
the_deb "$output"
