#!/bin/sh
# Checks that the wine runner's prefixes survive a first start cut short: the first run in a new
# prefix is killed part way through wine's making of it, and a program run in that prefix next
# must work. Then a prefix folder without the runner's finished mark, as a start cut short used
# to leave one (wine's update stamp there, kernel32.dll not), must be made again; and a start cut
# short while the prefix's server boots must leave no server that keeps the next program waiting.
# Usage: wine-prefix-cut-short.sh RUNNER PREFIX
set -u
[ $# -eq 2 ] || { echo "usage: wine-prefix-cut-short.sh RUNNER PREFIX" >&2; exit 2; }
runner=$1 prefix=$(realpath -m "$2")
kernel32=$prefix/drive_c/windows/system32/kernel32.dll
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
works() {
  said=$(timeout 180 "$runner" --prefix "$prefix" cmd /c echo works 2>&1 | tr -d '\r')
  [ "$said" = works ] || fail "$1: a program in the prefix said: $said"
  [ -f "$kernel32" ] || fail "$1: no kernel32.dll in the prefix"
  [ ! -e "$prefix.making" ] || fail "$1: the scratch prefix was left behind"
}

"$runner" --prefix "$prefix" --stop
rm -rf "$prefix" "$prefix.making"
# In a session of its own, so that the runner, wine, wineboot and the server go together.
setsid "$runner" --prefix "$prefix" cmd /c exit > /dev/null 2>&1 &
first=$!
# Part way: wine has put its update stamp in the new prefix (in the runner's scratch folder for
# it, or in the prefix itself) and is still copying in its system files.
stamped() { [ -f "$prefix.making/.update-timestamp" ] || [ -f "$prefix/.update-timestamp" ]; }
tries=0
until stamped; do
  tries=$((tries + 1))
  [ $tries -le 600 ] || { fail "wine did not begin to make the prefix within 60 s"; break; }
  sleep 0.1
done
sleep 0.5
kill -KILL "-$first"
wait "$first" 2> /dev/null
echo "cut short with $(find "$prefix.making" "$prefix" -type f 2> /dev/null | wc -l) files made," \
  "kernel32.dll $(find "$prefix.making" "$prefix" -name kernel32.dll 2> /dev/null | grep -q . || echo not) among them"
works "after a first start cut short"

"$runner" --prefix "$prefix" --stop
rm -f "$prefix/.initialised" "$kernel32"
works "after a prefix left unfinished"

# A start cut short in a made prefix while its server boots (wineboot takes a second or more):
# the server, in a session of its own, outlives it.
"$runner" --prefix "$prefix" --stop
setsid "$runner" --prefix "$prefix" cmd /c exit > /dev/null 2>&1 &
first=$!
sleep 0.5
kill -KILL "-$first"
wait "$first" 2> /dev/null
works "after a server's boot cut short"
"$runner" --prefix "$prefix" --stop
[ $failures -eq 0 ]
