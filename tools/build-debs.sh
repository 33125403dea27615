#!/bin/sh
# Builds the Debian packages the Debian way: dpkg-buildpackage (binary only, unsigned, nocheck) in
# a copy of the source, once for each architecture given, the machine's own natively and any
# other cross-built with Debian's cross compilers. The copy holds what git tracks or would track,
# as the work tree has it (everything but build/ and dist/ where there is no repository), so that
# the build neither writes into the work tree nor sees what earlier builds left there. The
# packages and their .buildinfo and .changes files go to OUT-DIR; each build's log stays there.
# ZORVALIT_COMMIT, when set, names the commit the packages say they were built from (a copy
# without its repository cannot tell).
# Usage: tools/build-debs.sh OUT-DIR ARCHITECTURE...
set -eu
[ $# -ge 2 ] || { echo "usage: build-debs.sh OUT-DIR ARCHITECTURE..." >&2; exit 2; }
mkdir -p "$1"
out=$(cd "$1" && pwd)
shift
cd "$(dirname "$0")/.."
if [ -z "${ZORVALIT_COMMIT:-}" ] && git rev-parse --verify -q HEAD > /dev/null 2>&1; then
  ZORVALIT_COMMIT=$(git rev-parse --verify HEAD)
fi
export ZORVALIT_COMMIT="${ZORVALIT_COMMIT:-}"

# dpkg-buildpackage writes the packages beside the source folder, into OUT-DIR.
source=$out/zorvalit
rm -rf "$source"
mkdir -p "$source"
if git rev-parse --git-dir > /dev/null 2>&1; then
  git ls-files -z --cached --others --exclude-standard | tar --null -T - --ignore-failed-read -cf -
else
  tar --exclude=./build --exclude=./dist -cf - .
fi | tar -xmf - -C "$source"

native=$(dpkg --print-architecture)
for architecture in "$@"; do
  if [ "$architecture" = "$native" ]; then cross=; else cross="--host-arch=$architecture"; fi
  began=$(date +%s)
  # shellcheck disable=SC2086
  if ! (cd "$source" && DEB_BUILD_OPTIONS="nocheck parallel=$(nproc)" \
        dpkg-buildpackage --build=binary --no-sign --build-profiles=nocheck $cross) > "$out/build-$architecture.log" 2>&1; then
    tail -n 40 "$out/build-$architecture.log" >&2
    echo "build-debs: the $architecture package failed to build: see $out/build-$architecture.log" >&2
    exit 1
  fi
  echo "build-debs: $(cd "$out" && ls zorvalit_*_"$architecture".deb) in $(($(date +%s) - began)) s"
done
rm -rf "$source"
