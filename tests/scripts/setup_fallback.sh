#!/usr/bin/env bash
# Set-up degrades when the 32-bit Wine cannot be installed: a package name
# that does not exist stands in for a broken 32-bit index. It must warn once,
# succeed, remember the failure, and not try again on the next run.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
fake=velora-no-such-package-for-tests
marker="$root/build/.wine32-unavailable-${fake//-/_}"
rm -f "$marker"
trap 'rm -f "$marker"' EXIT

out=$(VELORA_SETUP_I386_PACKAGE=$fake bash "$root/scripts/setup-packages" 2>&1) ||
  { echo "FAIL: set-up failed instead of degrading:"; echo "$out"; exit 1; }
grep -q "could not be installed" <<<"$out" || { echo "FAIL: no warning: $out"; exit 1; }
[ -f "$marker" ] || { echo "FAIL: the failure was not remembered"; exit 1; }

again=$(VELORA_SETUP_I386_PACKAGE=$fake bash "$root/scripts/setup-packages" 2>&1)
grep -q "could not be installed" <<<"$again" && { echo "FAIL: tried again: $again"; exit 1; }
grep -q "using the 64-bit build" <<<"$again" || { echo "FAIL: no reminder: $again"; exit 1; }
echo "ok: set-up degrades to the 64-bit build and remembers why"
