#!/bin/sh
# Renders the README's pictures of the window into docs/, offscreen, from the current code:
# window.png (idle), display.png (showing 10.032.768 Hz) and about.png (Help → About).
# Needs the fonts the package depends on: fonts-comic-neue and fonts-dejavu-core.
# Usage: tools/screenshots.sh   (builds zorvalit-screenshots in build/release first)
set -eu
cd "$(dirname "$0")/.."
for font in "Comic Neue" "DejaVu Sans"; do
  fc-list "$font" | grep -q . || { echo "screenshots: font $font is missing; install fonts-comic-neue fonts-dejavu-core" >&2; exit 1; }
done
cmake --preset release > /dev/null
cmake --build --preset release --target zorvalit-screenshots
QT_QPA_PLATFORM=offscreen build/release/packaging/screenshots/zorvalit-screenshots docs
echo "screenshots: docs/window.png docs/display.png docs/about.png"
