#!/bin/sh
# What Windows users see of the packages besides the program's behaviour: README.txt and
# LICENSE.txt in the zip with CR LF line ends, the README written for Windows (no Linux commands);
# the version details Explorer shows (company, copyright with the licence, the version and commit)
# on the program and the setup program; and the icon's five images, 16 to 48 pixels in 32-bit
# colour and 256 as PNG, in the program.
# Usage: package-details.sh ZIP SETUP VERSION
set -eu
zip=$1 setup=$2 version=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
status=0
fail() { echo "FAIL: $*" >&2; status=1; }
(cd "$scratch" && cmake -E tar xf "$zip")
folder=$(echo "$scratch"/*/)

for text in README.txt LICENSE.txt; do
  [ -s "$folder/$text" ] || { fail "no $text in the zip"; continue; }
  lines=$(wc -l < "$folder/$text")
  [ "$(grep -c "$(printf '\r')\$" "$folder/$text")" -eq "$lines" ] || fail "$text has lines that do not end in CR LF"
done
grep -q '^Install on Windows' "$folder/README.txt" || fail "README.txt says nothing of installing on Windows"
! grep -n -E '\./dev\.sh|sudo |apt |dpkg|/dev/tty|udevadm' "$folder/README.txt" || fail "README.txt holds Linux commands"
grep -q 'MIT' "$folder/LICENSE.txt" || fail "LICENSE.txt is not the MIT licence"

# Each string of the version resource, as "Name=value".
details() { wrestool -x --raw --type=16 "$1" | strings -el | awk 'NR > 3 && !/^(VarFileInfo|Translation)$/ { if (name) { print name "=" $0; name = "" } else name = $0 }'; }
for exe in "$folder/zorvalit.exe" "$setup"; do
  said=$(details "$exe")
  for wanted in "CompanyName=Brightmoor Laboratory Instruments Ltd." \
      "LegalCopyright=Copyright (c) 2026 Brightmoor Laboratory Instruments Ltd.; SPDX-License-Identifier: MIT" \
      "FileVersion=$version" "ProductName=Zorvalit"; do
    echo "$said" | grep -qxF "$wanted" || fail "$(basename "$exe") lacks $wanted: $said"
  done
  echo "$said" | grep -Eqx "ProductVersion=$version( \(commit [0-9a-f]{40}\))?" || fail "$(basename "$exe")'s ProductVersion is not $version and its commit"
done

# The program's icon, as wrestool writes its group out as an .ico file: each image's size and colour
# depth as the file's directory gives them.
wrestool -x --type=14 "$folder/zorvalit.exe" > "$scratch/zorvalit.ico"
images=$(python3 -c '
import struct, sys
data = open(sys.argv[1], "rb").read()
for i in range(struct.unpack_from("<H", data, 4)[0]):
    w, h, _, _, _, bits = struct.unpack_from("<BBBBHH", data, 6 + 16 * i)
    print(f"{w or 256}x{h or 256} {bits}")' "$scratch/zorvalit.ico" | sort -n)
expected="16x16 32
24x24 32
32x32 32
48x48 32
256x256 32"
[ "$images" = "$expected" ] || fail "zorvalit.exe's icon holds: $images"
[ $status -eq 0 ] && echo "package details: README.txt, LICENSE.txt, version details and icon as expected"
exit $status
