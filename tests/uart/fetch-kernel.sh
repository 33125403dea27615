#!/bin/sh
# Puts a Debian 12 kernel (its 8250 serial driver is built in) in DIR as DIR/vmlinuz, unpacked
# from the newest versioned linux-image-6.1.0-*-amd64 package without installing it. Does
# nothing when DIR already holds one, so a rebuild does not fetch it again.
# Usage: fetch-kernel.sh DIR
set -eu
[ $# -eq 1 ] || { echo "usage: fetch-kernel.sh DIR" >&2; exit 2; }
dir=$1
[ -s "$dir/vmlinuz" ] && exit 0

newest() {
  apt-cache search --names-only '^linux-image-6\.1\.0-[0-9]+-amd64$' | cut -d' ' -f1 | sort -V | tail -n 1
}
package=$(newest)
if [ -z "$package" ]; then
  apt-get update -q
  package=$(newest)
fi
[ -n "$package" ] || { echo "fetch-kernel: apt offers no linux-image-6.1.0-*-amd64" >&2; exit 1; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# apt-get download writes into the current folder; as root it warns that _apt cannot reach it.
(cd "$scratch" && apt-get download -q "$package" 2>&1 | grep -v 'unsandboxed as root' || true)
deb=$(ls "$scratch"/*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || { echo "fetch-kernel: could not download $package" >&2; exit 1; }
dpkg-deb -x "$deb" "$scratch/root"
mkdir -p "$dir"
cp "$scratch"/root/boot/vmlinuz-* "$dir/vmlinuz.part"
echo "$package" > "$dir/package"
mv "$dir/vmlinuz.part" "$dir/vmlinuz"
echo "fetch-kernel: $package in $dir/vmlinuz"
