#!/bin/sh
# `cmake --install` into a staging folder (DESTDIR), as a package build installs: the package's
# files under the prefix except Debian's own, and nothing outside the prefix, under /var least of
# all (the port choice is made by the package's postinst, or by an install onto the machine).
# Usage: cmake-install.sh CMAKE BUILD-DIR EXPECTED-FILES
set -eu
. "$(dirname "$0")/common.sh"
cmake=$1 build=$2 expected=$3
scratch
stage=$work/stage

DESTDIR=$stage "$cmake" --install "$build" --prefix /opt/zorvalit > "$work/install.log" 2>&1 ||
  { cat "$work/install.log"; fail "cmake --install failed"; }
(cd "$stage/opt/zorvalit" && find . -type f | sed 's|^\./||' | sort) > "$work/files"
sed -e '/^#/d' -e '/^$/d' -e '/^deb /d' "$expected" | sort > "$work/expected"
diff -u "$work/expected" "$work/files" || fail "cmake --install put other files than $expected lists"
outside=$(find "$stage" -mindepth 1 -path "$stage/opt" -prune -o -print)
[ -z "$outside" ] || fail "cmake --install put files outside the prefix: $outside"
echo "cmake-install: $(wc -l < "$work/files") files under the prefix, nothing outside it"
