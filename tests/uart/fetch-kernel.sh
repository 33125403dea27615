#!/bin/sh
# Puts the running Debian release's own kernel (its 8250 serial driver is built in) in DIR as
# DIR/vmlinuz, unpacked without installing it from the versioned package that the release's
# linux-image-amd64 depends on (6.1 on Debian 12, 6.12 on 13), and beside
# it in DIR/modules the USB modules of the same package that the usb tests load into the guest:
# the xHCI host and the FTDI adapter's driver, the CDC-ACM driver, and the gadget stack that
# makes a CDC-ACM device on a software USB controller. Each is a plain NAME.ko there, unpacked
# when the package ships it compressed. Does nothing when DIR already holds both, so a rebuild
# does not fetch them again; a kernel fetched before the modules were kept is fetched anew, so
# that the two always come from one package.
# Usage: fetch-kernel.sh DIR
set -eu
[ $# -eq 1 ] || { echo "usage: fetch-kernel.sh DIR" >&2; exit 2; }
dir=$1
[ -s "$dir/vmlinuz" ] && [ -d "$dir/modules" ] && exit 0
modules="usb-common usbcore xhci-hcd xhci-pci usbserial ftdi_sio cdc-acm
  configfs udc-core libcomposite dummy_hcd u_serial usb_f_acm g_serial"

release_kernel() {
  apt-cache depends linux-image-amd64 2> /dev/null | sed -n 's/^ *Depends: \(linux-image-[^ <>]*\)$/\1/p' | head -n 1
}
package=$(release_kernel)
if [ -z "$package" ]; then
  apt-get update -q
  package=$(release_kernel)
fi
[ -n "$package" ] || { echo "fetch-kernel: apt offers no linux-image-amd64 to name the release's kernel" >&2; exit 1; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# apt-get download writes into the current folder; as root it warns that _apt cannot reach it.
(cd "$scratch" && apt-get download -q "$package" 2>&1 | grep -v 'unsandboxed as root' || true)
deb=$(ls "$scratch"/*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || { echo "fetch-kernel: could not download $package" >&2; exit 1; }
dpkg-deb -x "$deb" "$scratch/root"
mkdir -p "$dir" "$scratch/modules"
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
