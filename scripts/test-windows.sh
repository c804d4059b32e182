#!/usr/bin/env bash
# The Windows build, checked under Wine as a school's computer would meet it: builds the program,
# its ZIP and installer and the core tests (scripts/build-windows.sh), runs the tests, takes a
# pupil through the program from the ZIP by keyboard and decodes the report on Linux, then
# installs the program silently as an administrator installing a lab would, starts it from where
# it was installed and uninstalls it. Runs on a display of its own. Arguments go to ctest.
set -euo pipefail
if [ -z "${VOLTMETR_WINDOWS_DISPLAY:-}" ]; then
  exec env VOLTMETR_WINDOWS_DISPLAY=1 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
source "$(dirname "$0")/windows-setup.sh"
VOLTMETR_WINDOWS_TESTS=ON "$VOLTMETR_ROOT/scripts/build-windows.sh"
voltmetr_windows_qt
build="$VOLTMETR_ROOT/build/windows"
version=$(cat "$build/version")

# A Windows of its own for every run, in Czech as the labs' computers are: Wine takes its code
# page and regional settings from the locale it runs in. Wine's browser and .NET are not needed.
voltmetr_make_locale cs_CZ.UTF-8
export LANG=cs_CZ.UTF-8 LC_ALL=cs_CZ.UTF-8
export WINEPREFIX="$build/wine" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
# One Windows for every test: each program starts in a tenth of a second, not in a second.
/usr/lib/wine/wineserver -p
trap '/usr/lib/wine/wineserver -k || true' EXIT
"$wine" wineboot --init >/dev/null 2>&1

# The tests load Qt from where the build took it, and the compiler's own libraries.
windows_path() { printf 'Z:%s' "${1//\//\\}"; }
runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")
WINEPATH="$(windows_path "$VOLTMETR_WINDOWS_QT/bin");$(windows_path "$runtime")"
WINEPATH+=";$(windows_path /usr/x86_64-w64-mingw32/lib)"
export WINEPATH
failed=()
check() {
  if ! eval "$2"; then
    echo "Nesplněno: $1" >&2
    failed+=("$1")
  fi
}
echo "=== Testy jádra pod Wine (cs_CZ.UTF-8) ==="
(cd "$build" && ctest --output-on-failure --parallel "$(nproc)" --timeout 120 "$@") ||
  failed+=("testy jádra")

# A pupil's run from the unpacked ZIP, by keyboard as a pupil without a mouse would: signs in
# by name, answers one task right and one wrong, ends the run and copies the report; the Linux
# teacher's tool reads the same name, class and counts from it.
echo "=== Žák pod Wine: přihlášení, dvě úlohy, zpráva pro vyučujícího ==="
teacher_build="$VOLTMETR_ROOT/build/debug"
[ -f "$teacher_build/CMakeCache.txt" ] ||
  cmake -S "$VOLTMETR_ROOT" -B "$teacher_build" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$teacher_build" --target voltmetr-ucitel voltmetr_tasks_now >/dev/null
# The program draws its tasks from a seed taken from the clock. Under one stopped clock (the
# monotonic one, which the windows' timers use, runs on) the program and voltmetr_tasks_now, the
# same exercise on Linux, draw the same tasks: the right answer to the first and a wrong one to
# the second.
stopped_clock=(env LD_PRELOAD=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1
  FAKETIME="2026-03-02 08:30:00" FAKETIME_DONT_FAKE_MONOTONIC=1)
mapfile -t answers < <("${stopped_clock[@]}" QT_QPA_PLATFORM=offscreen \
  "$teacher_build/tests/voltmetr_tasks_now")
run="$build/smoke"
rm -rf "$run"
mkdir -p "$run"
unzip -q "$build/voltmetr-$version-windows.zip" -d "$run"
# The school file's driver runs on the SQLite the program waits through, not on a copy of its own.
check "ovladač SQLite v ZIPu používá knihovnu sqlite3.dll programu" \
  'grep -q "DLL Name: sqlite3.dll" <<<"$(x86_64-w64-mingw32-objdump -p "$run/voltmetr-$version/sqldrivers/qsqlite.dll")" &&
   [ -f "$run/voltmetr-$version/sqlite3.dll" ]'
