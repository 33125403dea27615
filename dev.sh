#!/bin/sh
# Sets up a Debian 12 or 13 machine for Zorvalit (as root: installs the packages that are missing),
# builds it, and then starts it, runs every test, or starts the demo.
#   ./dev.sh start   build the program alone (no tests, no benchmarks), install it under
#                    /usr/local and start it
#   ./dev.sh test    build everything and run every test: release, sanitizers, fuzzers
#   ./dev.sh test quick   the developer's loop: release build and its tests only
#   ./dev.sh loaded [RUNS]   the release, sanitizer and 64-bit Windows suites RUNS times (5) in a
#                    row while stress-ng keeps every core busy beside them
#   ./dev.sh demo    build, install, and start the program against the stand-in counter as COM1
#   ./dev.sh fuzz [SECONDS]   run each fuzzer for an hour, or that many seconds
#   ./dev.sh dist    build the Debian packages for amd64, arm64 and armhf, and the Windows
#                    installer and zip for 64-bit and for 32-bit Windows, into dist/, with
#                    SHA256SUMS: the same bytes for the same commit, anywhere
#   ./dev.sh debian13 [DEB-DIR]   in a Debian 13 root made with debootstrap, the quick test and the
#                    .deb from DEB-DIR (one built here from the program when none is given)
set -eu
cd "$(dirname "$0")"

# Reproducible builds: the one time that builds and packages write (the Windows program's header,
# the files' times in every archive) is the commit's, unless the caller gives another.
if [ -z "${SOURCE_DATE_EPOCH:-}" ] && SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null); then
  export SOURCE_DATE_EPOCH
fi

# The Debian packages, each once, in a list named by what needs it; each command installs the lists
# it needs, and only what is missing.
# The program's build: CMake and the compilers; build-essential, which dpkg-buildpackage checks
# for; dpkg-dev's dpkg-buildflags, which gives the optimised builds the release's hardening flags;
# Qt, with its private headers for the native interface (the Wayland surface a display keeps the
# screen on through), the X screen saver and Wayland client declarations, and pkg-config to find
# them; GoogleTest and GoogleMock; CLI11 for the counter's command line; rsvg-convert, which
# renders the icons from their drawing; Python, which writes README.txt and the zip and reads the
# test suites' results for the run's account.
BUILD_PACKAGES="cmake make g++ build-essential dpkg-dev pkg-config qt6-base-dev qt6-base-private-dev libxcb-screensaver0-dev libwayland-dev libgtest-dev libgmock-dev libcli11-dev librsvg2-bin python3"
# Running it: the display's font and the window's, and Qt's plugin for Wayland sessions without
# XWayland.
RUN_PACKAGES="fonts-comic-neue fonts-dejavu-core qt6-wayland"
# The Linux tests: clang-format for the layout check; git for the documents' and downloads'
# checks; util-linux's unshare for the port mask; picocom, a second program on the port; X (Xvfb,
# xdotool, xprop, a window manager, ImageMagick for screenshots); Wayland compositors (weston; sway,
# which has the idle-inhibit protocol); a private session bus with the real portal and a stand-in
# session manager (dbus-daemon, python3-dbusmock, xdg-desktop-portal and its GTK backend); QEMU's PC
# and busybox for the UART and USB guests; the packaging checks (lintian, desktop-file-validate,
# devscripts' hardening-check, appstreamcli with its compose tool, which reads the scalable icon
# through gdk-pixbuf's SVG loader: librsvg2-common, which nothing else brings on Debian 13).
TEST_PACKAGES="clang-format git util-linux picocom xvfb xdotool x11-utils openbox imagemagick weston sway dbus-daemon python3-dbusmock xdg-desktop-portal xdg-desktop-portal-gtk qemu-system-x86 busybox-static lintian desktop-file-utils devscripts appstream appstream-compose librsvg2-common"
# The Debian packages, built with dpkg-buildpackage (the packaging tests, the downloads).
DEB_PACKAGES="debhelper"
# The fuzzers: clang and its runtime (libFuzzer), whatever clang's version.
FUZZ_PACKAGES="clang libclang-rt-dev"
# The Windows builds: the cross compilers, makensis for the installers, icoutils' icotool for the
# icon file (and to read the packages' resources in their tests).
WINDOWS_PACKAGES="g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix nsis icoutils"
# The cross builds' tests: GoogleTest's source, built for each target.
CROSS_TEST_PACKAGES="googletest"
# The Windows tests under wine; socat for the benchmark's silent port.
WINE_PACKAGES="wine wine64 fonts-wine socat"
# The ARM tests: qemu-user to run the programs (never qemu-user-static, whose files register
# handlers in the machine's own binfmt_misc at boot), and QEMU's ARM machines for the UART guests.
ARM_TEST_PACKAGES="qemu-user qemu-system-arm"
# The Debian 13 step's root.
DEBIAN13_PACKAGES="debootstrap"
# The load beside the loaded run's suites.
LOAD_PACKAGES="stress-ng"
# From Debian's other architectures, each added when first needed: 32-bit wine (i386) for the
# 32-bit Windows tests, and for each ARM architecture its cross compiler and the libraries the
# program links.
WINE32_PACKAGES="wine32:i386"
ARM_LIBRARIES="qt6-base-dev qt6-base-private-dev libxcb-screensaver0-dev libwayland-dev"

