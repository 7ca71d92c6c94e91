# Shared by the tests on Wayland: a weston nested in the test's X server and
# the game's windows in it. Source after common.sh, xserver.sh and
# ../e2e/pixels.sh, once start_server has run.
#
# Weston runs with its X11 back end inside the test's Xvfb: its headless back
# end offers no seat, and SDL 2.26 crashes in SDL_Init on a compositor without
# one. The pixman renderer needs no GL. Weston's output is an X window, so
# pictures and input reach the game through X and that window; where weston
# put a window is read from its scene graph (weston --debug, weston-debug).

# start_weston SCALE [OUTPUT_SIZE]: a weston with one output of that logical
# size (360 by 360 unless given) at that scale, ready once its desktop shell
# has drawn the background. Sets WAYLAND_DISPLAY, scale and output (the X
# window of the output); the game then starts on it natively.
start_weston() {
    scale=$1
    mkdir -p -m 700 "$work/runtime"
    XDG_RUNTIME_DIR="$work/runtime"
    export XDG_RUNTIME_DIR
    WAYLAND_DISPLAY=kx-weston-$scale
    export WAYLAND_DISPLAY
    size=${2:-360}
    weston --backend=x11-backend.so --use-pixman --scale="$scale" \
        --width="$size" --height="$size" --socket="$WAYLAND_DISPLAY" \
        --idle-time=0 --no-config --debug >"$work/weston-$scale.out" 2>&1 &
    weston_pid=$!
    pids="$pids $weston_pid"
    wait_for 30 sh -c "weston-debug scene-graph | grep -q 'background for output' || ! kill -0 $weston_pid" || true
    weston-debug scene-graph 2>/dev/null | grep -q "background for output" \
        || fail "weston did not start: $(tail -n 3 "$work/weston-$scale.out")"
    output=$(xdotool search --class "Weston Compositor" | head -n 1)
    [ -n "$output" ] || fail "no window of weston's output"
}

stop_weston() {
    kill "$weston_pid" 2>/dev/null || true
    wait "$weston_pid" 2>/dev/null || true
}

# place TITLE: where the window of that title shows its content, in the
# output's logical pixels ("x y"); empty while it is not shown.
place() {
    weston-debug scene-graph 2>/dev/null | grep -A 1 "top-level window '$1'" \
        | sed -n "s/.*position: (\([0-9-]*\), \([0-9-]*\)).*/\1 \2/p" | head -n 1
}

# wait_place TITLE: waits for the window to show and sets wx and wy.
wait_place() {
    wait_for 10 sh -c "weston-debug scene-graph | grep -q \"top-level window '$1'\"" \
        || fail "no window '$1' on weston"
    set -- $(place "$1")
    wx=$1; wy=$2
}

# at X Y: the point of the window at wx wy, in pixels of the output window.
at() { echo $(( (wx + $1) * scale )) $(( (wy + $2) * scale )); }
# enter X Y: the pointer to that point from outside the output. Weston's X11
# back end moves its pointer by the X pointer's steps and sets it only where
# the X pointer enters its window, so it is entered afresh before every
# gesture; pointer X Y then moves on from there.
enter() {
    xdotool mousemove "$(( ${screen%%x*} - 1 ))" 0
    pointer "$@"
}
pointer() { xdotool mousemove --window "$output" $(at "$1" "$2"); }

# snap_window WIDTH HEIGHT [FILE]: the window's content as shown, in screen
# pixels, into FILE; without FILE into shot, scaled back to the game's
# pixels by taking one of each block, for px.
snap_window() {
    import -window "$output" "$work/output.png"
    set -- "$1" "$2" "${3:-}" -crop "$(( $1 * scale ))x$(( $2 * scale ))+$(( wx * scale ))+$(( wy * scale ))" +repage
    if [ -n "$3" ]; then
        convert "$work/output.png" "$4" "$5" "$6" "$3"
    else
        convert "$work/output.png" "$4" "$5" "$6" -sample "$1x$2" "$shot"
    fi
}
snap() { snap_window 160 269; }
