#!/usr/bin/env bash
# scripts/package carries exactly the setup program it is given, and refuses
# a file that is not a Windows executable for i386 or AMD64.
#   package_payload.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
arch=$(basename "$build")
wine_arch=$(bash "$root/scripts/wine-arch" "$arch")
run() { "$root/scripts/wine-run" "$wine_arch" "$build/wineprefix" "$@"; }
fail() { echo "FAIL: $*" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Any executable will do as long as it is not the demo setup program.
payload="$build/bin/idle_process.exe"
bash "$root/scripts/package" "$payload" --arch "$arch" --out "$work/installer.exe" >/dev/null ||
  fail "packaging $payload failed"
run "$build/bin/payload_dump.exe" "$(run winepath.exe -w "$work/installer.exe" | tr -d '\r')" \
  "$(run winepath.exe -w "$work/carried.bin" | tr -d '\r')" || fail "no payload in the installer"
cmp "$payload" "$work/carried.bin" || fail "the carried payload differs from $payload"
echo "ok: the installer carries exactly the given program"

# Refused: text, an MZ header without a PE one, a PE file for another machine.
for i in 1 2 3; do echo 'Not a program, only a text file whose name ends in .exe.'; done > "$work/text.exe"
head -c 512 "$payload" > "$work/mz-only.exe"
printf 'XXXX' | dd of="$work/mz-only.exe" bs=1 seek="$(od -An -tu4 -j60 -N4 "$payload")" \
  conv=notrunc status=none
cp "$payload" "$work/arm.exe"
pe=$(od -An -tu4 -j60 -N4 "$payload" | tr -d ' ')
printf '\xc4\x01' | dd of="$work/arm.exe" bs=1 seek=$((pe + 4)) conv=notrunc status=none
for bad in "text.exe:no MZ header" "mz-only.exe:no PE signature" \
           "arm.exe:a machine other than i386 or AMD64"; do
  file=${bad%%:*} reason=${bad#*:}
  if out=$(bash "$root/scripts/package" "$work/$file" --arch "$arch" --out "$work/bad.exe" 2>&1); then
    fail "$file was packaged"
  fi
  grep -qF "$reason" <<<"$out" || fail "$file: no clear reason: $out"
  [ ! -e "$work/bad.exe" ] || fail "$file: an installer was written"
done
echo "ok: files that are not Windows executables are refused"
