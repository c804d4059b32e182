#!/usr/bin/env bash
# Builds the pupils' program for 64-bit Windows into build/windows and leaves there
# voltmetr-<version>-windows.zip (the program's folder, ready to run from a disk or a share) and
# voltmetr-<version>-setup.exe (the installer; /S installs without a question). With
# VOLTMETR_WINDOWS_TESTS=ON the core tests are built too (scripts/test-windows.sh runs them).
set -euo pipefail
source "$(dirname "$0")/windows-setup.sh"
voltmetr_install_packages
voltmetr_windows_qt

build="$VOLTMETR_ROOT/build/windows"
mkdir -p "$build/icon"

# The icon for Windows, drawn by the host's Qt from the program's SVG as the Linux icons are
# (ImageMagick's own SVG drawing misses the scale's arc) and packed by ImageMagick.
svg="$VOLTMETR_ROOT/src/resources/icons/voltmetr.svg"
icon="$build/icon/voltmetr.ico"
if [ ! -f "$icon" ] || [ "$svg" -nt "$icon" ]; then
  sizes=(256 64 48 32 24 16)
  # shellcheck disable=SC2046 # pkg-config's flags are words
  g++ -std=c++20 -fPIC "$VOLTMETR_ROOT/packaging/rendericons.cpp" -o "$build/icon/rendericons" \
    $(pkg-config --cflags --libs Qt6Gui)
  "$build/icon/rendericons" "$svg" "$build/icon" voltmetr "${sizes[@]}"
  pngs=()
  for size in "${sizes[@]}"; do
    pngs+=("$build/icon/${size}x$size/voltmetr.png")
  done
  convert "${pngs[@]}" "$icon"
fi

voltmetr_windows_configure "$build" -DVOLTMETR_WINDOWS_ICON="$icon" \
  -DVOLTMETR_BUILD_TESTS="${VOLTMETR_WINDOWS_TESTS:-OFF}"
cmake --build "$build" --parallel "${VOLTMETR_JOBS:-$(nproc)}"

version=$(cat "$build/version")
program="$build/voltmetr-$version"
rm -rf "$program"
cmake --install "$build" --prefix "$program" >/dev/null
# The libraries as built carry their debugging data: three times the size, of no use to a school.
find "$program" \( -name '*.dll' -o -name '*.exe' \) -exec x86_64-w64-mingw32-strip --strip-unneeded {} +

zip="$build/voltmetr-$version-windows.zip"
rm -f "$zip"
(cd "$build" && zip -qr9 "$zip" "voltmetr-$version")

# The uninstaller removes exactly the files the installer wrote, then the folders if empty.
remove="$build/uninstall-files.nsh"
(
  cd "$program"
  find . -type f | sort | sed 's|^\./||; s|/|\\|g; s|.*|  Delete "$INSTDIR\\&"|'
  find . -mindepth 1 -type d | sort -r | sed 's|^\./||; s|/|\\|g; s|.*|  RMDir "$INSTDIR\\&"|'
) >"$remove"
IFS=. read -r major minor patch _ <<<"$version"
setup="$build/voltmetr-$version-setup.exe"
makensis -V2 -DVERSION="$version" -DFILE_VERSION="$major.${minor:-0}.${patch:-0}.0" \
  -DPROGRAM="$program" -DREMOVE="$remove" -DICON="$icon" \
  -DSIZE_KB="$(du -sk "$program" | cut -f1)" -DOUTFILE="$setup" \
  "$VOLTMETR_ROOT/packaging/windows/voltmetr.nsi"
echo "Program pro Windows: $zip ($(du -h "$zip" | cut -f1)), $setup ($(du -h "$setup" | cut -f1))"
