#!/bin/sh
# Boots a small Linux guest under QEMU (TCG) whose only program is the guest program, in one of
# its modes, and plays the host's part in its checks. The guest is of the guest program's own
# architecture: a PC (amd64) in every mode, or QEMU's ARM virt board (arm64, armhf) for uart.
#   uart      a real UART driver: on a PC the kernel's 8250 driver, the guest's ttyS1 (COM2)
#             having its line on a host pseudo-terminal and its ttyS2 and ttyS3 real UARTs with
#             no line behind them; on ARM the PL011 driver, its ttyAMA0 (COM2) on the host's
#             pseudo-terminal, and a 16550 on PCI with nothing behind it (COM3).
#   usb-ftdi  an FTDI USB serial adapter (QEMU's usb-serial behind an xHCI controller) with its
#             line on a host pseudo-terminal, pulled out and put back through QEMU's monitor
#             (QMP) when the guest asks.
#   usb-acm   a CDC-ACM device that the guest makes itself with the kernel's USB gadget stack on
#             a software controller (dummy_hcd); the guest plays the counter and works the plug.
# Whenever the guest prints "guest-send BYTES", those bytes go down the line; "guest-unplug" and
# "guest-plug" pull the adapter out and put it back. For the USB modes the guest loads the
# drivers from KERNEL's folder (modules/, see fetch-kernel.sh) and keeps /dev/COM2 linked to the
# adapter's node while it is there, as the udev rule for an adapter does. An ARM guest's /init is
# the busybox in KERNEL's folder. The guest's console (ttyS0, on ARM a 16550 on PCI) goes to
# RUN/console.log, which judge.sh reads per check. No host serial device is ever given to QEMU,
# and QEMU runs with the host's serial devices masked (tools/no-real-ports.sh).
# Exits 77 (skipped) without root, a mount namespace, QEMU, busybox-static, the kernel or its
# modules or busybox, or (usb-ftdi) python3. Prints the boot time, the whole run's time and the guest's figures.
# Usage: boot-guest.sh NO_REAL_PORTS GUEST_PROGRAM KERNEL RUN_DIR MODE
set -eu
[ $# -eq 5 ] || { echo "usage: boot-guest.sh NO_REAL_PORTS GUEST_PROGRAM KERNEL RUN_DIR MODE" >&2; exit 2; }
mask=$1 guest=$2 kernel=$3 run=$4 mode=$5
modules=$(dirname "$kernel")/modules

# The drivers each mode loads at boot, in the order of their dependencies (modinfo -F depends),
# those the guest program loads itself (the gadget, which it plugs in), and the adapter's nodes.
# The guest program's architecture (its ELF machine): the machine QEMU emulates, and the links
# that name its UARTs COM2 and COM3 where they are not ttyS1 and ttyS2.
case $(od -An -tu2 -j18 -N2 "$guest" | tr -d ' ') in
  62) qemu=qemu-system-x86_64 package=qemu-system-x86 machine="-accel tcg -cpu max" links= busybox=/bin/busybox ;;
  183) qemu=qemu-system-aarch64 package=qemu-system-arm machine="-M virt -cpu cortex-a72" ;;
  40) qemu=qemu-system-arm package=qemu-system-arm machine="-M virt -cpu cortex-a15" ;;
  *) echo "boot-guest: $guest is for no machine this boots" >&2; exit 2 ;;
esac
if [ "$qemu" != qemu-system-x86_64 ]; then
  links="COM2=ttyAMA0 COM3=ttyS1" busybox=$(dirname "$kernel")/busybox
  [ "$mode" = uart ] || { echo "boot-guest: an ARM guest runs only the uart mode" >&2; exit 2; }
fi

case "$mode" in
  uart) load= later= adapter= ;;
  usb-ftdi) load="usb-common usbcore xhci-hcd xhci-pci usbserial ftdi_sio" later= adapter=ttyUSB ;;
  usb-acm) load="usb-common usbcore configfs udc-core libcomposite dummy_hcd cdc-acm u_serial usb_f_acm"
    later=g_serial adapter=ttyACM ;;
  *) echo "boot-guest: no mode $mode" >&2; exit 2 ;;
esac

