#!/bin/sh
# Puts the running Debian release's own kernel for ARCH (amd64 by default, arm64 or armhf) in DIR
# as DIR/vmlinuz, unpacked without installing it from the versioned package that the release's
# kernel metapackage depends on: linux-image-amd64 (6.1 on Debian 12, 6.12 on 13, its 8250 serial
# driver built in), linux-image-arm64 and linux-image-armmp-lpae (QEMU's virt machine, the PL011
# and 8250 drivers built in). Beside the amd64 kernel, in DIR/modules, the USB modules of the same
# package that the usb tests load into the guest: the xHCI host and the FTDI adapter's driver, the
# CDC-ACM driver, and the gadget stack that makes a CDC-ACM device on a software USB controller,
# each a plain NAME.ko (unpacked when the package ships it compressed). Beside an ARM kernel, in
# DIR/busybox, the static busybox of that architecture (busybox-static), the ARM guest's /init.
# Does nothing when DIR already holds all of it, so a rebuild does not fetch it again; a kernel
# fetched before the rest was kept is fetched anew, so that they always come from one package.
# ARM packages need their architecture added to dpkg (./dev.sh test adds it).
# Usage: fetch-kernel.sh DIR [ARCH]
set -eu
[ $# -ge 1 ] && [ $# -le 2 ] || { echo "usage: fetch-kernel.sh DIR [ARCH]" >&2; exit 2; }
dir=$1 arch=${2:-amd64}
case "$arch" in
  amd64) flavour=amd64 beside=modules ;;
  arm64) flavour=arm64 beside=busybox ;;
  armhf) flavour=armmp-lpae beside=busybox ;;
  *) echo "fetch-kernel: no guest kernel for $arch" >&2; exit 2 ;;
esac
[ -s "$dir/vmlinuz" ] && [ -e "$dir/$beside" ] && exit 0
modules="usb-common usbcore xhci-hcd xhci-pci usbserial ftdi_sio cdc-acm
  configfs udc-core libcomposite dummy_hcd u_serial usb_f_acm g_serial"

release_kernel() {
  apt-cache depends "linux-image-$flavour:$arch" 2> /dev/null |
    sed -n 's/^ *Depends: \(linux-image-[^ <>]*\)$/\1/p' | head -n 1
}
package=$(release_kernel)
if [ -z "$package" ]; then
  apt-get update -q
  package=$(release_kernel)
fi
[ -n "$package" ] || { echo "fetch-kernel: apt offers no linux-image-$flavour:$arch to name the release's kernel" >&2; exit 1; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# apt-get download writes into the current folder; as root it warns that _apt cannot reach it.
download() {
  (cd "$scratch" && apt-get download -q "$1" 2>&1 | grep -v 'unsandboxed as root' || true)
  deb=$(ls "$scratch/${1%%:*}"_*.deb 2>/dev/null | head -n 1)
  [ -n "$deb" ] || { echo "fetch-kernel: could not download $1" >&2; exit 1; }
  dpkg-deb -x "$deb" "$scratch/$2"
}
download "$package" root
mkdir -p "$dir"
rm -f "$dir/vmlinuz"
if [ "$arch" != amd64 ]; then
  download "busybox-static:$arch" busybox
  cp "$scratch/busybox/bin/busybox" "$dir/busybox.part"
  cp "$scratch"/root/boot/vmlinuz-* "$dir/vmlinuz.part"
  echo "$package" > "$dir/package"
  mv "$dir/busybox.part" "$dir/busybox"
  mv "$dir/vmlinuz.part" "$dir/vmlinuz"
  echo "fetch-kernel: $package in $dir/vmlinuz, its architecture's busybox in $dir/busybox"
  exit 0
fi
mkdir -p "$scratch/modules"
for module in $modules; do
  # Debian 12 keeps modules under lib/modules, 13 under usr/lib/modules.
  file=$(find "$scratch/root" -path '*/lib/modules/*' -name "$module.ko*" | head -n 1)
  case "$file" in
    *.ko) cp "$file" "$scratch/modules/$module.ko" ;;
    *.ko.xz) xz -dc "$file" > "$scratch/modules/$module.ko" ;;
    *) echo "fetch-kernel: $package has no module $module" >&2; exit 1 ;;
  esac
done
rm -rf "$dir/modules" "$dir/modules.part"
mv "$scratch/modules" "$dir/modules.part"
cp "$scratch"/root/boot/vmlinuz-* "$dir/vmlinuz.part"
echo "$package" > "$dir/package"
mv "$dir/vmlinuz.part" "$dir/vmlinuz"
mv "$dir/modules.part" "$dir/modules"
echo "fetch-kernel: $package in $dir/vmlinuz, its USB modules in $dir/modules"
