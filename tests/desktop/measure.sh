#!/bin/sh
# Start-up time and memory of the game, by hand (not a test):
#   tests/desktop/measure.sh build/release [wayland]
# Under one Xvfb (with "wayland", on one weston nested in it, see wayland.sh),
# side by side and in turns: the game and the yardstick
# bench/startup/minimal_window (a bare SDL2 window of the game's size with
# the software renderer). For each, the time from just before the process
# starts to its first frame on the screen (both report that moment), median
# of seven, and the resident memory (VmRSS, the peak VmHWM, and the pages
# not shared with other processes) half a second after that frame. Then,
# for each, the wake-ups (voluntary context switches of all its threads) in
# ten idle seconds with the window shown; then the wake-ups and the peak
# resident memory of a game in which the computer plays for 15 seconds.
set -eu
exec xvfb-run -a -s "-screen 0 640x480x24 -nolisten tcp -noreset" sh -eu -c '
build="$2"; . "$1/common.sh"; . "$1/xserver.sh"; . "$1/wayland.sh"
minimal="$(cd "$build" && pwd)/bench/startup/minimal_window"
[ -x "$minimal" ] || fail "$minimal is not built (cmake --build --preset release)"
screen=640x480x24
# SDL would take X11 for the yardstick, as it comes first in its list.
driver=""
[ "$3" != wayland ] || { start_weston 1; driver=SDL_VIDEODRIVER=wayland; }

# one NAME PROGRAM [VARIABLE=VALUE]: start to first frame in ms, then VmRSS
# and VmHWM in kB.
one() {
    rm -f "$work/frame.log"
    before=$(date +%s%N)
    (cd "$elsewhere" && KX_REPORT_FIRST_FRAME=1 exec env ${3:-} "$2") 2>"$work/frame.log" &
    pid=$!
    for try in $(seq 1 400); do
        grep -q "^first frame" "$work/frame.log" && break
        sleep 0.01
    done
    at=$(sed -n "s/^first frame \([0-9]*\)\.\([0-9]*\)$/\1\2/p" "$work/frame.log")
    [ -n "$at" ] || fail "$1: no first frame reported"
    sleep 0.5
    rss=$(awk "/VmRSS/ { print \$2 }" /proc/$pid/status)
    hwm=$(awk "/VmHWM/ { print \$2 }" /proc/$pid/status)
    own=$(awk "/^Private_/ { sum += \$2 } END { print sum }" /proc/$pid/smaps_rollup)
    kill "$pid"; wait "$pid" 2>/dev/null || true
    echo "$1 $(( (at - before) / 1000000 )) $rss $hwm $own" >>"$work/figures"
}

for run in 1 2 3 4 5 6 7; do
    one minimal "$minimal" "$driver"
    one game "$game"
done
# wakeups PID SECONDS: voluntary context switches of all the threads of the
# process while it runs that long.
switches() { cat /proc/$1/task/*/status 2>/dev/null | awk "/^voluntary_ctxt_switches/ { n += \$2 } END { print n }"; }
wakeups() { before=$(switches "$1"); sleep "$2"; echo $(( $(switches "$1") - before )); }
idle=${KX_MEASURE_IDLE_SECONDS:-10}

median() { grep "^$1 " "$work/figures" | awk "{ print \$$2 }" | sort -n | sed -n 4p; }
for name in minimal game; do
    echo "$name: first frame $(median $name 2) ms (runs: $(grep "^$name " "$work/figures" | awk "{ printf \"%s \", \$2 }")), resident $(median $name 3) kB, peak $(median $name 4) kB, of which private $(median $name 5) kB"
done
gm=$(median game 2); mm=$(median minimal 2); gr=$(median game 4); mr=$(median minimal 4)
echo "ratio game/minimal: first frame $(awk "BEGIN { printf \"%.2f\", $gm / ($mm > 0 ? $mm : 1) }"), peak resident $(awk "BEGIN { printf \"%.2f\", $gr / $mr }")"

for name in minimal game; do
    program=$minimal; variable=$driver
    [ "$name" = minimal ] || { program=$game; variable=""; }
    (cd "$elsewhere" && exec env $variable "$program") 2>/dev/null &
    pid=$!
    sleep 1
    echo "$name: $(wakeups $pid "$idle") wake-ups in $idle idle seconds"
    kill "$pid"; wait "$pid" 2>/dev/null || true
done

start_game cpu
# "CPU Play" is the third item of the menu.
if [ "$3" = wayland ]; then
    wait_place "Kalvex v1.2"
    sleep 0.3
    enter 10 8; xdotool click 1
    sleep 0.3
    pointer 30 69; xdotool click 1
else
    wid=$(game_window)
    [ -n "$wid" ] || fail "no window"
    sleep 0.3
    xdotool mousemove --window "$wid" 10 8 click 1
    sleep 0.3
    xdotool mousemove --window "$wid" 30 69 click 1
fi
echo "game: $(wakeups $last_pid "${KX_MEASURE_CPU_SECONDS:-15}") wake-ups in ${KX_MEASURE_CPU_SECONDS:-15} seconds of a computer game"
echo "peak resident memory during a computer game: $(grep VmHWM /proc/$last_pid/status | awk "{print \$2}") kB"
' sh "$(dirname "$0")" "$1" "${2:-x11}"
