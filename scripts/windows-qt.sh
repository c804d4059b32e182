#!/usr/bin/env bash
# Builds Qt for 64-bit Windows (qtbase: Core, Gui, Widgets, Sql with SQLite, PrintSupport) from
# Debian's own qt6-base source, the version of the host's Qt, with Debian's mingw-w64 compilers.
# Debian has every other piece of the Windows build; this one it has not.
#
# Usage: scripts/windows-qt.sh [PREFIX]   (default: $VOLTMETR_CACHE/qt6-mingw, with VOLTMETR_CACHE
#        ~/.cache/voltmetr). The sources and the build go beside PREFIX, in PREFIX-build; with
#        VOLTMETR_QT_STOP_AFTER=configure the script stops once Qt is configured.
# About 1,100 compile steps, half an hour of one core.
set -euo pipefail
source "$(dirname "$0")/windows-setup.sh"

prefix="$(realpath -m "${1:-${VOLTMETR_CACHE:-$HOME/.cache/voltmetr}/qt6-mingw}")"
work="$prefix-build"
toolchain="$VOLTMETR_ROOT/cmake/mingw-w64.cmake"
jobs="${VOLTMETR_JOBS:-$(nproc)}"

voltmetr_install_packages
mkdir -p "$work"
cd "$work"
voltmetr_debian_sources
qtbase="$VOLTMETR_QTBASE_SOURCE"

# Debian's source leaves out Qt's copy of SQLite; the driver is built into the plugin from the
# one-file amalgamation. (scripts/windows-sqlite.sh then puts a driver on SQLite as a library of
# its own in its place.)
mkdir -p "$qtbase/src/3rdparty/sqlite"
cp "$VOLTMETR_SQLITE_SOURCE"/sqlite3.{c,h} "$VOLTMETR_SQLITE_SOURCE"/sqlite3ext.h \
  "$qtbase/src/3rdparty/sqlite/"

# It also leaves out Wintab, the old drawing-tablet interface: the window system's plugins are
# built without it (QT_NO_WINTAB); pens still work through Windows' pointer messages.
platforms="$qtbase/src/plugins/platforms"
for plugin in windows:QWindowsIntegrationPlugin direct2d:QWindowsDirect2DIntegrationPlugin; do
  lists="$platforms/${plugin%%:*}/CMakeLists.txt"
  perl -0pi -e 's/CONDITION QT_FEATURE_tabletevent\n/CONDITION QT_FEATURE_tabletevent AND NOT QT_NO_WINTAB\n/' "$lists"
  {
    printf 'if(NOT EXISTS "${QtBase_SOURCE_DIR}/src/3rdparty/wintab/wintab.h")\n'
    printf '  set(QT_NO_WINTAB ON)\nendif()\n'
    cat "$lists"
    printf 'if(QT_NO_WINTAB)\n  qt_internal_extend_target(%s DEFINES QT_NO_WINTAB)\nendif()\n' \
      "${plugin#*:}"
  } >"$lists.new"
  mv "$lists.new" "$lists"
done
perl -pi -e 's/^#if QT_CONFIG\(tabletevent\)/#if QT_CONFIG(tabletevent) && !defined(QT_NO_WINTAB)/' \
  "$platforms/windows/qwindowscontext.cpp"
perl -0pi -e 's/#if QT_CONFIG\(tabletevent\)\n(#\s*include "qwindowstabletsupport.h")/#if QT_CONFIG(tabletevent) && !defined(QT_NO_WINTAB)\n$1/' \
  "$platforms/windows/qwindowspointerhandler.cpp"
if grep -q '^#if QT_CONFIG(tabletevent)$' "$platforms/windows/qwindowscontext.cpp" ||
  ! grep -q 'QT_NO_WINTAB' "$platforms/windows/qwindowspointerhandler.cpp"; then
  echo "Úprava Qt bez rozhraní Wintab se nepovedla: zdroje Qt jsou jiné, než skript čeká." >&2
  exit 1
fi

# Qt 6's cross build: the host tools come from the host's Qt.
rm -rf build
mkdir build
cd build
"$qtbase/configure" -prefix "$prefix" -xplatform win32-g++ \
  -device-option CROSS_COMPILE=x86_64-w64-mingw32- -qt-host-path /usr \
  -release -shared -nomake tests -nomake examples -no-opengl -no-dbus -no-icu -no-openssl \
  -no-freetype -no-fontconfig -qt-zlib -qt-pcre -qt-libpng -qt-libjpeg -qt-harfbuzz \
  -sql-sqlite -qt-sqlite -no-sql-odbc -no-sql-psql -no-sql-mysql -no-sql-ibase -no-sql-oci \
  -no-sql-db2 -no-feature-network -no-feature-xml -no-feature-testlib -no-feature-concurrent \
  -no-feature-vulkan -- -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
if [ "${VOLTMETR_QT_STOP_AFTER:-}" = configure ]; then
  echo "Qt pro Windows je nastavené v $work/build."
  exit 0
fi
cmake --build . --parallel "$jobs"
rm -rf "$prefix"
cmake --install .
echo "Qt pro Windows je v $prefix."
