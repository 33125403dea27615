#!/bin/sh
# Proves Debian 13 from a Debian 12 machine: in a Debian 13 root made with debootstrap, from the
# package archive that apt uses here, runs `./dev.sh test quick` (its own package install, the
# format check, the release build and its suite, uart and usb on 13's kernel), then installs the
# .deb of this machine's architecture from DEB-DIR there and runs the packaging check that the
# program shows a reading.
#
# The root is kept as build/debian13/root: made in root.making and renamed once complete, so a
# half-made one is made again, and a second run only updates the source copy (the files git lists,
# as they are in the work tree) and builds what changed. Every mount is made in a private mount
# namespace and vanishes with it: the root bound on itself (the tests make namespaces of their
# own), proc, and a fresh /dev holding only null, zero, full, random, urandom, tty, ptmx, shared
# memory and its own pseudo-terminals. The host's /dev is never bound in, so no serial device is
# reachable there. Needs root; fails, never skips, when the root cannot be made.
# Usage: debian13-root.sh DEB-DIR
set -eu
[ $# -eq 1 ] || { echo "usage: debian13-root.sh DEB-DIR" >&2; exit 2; }
fail() {
  echo "debian13-root: $*" >&2
  exit 1
}
[ "$(id -u)" -eq 0 ] || fail "run me as root: debootstrap, chroot and mounts need it"
# The package of this machine's architecture: dist/ holds the ARM ones too.
set -- "$(cd "$1" && pwd)"/*_"$(dpkg --print-architecture)".deb
[ $# -eq 1 ] && [ -f "$1" ] || fail "expected one $(dpkg --print-architecture) .deb in the folder given, found: $*"
deb=$1
cd "$(dirname "$0")/.."
base=$(pwd)/build/debian13
root=$base/root
mkdir -p "$base"
seconds() { date +%s; }
began=$(seconds)

# Deleting a folder that still has something mounted beneath it would delete through the mount.
nothing_mounted_under() {
  ! findmnt -rn -o TARGET | grep -q -e "^$1\$" -e "^$1/"
}

if [ ! -d "$root" ]; then
  mirror=$(apt-get indextargets --format '$(REPO_URI)' 'Label: Debian' 'Target-Of: deb' | head -n 1)
  [ -n "$mirror" ] || { apt-get update -q && mirror=$(apt-get indextargets --format '$(REPO_URI)' 'Label: Debian' 'Target-Of: deb' | head -n 1); }
  [ -n "$mirror" ] || fail "apt's sources name no Debian archive to make the Debian 13 root from"
  nothing_mounted_under "$root.making" || fail "$root.making has mounts beneath it; not deleting it"
  rm -rf "$root.making"
  echo "debian13-root: making a Debian 13 root from $mirror"
  # In a mount namespace of its own, so that the proc and sys it mounts inside vanish with it, even
  # when it is cut short.
  unshare -m --propagation private debootstrap --variant=minbase trixie "$root.making" "$mirror" > "$base/debootstrap.log" 2>&1 || {
    tail -n 20 "$base/debootstrap.log" >&2
    fail "could not make the Debian 13 root from $mirror (is the package archive reachable?)"
  }
  mv "$root.making" "$root"
  echo "debian13-root: root made in $(($(seconds) - began)) s"
fi

# The source as the work tree has it, under git so that the format check and the docs test list
# its files; the root's build folder stays between runs.
src=$root/src/zorvalit
nothing_mounted_under "$root" || fail "$root has mounts beneath it; not replacing its source copy"
mkdir -p "$src"
find "$src" -mindepth 1 -maxdepth 1 ! -name build -exec rm -rf {} +
git ls-files -z --cached --others --exclude-standard | tar --null -T - --ignore-failed-read -cf - | tar -xf - -C "$src"
git -C "$src" init -q
git -C "$src" add -A
mkdir -p "$root/tmp/zorvalit-deb12"
rm -f "$root"/tmp/zorvalit-deb12/*.deb
cp "$deb" "$root/tmp/zorvalit-deb12/"
cp -L /etc/resolv.conf "$root/etc/resolv.conf"

copied=$(seconds)
unshare -m --propagation private sh -eu -c '
  root=$1
  mount --bind "$root" "$root"
  mount -t proc proc "$root/proc"
  mount -t tmpfs -o mode=755,size=1m zorvalit-dev "$root/dev"
  mknod -m 666 "$root/dev/null" c 1 3
  mknod -m 666 "$root/dev/zero" c 1 5
  mknod -m 666 "$root/dev/full" c 1 7
  mknod -m 666 "$root/dev/random" c 1 8
  mknod -m 666 "$root/dev/urandom" c 1 9
  mknod -m 666 "$root/dev/tty" c 5 0
  mkdir "$root/dev/pts" "$root/dev/shm"
  mount -t devpts -o newinstance,ptmxmode=0666,mode=0620,gid=5 zorvalit-pts "$root/dev/pts"
  ln -s pts/ptmx "$root/dev/ptmx"
  mount -t tmpfs -o mode=1777,size=64m zorvalit-shm "$root/dev/shm"
  exec chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
    CI="${CI:-}" sh -eu -c "
      cd /src/zorvalit
      start=\$(date +%s)
      ./dev.sh test quick
      echo \"debian13-root: ./dev.sh test quick in \$((\$(date +%s) - start)) s\"
      start=\$(date +%s)
      DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends /tmp/zorvalit-deb12/*.deb
      status=0
      sh tests/packaging/installed-program.sh /tmp/zorvalit-deb12 tests/support/isolated-dev.sh \
        /tmp/zorvalit-deb12/installed-program || status=\$?
      apt-get purge -y -q zorvalit
      [ \$status -eq 0 ] || { echo \"debian13-root: the Debian 12 package does not show a reading on 13\" >&2; exit 1; }
      echo \"debian13-root: the Debian 12 package installed and showed a reading in \$((\$(date +%s) - start)) s\""
' debian13-root "$root"
echo "debian13-root: Debian 13 passed in $(($(seconds) - began)) s ($(($(seconds) - copied)) s in the root)"
