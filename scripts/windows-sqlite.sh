#!/usr/bin/env bash
# Builds SQLite for 64-bit Windows as a library of its own (sqlite3.dll and its import library)
# from the same one-file amalgamation of Debian's SQLite source that Qt for Windows is built
# with, and Qt's SQLite driver (sqldrivers/qsqlite.dll) on it, from Debian's qt6-base source, as
# a build of the driver alone against the installed Qt. Qt's own driver carries SQLite inside
# itself and lends its functions to no one; with this one the program calls the very SQLite its
# connections to a school file run on, and gives them its own wait for the file's lock.
#
# Usage: scripts/windows-sqlite.sh QT_PREFIX OUTPUT
#        OUTPUT gets bin/sqlite3.dll, lib/libsqlite3.dll.a, include/ and plugins/sqldrivers/, laid
#        out as in Qt's folder, into which scripts/windows-setup.sh copies them. The sources and
#        the build go beside OUTPUT, in OUTPUT-build, and are removed when done.
# About a minute of one core.
set -euo pipefail
source "$(dirname "$0")/windows-setup.sh"

qt="$(realpath "$1")"
output="$(realpath -m "$2")"
work="$output-build"
staged="$output-new"

voltmetr_install_packages
rm -rf "$work" "$staged"
mkdir -p "$work" "$staged"/{bin,lib,include}
cd "$work"
voltmetr_debian_sources

# The options Qt's build gives the SQLite it carries, so that the school file meets the same
# SQLite as before; every function of SQLite's interface is exported.
sqlite="$VOLTMETR_SQLITE_SOURCE"
x86_64-w64-mingw32-gcc-posix -O2 -DNDEBUG -DSQLITE_ENABLE_COLUMN_METADATA -DSQLITE_ENABLE_FTS3 \
  -DSQLITE_ENABLE_FTS3_PARENTHESIS -DSQLITE_ENABLE_FTS5 -DSQLITE_ENABLE_JSON1 \
  -DSQLITE_ENABLE_RTREE -DSQLITE_OMIT_COMPLETE '-DSQLITE_API=__declspec(dllexport)' \
  -shared "$sqlite/sqlite3.c" -o "$staged/bin/sqlite3.dll" \
  -Wl,--out-implib,"$staged/lib/libsqlite3.dll.a"
cp "$sqlite/sqlite3.h" "$sqlite/sqlite3ext.h" "$staged/include/"

# The driver alone, built by the installed Qt's own CMake (qt-cmake) with the system SQLite
# feature on, which here is the library just built.
"$qt/bin/qt-cmake" -S "$VOLTMETR_QTBASE_SOURCE/src/plugins/sqldrivers" -B drivers -G Ninja \
  -DCMAKE_BUILD_TYPE=Release -DQT_CHAINLOAD_TOOLCHAIN_FILE="$VOLTMETR_ROOT/cmake/mingw-w64.cmake" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DFEATURE_system_sqlite=ON -DFEATURE_sql_odbc=OFF \
  -DSQLite3_INCLUDE_DIR="$staged/include" -DSQLite3_LIBRARY="$staged/lib/libsqlite3.dll.a" \
  >/dev/null
cmake --build drivers --target QSQLiteDriverPlugin --parallel "${VOLTMETR_JOBS:-$(nproc)}"
if ! grep -q 'DLL Name: sqlite3.dll' <<<"$(x86_64-w64-mingw32-objdump -p drivers/plugins/sqldrivers/qsqlite.dll)"; then
  echo "Ovladač SQLite pro Windows nepoužívá knihovnu sqlite3.dll." >&2
  exit 1
fi
mkdir -p "$staged/plugins/sqldrivers"
cp drivers/plugins/sqldrivers/qsqlite.dll "$staged/plugins/sqldrivers/"

cd /
rm -rf "$output" "$work"
mv "$staged" "$output"
echo "SQLite pro Windows a jeho ovladač Qt jsou v $output."
