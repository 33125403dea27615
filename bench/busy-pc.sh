#!/bin/sh
# The program on a busy PC: the real window's display against the stand-in counter at the line's
# full pace (2400 baud, ten frames a second) for MINUTES, then 40 port changes, on a private X
# display (Xvfb with openbox): once on the machine as it is, and once with every core kept busy
# at the program's own priority (tests/support/busy-machine.sh). Prints both runs' figures.
# Usage: bench/busy-pc.sh [MINUTES]   (default 10; after the release build; needs Xvfb, openbox
#        and stress-ng, which ./dev.sh loaded installs)
set -eu
cd "$(dirname "$0")/.."
minutes=${1:-10}
bench=build/release/bench/zorvalit-bench
[ -x "$bench" ] || { echo "busy-pc: build $bench first (cmake --build --preset release)" >&2; exit 1; }
display=tests/support/private-display.sh

echo "== As the machine is"
QT_QPA_PLATFORM=xcb "$display" "$bench" --minutes "$minutes"
echo
echo "== Every core busy"
tests/support/busy-machine.sh "$(pwd)/build/busy-pc" env QT_QPA_PLATFORM=xcb "$display" "$bench" --minutes "$minutes"
