#!/usr/bin/env bash
# Shared by build-windows.sh and test-windows.sh: Qt for Windows and the cross build's CMake.
# Usage: source scripts/windows-setup.sh; voltmetr_windows_qt; voltmetr_windows_configure DIR ...
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

# Where the Windows pieces are kept between builds: Qt and the Wine prefix of the tests.
VOLTMETR_CACHE="${VOLTMETR_CACHE:-$HOME/.cache/voltmetr}"

# Qt 6.4.2 for Windows, as scripts/windows-qt.sh builds it. The shared copy beside the project is
# taken when it is the very one that script made; otherwise the script builds it (half an hour
# of one core). Sets VOLTMETR_WINDOWS_QT.
voltmetr_windows_qt() {
  local qt="$VOLTMETR_CACHE/qt6-mingw"
  local tarball="$VOLTMETR_ROOT/../shared/windows/qt6.4.2-mingw-w64.tar.xz"
  local sha256=3a7d2b0a818611ab48cc7122fd7eb50bf6f3d05fe783194226a1826c0fafb3c1
  if [ ! -f "$qt/lib/cmake/Qt6/Qt6Config.cmake" ]; then
    if [ -f "$tarball" ] && [ "$(sha256sum <"$tarball" | cut -d' ' -f1)" = "$sha256" ]; then
      echo "Rozbaluji Qt pro Windows z $tarball"
      rm -rf "$qt"
      mkdir -p "$VOLTMETR_CACHE"
      tar -xJf "$tarball" -C "$VOLTMETR_CACHE"
    else
      echo "Sdílené Qt pro Windows chybí nebo se liší: sestavuji ho ze zdrojů Debianu."
      "$VOLTMETR_ROOT/scripts/windows-qt.sh" "$qt"
    fi
  fi
  VOLTMETR_WINDOWS_QT="$qt"
}

# Configures DIR for 64-bit Windows; further arguments go to CMake.
voltmetr_windows_configure() {
  local dir="$1"
  shift
  cmake -S "$VOLTMETR_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$VOLTMETR_ROOT/cmake/mingw-w64.cmake" \
    -DCMAKE_PREFIX_PATH="$VOLTMETR_WINDOWS_QT" -DCMAKE_FIND_ROOT_PATH="$VOLTMETR_WINDOWS_QT" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$VOLTMETR_ROOT/scripts/wine-run.sh" \
    -DVOLTMETR_BUILD_BENCHMARKS=OFF "$@" >/dev/null
}
