#!/bin/sh
# Sets up a Debian 12 or 13 machine for Zorvalit (as root: installs the packages that are missing),
# builds it, and then starts it, runs every test, or starts the demo.
#   ./dev.sh start   build the program alone (no tests, no benchmarks), install it under
#                    /usr/local and start it
#   ./dev.sh test    build everything and run every test: release, sanitizers, fuzzers
#   ./dev.sh test quick   the developer's loop: release build and its tests only
#   ./dev.sh demo    build, install, and start the program against the stand-in counter as COM1
#   ./dev.sh fuzz [SECONDS]   run each fuzzer for an hour, or that many seconds
#   ./dev.sh dist    build the Debian package, and the Windows installer and zip for 64-bit and
#                    for 32-bit Windows, into dist/, with SHA256SUMS: the same bytes for the same
#                    commit, anywhere
#   ./dev.sh debian13 [DEB-DIR]   in a Debian 13 root made with debootstrap, the quick test and the
#                    .deb from DEB-DIR (one built here from the program when none is given)
set -eu
cd "$(dirname "$0")"

# Reproducible builds: the one time that builds and packages write (the Windows program's header,
# the files' times in every archive) is the commit's, unless the caller gives another.
if [ -z "${SOURCE_DATE_EPOCH:-}" ] && SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null); then
  export SOURCE_DATE_EPOCH
fi

# dpkg-dev: dpkg-buildflags, which gives the optimised builds the release's hardening flags.
BUILD_PACKAGES="cmake make g++ dpkg-dev qt6-base-dev libgtest-dev libgmock-dev libcli11-dev"
# qt6-wayland: Qt's Wayland plugin, for Wayland sessions without XWayland.
RUN_PACKAGES="fonts-comic-neue fonts-dejavu-core qt6-wayland"
# The Windows build: the cross compiler, GoogleTest's source to build for it, wine to run its tests,
# Python for the test that drives the program's window, NSIS for the installer, socat for the
# benchmark's silent port.
WINDOWS_PACKAGES="g++-mingw-w64-x86-64-posix googletest wine wine64 fonts-wine python3 nsis socat"
# The 32-bit Windows build: its cross compiler, and 32-bit wine (Debian's i386 architecture, which
# add_i386 adds) for its tests.
WINDOWS32_PACKAGES="g++-mingw-w64-i686-posix wine32:i386"
# The downloads: dpkg-shlibdeps for the Debian package, the cross compiler and makensis for Windows,
# Python to write the zip with its files in name order.
DIST_PACKAGES="dpkg-dev g++-mingw-w64-x86-64-posix nsis python3"
DIST32_PACKAGES="g++-mingw-w64-i686-posix"
# devscripts: hardening-check, which the packaging tests run on the package's executables.
# python3: talks to QEMU's monitor to pull the usb tests' FTDI adapter out and plug it back.
# weston: the Wayland compositor the wayland tests run the program on, with Qt's Wayland plugin.
# libclang-rt-dev: the release's own clang runtime (libFuzzer), whatever clang's version.
TEST_PACKAGES="clang-format git util-linux picocom clang libclang-rt-dev lintian desktop-file-utils xvfb xdotool x11-utils openbox imagemagick qemu-system-x86 busybox-static devscripts python3 weston qt6-wayland"

install_missing() {
  missing=
  for package in "$@"; do
    dpkg-query -W -f='${Status}\n' "$package" 2>/dev/null | grep -q '^install ok installed$' || missing="$missing $package"
  done
  [ -z "$missing" ] && return 0
  echo "Installing:$missing"
  [ "$(id -u)" -eq 0 ] || { echo "dev.sh: run me as root to install:$missing" >&2; exit 1; }
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  # shellcheck disable=SC2086
  apt-get install -y -q --no-install-recommends $missing
}

# 32-bit wine comes from Debian's i386 architecture: added once, as root, when it is missing (the
# package lists then come again with install_missing's update).
add_i386() {
  dpkg --print-foreign-architectures | grep -qx i386 && return 0
  [ "$(id -u)" -eq 0 ] || { echo "dev.sh: run me as root to add the i386 architecture (32-bit wine)" >&2; exit 1; }
  echo "Adding the i386 architecture"
  dpkg --add-architecture i386
}

