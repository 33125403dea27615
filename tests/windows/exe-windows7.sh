#!/bin/sh
# The program starts on Windows 7 SP1 and later: every function it imports, read from its PE
# import table, is in the kept list (windows7-imports.txt) with a version no newer than Windows 7;
# and the architecture its manifest names is the executable's own (x86 for PE32, amd64 for PE32+),
# since Windows refuses to start a program whose manifest names another.
# Usage: exe-windows7.sh OBJDUMP EXE LIST
set -eu
[ $# -eq 3 ] || { echo "usage: exe-windows7.sh OBJDUMP EXE LIST" >&2; exit 2; }
objdump=$1 exe=$2 list=$3
status=0

# "dll function" for each import: objdump lists a DLL's functions as hint and name, indented, below
# its "DLL Name:" line.
"$objdump" -p "$exe" | awk '/^\tDLL Name:/ { dll = tolower($3); next } /^[^\t]/ { dll = "" }
  dll && /^\t[0-9a-f]+\t/ { print dll, $NF }' > "${TMPDIR:-/tmp}/imports.$$"
trap 'rm -f "${TMPDIR:-/tmp}/imports.$$"' EXIT
[ -s "${TMPDIR:-/tmp}/imports.$$" ] || { echo "FAIL: no imports read from $exe" >&2; exit 1; }
unlisted=$(awk 'NR == FNR { if ($0 !~ /^#/ && NF) version[tolower($1) " " $2] = $3; next }
  { v = version[$1 " " $2]
    if (v == "") print $1, $2, "is not in the list"
    else if (v !~ /^(2000|XP|Vista|7)$/) print $1, $2, "needs Windows", v }' "$list" "${TMPDIR:-/tmp}/imports.$$")
if [ -n "$unlisted" ]; then
  echo "FAIL: $exe imports what Windows 7 SP1 may not have:" >&2
  echo "$unlisted" >&2
  status=1
fi

case $("$objdump" -f "$exe" | sed -n 's/.*file format //p') in
  pei-i386) expected=x86 ;;
  pei-x86-64) expected=amd64 ;;
  *) echo "FAIL: $exe is neither PE32 i386 nor PE32+ x86-64" >&2; exit 1 ;;
esac
# The program's own identity, the manifest's first assemblyIdentity, read from its resource.
named=$(grep -a -o '<assemblyIdentity type="win32" name="Zorvalit"[^>]*' "$exe" |
  sed -n 's/.*processorArchitecture="\([^"]*\)".*/\1/p' | head -n 1)
[ "$named" = "$expected" ] || {
  echo "FAIL: $exe is $expected but its manifest names processorArchitecture \"$named\"" >&2
  status=1
}
[ $status -eq 0 ] && echo "$exe: $(wc -l < "${TMPDIR:-/tmp}/imports.$$") imports, all in Windows 7 SP1; manifest $named"
exit $status
