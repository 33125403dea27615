#!/bin/sh
# The program that the installer and the zip carry asks Windows for its exploit mitigations in
# its PE header: ASLR (DYNAMIC_BASE) over the whole address space (large-address aware, and for the
# 64-bit program HIGH_ENTROPY_VA, which a 32-bit one cannot have) and no executing of data
# (NX_COMPAT, for DEP); and it keeps the relocations without which ASLR cannot move it.
# Usage: exe-mitigations.sh OBJDUMP EXE
set -eu
[ $# -eq 2 ] || { echo "usage: exe-mitigations.sh OBJDUMP EXE" >&2; exit 2; }
header=$("$1" -p "$2")
fail() { echo "FAIL: $2 $1" >&2; exit 1; }
# The flags objdump lists, each on a line of its own, below the field they belong to.
flags() { echo "$header" | sed -n "/^$1/,/^[A-Z]/{/^\t/p}" | tr -d '\t'; }
wanted="DYNAMIC_BASE NX_COMPAT"
echo "$header" | grep -q '^Magic[[:space:]]*020b' && wanted="$wanted HIGH_ENTROPY_VA"
for flag in $wanted; do
  flags DllCharacteristics | grep -qx "$flag" || fail "does not ask for $flag" "$2"
done
flags Characteristics | grep -qx "large address aware" || fail "is not large-address aware" "$2"
! flags Characteristics | grep -qx "relocations stripped" || fail "has its relocations stripped" "$2"
"$1" -h "$2" | grep -q ' \.reloc ' || fail "has no .reloc section" "$2"
echo "$2: $(flags DllCharacteristics | tr '\n' ' ')"
