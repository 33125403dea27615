#!/bin/sh
# What the package holds: exactly the expected files, none under /var (postinst makes the port
# choice on the target), executables 0755 and data 0644 owned by root, the control fields, a
# valid desktop entry, and icons that are the 32×32 design enlarged pixel by pixel.
# Usage: deb-contents.sh DEB-DIR EXPECTED-FILES PROJECT-VERSION CHANGELOG
set -eu
here=$(dirname "$0")
. "$here/common.sh"
need_tools dpkg-deb dpkg-parsechangelog desktop-file-validate identify
deb=$(the_deb "$1") expected=$2 version=$3 changelog=$4
scratch

# Regular files only (directories end in /), as paths under /usr without the leading dot.
dpkg-deb -c "$deb" | awk '$6 !~ /\/$/ { sub(/^\./, "", $6); print $1, $2, $6 }' | sort -k3 > "$work/listing"
awk '{ print $3 }' "$work/listing" > "$work/files"
sed -e '/^#/d' -e '/^$/d' -e 's|^|/usr/|' "$expected" | sort > "$work/expected"
diff -u "$work/expected" "$work/files" || fail "the package holds other files than $expected lists"

while read -r mode owners path; do
  case "$path" in
    /usr/bin/*) want=-rwxr-xr-x ;;
    *) want=-rw-r--r-- ;;
  esac
  [ "$mode $owners" = "$want root/root" ] || fail "$path is $mode $owners, expected $want root/root"
done < "$work/listing"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = zorvalit ] || fail "package name is $(field Package)"
[ "$(field Version)" = "$version" ] || fail "package version $(field Version) is not the project's $version"
[ "$(dpkg-parsechangelog -l "$changelog" -S Version)" = "$version" ] ||
  fail "the top entry of $changelog is not for version $version: add one"
depends=$(field Depends)
for package in qt6-qpa-plugins fonts-comic-neue fonts-dejavu-core libqt6widgets6 libc6; do
  echo "$depends" | tr ',' '\n' | grep -Eq "^ *$package( |$)" || fail "Depends lacks $package: $depends"
done
[ "$(field Recommends)" = qt6-wayland ] || fail "Recommends is '$(field Recommends)', expected qt6-wayland"

dpkg-deb -x "$deb" "$work/root"
desktop-file-validate "$work/root/usr/share/applications/zorvalit.desktop" || fail "the desktop entry is not valid"
grep -qx 'Exec=zorvalit' "$work/root/usr/share/applications/zorvalit.desktop" || fail "the desktop entry does not start zorvalit"

# Nearest-neighbour enlargement adds no colour: every size has the 32×32 image's few colours.
colours=$(identify -format '%k' "$work/root/usr/share/icons/hicolor/32x32/apps/zorvalit.png")
for icon in "$work"/root/usr/share/icons/hicolor/*/apps/zorvalit.png; do
  size=$(basename "$(dirname "$(dirname "$icon")")")
  actual=$(identify -format '%wx%h %k' "$icon")
  [ "$actual" = "$size $colours" ] || fail "$icon is $actual, expected $size with $colours colours"
done

for page in zorvalit zorvalit-counter; do
  gzip -t "$work/root/usr/share/man/man1/$page.1.gz" || fail "manual page $page is not gzip"
done
echo "deb-contents: $(wc -l < "$work/files") files as expected"
