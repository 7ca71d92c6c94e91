# Shared by the tests on Wayland: a weston nested in the test's X server and
# the game's windows in it. Source after common.sh, xserver.sh and
# ../e2e/pixels.sh, once start_server has run.
#
# Weston runs with its X11 back end inside the test's Xvfb: its headless back
# end offers no seat, and SDL 2.26 crashes in SDL_Init on a compositor without
# one. The pixman renderer needs no GL. Weston's output is an X window, so
# pictures and input reach the game through X and that window; where weston
# put a window is read from its scene graph (weston --debug, weston-debug).

# start_weston SCALE [SIZE [SCALE2]]: a weston with one output of that
# logical size (360 by 360 unless given) at that scale, and with SCALE2 a
# second one of that scale to its right; ready once its desktop shell has
# drawn the background. Sets WAYLAND_DISPLAY, scale and output (the X window
# of the first output); the game then starts on it natively.
start_weston() {
    scale=$1
    mkdir -p -m 700 "$work/runtime"
    XDG_RUNTIME_DIR="$work/runtime"
    export XDG_RUNTIME_DIR
    WAYLAND_DISPLAY=kx-weston-$scale
    export WAYLAND_DISPLAY
    size=${2:-360}
    # No fading in at the start and out at a close: pictures taken then
    # would be a shade off.
    printf "[shell]\nstartup-animation=none\nclose-animation=none\n" >"$work/weston.ini"
    for s in $1 ${3:-}; do
        printf "[output]\nname=X%s\nmode=%sx%s\nscale=%s\n" $((${n:=0} + 1)) "$size" "$size" "$s"
        n=$((n + 1))
    done >>"$work/weston.ini"
    weston --backend=x11-backend.so --use-pixman --config="$work/weston.ini" \
        --output-count=$n --socket="$WAYLAND_DISPLAY" \
        --idle-time=0 --debug >"$work/weston-$scale.out" 2>&1 &
    weston_pid=$!
    unset n
    pids="$pids $weston_pid"
    wait_for 30 sh -c "weston-debug scene-graph | grep -q 'background for output' || ! kill -0 $weston_pid" || true
    weston-debug scene-graph 2>/dev/null | grep -q "background for output" \
        || fail "weston did not start: $(tail -n 3 "$work/weston-$scale.out")"
    output=$(output_window X1)
    [ -n "$output" ] || fail "no window of weston's output"
}

# output_window NAME: the X window of weston's output of that name.
output_window() { xwininfo -root -tree | awk "/\"Weston Compositor - $1\"/ { print \$1 }"; }

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

# extent TITLE: the size of the window's content ("width height").
extent() {
    weston-debug scene-graph 2>/dev/null | grep -A 1 "top-level window '$1'" \
        | sed -n "s/.*(\([0-9-]*\), \([0-9-]*\)) -> (\([0-9-]*\), \([0-9-]*\)).*/\1 \2 \3 \4/p" \
        | awk "NR == 1 { print \$3 - \$1, \$4 - \$2 }"
}
# moved TITLE PLACE: the window no longer lies at that place.
moved() { [ "$(place "$1")" != "$2" ]; }

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
# park: weston draws its pointer into its output's picture; this puts it
# on the panel at the top of the output.
park() { xdotool mousemove "$(( ${screen%%x*} - 1 ))" 0 mousemove --window "$output" 2 2; }

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
