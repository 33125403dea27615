# Helpers for the packaging tests; sourced by them, never run on its own.

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

skip() {
  echo "SKIP: $*"
  exit 77
}

need_root() {
  [ "$(id -u)" -eq 0 ] || skip "needs root: files owned by root and the dialout group"
}

need_tools() {
  for tool in "$@"; do
    command -v "$tool" > /dev/null || fail "$tool is missing; sudo ./dev.sh test installs it"
  done
}

# A scratch folder removed when the test ends.
scratch() {
  work=$(mktemp -d "${TMPDIR:-/tmp}/zorvalit-packaging.XXXXXX")
  trap 'rm -rf "$work"' EXIT
  trap 'exit 1' INT TERM HUP
}

# The one package that the build_deb fixture left in the folder.
the_deb() {
  set -- "$1"/*.deb
  [ $# -eq 1 ] && [ -f "$1" ] || fail "expected one .deb from the build_deb test, found: $*"
  echo "$1"
}

# The group that owns the port-choice file: dialout where the system has one (Debian does).
choice_group() {
  if getent group dialout > /dev/null; then echo dialout; else echo root; fi
}

# Checks a file's mode, owner, group and, if given, contents.
expect_file() {
  mode=$1 owners=$2 path=$3
  [ -f "$path" ] && [ ! -L "$path" ] || fail "$path is not a regular file"
  actual=$(stat -c '%a %U:%G' "$path")
  [ "$actual" = "$mode $owners" ] || fail "$path is $actual, expected $mode $owners"
  if [ $# -ge 4 ]; then
    [ "$(cat "$path")" = "$4" ] || fail "$path holds '$(cat "$path")', expected '$4'"
  fi
}

expect_folder() {
  mode=$1 owners=$2 path=$3
  [ -d "$path" ] || fail "$path is not a folder"
  actual=$(stat -c '%a %U:%G' "$path")
  [ "$actual" = "$mode $owners" ] || fail "$path is $actual, expected $mode $owners"
}

# How many pixels of an image are exactly lime, #00FF00: the colour of the display's digits.
lime_pixels() {
  convert "$1" -fill black +opaque '#00FF00' -fill white -opaque '#00FF00' -colorspace Gray \
    -format '%[fx:round(mean*w*h)]' info:
}
