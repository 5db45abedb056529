#!/usr/bin/env bash
# The elevated installer against a user who controls the temporary folder.
# Wine follows a Unix symbolic link the way Windows follows a junction, so:
#  1. TMP and TEMP name a link to a decoy folder: nothing is written through it;
#  2. the setup folder is swapped for a link to a decoy while the setup program
#     runs: the clean-up leaves the decoy's files alone.
#   hostile_temp.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
arch=$(bash "$root/scripts/wine-arch" "$(basename "$build")")
prefix="$build/wineprefix"
run() { "$root/scripts/wine-run" "$arch" "$prefix" "$@"; }
fail() { echo "FAIL: $*" >&2; exit 1; }
winpath() { run winepath.exe -w "$1" 2>/dev/null | tr -d '\r'; }

work="$prefix/drive_c/velora-hostile"
rm -rf "$work"
mkdir -p "$work/decoy" "$work/decoy2"
ln -s "$work/decoy" "$work/tmplink"
run reg add 'HKLM\SOFTWARE\Corvane Network\Velora' /v dir /t REG_SZ \
  /d 'C:\velora-hostile\Target' /f >/dev/null 2>&1
trap 'run reg delete "HKLM\SOFTWARE\Corvane Network\Velora" /f >/dev/null 2>&1 || true' EXIT

# 1. TMP through a link.
link=$(winpath "$work/tmplink")
set +e
TMP="$link" TEMP="$link" VELORA_DEMO_PACE_MS=0 run "$build/bin/VeloraSetup.exe" /s
code=$?
set -e
[ "$code" -eq 0 ] || fail "silent install with TMP on a link ended with $code"
[ -f "$work/Target/Program/Dovanix.exe" ] || fail "the product was not installed"
[ -z "$(ls -A "$work/decoy")" ] || fail "the installer wrote through TMP: $(ls -A "$work/decoy")"
echo "ok: nothing written through a TMP link"

# 2. The setup folder swapped for a link while the setup program runs (once
#    it has begun to lay the product down; a swap before the start makes the
#    installer refuse to start it, which is right but not what is tested here).
rm -rf "$work/Target"
systemp="$prefix/drive_c/windows/temp"
before=$(ls -d "$systemp"/velora_* 2>/dev/null || true)
VELORA_DEMO_PACE_MS=1500 run "$build/bin/VeloraSetup.exe" /s &
installer=$!
folder=
for ((i = 0; i < 200; i++)); do
  for f in "$systemp"/velora_*; do
    [ -d "$f" ] && ! grep -qxF "$f" <<<"$before" && [ -d "$work/Target/Program" ] && folder=$f
  done
  [ -n "$folder" ] && break
  sleep 0.05
done
[ -n "$folder" ] || { kill $installer 2>/dev/null; fail "no setup folder appeared in $systemp"; }
mv "$folder" "$work/moved"
printf 'the user'"'"'s file' > "$work/decoy2/velora_setup.exe"
ln -s "$work/decoy2" "$folder"
set +e
wait $installer
code=$?
set -e
rm -f "$folder"
[ "$code" -eq 0 ] || fail "the install with a swapped folder ended with $code"
[ "$(cat "$work/decoy2/velora_setup.exe" 2>/dev/null)" = "the user's file" ] ||
  fail "the clean-up reached through the link into the decoy"
echo "ok: the clean-up left a swapped-in link alone"
rm -rf "$work"
