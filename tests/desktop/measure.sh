#!/bin/sh
# Start-up time and memory of the game, by hand (not a test):
#   tests/desktop/measure.sh build/release
# Under Xvfb: the time from just before the process starts to its first
# frame on the screen (the game reports that moment when
# KX_REPORT_FIRST_FRAME is set), best of five; then the peak resident memory
# (VmHWM) of a game in which the computer plays for 15 seconds.
set -eu
exec xvfb-run -a -s "-screen 0 640x480x24 -nolisten tcp" sh -eu -c '
build="$2"; . "$1/common.sh"

best=""
for run in 1 2 3 4 5; do
    rm -f "$work/frame.log"
    before=$(date +%s%N)
    (cd "$elsewhere" && KX_REPORT_FIRST_FRAME=1 exec "$game") 2>"$work/frame.log" &
    pid=$!
    for try in $(seq 1 100); do
        grep -q "^first frame" "$work/frame.log" && break
        sleep 0.05
    done
    at=$(sed -n "s/^first frame \([0-9]*\)\.\([0-9]*\)$/\1\2/p" "$work/frame.log")
    kill "$pid"; wait "$pid" 2>/dev/null || true
    [ -n "$at" ] || fail "no first frame reported"
    ms=$(( (at - before) / 1000000 ))
    echo "start to first frame: $ms ms"
    if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
done
echo "best start to first frame: $best ms"

start_game cpu
wid=$(game_window)
[ -n "$wid" ] || fail "no window"
sleep 0.3
# "CPU Play" is the third item of the menu.
xdotool mousemove --window "$wid" 10 8 click 1
sleep 0.3
xdotool mousemove --window "$wid" 30 69 click 1
sleep 15
echo "peak resident memory during a computer game: $(grep VmHWM /proc/$last_pid/status | awk "{print \$2}") kB"
' sh "$(dirname "$0")" "$1"
