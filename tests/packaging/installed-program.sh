#!/bin/sh
# The packaged zorvalit on a real X server (Xvfb) shows the readings of the packaged
# zorvalit-counter. The counter's pseudo-terminal is linked as COM3 in a private /dev without
# serial devices, and a scratch port choice names COM3. Keys pressed with xdotool open
# Display → Display the Frequency; screenshots then show the start text "0 Hz" while the
# counter is held stopped, and several times as many lime pixels once it sends
# "10.032.768 Hz". Screenshots stay in OUTPUT-DIR.
# Usage: installed-program.sh DEB-DIR ISOLATED-DEV OUTPUT-DIR
set -eu
. "$(dirname "$0")/common.sh"
need_root
need_tools dpkg-deb Xvfb openbox xprop xdotool import convert
deb=$(the_deb "$1") isolated=$2 output=$3
scratch
rm -rf "$output"
mkdir -p "$output"
. "$(dirname "$0")/../support/private-display.sh"
counter= program=
stop_all() {
  for pid in $program $counter; do kill -CONT "$pid" 2> /dev/null || true; kill "$pid" 2> /dev/null || true; done
  for pid in $program $counter; do wait "$pid" 2> /dev/null || true; done
  private_display_stop
  rm -rf "$work"
}
trap stop_all EXIT

dpkg-deb -x "$deb" "$work/root"
bin=$work/root/usr/bin

# Frames written whole (--fast), so that stopping the counter never cuts one in two.
"$bin/zorvalit-counter" --fast --readings "10.032.768 Hz" > "$work/counter.out" &
counter=$!
for _ in $(seq 50); do [ -s "$work/counter.out" ] && break; sleep 0.1; done
pty=$(head -n 1 "$work/counter.out")
case "$pty" in /dev/pts/*) ;; *) fail "the counter gave no pseudo-terminal: '$pty'" ;; esac
kill -STOP "$counter"

private_display_start 800x600 || fail "no private X display"

mkdir "$work/varlib"
printf 'Serialport:COM3\n' > "$work/varlib/zorvalit.cfg"
QT_QPA_PLATFORM=xcb sh "$isolated" --var-lib "$work/varlib" "COM3=$pty" -- "$bin/zorvalit" 2> "$output/zorvalit.log" &
program=$!

window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Zorvalit$' | head -n 1) || true
if [ -z "$window" ]; then
  if ! kill -0 "$program" 2> /dev/null; then
    wait "$program" && status=0 || status=$?
    program=
    [ "$status" -ne 77 ] || skip "cannot isolate /dev here"
  fi
  cat "$output/zorvalit.log"
  fail "no Zorvalit window appeared"
fi

# Lime pixels on the screen, once the count has settled above a floor; the shot stays.
settled_lime() {
  name=$1 floor=$2 last=-1
  for _ in $(seq 20); do
    import -window root "$output/$name.png"
    count=$(lime_pixels "$output/$name.png")
    [ "$count" -gt "$floor" ] && [ "$count" -eq "$last" ] && { echo "$count"; return; }
    last=$count
    sleep 0.25
  done
  echo "$last"
}

# A key lost while the window settles is pressed again; Escape first closes a menu left open.
start=0
for _ in 1 2 3; do
  xdotool windowfocus --sync "$window"
  xdotool key --clearmodifiers Escape alt+d
  sleep 0.5
  xdotool key --clearmodifiers Return
  start=$(settled_lime start 0)
  [ "$start" -gt 0 ] && break
done
[ "$start" -gt 0 ] || fail "no display panel after Display → Display the Frequency (see $output/start.png)"

kill -CONT "$counter"
reading=$(settled_lime reading $((start * 2)))
echo "lime pixels: $start with '0 Hz', $reading with the counter's reading"
[ "$reading" -gt $((start * 2)) ] || fail "no reading on the panel (see $output/reading.png)"

kill "$program"
wait "$program" && status=0 || status=$?
program=
[ "$status" -eq 0 ] || fail "zorvalit ended with status $status on SIGTERM"
