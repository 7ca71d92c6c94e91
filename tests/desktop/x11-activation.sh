#!/bin/sh
# Under openbox, as a launcher sees it: a game started with a startup id
# ends the launcher's notification once its window is there and names the
# id on the window; a second start, with a startup id of its own made after
# the user went on to another window, gives the running game the focus
# with a request that carries the time of that id (so that a window manager
# that holds back requests older than the user's last doing lets it
# through), and ends that start's notification too.
set -eu
build="$1"; feedback="$2"; . "$(dirname "$0")/common.sh"; . "$(dirname "$0")/xserver.sh"
start_server
start_window_manager openbox
"$feedback" watch >"$work/root.txt" 2>&1 &
pids="$pids $!"
wait_for 5 grep -q ready "$work/root.txt" || fail "no watch on the root window"
active() { xprop -root _NET_ACTIVE_WINDOW | awk "{ print \$NF }"; }
# launched ID: the game as a launcher starts it, with that startup id.
launched() { (cd "$elsewhere" && DESKTOP_STARTUP_ID="$1" exec timeout 60 "$game") >>"$work/game.log" 2>&1; }

time=$("$feedback" time)
launched "kx-test-first_TIME$time" &
pids="$pids $!"
main=$(game_window)
[ -n "$main" ] || fail "no main window"
wait_for 5 grep -qx "remove: ID=kx-test-first_TIME$time" "$work/root.txt" \
    || fail "the start's notification was not ended: $(cat "$work/root.txt")"
xprop -id "$main" _NET_STARTUP_ID | grep -q "\"kx-test-first_TIME$time\"" || fail "the window does not carry its startup id"

# The user goes on in another window.
xmessage -geometry 300x300+0+0 "another program" &
pids="$pids $!"
other=$(timeout 10 xdotool search --sync --onlyvisible --name xmessage | head -n 1)
xdotool mousemove --window "$other" 150 150 click 1
wait_for 5 sh -c "[ \"\$(xprop -root _NET_ACTIVE_WINDOW | awk '{ print \$NF }')\" = \"$(printf 0x%x "$other")\" ]" \
    || fail "the other window did not take the focus"

time=$("$feedback" time)
status=0
launched "kx-test-second_TIME$time" || status=$?
[ "$status" -eq 0 ] || fail "the second start ended with status $status"
wait_for 5 grep -qx "remove: ID=kx-test-second_TIME$time" "$work/root.txt" \
    || fail "the second start's notification was not ended"
wait_for 5 grep -qx "active $(printf 0x%x "$main") 1 $time" "$work/root.txt" \
    || fail "no request for the focus with the second start's time: $(grep active "$work/root.txt")"
wait_for 5 sh -c "[ \"\$(xprop -root _NET_ACTIVE_WINDOW | awk '{ print \$NF }')\" = \"$(printf 0x%x "$main")\" ]" \
    || fail "the second start did not give the running game the focus ($(active))"
echo "startup notification ended on both starts; the later one's time brought the game forward"
