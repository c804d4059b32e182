#!/usr/bin/env bash
# Shared by the Windows build's scripts: Qt for Windows, Debian's sources it is built from, and
# the cross build's CMake.
# Usage: source scripts/windows-setup.sh; voltmetr_windows_qt; voltmetr_windows_configure DIR ...
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

# Where the Windows pieces are kept between builds: Qt and SQLite for Windows.
VOLTMETR_CACHE="${VOLTMETR_CACHE:-$HOME/.cache/voltmetr}"

# Qt 6.4.2 for Windows, as scripts/windows-qt.sh builds it. The shared copy beside the project is
# taken when it is the very one that script made; otherwise the script builds it (half an hour
# of one core). Its SQLite driver is then replaced (scripts/windows-sqlite.sh). Sets
# VOLTMETR_WINDOWS_QT.
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
  # Qt's own SQLite driver carries SQLite inside itself; the one on SQLite as a library of its
  # own, which the program calls too, takes its place. Built once for the versions of the host.
  local sqlite
  sqlite="$VOLTMETR_CACHE/sqlite3-$(voltmetr_package_version libsqlite3-dev)-mingw"
  sqlite+="-qt$(voltmetr_package_version qt6-base-dev)"
  if [ ! -f "$sqlite/plugins/sqldrivers/qsqlite.dll" ]; then
    echo "Sestavuji SQLite pro Windows jako knihovnu a ovladač Qt k ní"
    "$VOLTMETR_ROOT/scripts/windows-sqlite.sh" "$qt" "$sqlite"
  fi
  cp -a "$sqlite/." "$qt/"
  VOLTMETR_WINDOWS_QT="$qt"
}

voltmetr_package_version() { dpkg-query -W -f='${Version}' "$1"; }

# Unpacks into the current folder Debian's sources of the host's very Qt (its host tools, moc
# and rcc, build the Windows one) and SQLite, and makes SQLite's one-file amalgamation there.
# Sets VOLTMETR_QTBASE_SOURCE and VOLTMETR_SQLITE_SOURCE.
voltmetr_debian_sources() {
  local qt_version sqlite_version
  qt_version=$(voltmetr_package_version qt6-base-dev)
  sqlite_version=$(voltmetr_package_version libsqlite3-dev)
  # apt-get source needs a deb-src entry; one is made from the system's own deb entries.
  if ! apt-get source --print-uris -qq "qt6-base=$qt_version" >/dev/null 2>&1; then
    echo "Přidávám zdroje balíčků (deb-src) Debianu"
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
      sed 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
        voltmetr_sudo tee /etc/apt/sources.list.d/voltmetr-deb-src.sources >/dev/null
    else
      sed -n 's/^deb /deb-src /p' /etc/apt/sources.list |
        voltmetr_sudo tee /etc/apt/sources.list.d/voltmetr-deb-src.list >/dev/null
    fi
    voltmetr_sudo apt-get update -qq
  fi
  rm -rf qt6-base-* sqlite3-*/
  apt-get source -qq "qt6-base=$qt_version" "sqlite3=$sqlite_version" >/dev/null
  VOLTMETR_QTBASE_SOURCE=$(realpath "$(find . -maxdepth 1 -type d -name 'qt6-base-*' | head -n1)")
  VOLTMETR_SQLITE_SOURCE=$(realpath "$(find . -maxdepth 1 -type d -name 'sqlite3-*' | head -n1)")
  (cd "$VOLTMETR_SQLITE_SOURCE" && ./configure --disable-tcl >/dev/null && make -s sqlite3.c >/dev/null)
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
