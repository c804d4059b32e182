#!/usr/bin/env bash
# Makes the Debian package in a build folder and checks it as a school's administrator would
# meet it: the menu entry and the software centre's data validate, lintian finds no error, the
# package holds every file a desktop needs, both manual pages render without a warning, and both
# programs answer --version from a throwaway root the package was unpacked into.
# Usage: packaging/check-package.sh BUILD_FOLDER
set -euo pipefail
build="$(cd "$1" && pwd)"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
app_id="$(sed -n 's/^VOLTMETR_APP_ID:STRING=//p' "$build/CMakeCache.txt")"
arch="$(dpkg --print-architecture)"
deb="$build/voltmetr_${version}_${arch}.deb"
failures=0
fail() { echo "CHYBA: $*" >&2; failures=$((failures + 1)); }

rm -f "$deb"
(cd "$build" && cpack -G DEB >/dev/null)
[ -f "$deb" ] || { echo "CHYBA: balíček $deb nevznikl" >&2; exit 1; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
root="$work/root"
dpkg-deb -x "$deb" "$root"

contents="$(dpkg-deb --contents "$deb" | awk '{print $6}')"
expected=(
  ./usr/bin/voltmetr ./usr/bin/voltmetr-ucitel
  "./usr/share/applications/$app_id.desktop"
  "./usr/share/metainfo/$app_id.metainfo.xml"
  "./usr/share/icons/hicolor/scalable/apps/$app_id.svg"
  ./usr/share/man/man1/voltmetr.1.gz ./usr/share/man/man1/voltmetr-ucitel.1.gz
  ./usr/share/doc/voltmetr/copyright ./usr/share/doc/voltmetr/changelog.gz
  ./usr/share/doc/voltmetr/examples/pgbouncer-voltmetr.ini
  ./etc/xdg/voltmetr/voltmetr.conf
)
for size in 16 22 24 32 48 64 128 256; do
  expected+=("./usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png")
done
for file in "${expected[@]}"; do
  grep -qxF "$file" <<<"$contents" || fail "balíček neobsahuje $file"
done
for size in 16 22 24 32 48 64 128 256; do
  png="$root/usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
  [ -f "$png" ] && file -b "$png" | grep -q "^PNG image data, $size x $size," ||
    fail "ikona $png nemá rozměr ${size}x${size}"
done
grep -qxF "/etc/xdg/voltmetr/voltmetr.conf" <(dpkg-deb --info "$deb" conffiles) ||
  fail "nastavení školy není konfigurační soubor balíčku"

desktop-file-validate "$root/usr/share/applications/$app_id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net --pedantic "$root/usr/share/metainfo/$app_id.metainfo.xml" ||
  fail "appstreamcli validate"

for page in voltmetr voltmetr-ucitel; do
  warnings="$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l \
    "$root/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)"
  [ -z "$warnings" ] || fail "man $page: $warnings"
done

for program in voltmetr voltmetr-ucitel; do
  answer="$(env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/$program" --version)" ||
    fail "$program --version skončil chybou"
  [ "$answer" = "$program $version" ] || fail "$program --version vypsal „$answer“"
done

# lintian refuses to run as root in some setups and should not need it: an unprivileged account
# reads a copy of the package.
cp "$deb" "$work/"
chmod -R a+rX "$work"
lint=(lintian --tag-display-limit 0 --display-info "$work/$(basename "$deb")")
if [ "$(id -u)" -eq 0 ] && id nobody >/dev/null 2>&1; then
  lint=(setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME="$work" "${lint[@]}")
fi
report="$("${lint[@]}" 2>&1)" || true
echo "$report"
grep -q '^E: ' <<<"$report" && fail "lintian hlásí chyby"

if [ "$failures" -ne 0 ]; then
  echo "=== Balíček $deb: $failures chyb ===" >&2
  exit 1
fi
echo "=== Balíček $deb je v pořádku ==="