# Installs the packages named that are missing (as root); fails where they cannot be installed.
install_missing() {
  missing=
  for package in "$@"; do
    dpkg-query -W -f='${Status}\n' "$package" 2>/dev/null | grep -q '^install ok installed$' || missing="$missing $package"
  done
  [ -z "$missing" ] && return 0
  echo "Installing:$missing"
  [ "$(id -u)" -eq 0 ] || { echo "dev.sh: run me as root to install:$missing" >&2; return 1; }
  export DEBIAN_FRONTEND=noninteractive
  # A mirror caught in the middle of its sync fails the update: it is tried again after a pause,
  # and then the install goes on with the lists that came, which name what is still missing.
  apt-get update -q || { sleep 30; apt-get update -q; } ||
    echo "dev.sh: some package lists did not come; installing from the others" >&2
  # shellcheck disable=SC2086
  apt-get install -y -q --no-install-recommends $missing
}

# The packages of one of Debian's other architectures ($1), the architecture added first where it
# is missing. A mirror that cannot serve that architecture (its lists out of step with each other,
# say) costs only the steps that need it: they are skipped, and say why. An architecture added here
# in vain is taken out again: apt takes a suite's lists all or none, so one architecture's broken
# list would keep every other architecture of that suite on its old lists.
install_foreign() {
  architecture=$1 added=
  shift
  if ! dpkg --print-foreign-architectures | grep -qx "$architecture"; then
    [ "$(id -u)" -eq 0 ] || { echo "dev.sh: run me as root to add the $architecture architecture" >&2; return 1; }
    echo "Adding the $architecture architecture"
    dpkg --add-architecture "$architecture"
    added=yes
  fi
  install_missing "$@" && return 0
  echo "dev.sh: the $architecture packages could not be installed: the steps that need them are skipped" >&2
  if [ -n "$added" ] && dpkg --remove-architecture "$architecture"; then
    echo "Took the $architecture architecture out again"
  fi
  return 1
}

# Installs each ARM architecture's cross compiler and libraries, and prints on one line those of
# the architectures asked for whose packages are installed.
arm_architectures() {
  ready=
  for architecture in "$@"; do
    # shellcheck disable=SC2046
    install_foreign "$architecture" "crossbuild-essential-$architecture" \
      $(for library in $ARM_LIBRARIES; do echo "$library:$architecture"; done) >&2 &&
      ready="$ready $architecture"
  done
  echo "${ready# }"
}

# Configures and builds one preset: "program" (the program alone), "release" (everything),
# "windows" (everything that builds for Windows), "windows32" (what 32-bit Windows is tested on),
# "arm64" or "armhf" (everything for that ARM architecture), or one of the other -program ones.
build() {
  began=$(date +%s)
  cmake --preset "$1"
  cmake --build --preset "$1" -j "$(nproc)"
  account "built    $1 in $(($(date +%s) - began)) s"
}

