#!/bin/sh
# Ended from outside: SIGTERM during a computer game ends the game with
# status 0 within a second of the row in progress (five pegs, half a second
# each); SIGINT and SIGHUP likewise; when the X server goes away the game
# says so in one line and ends with status 1 within a second.
set -eu
build="$1"; . "$(dirname "$0")/common.sh"; . "$(dirname "$0")/xserver.sh"
start_server

# A row takes 2.5 s; the player finishes it before it stops.
start_game cpu
game_pid=$last_pid
main=$(game_window)
[ -n "$main" ] || fail "no main window"
# "CPU Play" is the third item of the menu.
xdotool mousemove --window "$main" 10 8 click 1
sleep 0.3
xdotool mousemove --window "$main" 30 69 click 1
sleep 1
kill -TERM "$game_pid"
wait_for 3.5 exited "$game_pid" || fail "SIGTERM did not end the computer game within a second of its row"
reap "$game_pid"
[ "$status" -eq 0 ] || fail "SIGTERM: status $status"
[ ! -s "$work/cpu.log" ] || fail "SIGTERM: the game wrote $(cat "$work/cpu.log")"

for signal in INT HUP; do
    start_game "$signal"
    game_pid=$last_pid
    [ -n "$(game_window)" ] || fail "no main window"
    kill -"$signal" "$game_pid"
    wait_for 1 exited "$game_pid" || fail "SIG$signal did not end the game"
    reap "$game_pid"
    [ "$status" -eq 0 ] || fail "SIG$signal: status $status"
done

start_game lost
game_pid=$last_pid
[ -n "$(game_window)" ] || fail "no main window"
stop_server
wait_for 1 exited "$game_pid" || fail "the game outlived its X server by a second"
reap "$game_pid"
[ "$status" -eq 1 ] || fail "lost display: status $status"
[ "$(wc -l <"$work/lost.log")" -eq 1 ] || fail "lost display: not one line"
grep -q "lost the connection to the X display" "$work/lost.log" || fail "lost display: $(cat "$work/lost.log")"
echo "SIGTERM, SIGINT and SIGHUP ended the game with status 0; a lost X server with one line and status 1"
