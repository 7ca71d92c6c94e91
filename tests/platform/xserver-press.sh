#!/bin/sh
# Opens a real window under Xvfb, presses in it with a real pointer event and
# checks that the press reached the view's MouseDown at the right point.
set -eu
probe="$1"
exec xvfb-run -a -s "-screen 0 640x480x24 -nolisten tcp -noreset" sh -c '
    probe="$1"
    out=$(mktemp)
    "$probe" >"$out" 2>&1 &
    pid=$!
    wid=$(timeout 10 xdotool search --sync --onlyvisible --name "kx probe" | head -n 1)
    if [ -z "$wid" ]; then echo "no probe window appeared"; cat "$out"; exit 1; fi
    # view (0, 20) lies at window (0, 20); press at view (30, 40)
    xdotool mousemove --window "$wid" 30 60
    xdotool click 1
    status=0
    wait "$pid" || status=$?
    cat "$out"
    [ "$status" -eq 0 ] && grep -q "^MouseDown 30 40$" "$out"
' sh "$probe"
