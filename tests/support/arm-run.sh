#!/bin/sh
# Runs a command where ARM Linux programs (64-bit aarch64 and 32-bit armhf) just run: under
# qemu-user, through a binfmt_misc instance of a user namespace of its own, so that the ARM
# programs a test starts (the stand-in counter, the program) run too. The instance and its two
# handlers exist only in that namespace and end with it: the machine's own binfmt_misc is never
# mounted or written. The handlers carry the F flag (the kernel opens qemu when they are
# registered), so they work in every mount namespace the command makes.
# Linux gives a user namespace a binfmt_misc of its own from 6.7 on. `--check` says whether that
# works here: it exits 0, or 77 saying why not in one line. Where it does not, a command that is
# one ARM program still runs, under qemu named outright (what it starts does not): enough for the
# programs a build runs, such as the icon renderer.
# As root the namespace maps every user and group to itself, so files keep their owners and a
# test may switch to "nobody"; it is root without the machine's privileges (no mknod, no modules,
# and a tty made exclusive refuses it as it refuses anyone). As anyone else the caller is its root.
# Needs qemu-user (its /usr/bin/qemu-aarch64 and qemu-arm), never qemu-user-static, whose files
# register handlers in the machine's own namespace at boot.
# Usage: arm-run.sh --check | COMMAND [ARG...]
set -eu
[ $# -ge 1 ] || { echo "usage: arm-run.sh --check | COMMAND [ARG...]" >&2; exit 2; }

# The ELF headers of each architecture, as Debian's qemu-user-binfmt matches them: 64- or 32-bit,
# little-endian, an executable or a shared object, machine 183 (AArch64) or 40 (ARM).
aarch64=':zorvalit-aarch64:M::\x7f\x45\x4c\x46\x02\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\xb7\x00:\xff\xff\xff\xff\xff\xff\xff\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-aarch64:F'
arm=':zorvalit-arm:M::\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x28\x00:\xff\xff\xff\xff\xff\xff\xff\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-arm:F'
for qemu in qemu-aarch64 qemu-arm; do
  [ -x "/usr/bin/$qemu" ] || { echo "no /usr/bin/$qemu (apt-get install --no-install-recommends qemu-user)"; exit 77; }
done

# Where no handler can be registered: --check says why, and a command that is one ARM program
# runs under qemu named outright, by its ELF machine.
fallback='
  why=$1
  shift
  [ "$1" != --check ] || { echo "$why"; exit 77; }
  case $(od -An -tu2 -j18 -N2 "$1" 2> /dev/null | tr -d " ") in
    183) exec /usr/bin/qemu-aarch64 "$@" ;;
    40) exec /usr/bin/qemu-arm "$@" ;;
    *) exec "$@" ;;
  esac'
# Inside the namespace: a fresh binfmt_misc over /proc/sys/fs/binfmt_misc, seen only in this
# mount namespace, the two handlers, then the command.
inside='
  aarch64=$1 arm=$2 fallback=$3
  shift 3
  if ! mount -t binfmt_misc zorvalit-binfmt /proc/sys/fs/binfmt_misc 2> /dev/null; then
    exec sh -euc "$fallback" arm-run "Linux $(uname -r) gives a user namespace no binfmt_misc of its own (6.7 and later do)" "$@"
  fi
  printf "%s" "$aarch64" > /proc/sys/fs/binfmt_misc/register
  printf "%s" "$arm" > /proc/sys/fs/binfmt_misc/register
  [ "$1" != --check ] || exit 0
  exec "$@"'
no_namespace() { exec sh -euc "$fallback" arm-run "no user namespace can be made here" "$@"; }

if [ "$(id -u)" -ne 0 ]; then
  unshare --user --map-root-user true 2> /dev/null || no_namespace "$@"
  exec unshare --user --map-root-user --mount --propagation private sh -euc "$inside" arm-run "$aarch64" "$arm" "$fallback" "$@"
fi

# As root: a placeholder process makes the namespaces; this process gives the new user namespace
# its identity maps (which only a process outside it may write), joins both and becomes the
# command, in the same working folder. The placeholder ends once this process is inside, or gone;
# it is started by a shell that ends at once, so it is never the command's child (a test that
# waits for any child must not find it).
me=$$
holder=$(sh -c 'unshare --user --mount --propagation private sh -c "
  while kill -0 $1 2> /dev/null && [ \"\$(readlink /proc/$1/ns/user)\" != \"\$(readlink /proc/self/ns/user)\" ]; do
    sleep 0.01
  done" < /dev/null > /dev/null 2>&1 &
  echo $!' placeholder "$me")
while [ "$(readlink "/proc/$holder/ns/user" 2> /dev/null)" = "$(readlink /proc/self/ns/user)" ]; do
  sleep 0.005
done
[ -e "/proc/$holder/uid_map" ] || no_namespace "$@"
echo "0 0 4294967295" > "/proc/$holder/uid_map"
echo "0 0 4294967295" > "/proc/$holder/gid_map"
exec nsenter --target "$holder" --user --mount --wd="$(pwd)" sh -euc "$inside" arm-run "$aarch64" "$arm" "$fallback" "$@"
