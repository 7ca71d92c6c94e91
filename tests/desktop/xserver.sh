# Shared by the desktop tests that run their own X servers and window
# manager. Source after common.sh.

# wait_for SECONDS COMMAND...: polls the command until it succeeds, false
# once the deadline has passed.
wait_for() {
    deadline=$(( $(date +%s%3N) + $(awk "BEGIN { printf \"%d\", $1 * 1000 }") ))
    shift
    while ! "$@" >/dev/null 2>&1; do
        [ "$(date +%s%3N)" -lt "$deadline" ] || return 1
        sleep 0.02
    done
}

# start_server [TAG]: a fresh Xvfb (of the size in screen, if set), which
# becomes DISPLAY. The numbers come
# from a range of this test's own and are never reused within it: a server
# that is still going away, or another developer's, is not waited for.
next_display=$(( 300 + $$ % 300 * 20 ))
# The servers do not reset when their last client leaves: the tests' own
# probes (xprop, xdotool) come and go, and an X client that connects while
# the server resets is refused, which failed window managers and games now
# and then. A test of a bare server's first client sets keep_alive="".
keep_alive=${keep_alive--noreset}
start_server() {
    set -- "${1:-}"
    for try in 1 2 3 4 5 6 7 8 9 10; do
        next_display=$((next_display + 1))
        [ ! -e "/tmp/.X$next_display-lock" ] || continue
        rm -f "$work/display$1"
        Xvfb ":$next_display" -displayfd 3 -screen 0 "${screen:-640x480x24}" -nolisten tcp $keep_alive \
            3>"$work/display$1" >/dev/null 2>"$work/xvfb$1.err" &
        server_pid=$!
        pids="$pids $server_pid"
        # Ready once it names its display; gone at once when the number is taken.
        wait_for 30 sh -c "grep -q '[0-9]' '$work/display$1' || ! kill -0 $server_pid" || true
        if grep -q "[0-9]" "$work/display$1"; then
            DISPLAY=":$next_display"
            export DISPLAY
            return 0
        fi
        kill "$server_pid" 2>/dev/null || true
    done
    fail "Xvfb did not start"
}

stop_server() {
    kill "$server_pid" 2>/dev/null || true
    wait "$server_pid" 2>/dev/null || true
}

# start_window_manager [NAME]: a window manager (openbox unless named) on
# DISPLAY, once it has taken the screen.
start_window_manager() {
    wm=${1:-openbox}
    "$wm" >"$work/$wm.out" 2>&1 &
    wm_pid=$!
    pids="$pids $wm_pid"
    wait_for 30 sh -c "xprop -root _NET_WORKAREA | grep -q = || ! kill -0 $wm_pid" || true
    xprop -root _NET_WORKAREA 2>/dev/null | grep -q = \
        || fail "$wm did not take the screen (server $(kill -0 "$server_pid" 2>/dev/null && echo running || echo gone)): $(tail -n 3 "$work/$wm.out")"
}

# exited PID: true once the process has ended (it stays a zombie till waited).
exited() { ! kill -0 "$1" 2>/dev/null || [ "$(ps -o stat= -p "$1")" = "Z" ]; }

# reap PID: its exit status into status; call once exited, not in a subshell.
reap() { status=0; wait "$1" 2>/dev/null || status=$?; }
