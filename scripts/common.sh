# Shared by the set-up, build and benchmark scripts (sourced, not run).

# Whether a Debian package is installed.
package_installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

# Runs a command as root (through sudo when not root already).
as_root() {
  if [ "$(id -u)" -ne 0 ]; then sudo "$@"; else "$@"; fi
}

# Updates the package index. A mirror that is being synchronised serves
# indexes that fail their checks for a while; apt keeps the lists it could
# read: try a few times, then go on with what there is (an install says
# clearly if a package is then missing).
update_package_index() {
  local attempt
  for attempt in 1 2 3; do
    if as_root env DEBIAN_FRONTEND=noninteractive apt-get update -q >/dev/null 2>&1; then
      return 0
    fi
    echo "setup: package index update failed (attempt $attempt of 3)" >&2
    [ "$attempt" -lt 3 ] && sleep 10
  done
  echo "setup: warning: going on with a partial package index" >&2
}

# Installs those of the given packages that are missing, in one transaction.
ensure_packages() {
  local missing=() p
  for p in "$@"; do
    package_installed "$p" || missing+=("$p")
  done
  [ "${#missing[@]}" -eq 0 ] && return 0
  echo "setup: installing ${missing[*]}" >&2
  update_package_index
  as_root env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -q --no-install-recommends "${missing[@]}" >&2
}

# Configures DIR (default build/ARCH) once (Release, the cross toolchain of
# ARCH). Further arguments go to cmake, which then runs every time, so that a
# changed value takes effect.
configure_build() {
  local arch=$1 dir=${2:-build/$1}
  shift $(($# < 2 ? $# : 2))
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE="cmake/toolchain-$arch-mingw.cmake" \
          -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
  elif [ $# -gt 0 ]; then
    cmake -S . -B "$dir" "$@" >/dev/null
  fi
}
