#!/usr/bin/env bash
# Walks the pupils' program through its windows the way a pupil with a screen reader meets them,
# on a throwaway school file under a virtual screen and a D-Bus session of its own, and records
# what AT-SPI gives: the tree of each window (sign-in, exercise, overloaded exercise, destroyed
# meter, summary, report) with a screenshot, and every event heard meanwhile (events.txt).
#   scripts/atspi-check.sh [BUILD_DIR [OUT_DIR]]   (default build/debug, /tmp/voltmetr-atspi)
# Needs xvfb, xdotool, imagemagick, dbus, at-spi2-core and python3-pyatspi; no CI test uses it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build/debug}" && pwd)"
out="${2:-/tmp/voltmetr-atspi}"
if [ "${VOLTMETR_ATSPI_INSIDE:-}" != 1 ]; then
  VOLTMETR_ATSPI_INSIDE=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" \
    dbus-run-session -- "$0" "$build" "$out"
fi
rm -rf "$out"
mkdir -p "$out"
export LANG=cs_CZ.UTF-8 LC_ALL=cs_CZ.UTF-8 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb
export VOLTMETR_DB="$out/skola.sqlite"
"$build/voltmetr-ucitel" zaloz --db "$VOLTMETR_DB" >"$out/zaloz.txt" 2>&1
/usr/bin/python3 "$root/scripts/atspi-tree.py" listen 45 >"$out/events.txt" 2>&1 &
listener=$!
"$build/voltmetr" >"$out/voltmetr.log" 2>&1 &
program=$!
status=0
timeout 90 /usr/bin/python3 "$root/scripts/atspi-walk.py" "$out" || status=$?
kill "$program" 2>/dev/null || true
wait "$listener" || true
echo "Stromy, snímky a události jsou v $out (návratový kód průchodu: $status)."
exit "$status"