# Configures and builds one preset: "program" (the program alone), "release" (everything),
# "windows" (everything that builds for Windows) or "windows32" (what 32-bit Windows is tested on).
build() {
  cmake --preset "$1"
  cmake --build --preset "$1" -j "$(nproc)"
}

# Fails on any C++ file that the root .clang-format would lay out otherwise.
check_format() {
  git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror
}

# Cross-builds preset $1 for Windows and runs its tests under wine ($2: win64 or win32). Every wine
# process, its server included, runs where the real serial ports are masked (wine links COM1 to
# /dev/ttyS0), and the prefix's server, persistent for the run, is stopped at the end.
windows() {
  build "$1"
  WINEARCH=$2 tools/no-real-ports.sh sh -c 'status=0
    ctest --preset "$1" || status=$?
    tests/support/wine-run.sh --prefix "build/$1/wineprefix" --stop
    exit $status' windows "$1"
}

# Makes every download in dist/ with CPack: the Debian package from the Linux build folder $1, an
# installer and a zip from each Windows build folder after it (each named by its architecture),
# and SHA256SUMS for them all.
# Nothing of the machine's user, locale (the order of SHA256SUMS), time zone or umask may reach them.
dist() (
  umask 022
  export LC_ALL=C.UTF-8 TZ=UTC
  if [ -n "$(git status --porcelain 2>/dev/null)" ]; then
    echo "dist: the work tree has uncommitted changes: these downloads are not the commit's" >&2
  fi
  staging=$(pwd)/build/dist
  rm -rf dist "$staging"
  (cd "$1" && cpack -G DEB -B "$staging")
  shift
  for windows_build in "$@"; do
    (cd "$windows_build" && cpack -B "$staging")
  done
  mkdir dist
  cp "$staging"/*.deb "$staging"/*-setup.exe "$staging"/*.zip dist/
  (cd dist && sha256sum -- * > SHA256SUMS)
  rm -rf "$staging"
  echo "dist/:" && ls dist
)

# The five downloads are there, and each matches its sum.
check_dist() {
  set -- dist/zorvalit_*_amd64.deb dist/zorvalit-*-win64-setup.exe dist/zorvalit-*-win64.zip \
    dist/zorvalit-*-win32-setup.exe dist/zorvalit-*-win32.zip
  for file in "$@"; do
    [ -f "$file" ] || { echo "dist: no $file" >&2; exit 1; }
  done
  [ "$(wc -l < dist/SHA256SUMS)" -eq $# ] || { echo "dist: SHA256SUMS does not list $# files" >&2; exit 1; }
  (cd dist && sha256sum --check --strict SHA256SUMS)
}

# The downloads again, from a copy of the source at another path, made later from fresh builds
# of the program presets: every file there, SHA256SUMS included, must be byte for byte the file in
# dist/. The copy holds what git tracks or would track, as the work tree has it: on a clean clone,
# the commit.
check_reproducible() {
  copy=$(pwd)/build/rebuild
  rm -rf "$copy"
  mkdir -p "$copy"
  started=$(date +%s)
  git ls-files -z --cached --others --exclude-standard |
    tar --null -T - --ignore-failed-read -cf - | tar -xmf - -C "$copy"
  (cd "$copy" && ./dev.sh dist > build.log 2>&1) || { tail -n 40 "$copy/build.log"; exit 1; }
  echo "reproducible: the second build took $(($(date +%s) - started)) s"
  status=0
  for name in $( (ls dist; ls "$copy/dist") | sort -u); do
    if [ ! -f "dist/$name" ] || [ ! -f "$copy/dist/$name" ]; then
      echo "reproducible: $name is in one of dist/ and $copy/dist/ only" >&2
      status=1
    elif ! cmp -s "dist/$name" "$copy/dist/$name"; then
      # The first byte that differs: where cmp sees one, or the one after the shorter file's end.
      first=$(cmp "dist/$name" "$copy/dist/$name" 2>&1 |
        sed -n 's/.*differ: byte \([0-9]*\).*/\1/p; s/.*EOF on .* after byte \([0-9]*\).*/\1+1/p')
      echo "reproducible: $name differs from byte $(($first)) on:" \
        "$(wc -c < "dist/$name") bytes in dist/, $(wc -c < "$copy/dist/$name") in the rebuild," \
        "$(cmp -l "dist/$name" "$copy/dist/$name" 2>/dev/null | wc -l) of the bytes both have differ;" \
        "diffoscope dist/$name $copy/dist/$name shows what" >&2
      status=1
    fi
  done
  [ $status -eq 0 ] || exit 1
  echo "reproducible: every file in dist/ is the same in $copy/dist/"
  rm -rf "$copy"
}

