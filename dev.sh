#!/bin/sh
# Sets up a Debian 12 machine for Zorvalit (as root: installs the packages that are missing),
# builds it, and then starts it, runs every test, or starts the demo.
#   ./dev.sh start   build, install under /usr/local and start the program
#   ./dev.sh test    build and run every test
#   ./dev.sh demo    build, install, and start the program against the stand-in counter as COM1
set -eu
cd "$(dirname "$0")"

BUILD_PACKAGES="cmake make g++ qt6-base-dev libgtest-dev libgmock-dev"
RUN_PACKAGES="fonts-comic-neue fonts-dejavu-core"
TEST_PACKAGES="util-linux picocom"

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

build() {
  cmake --preset release
  cmake --build --preset release -j "$(nproc)"
}

case "${1:-}" in
  start)
    install_missing $BUILD_PACKAGES $RUN_PACKAGES
    build
    cmake --install build/release
    exec /usr/local/bin/zorvalit
    ;;
  test)
    install_missing $BUILD_PACKAGES $RUN_PACKAGES $TEST_PACKAGES
    build
    ctest --preset release
    ;;
  demo)
    install_missing $BUILD_PACKAGES $RUN_PACKAGES
    build
    cmake --install build/release
    exec tools/demo.sh /usr/local/bin
    ;;
  *)
    echo "usage: ./dev.sh start|test|demo" >&2
    exit 2
    ;;
esac
