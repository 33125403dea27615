#!/bin/sh
# Boots a small Linux guest under QEMU (TCG) whose only program is the UART guest program, and
# plays the counter on the guest's ttyS1 through a host pseudo-terminal: whenever the guest
# prints "uart-send BYTES", those bytes go down the line. The guest's console (ttyS0) goes to
# RUN/console.log, which judge.sh reads per check. Its ttyS2 and ttyS3 are real UARTs with no
# line behind them. No host serial device is ever given to QEMU, and QEMU runs with the host's
# serial devices masked (tools/no-real-ports.sh). Exits 77 (skipped) without root, QEMU,
# busybox-static or the kernel. Prints the boot time and the whole run's time.
# Usage: boot-guest.sh NO_REAL_PORTS GUEST_PROGRAM KERNEL RUN_DIR
set -eu
[ $# -eq 4 ] || { echo "usage: boot-guest.sh NO_REAL_PORTS GUEST_PROGRAM KERNEL RUN_DIR" >&2; exit 2; }
mask=$1 guest=$2 kernel=$3 run=$4

if [ -z "${UART_MASKED:-}" ]; then
  rm -rf "$run"
  mkdir -p "$run"
  skip() { echo "uart: skipped: $1" | tee "$run/skipped"; exit 77; }
  [ "$(id -u)" -eq 0 ] || skip "needs root, to mask the host's serial devices in a private mount namespace"
  command -v qemu-system-x86_64 > /dev/null || skip "no qemu-system-x86_64 (apt-get install qemu-system-x86)"
  dpkg-query -W -f='${Status}\n' busybox-static 2> /dev/null | grep -q 'ok installed$' ||
    skip "no static busybox for the guest (apt-get install busybox-static)"
  [ -s "$kernel" ] || skip "no guest kernel at $kernel (tests/uart/fetch-kernel.sh $(dirname "$kernel"))"
  UART_MASKED=1 exec "$mask" sh "$0" "$@"
fi

# The guest's root: busybox for /init, and the guest program.
root=$run/root
mkdir -p "$root/bin" "$root/dev" "$root/proc" "$root/sys"
cp /bin/busybox "$root/bin/busybox"
for applet in sh mount poweroff; do ln -s busybox "$root/bin/$applet"; done
cp "$guest" "$root/bin/zorvalit-uart-guest"
cat > "$root/init" <<'INIT'
#!/bin/sh
mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t devtmpfs dev /dev
exec < /dev/console > /dev/console 2>&1
echo uart-booted
/bin/zorvalit-uart-guest
echo "uart-exit $?"
poweroff -f
INIT
chmod 755 "$root/init"
(cd "$root" && find . | busybox cpio -o -H newc 2> /dev/null) > "$run/initramfs.cpio"

now() { date +%s%N; }
millis() { echo $((($2 - $1) / 1000000)); }
start=$(now)
: > "$run/console.log"
qemu-system-x86_64 -accel tcg -cpu max -m 256 -nodefaults -no-reboot -display none -monitor none \
  -kernel "$kernel" -initrd "$run/initramfs.cpio" \
  -append "console=ttyS0 quiet panic=-1 8250.nr_uarts=4 zorvalit.uart_guest=1" \
  -serial "file:$run/console.log" -chardev pty,id=com2 -serial chardev:com2 -serial null -serial null \
  > "$run/qemu.err" 2>&1 &
qemu=$!
trap 'kill "$qemu" 2> /dev/null || true' EXIT

fail() {
  echo "uart: $1" >&2
  echo "--- console:" >&2
  tr -d '\r' < "$run/console.log" | tail -n 40 >&2
  echo "--- qemu:" >&2
  cat "$run/qemu.err" >&2
  exit 1
}

deadline=$(($(date +%s) + 120))
pts=
while [ -z "$pts" ]; do
  pts=$(sed -n 's/.*char device redirected to \(\/dev\/pts\/[0-9]*\) (label com2).*/\1/p' "$run/qemu.err")
  kill -0 "$qemu" 2> /dev/null || fail "QEMU ended before it made the guest's ttyS1"
  [ -n "$pts" ] || sleep 0.05
done
# The host end of the guest's ttyS1: held open all along, and raw so that bytes pass unchanged.
exec 3<> "$pts"
stty raw -echo <&3

sent=0 booted=
while kill -0 "$qemu" 2> /dev/null; do
  [ "$(date +%s)" -lt "$deadline" ] || fail "the guest did not finish within 120 s"
  [ -n "$booted" ] || ! grep -q '^uart-booted' "$run/console.log" || booted=$(now)
  sends=$(tr -d '\r' < "$run/console.log" | sed -n 's/^uart-send //p')
  count=$(printf '%s' "$sends" | grep -c . || true)
  if [ "$count" -gt "$sent" ]; then
    sent=$((sent + 1))
    # shellcheck disable=SC2059
    printf "$(printf '%s\n' "$sends" | sed -n "${sent}p")" >&3
  fi
  sleep 0.05
done
wait "$qemu" || fail "QEMU failed"
trap - EXIT
end=$(now)

tr -d '\r' < "$run/console.log" | grep -q '^uart-done' || fail "the guest program did not finish"
[ -n "$booted" ] || booted=$end
echo "uart: boot $(millis "$start" "$booted") ms, boot and checks $(millis "$start" "$end") ms"
tr -d '\r' < "$run/console.log" | grep -E '^uart-(check|figure|message|note|exit)'
