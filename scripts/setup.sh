#!/usr/bin/env bash
# Shared by run.sh and test.sh: installs the Debian packages listed in scripts/packages.txt
# that are missing, then configures and builds into build/<type>.
# Usage: source scripts/setup.sh; voltmetr_install_packages; voltmetr_build Release
set -euo pipefail

VOLTMETR_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

voltmetr_install_packages() {
  local wanted missing=()
  wanted=$(grep -v '^[[:space:]]*#' "$VOLTMETR_ROOT/scripts/packages.txt" | grep -v '^[[:space:]]*$')
  for pkg in $wanted; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Instaluji chybějící balíčky: ${missing[*]}"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

voltmetr_build() {
  local type="$1"; shift
  local dir="$VOLTMETR_ROOT/build/${type,,}"
  local generator=()
  command -v ninja >/dev/null && generator=(-G Ninja)
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$VOLTMETR_ROOT" -B "$dir" "${generator[@]}" -DCMAKE_BUILD_TYPE="$type" "$@"
  fi
  cmake --build "$dir" --parallel "$(nproc)"
  VOLTMETR_BUILD_DIR="$dir"
}
