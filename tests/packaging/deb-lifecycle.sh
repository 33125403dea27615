#!/bin/sh
# Installs, reinstalls, removes and purges the package with dpkg in a scratch root: postinst
# makes the port choice (root:dialout 0664, COM1) in a root-owned 0755 folder, and never
# replaces a file or link that is already there; remove keeps the choice; purge removes it.
# It upgrades 1.0.0 (made here from its control, maintainer scripts and file list, kept in
# OLD-DIR), keeping the user's choice and leaving none of 1.0.0's files that it no longer has.
# The real /var/lib/zorvalit must stay as it was.
# Usage: deb-lifecycle.sh DEB-DIR OLD-DIR
set -eu
. "$(dirname "$0")/common.sh"
need_root
need_tools dpkg
deb=$(the_deb "$1") fixture=$2
scratch
group=$(choice_group)
real_before=$(ls -la --full-time /var/lib/zorvalit 2>&1 || true)

new_root() {
  mkdir -p "$1/var/lib/dpkg/updates" "$1/var/lib/dpkg/info"
  : > "$1/var/lib/dpkg/status"
}

# dpkg on the scratch root; the maintainer scripts run outside a chroot with DPKG_ROOT set.
# The root has no libraries, so their dependencies cannot be met there.
dpkg_in() {
  root=$1
  shift
  dpkg --root="$root" --log=/dev/null --force-script-chrootless --force-depends "$@" > "$work/dpkg.log" 2>&1 ||
    { cat "$work/dpkg.log"; fail "dpkg $* failed"; }
}

root=$work/root
folder=$root/var/lib/zorvalit
choice=$folder/zorvalit.cfg
new_root "$root"

dpkg_in "$root" --install "$deb"
[ -x "$root/usr/bin/zorvalit" ] || fail "zorvalit is not installed"
expect_folder 755 root:root "$folder"
expect_file 664 "root:$group" "$choice" "Serialport:COM1"
! dpkg --root="$root" -L zorvalit | grep -q '^/var' || fail "dpkg owns a file under /var: purge would not be ours"

printf 'Serialport:COM3\n' > "$choice"
dpkg_in "$root" --install "$deb"
expect_file 664 "root:$group" "$choice" "Serialport:COM3"

dpkg_in "$root" --remove zorvalit
[ ! -e "$root/usr/bin/zorvalit" ] || fail "remove left zorvalit"
expect_file 664 "root:$group" "$choice" "Serialport:COM3"

dpkg_in "$root" --install "$deb"
expect_file 664 "root:$group" "$choice" "Serialport:COM3"

dpkg_in "$root" --purge zorvalit
[ ! -e "$choice" ] || fail "purge left $choice"
[ ! -e "$folder" ] || fail "purge left $folder"

# A link at the path is someone's doing: postinst neither follows nor replaces it.
other=$work/other
new_root "$other"
mkdir -p "$other/var/lib/zorvalit"
printf 'precious\n' > "$work/target"
ln -s "$work/target" "$other/var/lib/zorvalit/zorvalit.cfg"
dpkg_in "$other" --install "$deb"
[ "$(readlink "$other/var/lib/zorvalit/zorvalit.cfg")" = "$work/target" ] || fail "postinst replaced a link"
[ "$(cat "$work/target")" = precious ] || fail "postinst wrote through a link"

# 1.0.0 as it was installed, with a user's choice, upgraded.
old=$work/zorvalit-1.0.0
mkdir -p "$old/DEBIAN"
{ cat "$fixture/control"; echo "Architecture: $(dpkg-deb -f "$deb" Architecture)"; } > "$old/DEBIAN/control"
cp "$fixture/postinst" "$fixture/postrm" "$old/DEBIAN/"
chmod 0755 "$old/DEBIAN/postinst" "$old/DEBIAN/postrm"
while read -r path; do
  mkdir -p "$old/$(dirname "$path")"
  printf '1.0.0\n' > "$old/$path"
done < "$fixture/files"
dpkg-deb --root-owner-group --build "$old" "$work/zorvalit_1.0.0.deb" > /dev/null
upgraded=$work/upgraded
new_root "$upgraded"
dpkg_in "$upgraded" --install "$work/zorvalit_1.0.0.deb"
printf 'Serialport:COM2\n' > "$upgraded/var/lib/zorvalit/zorvalit.cfg"
dpkg_in "$upgraded" --install "$deb"
expect_file 664 "root:$group" "$upgraded/var/lib/zorvalit/zorvalit.cfg" "Serialport:COM2"
[ "$(dpkg-query --admindir="$upgraded/var/lib/dpkg" -W -f '${Version}' zorvalit)" = "$(dpkg-deb -f "$deb" Version)" ] ||
  fail "the upgrade did not install $(dpkg-deb -f "$deb" Version)"
dpkg-deb -c "$deb" > "$work/listing"
for path in $(cat "$fixture/files"); do
  if grep -q " \./$path\$" "$work/listing"; then
    ! cmp -s "$old/$path" "$upgraded/$path" || fail "the upgrade kept 1.0.0's $path"
  else
    [ ! -e "$upgraded/$path" ] || fail "the upgrade left 1.0.0's $path"
  fi
done

[ "$(ls -la --full-time /var/lib/zorvalit 2>&1 || true)" = "$real_before" ] || fail "the real /var/lib/zorvalit changed"
echo "deb-lifecycle: install, reinstall, remove, purge and the upgrade from 1.0.0 as expected"
