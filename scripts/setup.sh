#!/usr/bin/env bash
# Shared by run.sh and test.sh: installs the Debian packages listed in scripts/packages.txt
# that are missing, makes a missing locale, then configures and builds into build/<type>.
# Usage: source scripts/setup.sh; voltmetr_install_packages; voltmetr_make_locale cs_CZ.UTF-8;
#        voltmetr_build Release
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
  voltmetr_sudo apt-get update -qq
  voltmetr_sudo env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

voltmetr_sudo() {
  if [ "$(id -u)" -ne 0 ]; then sudo "$@"; else "$@"; fi
}

# True when `locale -a` lists locale; it writes "cs_CZ.utf8" for "cs_CZ.UTF-8".
voltmetr_has_locale() {
  local normalise='s/\.utf-\?8$/.utf8/I' listed
  listed=$(locale -a 2>/dev/null | sed "$normalise")
  grep -qixF "$(sed "$normalise" <<<"$1")" <<<"$listed"
}

# Makes locale (for example cs_CZ.UTF-8) when the system lacks it; fails loudly when it still
# cannot be used, rather than letting programs fall back to C unnoticed.
voltmetr_make_locale() {
  local name="$1"
  voltmetr_has_locale "$name" && return 0
  echo "Vytvářím národní prostředí $name"
  voltmetr_sudo localedef -i "${name%%.*}" -f UTF-8 "$name"
  if ! voltmetr_has_locale "$name"; then
    echo "Národní prostředí $name nelze vytvořit ani použít (chybí balíček locales?)." >&2
    return 1
  fi
}

# Builds into build/<type>, or build/$VOLTMETR_BUILD_NAME when that is set; further arguments
# go to CMake when the folder is configured the first time.
voltmetr_build() {
  local type="$1"; shift
  local dir="$VOLTMETR_ROOT/build/${VOLTMETR_BUILD_NAME:-${type,,}}"
  local generator=()
  command -v ninja >/dev/null && generator=(-G Ninja)
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$VOLTMETR_ROOT" -B "$dir" "${generator[@]}" -DCMAKE_BUILD_TYPE="$type" "$@"
  fi
  cmake --build "$dir" --parallel "$(nproc)"
  VOLTMETR_BUILD_DIR="$dir"
}