if [ -z "${GUEST_MASKED:-}" ]; then
  rm -rf "$run"
  mkdir -p "$run"
  skip() { echo "$mode: skipped: $1" | tee "$run/skipped"; exit 77; }
  [ "$(id -u)" -eq 0 ] || skip "needs root, to mask the host's serial devices in a private mount namespace"
  unshare -m --propagation private true 2> /dev/null ||
    skip "no mount namespace can be made here, to mask the host's serial devices in"
  command -v "$qemu" > /dev/null || skip "no $qemu (apt-get install $package)"
  if [ "$qemu" = qemu-system-x86_64 ]; then
    dpkg-query -W -f='${Status}\n' busybox-static 2> /dev/null | grep -q 'ok installed$' ||
      skip "no static busybox for the guest (apt-get install busybox-static)"
  else
    [ -s "$busybox" ] || skip "no static busybox for the guest at $busybox (tests/uart/fetch-kernel.sh $(dirname "$kernel") ARCH)"
  fi
  [ -s "$kernel" ] || skip "no guest kernel at $kernel (tests/uart/fetch-kernel.sh $(dirname "$kernel"))"
  for module in $load $later; do
    [ -s "$modules/$module.ko" ] || skip "no $module.ko in $modules (tests/uart/fetch-kernel.sh $(dirname "$kernel"))"
  done
  [ "$mode" != usb-ftdi ] || command -v python3 > /dev/null || skip "no python3 to work QEMU's monitor"
  GUEST_MASKED=1 exec "$mask" sh "$0" "$@"
fi

# The guest's root: busybox for /init, the drivers, and the guest program.
root=$run/root
mkdir -p "$root/bin" "$root/dev" "$root/proc" "$root/sys" "$root/lib/modules"
cp "$busybox" "$root/bin/busybox"
for applet in sh mount poweroff insmod rmmod ln rm sleep; do ln -s busybox "$root/bin/$applet"; done
cp "$guest" "$root/bin/zorvalit-guest"
for module in $load $later; do cp "$modules/$module.ko" "$root/lib/modules/"; done
echo "$load" > "$root/lib/modules/load"
echo "$adapter" > "$root/adapter"
echo "$links" > "$root/links"
cat > "$root/init" <<'INIT'
#!/bin/sh
mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t devtmpfs dev /dev
exec < /dev/console > /dev/console 2>&1
echo guest-booted
for module in $(cat /lib/modules/load); do
  insmod "/lib/modules/$module.ko" || echo "guest-note insmod $module failed"
done
for link in $(cat /links); do ln -s "${link#*=}" "/dev/${link%%=*}"; done
read -r adapter < /adapter
if [ -n "$adapter" ]; then
  # /dev/COM2 names the adapter's newest node while there is one, as the udev rule does.
  while :; do
    node=
    for candidate in /dev/"$adapter"*; do [ -e "$candidate" ] && node=$candidate; done
    if [ -z "$node" ]; then
      [ ! -L /dev/COM2 ] || rm -f /dev/COM2
    elif ! [ /dev/COM2 -ef "$node" ]; then
      ln -sf "$node" /dev/COM2
    fi
    sleep 0.1
  done &
fi
/bin/zorvalit-guest
echo "guest-exit $?"
poweroff -f
INIT
chmod 755 "$root/init"
(cd "$root" && find . | busybox cpio -o -H newc 2> /dev/null) > "$run/initramfs.cpio"

# The console first: on a PC the first UART, ttyS0; on ARM a 16550 on PCI, ttyS0 there too, since
# the virt board has one PL011, which carries the line.
console="-serial file:$run/console.log"
case "$mode" in
  uart) devices="-chardev pty,id=line -serial chardev:line -serial null -serial null" uarts=4 ;;
  usb-ftdi) devices="-chardev pty,id=line -device qemu-xhci -device usb-serial,chardev=line,id=adapter" uarts=1 ;;
  usb-acm) devices= uarts=1 ;;
esac
if [ -n "$links" ]; then
  console="-chardev file,id=console,path=$run/console.log -device pci-serial,chardev=console"
  devices="-chardev pty,id=line -serial chardev:line -chardev null,id=spare -device pci-serial,chardev=spare"
fi
scratch=$(mktemp -d)

