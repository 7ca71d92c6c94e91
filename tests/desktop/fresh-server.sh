#!/bin/sh
# Twenty starts, each the first client of a freshly started X server, all
# show the window: a bare server resets when its last client leaves, so the
# game must never drop its connection on the way up.
set -eu
build="$1"; keep_alive=""
. "$(dirname "$0")/common.sh"; . "$(dirname "$0")/xserver.sh"

# lane NAME: ten starts, each on a server of its own.
lane() {
    # The clean-up is this test's shell's, after both lanes.
    trap - EXIT
    for run in $(seq 1 10); do
        start_server "$1"
        # Nothing else connects until the game has shown its first frame.
        (cd "$elsewhere" && KX_REPORT_FIRST_FRAME=1 exec "$game$1") >"$work/$1.log" 2>&1 &
        game_pid=$!
        pids="$pids $game_pid"
        wait_for 30 grep -q "^first frame" "$work/$1.log" || fail "lane $1, start $run: no first frame"
        [ -n "$(game_window)" ] || fail "lane $1, start $run: no window shown"
        kill "$game_pid"
        wait_for 5 exited "$game_pid" || fail "lane $1, start $run: the game did not end"
        reap "$game_pid"
        stop_server
    done
}

# Two lanes side by side, each with a copy of the game of its own (a second
# copy of one executable would hand over to the first and end).
cp "$game" "${game}a"
cp "$game" "${game}b"
( lane a ) & a=$!
( next_display=$((next_display + 100)); lane b ) & b=$!
failed=0
wait "$a" || failed=1
wait "$b" || failed=1
[ "$failed" -eq 0 ] || fail "a start failed"
echo "20 starts on fresh X servers all showed the window"