# Fails on any C++ file that the root .clang-format would lay out otherwise.
check_format() {
  git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run -Werror
}

# The run's account, printed when `test` or `loaded` ends, failed or not: each step that ran, each
# suite's tests with the skipped ones grouped by the reason their output gives, and each step
# skipped with why. A step that skips also says so at once.
summary=build/run-summary
account() { echo "  $*" >> "$summary"; }
skip_step() {
  echo "dev.sh: skipped $1: $2"
  account "skipped  $1: $2"
}
print_account() {
  [ -s "$summary" ] || return 0
  echo
  echo "What ran and what was skipped, in $(($(date +%s) - run_began)) s:"
  cat "$summary"
}
# What a command must undo when it ends, failed or not, before the account (the loaded run's load).
at_end=:
start_account() {
  mkdir -p build
  : > "$summary"
  run_began=$(date +%s)
  trap 'status=$?; $at_end; account_end $status; print_account; exit $status' EXIT
}
# A step that failed ends the run: the account says so after the steps that ran.
account_end() {
  [ "$1" -eq 0 ] || account "FAILED   the step after these (exit status $1): see the lines above"
}

# The suite's lines of the account, from ctest's JUnit file: tools/account-suite.py SUITE FILE
# STATUS SECONDS.
account_suite() {
  python3 tools/account-suite.py "$@" >> "$summary"
}

# Runs ctest on preset $2 and accounts for it as suite $1; more arguments are a command that
# ctest runs under. The Linux suites, native or under qemu-user, run twice as many tests at once
# as there are cores, as most of a test's time is spent waiting for a line or a window: each test
# makes its own display, bus, ports and files, and those that need the machine to themselves (the
# QEMU guests, the soak) run alone. Wine's suites run one test at a time: their tests share one
# prefix and its server.
suite() {
  name=$1 preset=$2
  shift 2
  case $preset in
    release | sanitize | arm64 | armhf) jobs=$(($(nproc) * 2)) ;;
    *) jobs=1 ;;
  esac
  junit=$(pwd)/build/$preset/results.xml
  rm -f "$junit"
  status=0 began=$(date +%s)
  "$@" ctest --preset "$preset" --parallel "$jobs" --output-junit "$junit" || status=$?
  account_suite "$name" "$junit" $status $(($(date +%s) - began))
  return $status
}

# Cross-builds preset $1 for Windows and runs its tests under wine ($2: win64 or win32), accounted
# for as suite $3. Every wine process, its server included, runs where the real serial ports are
# masked (wine links COM1 to /dev/ttyS0), and the prefix's server, persistent for the run, is
# stopped at the end. Where wine cannot start or the ports cannot be masked, configuring the build
# says so and the tests that need wine are skipped; the rest (the executables' checks, the
# installer and the zip) still run.
windows() {
  build "$1"
  unshare -m --propagation private true 2> /dev/null || { suite "$3" "$1"; return; }
  status=0
  suite "$3" "$1" env WINEARCH="$2" tools/no-real-ports.sh || status=$?
  env WINEARCH="$2" tools/no-real-ports.sh tests/support/wine-run.sh --prefix "build/$1/wineprefix" --stop
  return $status
}

# Cross-builds preset $1 for ARM Linux and runs its tests under qemu-user, accounted for as suite
# $2; its uart group boots the architecture's own kernel in a QEMU guest over its PL011 UART. Where
# the kernel gives a user namespace no binfmt_misc of its own, configuring the build says so and
# the tests that run its programs are skipped; the guest and the package's checks still run.
arm() {
  build "$1"
  tests/uart/fetch-kernel.sh "build/$1/uart-kernel" "$1" ||
    skip_step "fetching the $1 guest's kernel" "the $1 uart tests are skipped"
  suite "$2" "$1"
}

