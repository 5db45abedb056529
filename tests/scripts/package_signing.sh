#!/usr/bin/env bash
# Signing round trip: a throw-away certificate authority and code-signing
# certificate, scripts/package --sign, both signatures (the carried setup
# program's and the installer's) verified against that authority, the file
# alignment kept, and the signed installer installing silently under Wine.
#   package_signing.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
arch=$(basename "$build")
wine_arch=$(bash "$root/scripts/wine-arch" "$arch")
prefix="$build/wineprefix"
run() { "$root/scripts/wine-run" "$wine_arch" "$prefix" "$@"; }
winpath() { run winepath.exe -w "$1" | tr -d '\r'; }
fail() { echo "FAIL: $*" >&2; exit 1; }
work=$(mktemp -d)
target="$prefix/drive_c/velora-signed"
trap 'rm -rf "$work" "$target"' EXIT
cd "$work"

export TEST_PASS="throw-away $RANDOM"
openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 2 \
  -subj "/CN=Velora Test CA" -addext basicConstraints=critical,CA:TRUE \
  -addext keyUsage=critical,keyCertSign,cRLSign 2>/dev/null
openssl req -newkey rsa:2048 -nodes -keyout signer.key -out signer.csr \
  -subj "/CN=Velora Test Signer" 2>/dev/null
printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n' \
  > signer.ext
openssl x509 -req -in signer.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 2 \
  -extfile signer.ext -out signer.pem 2>/dev/null
openssl pkcs12 -export -inkey signer.key -in signer.pem -certfile ca.pem -out signer.pfx \
  -passout env:TEST_PASS
printf %s "$TEST_PASS" > pass.txt

setup="$build/bin/payload_setup.exe"
bash "$root/scripts/package" "$setup" --arch "$arch" --sign signer.pfx --pass-file pass.txt \
  --out "$work/signed.exe" >/dev/null || fail "signed packaging failed"

run "$build/bin/payload_dump.exe" "$(winpath "$work/signed.exe")" "$(winpath "$work/carried.exe")" ||
  fail "no payload in the signed installer"
for file in carried.exe signed.exe; do
  osslsigncode verify -CAfile ca.pem -in "$file" >verify.log 2>&1 ||
    fail "$file: signature not verified: $(cat verify.log)"
  grep -q "Velora Test Signer" verify.log || fail "$file: signed by someone else"
done
osslsigncode verify -CAfile ca.pem -in "$setup" >/dev/null 2>&1 && fail "the original setup program was changed"
echo "ok: setup program and installer signed and verified"

# The password from the environment instead; a wrong one stops it.
VELORA_SIGN_PASSWORD=$TEST_PASS bash "$root/scripts/package" "$setup" --arch "$arch" \
  --sign signer.pfx --out "$work/signed-env.exe" >/dev/null 2>&1 || fail "signing with the password from the environment failed"
osslsigncode verify -CAfile ca.pem -in signed-env.exe >/dev/null 2>&1 || fail "signed-env.exe: not verified"
VELORA_SIGN_PASSWORD=wrong bash "$root/scripts/package" "$setup" --arch "$arch" \
  --sign signer.pfx --out "$work/wrong.exe" >/dev/null 2>&1 && fail "signed with a wrong password"
[ ! -e "$work/wrong.exe" ] || fail "an installer was left behind by a failed signing"
echo "ok: the password from the environment works, a wrong one fails"

# Still page-aligned in the file (see CMakeLists.txt): the signature is
# appended after the sections.
dump=$(x86_64-w64-mingw32-objdump -p "$work/signed.exe")
grep -Eq '^FileAlignment[[:space:]]+0*1000$' <<<"$dump" || fail "file alignment lost: $(grep FileAlignment <<<"$dump")"
while read -r offset; do
  [ $((16#$offset % 4096)) -eq 0 ] || fail "a section at file offset 0x$offset"
done < <(x86_64-w64-mingw32-objdump -h "$work/signed.exe" | awk '/^ *[0-9]+ /{print $6}')
echo "ok: file alignment kept"

rm -rf "$target"
set +e
VELORA_DEMO_PACE_MS=0 run "$work/signed.exe" /s '/D=C:\velora-signed\Velora'
code=$?
set -e
[ "$code" -eq 0 ] || fail "the signed installer ended with $code"
[ -f "$target/Velora/Program/Dovanix.exe" ] || fail "the signed installer installed nothing"
echo "ok: the signed installer installs"
