#!/bin/sh
# The Windows packages' signing step, with a stand-in for osslsigncode that marks what it signs:
# given a certificate, the program inside the zip and the installer come out signed.
# Usage: signing-hook.sh CPACK CPACK_CONFIG
set -eu
cpack=$1 config=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/bin" "$scratch/zip"
cat > "$scratch/bin/osslsigncode" <<'STUB'
#!/bin/sh
while [ $# -gt 0 ]; do
  case $1 in -in) in=$2; shift ;; -out) out=$2; shift ;; esac
  shift
done
{ cat "$in"; printf 'SIGNED'; } > "$out"
STUB
chmod +x "$scratch/bin/osslsigncode"
touch "$scratch/certificate.p12" "$scratch/password"
PATH="$scratch/bin:$PATH" "$cpack" --config "$config" -B "$scratch/out" \
  -D CPACK_ZORVALIT_SIGNING_CERTIFICATE="$scratch/certificate.p12" \
  -D CPACK_ZORVALIT_SIGNING_PASSWORD_FILE="$scratch/password" > "$scratch/log"
signed() { [ "$(tail -c 6 "$1")" = SIGNED ] || { echo "FAIL: $2 is not signed" >&2; exit 1; }; }
signed "$scratch"/out/*-setup.exe "the installer"
(cd "$scratch/zip" && cmake -E tar xf "$scratch"/out/*.zip)
signed "$scratch"/zip/*/zorvalit.exe "the program in the zip"
echo "signing: the program and the installer signed"
