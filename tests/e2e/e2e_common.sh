# Shared by the end-to-end scripts on the virtual display (sourced, not run).
# Before sourcing: set -euo pipefail, and failure_shot to the name of the
# screenshot taken when a check fails. $1 is the build directory.
build=$(cd "$1" && pwd)
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
arch=$(bash "$root/scripts/wine-arch" "$(basename "$build")")
prefix="$build/wineprefix"
art="$build/artifacts/e2e"
mkdir -p "$art"
run() { "$root/scripts/wine-run" "$arch" "$prefix" "$@"; }
fail() { echo "FAIL: $*" >&2; import -window root "$art/$failure_shot.png" 2>/dev/null || true; exit 1; }
[ -n "${DISPLAY:-}" ] || fail "needs a display (run through scripts/test)"

# Wait up to $1 tenths of a second for a command to succeed.
wait_for() {
  local tenths=$1
  shift
  for ((i = 0; i < tenths; i++)); do
    if "$@" >/dev/null 2>&1; then return 0; fi
    sleep 0.1
  done
  return 1
}
window_named() { xdotool search --onlyvisible --name "$1" | head -1 | grep -q .; }
