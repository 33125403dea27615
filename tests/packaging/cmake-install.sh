#!/bin/sh
# `cmake --install` into a staging folder (DESTDIR): the same files as the package under the
# prefix, and, unlike the package, the port choice made by qt/'s install script, which a
# second install keeps.
# Usage: cmake-install.sh CMAKE BUILD-DIR EXPECTED-FILES
set -eu
. "$(dirname "$0")/common.sh"
need_root
cmake=$1 build=$2 expected=$3
scratch
stage=$work/stage

install_to_stage() {
  DESTDIR=$stage "$cmake" --install "$build" --prefix /opt/zorvalit > "$work/install.log" 2>&1 ||
    { cat "$work/install.log"; fail "cmake --install failed"; }
}

install_to_stage
(cd "$stage/opt/zorvalit" && find . -type f | sed 's|^\./||' | sort) > "$work/files"
sed -e '/^#/d' -e '/^$/d' "$expected" | sort > "$work/expected"
diff -u "$work/expected" "$work/files" || fail "cmake --install put other files than $expected lists"

choice=$stage/var/lib/zorvalit/zorvalit.cfg
expect_folder 755 root:root "$stage/var/lib/zorvalit"
expect_file 664 "root:$(choice_group)" "$choice" "Serialport:COM1"
printf 'Serialport:COM4\n' > "$choice"
install_to_stage
expect_file 664 "root:$(choice_group)" "$choice" "Serialport:COM4"
[ "$(find "$stage" -type f | grep -vc "^$stage/opt/zorvalit/")" -eq 1 ] || fail "files outside the prefix: $(find "$stage" -type f)"
echo "cmake-install: $(wc -l < "$work/files") files and the port choice as expected"
