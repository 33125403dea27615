#!/bin/sh
# makensis for CPack, with the uninstaller's lists of files to delete in name order. CPack writes
# them in the order in which the file system lists its staging folder, which differs between file
# systems and machines; the installer would differ with it. Other arguments pass through.
set -eu
for script in "$@"; do :; done
case "${script:-}" in
  *.nsi)
    # Each run of Delete lines keeps its place and is sorted within it.
    tab=$(printf '\t')
    awk '/^ *Delete "\$INSTDIR\\/ { if (!run) start = NR; run = 1; printf "%09d\t%s\n", start, $0; next }
         { run = 0; printf "%09d\t%s\n", NR, $0 }' "$script" |
      LC_ALL=C sort -s -t "$tab" -k1,1n -k2 | cut -f2- > "$script.in-order"
    mv "$script.in-order" "$script"
    ;;
esac
exec makensis "$@"
