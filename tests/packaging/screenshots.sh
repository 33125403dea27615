#!/bin/sh
# The README's screenshots can still be made from the current window: zorvalit-screenshots
# writes the idle window without a lime pixel, the display with its large lime reading, and
# the About box.
# Usage: screenshots.sh ZORVALIT-SCREENSHOTS
set -eu
. "$(dirname "$0")/common.sh"
need_tools convert
scratch
QT_QPA_PLATFORM=offscreen "$1" "$work" || fail "zorvalit-screenshots failed"
for shot in window display about; do
  [ -s "$work/$shot.png" ] || fail "no $shot.png"
done
[ "$(lime_pixels "$work/window.png")" -eq 0 ] || fail "the idle window shows lime pixels"
[ "$(lime_pixels "$work/display.png")" -gt 3000 ] || fail "the display shows no large lime reading"
