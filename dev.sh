#!/bin/sh
# Sets up a Debian 12 or 13 machine for Zorvalit (as root: installs the packages that are missing),
# builds it, and then starts it, runs every test, or starts the demo.
#   ./dev.sh start   build the program alone (no tests, no benchmarks), install it under
#                    /usr/local and start it
#   ./dev.sh test    build everything and run every test: release, sanitizers, fuzzers
#   ./dev.sh test quick   the developer's loop: release build and its tests only
#   ./dev.sh demo    build, install, and start the program against the stand-in counter as COM1
#   ./dev.sh fuzz [SECONDS]   run each fuzzer for an hour, or that many seconds
#   ./dev.sh dist    build the Debian package, the Windows installer and the Windows zip into
#                    dist/, with SHA256SUMS
#   ./dev.sh debian13 [DEB-DIR]   in a Debian 13 root made with debootstrap, the quick test and the
#                    .deb from DEB-DIR (one built here from the program when none is given)
set -eu
cd "$(dirname "$0")"

# dpkg-dev: dpkg-buildflags, which gives the optimised builds the release's hardening flags.
BUILD_PACKAGES="cmake make g++ dpkg-dev qt6-base-dev libgtest-dev libgmock-dev libcli11-dev"
RUN_PACKAGES="fonts-comic-neue fonts-dejavu-core"
# The Windows build: the cross compiler, GoogleTest's source to build for it, wine to run its tests,
# Python for the test that drives the program's window, NSIS for the installer, socat for the
# benchmark's silent port.
WINDOWS_PACKAGES="g++-mingw-w64-x86-64-posix googletest wine wine64 fonts-wine python3 nsis socat"
# The downloads: dpkg-shlibdeps for the Debian package, the cross compiler and makensis for Windows.
DIST_PACKAGES="dpkg-dev g++-mingw-w64-x86-64-posix nsis"
# devscripts: hardening-check, which the packaging tests run on the package's executables.
# python3: talks to QEMU's monitor to pull the usb tests' FTDI adapter out and plug it back.
# libclang-rt-dev: the release's own clang runtime (libFuzzer), whatever clang's version.
TEST_PACKAGES="clang-format git util-linux picocom clang libclang-rt-dev lintian desktop-file-utils xvfb xdotool x11-utils openbox imagemagick qemu-system-x86 busybox-static devscripts python3"

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

# Configures and builds one preset: "program" (the program alone), "release" (everything) or
# "windows" (everything that builds for Windows).
build() {
  cmake --preset "$1"
  cmake --build --preset "$1" -j "$(nproc)"
}

# Fails on any C++ file that the root .clang-format would lay out otherwise.
check_format() {
  git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror
}

# Cross-builds for Windows and runs those tests under wine. Every wine process, its server
# included, runs where the real serial ports are masked (wine links COM1 to /dev/ttyS0), and the
# prefix's server, persistent for the run, is stopped at the end.
windows() {
  build windows
  tools/no-real-ports.sh sh -c 'status=0
    ctest --preset windows || status=$?
    tests/support/wine-run.sh --prefix build/windows/wineprefix --stop
    exit $status'
}

# Makes every download in dist/ with CPack: the Debian package from the Linux build folder $1,
# the installer and the zip from the Windows build folder $2, and SHA256SUMS for the three.
dist() {
  staging=$(pwd)/build/dist
  rm -rf dist "$staging"
  (cd "$1" && cpack -G DEB -B "$staging")
  (cd "$2" && cpack -B "$staging")
  mkdir dist
  cp "$staging"/*.deb "$staging"/*-setup.exe "$staging"/*-win64.zip dist/
  (cd dist && sha256sum -- * > SHA256SUMS)
  rm -rf "$staging"
  echo "dist/:" && ls dist
}

# The three downloads are there, and each matches its sum.
check_dist() {
  set -- dist/zorvalit_*_amd64.deb dist/zorvalit-*-setup.exe dist/zorvalit-*-win64.zip
  for file in "$@"; do
    [ -f "$file" ] || { echo "dist: no $file" >&2; exit 1; }
  done
  [ "$(wc -l < dist/SHA256SUMS)" -eq 3 ] || { echo "dist: SHA256SUMS does not list three files" >&2; exit 1; }
  (cd dist && sha256sum --check --strict SHA256SUMS)
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
      install_missing $BUILD_PACKAGES $RUN_PACKAGES $TEST_PACKAGES $WINDOWS_PACKAGES debootstrap
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
    windows
    # The downloads, made from the builds just tested.
    dist build/release build/windows
    check_dist
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
    install_missing $BUILD_PACKAGES $DIST_PACKAGES
    build program
    build windows-program
    dist build/program build/windows-program
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
