#!/usr/bin/env bash
# Makes the two Debian packages in a build folder and checks them as a school's administrator
# would meet them: the menu entry validates without a hint and the software centre's data
# without a complaint, lintian finds neither an error nor a warning, each package holds every
# file it should and the pupils' package nothing of the teacher's tool, both manual pages render
# without a warning, and both programs answer --version from a throwaway root the packages were
# unpacked into.
# Usage: packaging/check-package.sh BUILD_FOLDER
set -euo pipefail
build="$(cd "$1" && pwd)"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
app_id="$(sed -n 's/^VOLTMETR_APP_ID:STRING=//p' "$build/CMakeCache.txt")"
arch="$(dpkg --print-architecture)"
packages=(voltmetr voltmetr-ucitel)
deb_of() { echo "$build/${1}_${version}-1_${arch}.deb"; }
failures=0
fail() { echo "CHYBA: $*" >&2; failures=$((failures + 1)); }

rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB >/dev/null)
for package in "${packages[@]}"; do
  [ -f "$(deb_of "$package")" ] || { echo "CHYBA: balíček $(deb_of "$package") nevznikl" >&2; exit 1; }
done
deb="$(deb_of voltmetr)"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
root="$work/root"
for package in "${packages[@]}"; do
  dpkg-deb -x "$(deb_of "$package")" "$root"
done

declare -A expected
expected[voltmetr]="./usr/bin/voltmetr
./usr/share/applications/$app_id.desktop
./usr/share/metainfo/$app_id.metainfo.xml
./usr/share/icons/hicolor/scalable/apps/$app_id.svg
./usr/share/man/man1/voltmetr.1.gz
./usr/share/doc/voltmetr/copyright
./usr/share/doc/voltmetr/changelog.Debian.gz
./etc/xdg/voltmetr/voltmetr.conf"
for size in 16 22 24 32 48 64 128 256; do
  expected[voltmetr]+=$'\n'"./usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
done
expected[voltmetr-ucitel]="./usr/bin/voltmetr-ucitel
./usr/share/applications/$app_id.ucitel.desktop
./usr/share/icons/hicolor/scalable/apps/$app_id.ucitel.svg
./usr/share/man/man1/voltmetr-ucitel.1.gz
./usr/share/doc/voltmetr-ucitel/copyright
./usr/share/doc/voltmetr-ucitel/changelog.Debian.gz
./usr/share/doc/voltmetr-ucitel/examples/pgbouncer-voltmetr.ini"
for package in "${packages[@]}"; do
  contents="$(dpkg-deb --contents "$(deb_of "$package")" | awk '$6 !~ /\/$/ {print $6}')"
  while read -r file; do
    grep -qxF "$file" <<<"$contents" || fail "balíček $package neobsahuje $file"
  done <<<"${expected[$package]}"
  # Nothing beyond the list: above all, no part of the teacher's tool on a pupil's computer.
  while read -r file; do
    grep -qxF "$file" <<<"${expected[$package]}" || fail "balíček $package obsahuje navíc $file"
  done <<<"$contents"
done
for size in 16 22 24 32 48 64 128 256; do
  png="$root/usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
  [ -f "$png" ] && file -b "$png" | grep -q "^PNG image data, $size x $size," ||
    fail "ikona $png nemá rozměr ${size}x${size}"
done
grep -qxF "/etc/xdg/voltmetr/voltmetr.conf" <(dpkg-deb --info "$deb" conffiles) ||
  fail "nastavení školy není konfigurační soubor balíčku"

for entry in "$app_id" "$app_id.ucitel"; do
  hints="$(desktop-file-validate "$root/usr/share/applications/$entry.desktop" 2>&1)" ||
    fail "desktop-file-validate $entry"
  [ -z "$hints" ] || fail "desktop-file-validate: $hints"
done
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
# reads a copy of the packages.
for package in "${packages[@]}"; do
  cp "$(deb_of "$package")" "$work/"
done
chmod -R a+rX "$work"
lint=(lintian --tag-display-limit 0 --display-info "$work"/*.deb)
if [ "$(id -u)" -eq 0 ] && id nobody >/dev/null 2>&1; then
  lint=(setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME="$work" "${lint[@]}")
fi
report="$("${lint[@]}" 2>&1)" || true
echo "$report"
grep -q '^[EW]: ' <<<"$report" && fail "lintian hlásí chyby nebo varování"

if [ "$failures" -ne 0 ]; then
  echo "=== Balíčky ${packages[*]}: $failures chyb ===" >&2
  exit 1
fi
echo "=== Balíčky ${packages[*]} jsou v pořádku ==="