# Waits up to a minute for the window titled by the pattern to be shown, and gives it the focus;
# a window found before it is shown refuses the focus, and is tried again.
focus() {
  for _ in $(seq 60); do
    if timeout 10 xdotool search --onlyvisible --limit 1 --name "$1" windowfocus --sync \
      2>/dev/null; then
      sleep 1
      return 0
    fi
    sleep 1
  done
  return 1
}
# The clipboard's text once Wine has handed it to the display.
clipboard() {
  for _ in $(seq 10); do
    timeout 10 xclip -o -selection clipboard 2>/dev/null && return 0
    sleep 1
  done
  return 1
}
keys() { xdotool key --delay 100 "$@"; }
text() { xdotool type --delay 50 "$1"; }
# Only what the ZIP holds: no path to the build's Qt.
env -u WINEPATH "${stopped_clock[@]}" "$wine" "$run/voltmetr-$version/voltmetr.exe" \
  >/dev/null 2>&1 &
program=$!
report_window='^Generované informace pro vyučujícího$'
if focus '^Vítejte$' && keys Tab && text 'Novák Petr' && keys Tab && text 2.B && keys Return &&
  focus '^Prověřovák' && keys Tab Tab && text "${answers[0]}" && keys Return &&
  focus '^Potvrzení výsledku$' && keys alt+a &&
  focus '^Gratuluji$' && keys Return &&
  focus '^Prověřovák' && text "${answers[1]}" && keys Return &&
  focus '^Potvrzení výsledku$' && keys alt+a &&
  focus '^C H Y B A$' && keys alt+k &&
  focus '^Konec \?$' && keys alt+a &&
  focus '^Souhrn$' && keys Return &&
  focus "$report_window" && keys alt+v && clipboard >"$run/zprava.txt" &&
  focus "$report_window" && keys alt+k; then
  "$teacher_build/voltmetr-ucitel" dekoduj "$run/zprava.txt" --csv "$run/zprava.csv" >/dev/null ||
    true
  check "zpráva ze schránky se dekóduje se jménem, třídou, jednou dobrou a jednou chybnou úlohou" \
    'tr -d "\r" <"$run/zprava.csv" | grep -qxE "Novák Petr;2\.B;[^;]*;[^;]*;2;1;1"'
else
  import -window root "$run/obrazovka.png" || true
  echo "Průchod programem se zastavil, obrazovka je v $run/obrazovka.png" >&2
  failed+=("průchod programem klávesnicí")
fi
timeout 30 tail --pid="$program" -f /dev/null || kill "$program" 2>/dev/null || true

# What an administrator does in a lab: the installer with /S, no question asked.
echo "=== Instalace, spuštění a odinstalace pod Wine ==="
installed="$WINEPREFIX/drive_c/Program Files/Voltmetr"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Voltmetr'
menu_entry="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Voltmetr.lnk"
"$wine" "$build/voltmetr-$version-setup.exe" /S || failed+=("instalátor skončil chybou")
check "program je nainstalovaný v Program Files" '[ -f "$installed/voltmetr.exe" ]'
check "knihovny a moduly Qt jsou u programu" \
  '[ -f "$installed/Qt6Widgets.dll" ] && [ -f "$installed/platforms/qwindows.dll" ]'
check "nabídka Start má položku Voltmetr" '[ -f "$menu_entry" ]'
check "seznam programů zná verzi $version" \
  '"$wine" reg query "$uninstall_key" /v DisplayVersion | grep -q "$version"'
check "nainstalovaný program zná svou verzi" \
  '[ "$(env -u WINEPATH "$wine" "$installed/voltmetr.exe" --version | tr -d "\r")" = "voltmetr $version" ]'
# Started from its place it loads Qt, the window system's plugin and its settings: its first
# window appears.
env -u WINEPATH "$wine" "$installed/voltmetr.exe" >/dev/null 2>&1 &
program=$!
check "nainstalovaný program otevře okno Vítejte" \
  'timeout 60 xdotool search --sync --name "^Vítejte\$" >/dev/null'
kill "$program" 2>/dev/null || true
wait "$program" 2>/dev/null || true
# The uninstaller copies itself away and returns at once; what it removes goes a moment later.
"$wine" "$installed/Uninstall.exe" /S || failed+=("odinstalátor skončil chybou")
for _ in $(seq 60); do
  [ -d "$installed" ] || break
  sleep 0.5
done
check "odinstalace smaže složku programu" '[ ! -d "$installed" ]'
check "odinstalace smaže položku nabídky Start" '[ ! -f "$menu_entry" ]'
check "odinstalace smaže program ze seznamu programů" \
  '! "$wine" reg query "$uninstall_key" >/dev/null 2>&1'

if [ ${#failed[@]} -ne 0 ]; then
  printf '=== Selhalo pod Wine: %s ===\n' "${failed[@]}" >&2
  exit 1
fi
echo "=== Windows: testy jádra, instalace, spuštění i odinstalace prošly pod Wine ==="