now() { date +%s%N; }
millis() { echo $((($2 - $1) / 1000000)); }
start=$(now)
# Made before QEMU starts: its output is redirected in the background child, which may open the
# file only after the loop below first reads it.
: > "$run/console.log"
: > "$run/qemu.err"
# shellcheck disable=SC2086
"$qemu" $machine -m 256 -nodefaults -no-reboot -display none -monitor none \
  -kernel "$kernel" -initrd "$run/initramfs.cpio" \
  -append "console=ttyS0 quiet panic=-1 8250.nr_uarts=$uarts zorvalit.guest=$mode" \
  $console $devices -qmp "unix:$scratch/qmp,server=on,wait=off" \
  > "$run/qemu.err" 2>&1 &
qemu=$!
trap 'kill "$qemu" 2> /dev/null || true; rm -rf "$scratch"' EXIT

fail() {
  echo "$mode: $1" >&2
  echo "--- console:" >&2
  tr -d '\r' < "$run/console.log" | tail -n 40 >&2
  echo "--- qemu:" >&2
  cat "$run/qemu.err" >&2
  exit 1
}

# One command to QEMU's monitor, after the greeting and the capabilities handshake it needs.
qmp() {
  python3 - "$scratch/qmp" "$1" <<'PY' || fail "QEMU's monitor refused $1"
import json, socket, sys
monitor = socket.socket(socket.AF_UNIX)
monitor.connect(sys.argv[1])
stream = monitor.makefile("rw")
stream.readline()
for command in ({"execute": "qmp_capabilities"}, json.loads(sys.argv[2])):
    stream.write(json.dumps(command) + "\n")
    stream.flush()
    answer = {}
    while "return" not in answer and "error" not in answer:
        answer = json.loads(stream.readline())
    if "error" in answer:
        sys.exit(answer["error"]["desc"])
PY
}

deadline=$(($(date +%s) + 120))
if [ -n "$devices" ]; then
  pts=
  while [ -z "$pts" ]; do
    pts=$(sed -n 's/.*char device redirected to \(\/dev\/pts\/[0-9]*\) (label line).*/\1/p' "$run/qemu.err")
    kill -0 "$qemu" 2> /dev/null || fail "QEMU ended before it made the line's pseudo-terminal"
    [ -n "$pts" ] || sleep 0.05
  done
  # The host end of the line: held open all along (QEMU attaches its USB adapter only while
  # it is), and raw so that bytes pass unchanged.
  exec 3<> "$pts"
  stty raw -echo <&3
fi

# The guest's requests in order, from the console's complete lines: a line the guest is still
# writing is left for the next turn.
requests() {
  size=$(stat -c %s "$run/console.log")
  head -c "$size" "$run/console.log" | tr -d '\r' > "$run/console.seen"
  [ "$(tail -c 1 "$run/console.seen")" = "" ] || sed -i '$d' "$run/console.seen"
  grep -E '^guest-(send|unplug|plug)( |$)' "$run/console.seen" || true
}

done_requests=0 booted=
while kill -0 "$qemu" 2> /dev/null; do
  [ "$(date +%s)" -lt "$deadline" ] || fail "the guest did not finish within 120 s"
  [ -n "$booted" ] || ! grep -q '^guest-booted' "$run/console.log" || booted=$(now)
  requests > "$run/requests"
  while [ "$(wc -l < "$run/requests")" -gt "$done_requests" ]; do
    done_requests=$((done_requests + 1))
    request=$(sed -n "${done_requests}p" "$run/requests")
    case "$request" in
      # shellcheck disable=SC2059
      "guest-send "*) printf "${request#guest-send }" >&3 ;;
      guest-unplug) qmp '{"execute": "device_del", "arguments": {"id": "adapter"}}' ;;
      guest-plug) qmp '{"execute": "device_add", "arguments": {"driver": "usb-serial", "chardev": "line", "id": "adapter"}}' ;;
    esac
  done
  sleep 0.05
done
wait "$qemu" || fail "QEMU failed"
end=$(now)

tr -d '\r' < "$run/console.log" | grep -q '^guest-done' || fail "the guest program did not finish"
[ -n "$booted" ] || booted=$end
echo "$mode: boot $(millis "$start" "$booted") ms, boot and checks $(millis "$start" "$end") ms"
tr -d '\r' < "$run/console.log" | grep -E '^guest-(check|figure|message|note|exit)'