# Runs each fuzzer for that many seconds from its committed seeds; what it finds new stays in
# build/fuzz/corpus, and a crash leaves its input in build/fuzz/crashes.
fuzz() {
  cmake --preset fuzz
  cmake --build --preset fuzz -j "$(nproc)"
  for fuzzer in port_choice_file display_stream; do
    mkdir -p "build/fuzz/corpus/$fuzzer" build/fuzz/crashes
    log="build/fuzz/$fuzzer.log"
    if ! "build/fuzz/fuzz/fuzz_$fuzzer" -max_total_time="$1" -print_final_stats=1 \
        -artifact_prefix=build/fuzz/crashes/ "build/fuzz/corpus/$fuzzer" "fuzz/corpus/$fuzzer" > "$log" 2>&1; then
      tail -n 40 "$log"
      echo "fuzz_$fuzzer failed: see $log and build/fuzz/crashes" >&2
      exit 1
    fi
    echo "fuzz_$fuzzer: $(grep -E '^stat::number_of_executed_units' "$log") in $1 s"
  done
}

case "${1:-}" in
  start)
    install_missing $BUILD_PACKAGES $RUN_PACKAGES
    build program
    cmake --install build/program
    exec /usr/local/bin/zorvalit
    ;;
  test)
    if [ "${2:-}" = quick ]; then
      install_missing $BUILD_PACKAGES $RUN_PACKAGES $TEST_PACKAGES
    else
      add_i386
      install_missing $BUILD_PACKAGES $RUN_PACKAGES $TEST_PACKAGES $WINDOWS_PACKAGES $WINDOWS32_PACKAGES debootstrap
    fi
    check_format
    build release
    # The uart and usb tests' guest kernel and its USB modules, kept in the build folder once fetched.
    tests/uart/fetch-kernel.sh build/release/uart-kernel
    ctest --preset release
    [ "${2:-}" = quick ] && exit 0
    # Everything again under AddressSanitizer and UndefinedBehaviorSanitizer.
    cmake --preset sanitize
    cmake --build --preset sanitize -j "$(nproc)"
    ctest --preset sanitize
    windows windows win64
    windows windows32 win32
    # The downloads, made from the builds just tested.
    dist build/release build/windows build/windows32
    check_dist
    check_reproducible
    fuzz "${FUZZ_SECONDS:-60}"
    # The quick test again in a Debian 13 root, and there the package just made.
    tools/debian13-root.sh dist
    ;;
  debian13)
    install_missing $BUILD_PACKAGES debootstrap
    if [ -n "${2:-}" ]; then
      debs=$2
    else
      build program
      debs=$(pwd)/build/debian13/deb
      rm -rf "$debs"
      (cd build/program && cpack -G DEB -B "$debs")
    fi
    tools/debian13-root.sh "$debs"
    ;;
  fuzz)
    install_missing $BUILD_PACKAGES $TEST_PACKAGES
    fuzz "${2:-3600}"
    ;;
  dist)
    install_missing $BUILD_PACKAGES $DIST_PACKAGES $DIST32_PACKAGES
    build program
    build windows-program
    build windows32-program
    dist build/program build/windows-program build/windows32-program
    ;;
  demo)
    install_missing $BUILD_PACKAGES $RUN_PACKAGES
    build program
    cmake --install build/program
    exec tools/demo.sh /usr/local/bin
    ;;
  *)
    echo "usage: ./dev.sh start | test [quick] | demo | fuzz [SECONDS] | dist | debian13 [DEB-DIR]" >&2
    exit 2
    ;;
esac
