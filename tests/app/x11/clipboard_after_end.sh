#!/bin/sh
# A report copied to the clipboard just before the program ends can still be pasted: on a
# display of its own with a clipboard manager running, the driver copies a text and ends, and
# the clipboard then still gives that text.
# Usage: clipboard_after_end.sh CLIPBOARD_MANAGER DRIVER
set -eu
manager=$1
driver=$2
exec xvfb-run -a -s "-screen 0 640x480x24" sh -eu -c '
    manager=$1 driver=$2
    work=$(mktemp -d)
    trap "kill \$pid 2>/dev/null; rm -rf \"\$work\"" EXIT
    # Like every test, away from the school settings and database of this computer.
    mkdir "$work/xdg"
    export XDG_CONFIG_DIRS="$work/xdg" VOLTMETR_DB="$work/missing/skola.sqlite"
    "$manager" >"$work/manager.out" & pid=$!
    tries=0
    until grep -q ready "$work/manager.out"; do
        tries=$((tries + 1))
        [ $tries -le 100 ] || { echo "the clipboard manager did not start" >&2; exit 1; }
        sleep 0.1
    done
    expected=$(printf "Výsledky: 3a 0f 9c\nd1 e2")
    QT_QPA_PLATFORM=xcb "$driver" "$expected"
    pasted=$(timeout 10 xclip -o -selection clipboard) || pasted="(nothing to paste)"
    if [ "$pasted" != "$expected" ]; then
        printf "expected to paste:\n%s\npasted:\n%s\n" "$expected" "$pasted" >&2
        exit 1
    fi
    echo "the clipboard kept the text"
' sh "$manager" "$driver"
