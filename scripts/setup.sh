# Shared by ./run and ./test: install what is missing, then build.
# shellcheck shell=bash

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

ensure_packages() {
  local wanted missing=()
  wanted=$(grep -v '^\s*#' "$ROOT/scripts/packages.txt" | grep -v '^\s*$')
  for pkg in $wanted; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing Debian packages: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# configure_and_build DIR BUILD_TYPE [TARGET...]: every target when none is named.
configure_and_build() {
  local dir="$1" type="$2"
  shift 2
  if [ ! -f "$ROOT/$dir/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$ROOT/$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type"
  fi
  local targets=()
  for target in "$@"; do targets+=(--target "$target"); done
  cmake --build "$ROOT/$dir" --parallel "$(nproc)" "${targets[@]}"
}