# Builds the Debian packages into folder $1 the Debian way (tools/build-debs.sh: dpkg-buildpackage
# in a copy of the source), one for each architecture after it, the machine's own natively and the
# ARM ones cross-built.
debs() (
  umask 022
  export LC_ALL=C.UTF-8 TZ=UTC
  out=$1
  shift
  rm -rf "$out"
  tools/build-debs.sh "$out" "$@"
)

# Makes every download in dist/: the Debian packages from folder $1 (as debs made them), and with
# CPack an installer and a zip from each Windows build folder after it (each named by its
# architecture), and SHA256SUMS for them all.
# Nothing of the machine's user, locale (the order of SHA256SUMS), time zone or umask may reach them.
dist() (
  umask 022
  export LC_ALL=C.UTF-8 TZ=UTC
  if [ -n "$(git status --porcelain 2>/dev/null)" ]; then
    echo "dist: the work tree has uncommitted changes: these downloads are not the commit's" >&2
  fi
  debs=$1
  shift
  staging=$(pwd)/build/dist
  rm -rf dist "$staging"
  for build in "$@"; do
    (cd "$build" && cpack -B "$staging")
  done
  mkdir dist
  cp "$debs"/zorvalit_*.deb "$staging"/*-setup.exe "$staging"/*.zip dist/
  (cd dist && sha256sum -- * > SHA256SUMS)
  rm -rf "$staging"
  echo "dist/:" && ls dist
)

# The downloads are there, the Debian package of each architecture named and the Windows ones, and
# each matches its sum.
check_dist() {
  files=
  for architecture in "$@"; do
    files="$files dist/zorvalit_*_$architecture.deb"
  done
  # shellcheck disable=SC2086
  set -- $files dist/zorvalit-*-win64-setup.exe dist/zorvalit-*-win64.zip dist/zorvalit-*-win32-setup.exe dist/zorvalit-*-win32.zip
  for file in "$@"; do
    [ -f "$file" ] || { echo "dist: no $file" >&2; exit 1; }
  done
  [ "$(wc -l < dist/SHA256SUMS)" -eq $# ] || { echo "dist: SHA256SUMS does not list $# files" >&2; exit 1; }
  (cd dist && sha256sum --check --strict SHA256SUMS)
}

# The downloads again, made later at another path from fresh builds, the way the README's
# "Checking a download" tells users: its commands, as written there, run in a home of their own
# with the downloads in ~/Downloads and a clone of this repository in ~/zorvalit (they read the
# commit from the Debian package, check it out, run ./dev.sh dist and check every download against
# the new SHA256SUMS). Then every file of the two dist/ folders, SHA256SUMS included, must be the
# same. A work tree with uncommitted changes has no commit to check out: then the copy holds what
# git tracks or would track, as the work tree has it, and ./dev.sh dist runs there.
check_reproducible() {
  home=$(pwd)/build/download-check
  copy=$home/zorvalit
  rm -rf "$home"
  mkdir -p "$home/Downloads"
  started=$(date +%s)
  if [ -z "$(git status --porcelain 2>/dev/null)" ]; then
    cp dist/* "$home/Downloads/"
    git clone --quiet "$(pwd)" "$copy"
    # The README's block, with sudo standing for nothing where the check already runs as root.
    steps=$(sed -n '/^## Checking a download/,/^## /p' README.md | sed -n '/^```sh$/,/^```$/p' | sed '1d;$d')
    [ -n "$steps" ] || { echo "reproducible: the README has no commands under Checking a download" >&2; exit 1; }
    (
      export HOME="$home"
      [ "$(id -u)" -ne 0 ] || sudo() { "$@"; }
      set -e
      eval "$steps"
    ) > "$home/steps.log" 2>&1 || { tail -n 40 "$home/steps.log"; echo "reproducible: the README's check failed as written" >&2; exit 1; }
    echo "reproducible: the README's check as written: $(grep -c ': OK$' "$home/steps.log") downloads OK"
  else
    echo "reproducible: uncommitted changes: the README's check needs a commit; rebuilding a copy of the work tree"
    mkdir -p "$copy"
    git ls-files -z --cached --others --exclude-standard |
      tar --null -T - --ignore-failed-read -cf - | tar -xmf - -C "$copy"
    # The copy has no repository: it is told the commit, as the first build read it.
    commit=$(git rev-parse --verify HEAD)
    (cd "$copy" && ZORVALIT_COMMIT=$commit ./dev.sh dist > build.log 2>&1) ||
      { tail -n 40 "$copy/build.log"; exit 1; }
  fi
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
  rm -rf "$home"
}

# Runs the fuzzers side by side, each for that many seconds from its committed seeds; what they
# find new stays in build/fuzz/corpus, and a crash leaves its input in build/fuzz/crashes.
fuzz() {
  build fuzz
  mkdir -p build/fuzz/crashes
  pids=
  for fuzzer in port_choice_file display_stream; do
    fuzz_one "$fuzzer" "$1" &
    pids="$pids $!"
  done
  failed=0
  for pid in $pids; do
    wait "$pid" || failed=1
  done
  [ $failed -eq 0 ] || exit 1
}

# Runs fuzzer $1 for $2 seconds, its output in build/fuzz/$1.log; says how many inputs it tried,
# or fails showing the end of its log.
fuzz_one() {
  log="build/fuzz/$1.log"
  mkdir -p "build/fuzz/corpus/$1"
  if "build/fuzz/fuzz/fuzz_$1" -max_total_time="$2" -print_final_stats=1 \
      -artifact_prefix=build/fuzz/crashes/ "build/fuzz/corpus/$1" "fuzz/corpus/$1" > "$log" 2>&1; then
    echo "fuzz_$1: $(grep -E '^stat::number_of_executed_units' "$log") in $2 s"
  else
    tail -n 40 "$log"
    echo "fuzz_$1 failed: see $log and build/fuzz/crashes" >&2
    return 1
  fi
}

# The release, sanitizer and 64-bit Windows suites $1 times in a row, each run while every core is
# kept busy at the suites' own priority (tests/support/busy-machine.sh). A suite that fails does
# not stop the runs after it; the account lists each, and the command fails if any did.
loaded() {
  build release
  tests/uart/fetch-kernel.sh build/release/uart-kernel ||
    skip_step "fetching the QEMU guests' kernel" "the uart and usb tests are skipped"
  build sanitize
  . tests/support/busy-machine.sh
  at_end=busy_stop
  busy_start "$(pwd)/build/load"
  failed=0
  for run in $(seq "$1"); do
    started=$(date +%s)
    suite "loaded run $run of $1: release suite" release || failed=$((failed + 1))
    suite "loaded run $run of $1: sanitizer suite" sanitize || failed=$((failed + 1))
    windows windows win64 "loaded run $run of $1: 64-bit Windows suite" || failed=$((failed + 1))
    account "         loaded run $run of $1 took $(($(date +%s) - started)) s"
  done
  [ $failed -eq 0 ] || { echo "loaded: $failed suites failed" >&2; exit 1; }
}

case "${1:-}" in
  start)
    install_missing $BUILD_PACKAGES $RUN_PACKAGES
    build program
    cmake --install build/program
    exec /usr/local/bin/zorvalit
    ;;
  test)
    install_missing $BUILD_PACKAGES $RUN_PACKAGES $TEST_PACKAGES $DEB_PACKAGES
    if [ "${2:-}" != quick ]; then
      install_missing $FUZZ_PACKAGES $WINDOWS_PACKAGES $CROSS_TEST_PACKAGES $WINE_PACKAGES \
        $ARM_TEST_PACKAGES $DEBIAN13_PACKAGES
      wine32=yes
      install_foreign i386 $WINE32_PACKAGES || wine32=
      arm=$(arm_architectures arm64 armhf)
    fi
    start_account
    if [ "${2:-}" != quick ]; then
      [ -n "$wine32" ] || skip_step "installing 32-bit wine" "the 32-bit Windows tests that need it are skipped"
      for architecture in arm64 armhf; do
        case " $arm " in
          *" $architecture "*) ;;
          *) skip_step "the $architecture build, suite and package" "its packages could not be installed" ;;
        esac
      done
    fi
    check_format
    account "ran      layout check of every C++ file"
    build release
    # The uart and usb tests' guest kernel and its USB modules, kept in the build folder once
    # fetched; without them those tests are skipped.
    tests/uart/fetch-kernel.sh build/release/uart-kernel ||
      skip_step "fetching the QEMU guests' kernel" "the uart and usb tests are skipped"
    if [ "${2:-}" != quick ]; then
      # The Debian packages, built once the Debian way: each suite's packaging tests take the one
      # of its architecture (else they would build it themselves), and dist/ takes them all.
      began=$(date +%s)
      # shellcheck disable=SC2086
      debs build/debs amd64 $arm
      account "built    the Debian packages ($(echo amd64 $arm | sed 's/ /, /g')) with dpkg-buildpackage in $(($(date +%s) - began)) s"
      ZORVALIT_DEB_DIR=$(pwd)/build/debs
      export ZORVALIT_DEB_DIR
    fi
    suite "release suite" release
    [ "${2:-}" = quick ] && exit 0
    # Everything again under AddressSanitizer and UndefinedBehaviorSanitizer.
    build sanitize
    suite "sanitizer suite" sanitize
    windows windows win64 "64-bit Windows suite"
    windows windows32 win32 "32-bit Windows suite"
    for architecture in $arm; do
      arm "$architecture" "$architecture suite"
    done
    # The downloads, made from the builds just tested.
    dist build/debs build/windows build/windows32
    # shellcheck disable=SC2086
    check_dist amd64 $arm
    account "ran      the downloads in dist/, each checked against SHA256SUMS"
    began=$(date +%s)
    check_reproducible
    account "ran      reproducibility: a second build at another path gives the same bytes, in $(($(date +%s) - began)) s"
    fuzz "${FUZZ_SECONDS:-60}"
    account "ran      each fuzzer for ${FUZZ_SECONDS:-60} s"
    # The quick test again in a Debian 13 root, and there the package just made. The root's
    # mounts stay in a mount namespace of its own.
    if unshare -m --propagation private true 2> /dev/null; then
      began=$(date +%s)
      tools/debian13-root.sh dist
      account "ran      Debian 13: the quick test and the package, in a debootstrapped root, in $(($(date +%s) - began)) s"
    else
      skip_step "the Debian 13 root" "no mount namespace can be made here"
    fi
    ;;
  loaded)
    install_missing $BUILD_PACKAGES $RUN_PACKAGES $TEST_PACKAGES $DEB_PACKAGES $WINDOWS_PACKAGES \
      $CROSS_TEST_PACKAGES $WINE_PACKAGES $LOAD_PACKAGES
    start_account
    loaded "${2:-5}"
    ;;
  debian13)
    install_missing $BUILD_PACKAGES $DEB_PACKAGES $DEBIAN13_PACKAGES
    if [ -n "${2:-}" ]; then
      debs=$2
    else
      debs=$(pwd)/build/debian13/deb
      debs "$debs" "$(dpkg --print-architecture)"
      # The root takes the one package of its architecture, not its debug symbols.
      rm -f "$debs"/zorvalit-dbgsym_*
    fi
    tools/debian13-root.sh "$debs"
    ;;
  fuzz)
    install_missing $BUILD_PACKAGES $FUZZ_PACKAGES
    fuzz "${2:-3600}"
    ;;
  dist)
    install_missing $BUILD_PACKAGES $DEB_PACKAGES $WINDOWS_PACKAGES
    # shellcheck disable=SC2046
    debs build/debs amd64 $(arm_architectures arm64 armhf)
    build windows-program
    build windows32-program
    dist build/debs build/windows-program build/windows32-program
    ;;
  demo)
    install_missing $BUILD_PACKAGES $RUN_PACKAGES
    build program
    cmake --install build/program
    exec tools/demo.sh /usr/local/bin
    ;;
  *)
    echo "usage: ./dev.sh start | test [quick] | loaded [RUNS] | demo | fuzz [SECONDS] | dist | debian13 [DEB-DIR]" >&2
    exit 2
    ;;
esac
