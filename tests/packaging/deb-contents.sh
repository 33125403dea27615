#!/bin/sh
# What the package holds: exactly the expected files, none under /var (postinst makes the port
# choice on the target), executables 0755 and data 0644 owned by root, the control fields (the
# version the changelog's, the commit it was built from), a valid desktop entry, AppStream
# metainfo that appstreamcli validates, whose release is the changelog's and from which
# appstreamcli composes a software centre's catalogue entry with its icon, and icons rendered at
# each size with the bezel's edges on whole pixels.
# Usage: deb-contents.sh DEB-DIR EXPECTED-FILES PROJECT-VERSION CHANGELOG
set -eu
here=$(dirname "$0")
. "$here/common.sh"
need_tools dpkg-deb dpkg-parsechangelog desktop-file-validate identify convert appstreamcli
deb=$(the_deb "$1") expected=$2 version=$3 changelog=$4
scratch

# Regular files only (directories end in /), as paths under /usr without the leading dot.
dpkg-deb -c "$deb" | awk '$6 !~ /\/$/ { sub(/^\./, "", $6); print $1, $2, $6 }' | sort -k3 > "$work/listing"
awk '{ print $3 }' "$work/listing" > "$work/files"
sed -e '/^#/d' -e '/^$/d' -e 's|^deb ||' -e 's|^|/usr/|' "$expected" | sort > "$work/expected"
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
packaged=$(dpkg-parsechangelog -l "$changelog" -S Version)
[ "${packaged%-*}" = "$version" ] || fail "the top entry of $changelog is $packaged, not for version $version: add one"
[ "$(field Version)" = "$packaged" ] || fail "package version $(field Version) is not the changelog's $packaged"
field Description | tail -n 1 | grep -Eq '^ Built from (commit [0-9a-f]{40}|a source tree that names no commit)$' ||
  fail "the description does not end by naming the commit: $(field Description | tail -n 1)"
depends=$(field Depends)
# The libraries that keep the screen on during a display among them: the session bus and the X
# server's screen saver.
for package in qt6-qpa-plugins fonts-comic-neue fonts-dejavu-core libqt6widgets6 libc6 libqt6dbus6 \
  libxcb-screensaver0; do
  echo "$depends" | tr ',' '\n' | grep -Eq "^ *$package( |$)" || fail "Depends lacks $package: $depends"
done
[ "$(field Recommends)" = qt6-wayland ] || fail "Recommends is '$(field Recommends)', expected qt6-wayland"

dpkg-deb -x "$deb" "$work/root"
id=com.example.brightmoor.zorvalit
desktop=$work/root/usr/share/applications/$id.desktop
desktop-file-validate "$desktop" || fail "the desktop entry is not valid"
grep -qx 'Exec=zorvalit' "$desktop" || fail "the desktop entry does not start zorvalit"

metainfo=$work/root/usr/share/metainfo/$id.metainfo.xml
appstreamcli validate --pedantic --no-net "$metainfo" || fail "appstreamcli finds fault with $metainfo"
date=$(date -u -d "$(dpkg-parsechangelog -l "$changelog" -S Date)" +%F)
grep -q "<release version=\"$version\" date=\"$date\"/>" "$metainfo" ||
  fail "the metainfo's releases lack $version of $date, the changelog's top entry"
# What a software centre reads: the catalogue appstreamcli composes from the installed tree names
# the application and carries its icon.
appstreamcli compose --no-color --origin=zorvalit --result-root="$work/catalogue" "$work/root" > "$work/compose.log" 2>&1 ||
  { cat "$work/compose.log"; fail "appstreamcli compose failed"; }
zcat "$work"/catalogue/usr/share/swcatalog/xml/zorvalit.xml.gz > "$work/catalogue.xml" 2>/dev/null ||
  zcat "$work"/catalogue/usr/share/app-info/xmls/zorvalit.xml.gz > "$work/catalogue.xml"
grep -q "<id>$id</id>" "$work/catalogue.xml" && grep -q '<icon type="cached"' "$work/catalogue.xml" ||
  { cat "$work/compose.log" "$work/catalogue.xml"; fail "the composed catalogue lacks the application or its icon"; }

# Each icon is of its size, and where the drawing's even grid falls on whole pixels (every size
# but 22 and 24) the bezel and the screen begin exactly there: black, silver, navy, not blurred.
for icon in "$work"/root/usr/share/icons/hicolor/*x*/apps/zorvalit.png; do
  size=$(basename "$(dirname "$(dirname "$icon")")")
  [ "$(identify -format '%wx%h' "$icon")" = "$size" ] || fail "$icon is not $size"
  pixels=${size%x*}
  [ $((pixels % 16)) -eq 0 ] || continue
  unit=$((pixels / 16)) middle=$((pixels / 2))
  black='srgb(0,0,0)' silver='srgb(192,192,192)' navy='srgb(0,0,128)'
  for at in "$((unit - 1)) $black" "$unit $silver" "$((2 * unit - 1)) $silver" "$((2 * unit)) $navy"; do
    set -- $at
    actual=$(convert "$icon" -alpha off -format "%[pixel:p{$middle,$1}]" info:)
    [ "$actual" = "$2" ] || fail "$icon at ($middle,$1) is $actual, expected $2: the bezel is blurred"
  done
done

for page in zorvalit zorvalit-counter; do
  gzip -t "$work/root/usr/share/man/man1/$page.1.gz" || fail "manual page $page is not gzip"
done
echo "deb-contents: $(wc -l < "$work/files") files as expected"
